#include "gui/FittingTabs.h"

namespace kavoro {
namespace {

constexpr int kTabPadding = 4;  // left and right padding of a tab, together

}  // namespace

QSize FittingTabBar::tabSizeHint(int index) const {
  QSize natural = QTabBar::tabSizeHint(index);
  const QWidget* owner = parentWidget();
  if (!owner || count() == 0) return natural;
  int natural_total = 0;
  int trimmed_total = 0;
  for (int i = 0; i < count(); ++i) {
    natural_total += QTabBar::tabSizeHint(i).width();
    trimmed_total += fontMetrics().horizontalAdvance(tabText(i).trimmed()) + kTabPadding;
  }
  const int available = owner->width() - 4;
  if (natural_total <= available || trimmed_total <= 0) return natural;
  const int trimmed = fontMetrics().horizontalAdvance(tabText(index).trimmed()) + kTabPadding;
  natural.setWidth(available * trimmed / trimmed_total);
  return natural;
}

FittingTabWidget::FittingTabWidget(QWidget* parent) : QTabWidget(parent) {
  auto* bar = new FittingTabBar(this);
  bar->setStyleSheet(u"QTabBar::tab { padding: 3px 2px; }"_qs);
  QFont font = bar->font();
  font.setPixelSize(10);
  bar->setFont(font);
  setTabBar(bar);
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
}

}  // namespace kavoro
