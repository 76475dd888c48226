#include "core/search/FindSession.h"

#include "core/i18n/LanguageTables.h"
#include "core/listing/ListingDocument.h"
#include "core/ports/Prompts.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

const LineList& LinesOf(const ListingDocument& doc, FindTab tab) {
  return tab == FindTab::Html ? doc.Html() : doc.Text();
}

TextSelection Caret(TextPos pos) { return TextSelection{pos, 0}; }

// Past the last line break: the whole text's length as an offset.
TextPos EndOfText(const LineList& lines) { return {lines.Count(), 0}; }

// Before the final line break: the end of the last line.
TextPos EndOfLastLine(const LineList& lines) {
  if (lines.Count() == 0) return {};
  const qsizetype last = lines.Count() - 1;
  return {last, utf8::Utf16Length(lines.Utf8At(last))};
}

QString NotFoundQuestion(const FindRequest& request, const MessageSlots& texts) {
  return u'"' + request.text + u'"' + texts.msgNotFound + u'\n' +
         (request.down ? texts.msgAgainFromStart : texts.msgAgainFromEnd);
}

}  // namespace

void FindSession::ApplyStart(SearchStart start, FindTab tab, const ListingDocument& doc,
                             TextSelection& memo, GridCell current) {
  if (tab == FindTab::Grid) {
    switch (start) {
      case SearchStart::Beginning:
        current = {};
        break;
      case SearchStart::Selected:
        break;
      case SearchStart::End:
        current = {doc.RowCount() - 1, doc.ColumnCount() - 1};
        break;
    }
    state_.grid_search_row = current.row;
    state_.grid_search_col = current.column;
    return;
  }
  if (start == SearchStart::Beginning) memo = Caret({});
  if (start == SearchStart::End) memo = Caret(EndOfText(LinesOf(doc, tab)));
}

void FindSession::RecordTurn(FindTab tab, const TextSelection& memo, bool upward) {
  if (tab == FindTab::Grid) return;
  state_.turn_mark = upward ? memo.start : memo.End();
}

FindOutcome FindSession::Find(FindTab tab, const FindRequest& request, const ListingDocument& doc,
                              TextSelection& memo, Prompts& prompts, const MessageSlots& texts) {
  const Needle needle(request);
  for (bool wrapped = false;; wrapped = true) {
    if (tab == FindTab::Grid) {
      const auto hit =
          request.down ? ScanGridDown(doc, needle, state_) : ScanGridUp(doc, needle, state_);
      if (hit) return FindOutcome{true, *hit, !wrapped};
      if (!prompts.Ask(NotFoundQuestion(request, texts))) return {};
      state_.grid_search_row = request.down ? 0 : doc.RowCount() - 1;
      state_.grid_search_col = request.down ? 0 : doc.ColumnCount() - 1;
      continue;
    }
    const LineList& lines = LinesOf(doc, tab);
    const auto hit = request.down ? ScanLinesDown(lines, needle,
                                                  memo.length > 0 ? memo.End() : memo.start, state_)
                                  : ScanLinesUp(lines, needle, memo.start, state_);
    if (hit) {
      memo = TextSelection{*hit, needle.Length()};
      return FindOutcome{true, {}, false};
    }
    if (!prompts.Ask(NotFoundQuestion(request, texts))) return {};
    memo = Caret(request.down ? TextPos{} : EndOfLastLine(lines));
  }
}

}  // namespace kavoro
