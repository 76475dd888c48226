#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace kavoro {

// Tab captions carry blanks for spacing. When the tabs do not fit, each gets a share of the
// width in proportion to its text without those blanks, and shows the middle of its caption;
// when even the texts without blanks would touch the tabs' borders, the font gets smaller.
class FittingTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  QSize tabSizeHint(int index) const override;
  QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
  void tabLayoutChange() override;

 private:
  int Available() const;
  int NaturalWidth(int index) const;
  int TrimmedTotal(const QFontMetrics& metrics) const;
};

class FittingTabWidget : public QTabWidget {
 public:
  explicit FittingTabWidget(QWidget* parent);
};

}  // namespace kavoro
