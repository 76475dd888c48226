#pragma once

#include <QLocale>
#include <QString>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/i18n/LanguageTables.h"
#include "core/listing/Entering.h"
#include "core/listing/Scanner.h"
#include "core/settings/SearchSelection.h"
#include "core/text/StringPool.h"

namespace kavoro {

class ListingData;

// How a listing was made: the options of its entries (details and whole paths the list tells
// itself; hidden extensions it cannot), whether subfolders were searched and what for.
struct ListForm {
  EntryOptions options;
  bool recurse = true;
  SearchSelection selection;
};

// A saved listing held for comparing: each entry's name and, with details, its size and date
// texts, in the grid's order; what the list tells of its own form; and the lines that frame a
// listing of the same form (header lines, page template), for bringing it up to date.
class SavedList {
 public:
  // Reads the list set at `base` (ListFileBaseOf of the chosen name); a set that cannot be read
  // or does not belong together is refused with the message of the list-file checks.
  static std::optional<SavedList> Read(const QString& base, const MessageSlots& messages,
                                       QString* error);
  // The listing the user has open, with its views as they are now.
  static SavedList FromListing(const ListingData& doc);

  QString Base() const { return base_; }  // empty for the open listing
  std::size_t Count() const { return std::size_t(std::max<qsizetype>(0, names_.Count() - 1)); }
  std::string_view Name(std::size_t i) const { return names_.Utf8At(qsizetype(i) + 1); }
  std::string_view Size(std::size_t i) const {
    return details_.empty() ? std::string_view() : texts_.Utf8(details_[i].size);
  }
  std::string_view Date(std::size_t i) const {
    return details_.empty() ? std::string_view() : texts_.Utf8(details_[i].date);
  }

  bool Details() const { return five_columns_; }
  bool Media() const { return media_; }
  bool WholePaths() const { return whole_paths_; }
  // The locale whose listing form the date texts are written in (German when there are none).
  const QLocale& DateLocale() const { return date_locale_; }
  // Why the entries do not fit one form (mixed names, sizes or dates no listing writes);
  // empty when they do.
  QString Problem(const MessageSlots& messages) const;

  // The best guess at the whole form, to fill in what the list cannot tell: hidden
  // extensions when no name has one; the extensions of the names when they are few (else all
  // files); subfolders when the whole paths lie in several folders (always without paths);
  // hidden folders when a path passes through one.
  ListForm GuessForm() const;
  // The folder the whole paths have in common ("/" at least); empty without whole paths.
  QString CommonFolder() const;

  // For writing a listing of the same form: line 0 of the name and text files, and the HTML
  // lines before the first entry.
  std::string_view NamesHeader() const { return names_.Utf8At(0); }
  const std::string& TextHeader() const { return text_header_; }
  const std::vector<std::string>& HtmlHead() const { return html_head_; }

 private:
  SavedList() = default;
  // The HTML lines before the first entry, which is at `first_entry`.
  void TakeHtmlHead(const LineList& html, qsizetype first_entry);
  void AddDetails(std::string_view size, std::string_view date);
  void DetectForm();

  struct SizeAndDate {
    StringPool::Ref size, date;
  };
  QString base_;
  LineList names_;  // line 0 the header cell, then one name per entry
  StringPool texts_;
  std::vector<SizeAndDate> details_;  // one per entry with five columns, else none
  bool five_columns_ = false;
  bool media_ = false;  // the list shows the media columns
  bool whole_paths_ = false;
  bool link_ = false;
  std::size_t path_names_ = 0;  // names that begin with "/"
  QLocale date_locale_{QLocale::German, QLocale::Germany};
  std::string bad_date_;  // a date text no known form writes
  std::string bad_size_;  // a size text FormatSizeKB does not write
  std::string text_header_;
  std::vector<std::string> html_head_;
};

// One entry of a group of the result, as the list shows it (UTF-8).
struct ComparedEntry {
  std::string name;
  std::string size;  // with details
  std::string date;
};
// An entry whose size or date text differs.
struct ChangedEntry {
  std::string name;
  std::string old_size, old_date;
  std::string new_size, new_date;
};
// A missing and a new entry with the same file name, size and date.
struct MovedEntry {
  std::string from, to;
  std::string size, date;
};

struct CompareResult {
  QString folder;  // absolute
  ListForm form;
  bool matched_without_extensions = false;  // names compared without their extensions
  QString date_form;  // the form the dates were compared in, "dd.MM.yyyy HH:mm (de_DE)"
  std::vector<ComparedEntry> added;
  std::vector<ComparedEntry> missing;
  std::vector<ChangedEntry> changed;
  std::vector<MovedEntry> moved;
  // Listed entries in folders that could not be read: not known to be missing. Without whole
  // paths every entry not found counts here as soon as one folder could not be read.
  std::vector<ComparedEntry> unreadable;
  std::vector<std::string> unreadable_folders;
  std::size_t unchanged = 0;

  bool AnyChange() const {
    return !added.empty() || !missing.empty() || !changed.empty() || !moved.empty() ||
           !unreadable.empty();
  }
};

// Walks `folder` in the list's form, with the same engine and order as entering, and sorts
// every entry into the groups of the result. Matching is by the name text (the whole path
// with whole paths, the name without extension with hidden extensions); entries of the same
// name are matched in order. Sizes and dates are compared as texts, the folder's rendered in
// the list's form. Nothing, with `error` set, for a folder that does not exist or a list that
// fits no form; nothing with `error` empty when cancelled.
std::optional<CompareResult> CompareWithFolder(const SavedList& list, const QString& folder,
                                               const ListForm& form, const MessageSlots& messages,
                                               QString* error,
                                               const std::atomic<bool>* cancel = nullptr,
                                               const Scanner::Progress& progress = {});

// The walk of a compare, and of bringing a list up to date: entering's, in the given form.
bool WalkInForm(const QString& folder, const ListForm& form, FoundFiles& out,
                const std::atomic<bool>* cancel, const Scanner::Progress& progress);

}  // namespace kavoro
