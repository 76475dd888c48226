#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kavoro {

enum class UiLanguage { German = 0, English = 1 };

// The language menu reads the same in both languages (its entries "Deutsch" and "English").
inline constexpr char16_t kLanguageMenuCaption[] = u"Sprache / Language";

// Text variables that messages are composed from at the moment they are shown.
struct MessageSlots {
  QString msgNoTypeHead;
  QString msgNoTypeTail;
  QString msgNoFiles;
  QString msgNoTypeHead2;
  QString msgNoTypeTail2;
  QString msgNoFiles2;
  QString msgNoSelTypeHead;
  QString msgNoSelTypeTail;
  QString msgNoneSelected;
  QString msgDiscard;
  QString msgContinue;
  QString msgOverwrite;
  QString optNoTypeHead;
  QString optNoTypeTail;
  QString capTypeHead;
  QString capTypeTail;
  QString optNoFiles2;
  QString capAll2;
  QString msgNotFound;
  QString msgAgainFromStart;
  QString msgAgainFromEnd;
  QString msgTimeHead;
  QString msgTimeUnit;
  QString msgFoundCount;
  QString menuSubfoldersHead;
  QString menuSubfoldersTail;
  // The exit question, shown as text (one label per language).
  QString msgSaveOnExit;
  // Refusals of the catalog editor and of entering without a folder.
  QString msgCategoryIsExtension;
  QString msgCatalogUnusable;
  QString msgNoFolder;
  // A folder given on the command line that is not there (its path follows).
  QString msgStartFolderMissing;
  // The progress bar's text while a search runs, and after it was stopped; while the media
  // columns are read ("%1" files of "%2").
  QString progressEscape;
  QString progressStopped;
  QString progressMedia;
  // The second captions of the add/remove buttons of the two search panels.
  QString capRemoveType;
  QString capRemoveFolder;
  // Head of the list of workbooks when a spreadsheet export needed several.
  QString msgWorkbooks;
  // A set of list files that does not belong together: the head, then the file, then one
  // of the problems (%1, %2, ... filled in).
  QString msgListRefused;
  QString msgListEmptyLine;
  QString msgListNoTemplate;
  QString msgListNoHeaderRow;
  QString msgListBrokenEntry;
  QString msgListCounts;
  // Refusals and failures of the explorer operations of the two context menus.
  QString msgBadName;
  QString msgNameExists;
  QString msgIntoItself;
  QString msgNoCopyName;
  QString msgOperationFailed;
  QString msgSpecialSkipped;
  // The button that stops a long copy, move or delete.
  QString capStopOperation;
  // "Alle Unterordner von : ... öffnen" on a tree larger than it opens.
  QString msgExpandLimitHead;
  QString msgExpandLimitTail;
  // The export's base address for links that is not an address.
  QString msgBadLinkBase;
  // Comparing a saved list with its folder: why it cannot be done (%1 filled in), and the
  // backup that bringing the list up to date would overwrite.
  QString msgCompareNoFolder;
  QString msgCompareMixedPaths;
  QString msgCompareOutside;
  QString msgCompareDates;
  QString msgCompareSizes;
  QString msgBackupExists;
  // Totals: the label of the totals row, the count ("%1" the number) and count and size.
  QString totalsLabel;
  QString totalsOneEntry;
  QString totalsEntries;
  QString totalsWithSize;
  // Printing: the foot of every page ("%1" the page, "%2" the pages), and what the progress
  // window says while pages are written.
  QString printPageOf;
  QString printProgress;
  // The catalogue of saved lists: its index that cannot be used ("%1" the file, "%2" why),
  // the headers of its results, the count of hits ("%1" hits, "%2" lists), the note that not
  // all are shown ("%1" how many are), the progress of indexing ("%1" of "%2" lists), that it
  // was stopped, the lists skipped (one: "%1" which and why; several: "%1" how many, "%2" which and
  // why), the duplicates ("%1" groups, "%2" the space of the extra copies) and one group of them
  // ("%1" copies, "%2" their extra space), the second caption of the duplicates button, and
  // what a result says of its file now.
  QString catalogUnusable;
  QStringList catalogColumns;
  QString catalogHits;
  QString catalogShownPart;
  QString catalogIndexing;
  QString catalogIndexStopped;
  QString catalogSkippedOne;
  QString catalogSkipped;
  QString catalogSearching;
  QString catalogDuplicates;
  QString catalogCopies;
  QString catalogShowHits;
  QString catalogNoFolder;
  QString catalogFileThere;
  QString catalogFileGone;
  // Comparing a saved list with its folder: the form the list was found to have ("%1" the
  // parts of the form joined), the parts (names only, details, whole paths, names without
  // path, with and without subfolders, all files, extensions hidden), the groups of the
  // result (new, missing, changed, moved, unreadable), the choice of all of them, the unchanged
  // entries, the headers of the result, the form it was compared in ("%1" the folder, "%2" the
  // parts, "%3" the date form), matching without extensions, the folders not read ("%1"), the
  // walk under way ("%1" folders), that it was stopped, that no list was chosen, the question
  // before bringing the list up to date ("%1" the list, "%2" the folder, "%3" the backup) and its
  // success ("%1" the backup).
  QString compareFormFound;
  QStringList compareFormParts;
  QStringList compareGroups;
  QString compareAllGroups;
  QString compareUnchanged;
  QStringList compareColumns;
  QString compareUsedForm;
  QString compareWithoutExtensions;
  QString compareUnreadableFolders;
  QString compareWalking;
  QString compareStopped;
  QString compareNoList;
  QString compareUpdateQuestion;
  QString compareUpdated;
  // The column headers of the folder contents view.
  QStringList contentsColumns;
  // The row labels of the properties window.
  QStringList propertyLabels;
};

const MessageSlots& MessageSlotsFor(UiLanguage language);

// One caption of a control. `form` is the window's objectName ("TForm1" .. "TForm8"),
// `object` the control's objectName. `index` is -1 for the control's own text, or the tab
// index (tab controls) or item index (combo boxes).
struct Caption {
  const char* form;
  const char* object;
  int index;
  QString german;
  QString english;
};

const std::vector<Caption>& CaptionTable();

// The caption of one control's own text in a language (empty when the table has none).
QString CaptionText(const char* form, const char* object, UiLanguage language);

enum class GeometryProperty { Left, Top, Width, Height };

// A position or size that differs between the languages.
struct Placement {
  const char* form;
  const char* object;
  GeometryProperty property;
  int german;
  int english;
};

const std::vector<Placement>& PlacementTable();

// Controls shown in one language and hidden in the other.
struct Visibility {
  const char* form;
  const char* object;
  bool german;
  bool english;
};

const std::vector<Visibility>& VisibilityTable();

}  // namespace kavoro
