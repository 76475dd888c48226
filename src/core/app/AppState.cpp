#include "core/app/AppState.h"

#include <QFileInfo>

#include "core/grid/GridColumns.h"
#include "core/listing/HtmlStyle.h"
#include "core/listing/ListingHeaders.h"
#include "core/settings/CatalogEditing.h"
#include "core/text/LineFile.h"

namespace kavoro {
namespace {

bool NotZero(const OptionsFile& o, int line) { return o.WorkingLine(line) != u"0"; }

UiLanguage LanguageOf(const OptionsFile& o) {
  return NotZero(o, opt::kLanguage) ? UiLanguage::English : UiLanguage::German;
}

QString Flag(bool on) { return on ? u"1"_qs : u"0"_qs; }

// A tick past the 25 lines of older files: set when on, or when the copy (the one `set`
// writes) has its line already, so that an older file is written back as it was while off.
void SetLateFlag(OptionsFile& o, void (OptionsFile::*set)(int, const QString&), int line, bool on) {
  const QStringList& copy = set == &OptionsFile::SetWorkingLine ? o.Working() : o.Snapshot();
  if (on || copy.size() > line) (o.*set)(line, Flag(on));
}

ColumnForm FormOf(const OptionFlags& flags) { return {flags.details, flags.media}; }

// Steps shared by start-up and "Neu", all from the working copy just loaded: the four display
// ticks, the language (whose captions the window shows), then the start listing in it. The
// detail columns, the timing info and the search start question stay as the window has them.
void BuildStyledListing(AppState& s, OptionsFile* record_details) {
  const OptionFlags stored = FlagsIn(s.options);
  for (bool OptionFlags::*display : {&OptionFlags::info_no_files, &OptionFlags::hide_extensions,
                                     &OptionFlags::whole_path, &OptionFlags::link_files}) {
    s.flags.*display = stored.*display;
  }
  ApplyLanguage(s, LanguageOf(s.options));
  BuildStartListing(s.doc, s.options, s.style, s.style_page, FormOf(s.flags), s.language,
                    record_details);
}

void SetCaptions(AppState& s, const QString& window, const QString& info) {
  s.window_caption = window;
  s.info_caption = info;
  emit s.events.CaptionsChanged();
}

std::optional<QString> LoadBoth(OptionsFile& options) {
  if (auto error = options.LoadWorking()) return error;
  return options.LoadSnapshot();
}

}  // namespace

void BuildStartListing(ListingDocument& doc, OptionsFile& options, StyleDialogState& style,
                       QStringList& page, ColumnForm form, UiLanguage language,
                       OptionsFile* record_details) {
  doc.BeginUpdate();
  BuildEmptyListing(doc);
  page = doc.Html().ToStringList();
  SoundCustomFontSize(options);
  style.ApplyDefaults(options, page);
  doc.SetHtmlLines(page);
  ApplyListingHeaders(doc, form, language, record_details);
  doc.EndUpdate();
}

OptionFlags FlagsIn(const OptionsFile& options) {
  OptionFlags flags;
  for (const FlagLine& f : kFlagLines) {
    flags.*f.flag = options.WorkingLine(f.line) != (f.inverted ? u"1" : u"0");
  }
  flags.media = options.WorkingLine(opt::kMediaColumns) == u"1";
  return flags;
}

void WriteFlags(const OptionFlags& flags, OptionsFile& options,
                void (OptionsFile::*set)(int, const QString&), int end_line) {
  for (const FlagLine& f : kFlagLines) {
    if (f.line < end_line) (options.*set)(f.line, Flag(flags.*f.flag != f.inverted));
  }
  if (opt::kMediaColumns < end_line) SetLateFlag(options, set, opt::kMediaColumns, flags.media);
}

AppState::AppState(const QString& dir, const QString& data)
    : program_dir(dir.endsWith(u'/') ? dir : dir + u'/'),
      data_dir(data.isEmpty() ? program_dir : (data.endsWith(u'/') ? data : data + u'/')),
      options(program_dir + u"optionen.ini"_qs) {}

StartupCheck CheckConfiguration(AppState& s) {
  if (!QFileInfo::exists(s.ProgramFile(u"endungen.ini"_qs)) ||
      !QFileInfo::exists(s.ProgramFile(u"optionen.ini"_qs))) {
    return StartupCheck::MissingFile;
  }
  // A catalog that exists but cannot be read is as unusable as a broken one.
  if (!s.catalog.Load(s.ProgramFile(u"endungen.ini"_qs)) || !s.catalog.IsUsable()) {
    return StartupCheck::UnusableCatalog;
  }
  s.selection = SearchSelection{};
  return StartupCheck::Ok;
}

QString StartupMessage(StartupCheck check) {
  switch (check) {
    case StartupCheck::MissingFile:
      return u"Es fehlt die Datei endungen.ini oder optionen.ini, wodurch das Programm nicht "
             u"mehr funktioniert"_qs;
    case StartupCheck::UnusableCatalog:
      return u"Die Datei : endungen.ini wurde unbrauchbar gemacht !\nBitte schreiben sie die "
             u"Datei wieder um oder holen sie sie bei https://kavoro.example.org erneut."_qs;
    case StartupCheck::Ok:
      break;
  }
  return QString();
}

std::optional<QString> ApplyOptionsAtStart(AppState& s) {
  OptionsFile& o = s.options;
  if (auto error = LoadBoth(o)) return error;
  s.doc.BeginUpdate();
  // Every tick is taken from the file before the language routine runs, so the routine
  // records the stored detail state rather than the untouched default.
  s.flags = FlagsIn(o);
  BuildStyledListing(s, nullptr);

  o.PadWorkingAndFillDefaults();
  if (auto error = o.SaveWorking()) {
    s.doc.EndUpdate();
    return error;
  }

  const bool exact_details = o.WorkingLine(opt::kDetailColumns) == u"1";
  for (int c = 0; c < 5; ++c) {
    if (c < 2 || exact_details) {
      s.doc.SetWidthOf(ListingData::ColumnId(c), o.WorkingInt(opt::kColumnWidth0 + c));
    }
    s.grid_tools.width_fields[c] = o.WorkingLine(opt::kColumnWidth0 + c);
  }
  FollowColumnCount(s.grid_tools, s.doc);

  s.window.start_maximized = o.WorkingLine(opt::kWindowState) != u"0";
  s.window.width = std::max(702, o.WorkingInt(opt::kWindowWidth));
  s.window.height = std::max(480, o.WorkingInt(opt::kWindowHeight));
  s.doc.EndUpdate();
  return std::nullopt;
}

QString DiscardQuestion(const AppState& s) {
  return s.Slots().msgDiscard + u'\n' + s.Slots().msgContinue;
}

std::optional<QString> NewListing(AppState& s) {
  if (auto error = LoadBoth(s.options)) return error;
  s.doc.BeginUpdate();
  BuildStyledListing(s, &s.options);
  s.doc.EndUpdate();
  FollowColumnCount(s.grid_tools, s.doc);
  s.list_file_unnamed = true;
  s.listing_folders.clear();
  return std::nullopt;
}

std::optional<QString> SaveOptionsPanel(AppState& s, const OptionFlags& panel) {
  OptionsFile& o = s.options;
  s.flags = panel;
  WriteFlags(panel, o, &OptionsFile::SetSnapshotLine);
  if (auto error = o.LoadWorking()) return error;
  s.doc.BeginUpdate();
  ApplyListingHeaders(s.doc, FormOf(panel), s.language, &o);
  if (panel.details) {
    for (int c = 2; c < 5; ++c) {
      s.doc.SetWidthOf(ListingData::ColumnId(c), o.WorkingInt(opt::kColumnWidth0 + c));
    }
  }
  FollowColumnCount(s.grid_tools, s.doc);
  if (!s.doc.FirstEntry()) {
    if (panel.details) {
      for (int c = 2; c < 5; ++c) {
        const int width = OptionsFile::IntOr(s.grid_tools.width_fields[c], -1);
        if (width >= 0) s.doc.SetWidthOf(ListingData::ColumnId(c), width);
      }
    }
  }
  s.doc.EndUpdate();
  return o.SaveSnapshotThroughWorking();
}

void ApplyLanguage(AppState& s, UiLanguage language) {
  s.language = language;
  ApplyLanguageHeaders(s.doc, FormOf(s.flags), language, s.options);
  FollowColumnCount(s.grid_tools, s.doc);
  SetCaptions(s, MainWindowCaption(s), InfoNoFilesCaption(s));
}

std::optional<QString> SwitchLanguage(AppState& s, UiLanguage language) {
  s.selection.RebuildCurrentExtension();
  ApplyLanguage(s, language);
  s.options.SetSnapshotLine(opt::kLanguage, Flag(language == UiLanguage::English));
  return s.options.SaveSnapshotThroughWorking();
}

QString MainWindowCaption(const AppState& s) {
  const MessageSlots& m = s.Slots();
  if (s.selection.search_all_files) return m.capAll2;
  return s.language == UiLanguage::German
             ? u"Suchen nach : *"_qs + s.selection.current_extension + u" - Dateien"_qs
             : u"Search for : *"_qs + s.selection.current_extension + u"-files"_qs;
}

QString InfoNoFilesCaption(const AppState& s) {
  if (s.selection.search_all_files) return s.Slots().optNoFiles2;
  return s.language == UiLanguage::German
             ? u"wenn keine *"_qs + s.selection.current_extension + u" - Dateien im Ordner sind"_qs
             : u"if no *"_qs + s.selection.current_extension + u"-file is in the folder"_qs;
}

void ChooseCatalogExtension(AppState& s, int catalog_line) {
  const QString ext = SearchedExtension(s.catalog.Lines().value(catalog_line));
  const MessageSlots& m = s.Slots();
  s.selection.search_all_files = false;
  s.selection.extensions = {ext};
  s.selection.current_extension = ext;
  SetCaptions(s, m.capTypeHead + ext + m.capTypeTail, m.optNoTypeHead + ext + m.optNoTypeTail);
}

void ChooseAllFiles(AppState& s) {
  s.selection.search_all_files = true;
  SetCaptions(s, s.Slots().capAll2, s.Slots().optNoFiles2);
}

void ChooseSeveralExtensions(AppState& s, const QStringList& extensions) {
  const MessageSlots& m = s.Slots();
  s.selection.extensions.clear();
  QString caption_list;
  QString info_list;
  for (const QString& line : extensions) {
    const QString ext = SearchedExtension(line);
    s.selection.extensions.append(ext);
    caption_list += ext + u' ';
    info_list += u' ' + ext;
  }
  s.selection.search_all_files = false;
  s.selection.current_extension = caption_list;
  SetCaptions(s, m.capTypeHead + caption_list + m.capTypeTail,
              m.optNoTypeHead + info_list + m.optNoTypeTail);
}

std::optional<QString> CommitCatalogChange(AppState& s, const QStringList& lines,
                                           const QStringList& deleted) {
  s.catalog.SetLines(lines);
  const bool searched_deleted =
      !s.selection.search_all_files &&
      std::any_of(deleted.begin(), deleted.end(),
                  [&](const QString& ext) { return s.selection.extensions.contains(ext); });
  if (searched_deleted || s.selection.search_all_files) {
    ChooseAllFiles(s);
  } else {
    const QString& ext = s.selection.current_extension;
    const bool german = s.language == UiLanguage::German;
    SetCaptions(s,
                german ? s.Slots().capTypeHead + ext + s.Slots().capTypeTail
                       : u"Search for : *"_qs + ext + u"-files"_qs,
                german ? u"Info zeigen, falls keine *"_qs + ext + u" - Dateien im Ordner sind"_qs
                       : s.Slots().optNoTypeHead + ext + s.Slots().optNoTypeTail);
  }
  QString error;
  if (!LineFile::Write(s.ProgramFile(u"endungen.ini"_qs), lines, &error)) return error;
  return std::nullopt;
}

void RecordWindowState(AppState& s, bool normal, int outer_width, int outer_height) {
  OptionsFile& o = s.options;
  for (auto set : {&OptionsFile::SetWorkingLine, &OptionsFile::SetSnapshotLine}) {
    (o.*set)(opt::kWindowState, Flag(!normal));
    if (normal) {
      (o.*set)(opt::kWindowWidth, QString::number(outer_width));
      (o.*set)(opt::kWindowHeight, QString::number(outer_height));
    }
  }
}

EntryOptions EntryOptionsOf(const OptionFlags& f) {
  return EntryOptions{f.details, f.hide_extensions, f.whole_path, f.link_files && f.whole_path,
                      f.media};
}

SearchStartAsk AsksSearchStart(AppState& s) {
  SearchStartAsk answer;
  answer.error = s.options.LoadWorking();
  answer.ask = FlagsIn(s.options).ask_search_start;
  return answer;
}

std::optional<QString> StoreSearchStartQuestion(AppState& s, bool dont_ask) {
  // Only line 24 is written: the other ticks in the file stay as they are there.
  if (auto error = s.options.StoreWorkingLine(opt::kNoSearchStartQuestion, Flag(dont_ask))) {
    return error;
  }
  s.flags.ask_search_start = !dont_ask;
  return std::nullopt;
}

std::optional<QString> ApplyStyleDialog(AppState& s) {
  StyleDialogState& d = s.style;
  if (d.store_defaults) {
    OptionsFile& o = s.options;
    if (d.choice.custom_size.isEmpty()) d.choice.custom_size = d.size_field = u"0"_qs;
    const StyleSettings& c = d.choice;
    o.SetWorkingLine(opt::kFontColor, QString::number(c.font_color));
    o.SetWorkingLine(opt::kFontSizeChoice, QString::number(c.size_choice));
    o.SetWorkingLine(opt::kCustomFontSize, c.custom_size);
    o.SetWorkingLine(opt::kFontFamily, QString::number(c.family));
    o.SetWorkingLine(opt::kTableNoLines, Flag(c.no_lines));
    o.SetWorkingLine(opt::kPageColorOn, Flag(c.page_color_on));
    o.SetWorkingLine(opt::kPageColor, QString::number(c.page_color_on ? c.page_color : 0));
    o.SetWorkingLine(opt::kTableColorOn, Flag(c.table_color_on));
    o.SetWorkingLine(opt::kTableColor, QString::number(c.table_color_on ? c.table_color : 0));
    WriteFlags(s.flags, o, &OptionsFile::SetWorkingLine, opt::kWindowWidth);
    o.SetWorkingLine(opt::kLanguage, Flag(s.language == UiLanguage::English));
    SetLateFlag(o, &OptionsFile::SetWorkingLine, opt::kBrowsablePage, c.browsable);
    if (auto error = o.SaveWorking()) return error;
    o.SnapshotFromWorking();
  }
  s.doc.SetHtmlLines(s.style_page);
  d.page_browsable = d.choice.browsable;
  return std::nullopt;
}

}  // namespace kavoro
