#pragma once

#include <QLabel>
#include <QWidget>

class QGroupBox;
class QPushButton;

namespace kavoro {

class Shell;

// A label that opens its address when clicked.
class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  LinkLabel(QWidget* parent, const char* name, const QString& text, const QUrl& target,
            Shell& shell);

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// TForm4, the about box: version, author, feedback address and web pages. It has no close
// button; "OK" leaves it.
class AboutBox : public QWidget {
  Q_OBJECT

 public:
  explicit AboutBox(Shell& shell);
  // Places the labels whose position follows the width of another, after a language switch.
  void PlaceAddressLabels();

 signals:
  void OkClicked();

 private:
  QGroupBox* group_;
  QLabel* address_line_[3];  // the mail address with the texts before and after it
  QPushButton* ok_;
};

// TForm7: the version history with the feedback note and address.
class VersionWindow : public QWidget {
  Q_OBJECT

 public:
  explicit VersionWindow(Shell& shell);

 signals:
  void OkClicked();
};

}  // namespace kavoro
