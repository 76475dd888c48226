#pragma once

#include <QString>

#include "core/search/TextSearch.h"

namespace kavoro {

class ListingDocument;
class Prompts;
struct MessageSlots;

// The tabs of the listing's views, by page index.
enum class FindTab { Text = 0, Grid = 1, Html = 2 };

// The start question's choices.
enum class SearchStart { Beginning, Selected, End };

struct FindOutcome {
  bool found = false;
  GridCell cell;  // the hit on the grid tab
  // A grid hit of the first pass leaves the main window usable; every other end of a search
  // disables it again.
  bool main_window_enabled = false;
};

// What the find window does, without widgets: the search state and the effect of its
// buttons on the active view's selection (a memo view) or search cell (the grid).
class FindSession {
 public:
  const FindState& State() const { return state_; }

  // Opening the window starts every search afresh.
  void Reset() { state_ = FindState{}; }

  // The start question's "OK": where the next search starts.
  void ApplyStart(SearchStart start, FindTab tab, const ListingDocument& doc, TextSelection& memo,
                  GridCell current);

  // A click on "Aufwärts" (upward) or "Abwärts": the selected hit is passed over once.
  void RecordTurn(FindTab tab, const TextSelection& memo, bool upward);

  // "Suchen": searches the view of `tab` from the memo selection or the search cell. When
  // nothing is found it asks whether to go on from the other end, as often as the user says
  // Yes. `memo` (the active memo view's selection) is moved to a memo hit.
  FindOutcome Find(FindTab tab, const FindRequest& request, const ListingDocument& doc,
                   TextSelection& memo, Prompts& prompts, const MessageSlots& texts);

 private:
  FindState state_;
};

}  // namespace kavoro
