#include "gui/CaptionFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVariant>
#include <algorithm>

namespace kavoro {
namespace {

constexpr int kGap = 4;               // kept free to the next control and to the parent's edge
constexpr qreal kSmallestPoints = 7;  // a smaller font is harder to read than a cut caption
constexpr char kFittedFrom[] = "kavoroFittedFrom";
constexpr char kFittedTo[] = "kavoroFittedTo";
constexpr char kDesignFont[] = "kavoroDesignFont";

// The width the control needs to show its whole caption; 0 for controls that wrap or draw no
// caption of their own.
int NeededWidth(const QWidget* w) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) {
    if (label->wordWrap() || label->text().isEmpty()) return 0;
    return label->sizeHint().width();
  }
  const auto* button = qobject_cast<const QAbstractButton*>(w);
  if (!button || button->text().isEmpty()) return 0;
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  const QStyle::SubElement element = qobject_cast<const QCheckBox*>(w)
                                         ? QStyle::SE_CheckBoxContents
                                         : QStyle::SE_RadioButtonContents;
  const QRect room = w->style()->subElementRect(element, &option, w);
  return w->width() - room.width() +
         w->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&'));
}

// How far the control may reach to the left and to the right: the parent's edges or the next
// control beside it.
std::pair<int, int> Limits(const QWidget* w) {
  const QWidget* parent = w->parentWidget();
  int left = kGap;
  int right = parent->width() - kGap;
  const QRect own = w->geometry();
  for (const QObject* o : parent->children()) {
    const auto* other = qobject_cast<const QWidget*>(o);
    if (!other || other == w || other->isWindow() || other->isHidden()) continue;
    const QRect r = other->geometry();
    if (r.top() >= own.bottom() || r.bottom() <= own.top()) continue;
    if (r.left() > own.left()) right = std::min(right, r.left() - kGap);
    if (r.right() < own.left()) left = std::max(left, r.right() + 1 + kGap);
  }
  return {left, right};
}

void FitCaption(QWidget* w) {
  // Back to the place and font of the window's design, unless the language tables have placed
  // the control anew since it was fitted. A move up or down (a resize of the window) keeps it.
  const QRect fitted = w->property(kFittedTo).toRect();
  if (fitted.isValid() && fitted.x() == w->x() && fitted.width() == w->width()) {
    const QRect from = w->property(kFittedFrom).toRect();
    w->setGeometry(from.x(), w->y(), from.width(), w->height());
  }
  w->setProperty(kFittedTo, QVariant());
  const QVariant design_font = w->property(kDesignFont);
  if (design_font.isValid()) w->setFont(design_font.value<QFont>());
  int needed = NeededWidth(w);
  if (needed <= w->width()) return;
  // First into the free room to the right, then to the left.
  const QRect from = w->geometry();
  const auto [left, right] = Limits(w);
  const int grown_right = std::max(w->width(), std::min(needed, right - w->x()));
  const int grown_left = std::clamp(needed - grown_right, 0, std::max(0, w->x() - left));
  w->setGeometry(w->x() - grown_left, w->y(), grown_right + grown_left, w->height());
  QFont font = w->font();
  if (!design_font.isValid()) w->setProperty(kDesignFont, font);
  while (needed > w->width() && font.pointSizeF() - 0.5 >= kSmallestPoints) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    w->setFont(font);
    needed = NeededWidth(w);
  }
  w->setProperty(kFittedFrom, from);
  w->setProperty(kFittedTo, w->geometry());
}

}  // namespace

void FitCaptions(QWidget* root) {
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (w->window() != root->window()) continue;
    if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
      FitCaption(w);
    }
  }
}

}  // namespace kavoro
