#include "gui/TotalsLine.h"

#include "core/app/AppState.h"
#include "core/listing/ListingTotals.h"

namespace kavoro {

TotalsLine::TotalsLine(const AppState& state, QWidget* parent) : QLabel(parent), state_(state) {
  setObjectName(u"TotalsLabel"_qs);
  setTextFormat(Qt::PlainText);
  soon_.setSingleShot(true);
  soon_.setInterval(0);
  connect(&soon_, &QTimer::timeout, this, &TotalsLine::Refresh);
  connect(&state.doc, &ListingDocument::ViewChanged, &soon_, qOverload<>(&QTimer::start));
  connect(&state.doc, &ListingDocument::GridLayoutChanged, &soon_, qOverload<>(&QTimer::start));
  Refresh();
}

void TotalsLine::Refresh() { setText(TotalsText(TotalsOf(state_.doc), state_.language)); }

}  // namespace kavoro
