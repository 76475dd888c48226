#include "gui/InfoWindows.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include "core/app/HelpLinks.h"
#include "core/ports/Shell.h"
#include "gui/NamedWidget.h"
#include "gui/OwnedWindow.h"

namespace kavoro {
namespace {

// Left through its buttons only: no system menu and no close button.
constexpr Qt::WindowFlags kButtonsOnly =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint;

QUrl Address(const char* url) { return QUrl(QLatin1String(url)); }

QString MailText() { return Address(address::kMail).path(); }

}  // namespace

LinkLabel::LinkLabel(QWidget* parent, const char* name, const QString& text, const QUrl& target,
                     Shell& shell)
    : QLabel(text, parent) {
  setObjectName(QLatin1String(name));
  setCursor(Qt::PointingHandCursor);
  QPalette p = palette();
  p.setColor(QPalette::WindowText, p.color(QPalette::Link));
  setPalette(p);
  connect(this, &LinkLabel::Clicked, this, [&shell, target] { shell.OpenUrl(target); });
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit Clicked();
  }
}

AboutBox::AboutBox(Shell& shell) : QWidget(nullptr, kButtonsOnly) {
  setObjectName(u"TForm4"_qs);
  setFixedWidth(300);
  resize(300, 433);
  auto* group = group_ = AddNamed<QGroupBox>(this, "GroupBox1", 8, 0, 284, 408);
  AddNamed<QLabel>(group, "Label3", 100, 20, 120, 20)->setText(u"Version 2.2"_qs);
  AddNamed<QLabel>(group, "Label1", 78, 42, 150, 18);
  AddNamed<QLabel>(group, "Label7", 46, 68, 192, 18);
  address_line_[0] = AddNamed<QLabel>(group, "Label9", 45, 86, 60, 18);
  address_line_[1] = new LinkLabel(group, "Label8", MailText(), Address(address::kMail), shell);
  address_line_[1]->setGeometry(80, 86, 130, 18);
  address_line_[2] = AddNamed<QLabel>(group, "Label10", 200, 86, 70, 18);
  AddNamed<QLabel>(group, "Label11", 20, 112, 240, 18);
  const std::pair<const char*, const char*> pages[] = {{"Label2", address::kAuthorHomepage},
                                                       {"Label6", address::kLinkSite},
                                                       {"Label19", address::kProductHomepage}};
  int top = 130;
  for (auto [name, url] : pages) {
    (new LinkLabel(group, name, QLatin1String(url), Address(url), shell))
        ->setGeometry(20, top, 250, 16);
    top += 16;
  }
  for (const char* name : {"Label4", "Label5"}) {
    AddNamed<QLabel>(group, name, 14, 180, 257, 24)->setWordWrap(true);
  }
  ok_ = AddNamed<QPushButton>(group, "BitBtn1", 100, 0, 80, 25);
  connect(ok_, &QPushButton::clicked, this, &AboutBox::OkClicked);
  LeaveThrough(this, [this] { emit OkClicked(); });
}

void AboutBox::PlaceAddressLabels() {
  // Each label follows the text before it; the button keeps to the bottom of the box.
  QLabel* previous = address_line_[0];
  for (QLabel* label : {address_line_[1], address_line_[2]}) {
    previous->adjustSize();
    label->move(previous->x() + previous->width() + 4, label->y());
    previous = label;
  }
  previous->adjustSize();
  ok_->move(ok_->x(), group_->height() - ok_->height() - 8);
}

VersionWindow::VersionWindow(Shell& shell) : QWidget(nullptr, kButtonsOnly) {
  setObjectName(u"TForm7"_qs);
  setFixedSize(380, 430);
  auto* note = AddNamed<QLabel>(this, "Label1", 16, 8, 336, 36);
  note->setWordWrap(true);
  (new LinkLabel(this, "Label2", MailText(), Address(address::kMail), shell))
      ->setGeometry(136, 46, 200, 18);
  auto* scroll = AddNamed<QScrollArea>(this, "ScrollBox1", 8, 70, 364, 316);
  auto* inside = new QWidget;
  inside->resize(340, 700);
  AddNamed<QPlainTextEdit>(inside, "Memo6", 0, 0, 340, 0)->setReadOnly(true);
  auto* history = AddNamed<QPlainTextEdit>(inside, "Memo5", 0, 0, 340, 700);
  history->setReadOnly(true);
  history->setPlainText(VersionHistory().join(u'\n'));
  scroll->setWidget(inside);
  auto* ok = AddNamed<QPushButton>(this, "Button1", 150, 396, 80, 25);
  connect(ok, &QPushButton::clicked, this, &VersionWindow::OkClicked);
  LeaveThrough(this, [this] { emit OkClicked(); });
}

}  // namespace kavoro
