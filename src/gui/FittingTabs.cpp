#include "gui/FittingTabs.h"

#include <algorithm>

namespace kavoro {
namespace {

constexpr int kTabPadding = 4;  // left and right padding of a tab, together
constexpr int kTabSpare = 8;    // room between a squeezed tab's text and its borders
constexpr int kTabPixels = 10;
constexpr int kSmallestTabPixels = 8;

}  // namespace

int FittingTabBar::Available() const { return parentWidget()->width() - 4; }

int FittingTabBar::TrimmedTotal(const QFontMetrics& metrics) const {
  int total = 0;
  for (int i = 0; i < count(); ++i) {
    total += metrics.horizontalAdvance(tabText(i).trimmed()) + kTabPadding;
  }
  return total;
}

int FittingTabBar::NaturalWidth(int index) const {
  // Room between text and borders also for a caption without blanks.
  return std::max(
      QTabBar::tabSizeHint(index).width(),
      fontMetrics().horizontalAdvance(tabText(index).trimmed()) + kTabPadding + kTabSpare);
}

QSize FittingTabBar::tabSizeHint(int index) const {
  QSize natural(NaturalWidth(index), QTabBar::tabSizeHint(index).height());
  if (!parentWidget() || count() == 0) return natural;
  int natural_total = 0;
  for (int i = 0; i < count(); ++i) natural_total += NaturalWidth(i);
  const int trimmed_total = TrimmedTotal(fontMetrics());
  const int available = Available();
  if (natural_total <= available || trimmed_total <= 0) return natural;
  const int trimmed = fontMetrics().horizontalAdvance(tabText(index).trimmed()) + kTabPadding;
  natural.setWidth(available * trimmed / trimmed_total);
  return natural;
}

void FittingTabBar::tabLayoutChange() {
  QTabBar::tabLayoutChange();
  if (!parentWidget() || count() == 0) return;
  QFont wanted = font();
  wanted.setPixelSize(kTabPixels);
  while (wanted.pixelSize() > kSmallestTabPixels &&
         TrimmedTotal(QFontMetrics(wanted)) + count() * kTabSpare > Available()) {
    wanted.setPixelSize(wanted.pixelSize() - 1);
  }
  if (wanted != font()) setFont(wanted);  // lays the tabs out again, with the same outcome
}

FittingTabWidget::FittingTabWidget(QWidget* parent) : QTabWidget(parent) {
  auto* bar = new FittingTabBar(this);
  bar->setStyleSheet(u"QTabBar::tab { padding: 3px 2px; }"_qs);
  QFont font = bar->font();
  font.setPixelSize(kTabPixels);
  bar->setFont(font);
  setTabBar(bar);
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
}

}  // namespace kavoro
