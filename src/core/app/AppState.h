#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "core/app/StateEvents.h"
#include "core/grid/GridColumns.h"
#include "core/i18n/LanguageTables.h"
#include "core/listing/Entering.h"
#include "core/listing/HtmlStyle.h"
#include "core/listing/ListingDocument.h"
#include "core/output/Export.h"
#include "core/output/StyleChoices.h"
#include "core/settings/FileTypeCatalog.h"
#include "core/settings/OptionsFile.h"
#include "core/settings/SearchSelection.h"

namespace kavoro {

// The option ticks of the main window; the program acts on these, not on the file copies.
// Each has its line of optionen.ini, read and written through kFlagLines.
struct OptionFlags {
  bool info_no_files = false;     // line 9
  bool hide_extensions = false;   // line 10
  bool whole_path = false;        // line 11
  bool link_files = false;        // line 12
  bool details = false;           // line 14: size, type and date columns
  bool info_count_time = false;   // line 15
  bool ask_search_start = false;  // line 24, inverted
  bool media = false;             // line 26: duration, artist, title, album, pixels, taken
};

// The option ticks and their lines: "1" on and "0" off; `inverted` lines the other way round.
// A line that is neither counts as on ("1" as off where inverted).
struct FlagLine {
  int line;
  bool OptionFlags::*flag;
  bool inverted = false;
};
inline constexpr FlagLine kFlagLines[] = {
    {opt::kInfoNoFiles, &OptionFlags::info_no_files},
    {opt::kHideExtensions, &OptionFlags::hide_extensions},
    {opt::kWholePath, &OptionFlags::whole_path},
    {opt::kLinkFiles, &OptionFlags::link_files},
    {opt::kDetailColumns, &OptionFlags::details},
    {opt::kInfoCountTime, &OptionFlags::info_count_time},
    {opt::kNoSearchStartQuestion, &OptionFlags::ask_search_start, true},
};
// The ticks as the working copy holds them. The media tick (line 26, past the lines of older
// files) is on only with "1".
OptionFlags FlagsIn(const OptionsFile& options);
// Sets the lines of the ticks below `end_line` with `set` (a working or snapshot setter). Line
// 26 is set only when the media tick is on or the copy has the line already, so that an older
// file stays as it was while the tick is off.
void WriteFlags(const OptionFlags& flags, OptionsFile& options,
                void (OptionsFile::*set)(int, const QString&),
                int end_line = opt::kMediaColumns + 1);

struct WindowPlacement {
  int width = 702;
  int height = 480;
  bool start_maximized = false;
};

// All state of the main window that is not a widget, and the routines that change it.
class AppState {
 public:
  // `data_dir` holds the help pages; by default the program folder.
  explicit AppState(const QString& program_dir, const QString& data_dir = QString());

  QString ProgramFile(const QString& name) const { return program_dir + name; }

  QString program_dir;  // with a trailing "/"
  QString data_dir;     // with a trailing "/"
  OptionsFile options;
  FileTypeCatalog catalog;
  ListingDocument doc;
  OptionFlags flags;
  SearchSelection selection;
  UiLanguage language = UiLanguage::German;
  StyleDialogState style;  // the style dialog's choices
  QStringList style_page;  // the style dialog's working copy of the page
  GridToolState grid_tools;
  WindowPlacement window;
  QString list_file_base;
  bool list_file_unnamed = true;
  // The folders entered into the listing since it began, which a printed page names.
  QStringList listing_folders;
  // The folders the file dialogs last used: list files, and each kind of export.
  QString list_folder;
  ExportFolders export_folders;
  // The window caption and the caption of the "nothing found" option, as the last action that
  // chose what to search for left them; every change is announced by `events`.
  QString window_caption;
  QString info_caption;
  StateEvents events;

  const MessageSlots& Slots() const { return MessageSlotsFor(language); }
  // Whether pages are browsable: those of the HTML view (export, "Aktualisieren"), and the
  // style dialog's preview, which shows the dialog's choice before it is applied; their media
  // columns are the listing's.
  PageBrowsing ViewBrowsing() const { return {style.page_browsable, language, doc.HasMedia()}; }
  PageBrowsing DialogBrowsing() const { return {style.choice.browsable, language, doc.HasMedia()}; }
};

// The listing as the program starts it, as "Neu" makes it and as the command line begins: the
// empty listing with the page template in the style of the working copy of `options` (a custom
// font size that is no number made sound first), then the header layout of `form` in
// `language`, its detail state recorded in `record_details` when given. `page` becomes the style
// dialog's working copy of the page, `style` its choices.
void BuildStartListing(ListingDocument& doc, OptionsFile& options, StyleDialogState& style,
                       QStringList& page, ColumnForm form, UiLanguage language,
                       OptionsFile* record_details = nullptr);

enum class StartupCheck { Ok, MissingFile, UnusableCatalog };

// Checks both configuration files and loads the catalog.
StartupCheck CheckConfiguration(AppState& state);
QString StartupMessage(StartupCheck check);

// The whole application of optionen.ini when the main window is first shown; pads the file,
// fills its defaults and saves it. The reason when the file cannot be read or written.
std::optional<QString> ApplyOptionsAtStart(AppState& state);

// The question before unsaved entries are lost ("Neu", "Öffnen").
QString DiscardQuestion(const AppState& state);

// "Neu" after the user agreed: the empty listing in the stored language and style. It
// belongs to no list file: the next "Speichern" asks for a name.
std::optional<QString> NewListing(AppState& state);

// The options panel's "save": its ticks become the program's and go to the file.
std::optional<QString> SaveOptionsPanel(AppState& state, const OptionFlags& panel);

// The language routine: captions composed from the state and the listing header.
void ApplyLanguage(AppState& state, UiLanguage language);

// The language menu: applies the language and stores it.
std::optional<QString> SwitchLanguage(AppState& state, UiLanguage language);

QString MainWindowCaption(const AppState& state);
QString InfoNoFilesCaption(const AppState& state);

// What to search for: one catalog line, all files, or several extensions.
void ChooseCatalogExtension(AppState& state, int catalog_line);
void ChooseAllFiles(AppState& state);
void ChooseSeveralExtensions(AppState& state, const QStringList& extensions);

// Takes a changed catalog: a search for a deleted extension becomes a search for all files.
// The reason when endungen.ini could not be written; the change stays in force.
std::optional<QString> CommitCatalogChange(AppState& state, const QStringList& lines,
                                           const QStringList& deleted_extensions);

// Lines 16 to 18 as the window is now: its state, and its outer size while it is normal (a
// window that is not normal keeps the last normal size). Both copies take them, so that the
// options panel and the language switch, which write the snapshot whole, store the real state.
void RecordWindowState(AppState& state, bool normal, int outer_width, int outer_height);

// The options of entering as the option ticks set them.
EntryOptions EntryOptionsOf(const OptionFlags& flags);

// Whether the find window opens on the start question: reloads optionen.ini and reads
// line 24 ("1": do not ask). When the file cannot be read, `error` says why and the copy
// already held decides.
struct SearchStartAsk {
  bool ask = true;
  std::optional<QString> error;
};
SearchStartAsk AsksSearchStart(AppState& state);

// The start question's "OK" and "Abbrechen": line 24 follows "Nicht mehr danach fragen" and
// the options panel's tick the opposite. The reason when the file fails.
std::optional<QString> StoreSearchStartQuestion(AppState& state, bool dont_ask);

// "Übernehmen": stores the choice as defaults when asked to (lines 0..15 and 25 of optionen.ini,
// then the snapshot := the working copy) and puts the working page into the HTML view. A
// failed save leaves the HTML view as it was; it gives the reason.
std::optional<QString> ApplyStyleDialog(AppState& state);

}  // namespace kavoro
