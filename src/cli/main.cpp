// kavoro-list: enters folders into a listing without a window and writes the results.
#include <malloc.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

#include "core/app/AppState.h"
#include "core/app/ProgramFolders.h"
#include "core/grid/GridColumns.h"
#include "core/listing/DateKey.h"
#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/Export.h"
#include "core/output/ListFiles.h"
#include "core/output/StyleChoices.h"
#include "core/settings/OptionsFile.h"
#include "core/text/LineFile.h"

namespace {

using namespace kavoro;

constexpr char kUsage[] =
    "Usage: kavoro-list [options] FOLDER...\n"
    "Enters the files of each FOLDER into one numbered listing, as Kavoro's \"Eintragen\" does,\n"
    "and writes the listing.\n"
    "\n"
    "Options:\n"
    "  -r, --recursive      also search all subfolders (hidden folders are not entered)\n"
    "  -e, --ext LIST       extensions to look for, comma-separated (.mp3,.wav); default all\n"
    "  -d, --details        add size, type and date of change\n"
    "  -p, --path           show the whole path of each file\n"
    "  -x, --hide-ext       do not show the extensions of the files found\n"
    "  -l, --link           link each file in the HTML page (with --path)\n"
    "      --lang de|en     language of the header texts (default de)\n"
    "      --open BASE      append to the list BASE.mpl/.mpl2/.mpl3 instead of a new listing\n"
    "      --save BASE      write the list files BASE.mpl, BASE.mpl2 and BASE.mpl3\n"
    "      --txt FILE       write the text view as a .txt export\n"
    "      --xls FILE       write the grid as an Excel workbook (.xls, or .xlsx by the name)\n"
    "      --htm FILE       write the HTML page\n"
    "      --sort COLUMN    sort the grid by nr, name, size, type or date, as one click on that\n"
    "                       column's button does (greatest number, largest size, latest date\n"
    "                       first; names and types A to Z); COLUMN:reverse as two clicks\n"
    "      --renumber       number the grid 1, 2, 3 ... in its order\n"
    "  -h, --help           show this help\n"
    "  -V, --version        show the version\n"
    "\n"
    "Examples:\n"
    "  kavoro-list -r -e .mp3 ~/Musik --txt musik.txt\n"
    "  kavoro-list -r -d -p --save ~/Listen/fotos ~/Bilder\n";

struct Args {
  bool recurse = false;
  EntryOptions options;
  SearchSelection selection;
  UiLanguage language = UiLanguage::German;
  QString open_base;
  QString save_base;
  QString txt_file;
  QString xls_file;
  QString htm_file;
  int sort_column = -1;
  int sort_clicks = 1;
  bool renumber = false;
  QStringList folders;
};

int UsageError(const QString& message) {
  std::fprintf(stderr, "kavoro-list: %s\nTry 'kavoro-list --help'.\n", qPrintable(message));
  return 2;
}

int Fail(const QString& message) {
  std::fprintf(stderr, "kavoro-list: %s\n", qPrintable(message));
  return 1;
}

// Returns an exit status when the program should end at once.
std::optional<int> Parse(const QStringList& argv, Args& a) {
  for (qsizetype i = 1; i < argv.size(); ++i) {
    const QString& arg = argv[i];
    auto value = [&](QString& target) -> bool {
      if (i + 1 >= argv.size()) return false;
      target = argv[++i];
      return true;
    };
    if (arg == u"-h" || arg == u"--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == u"-V" || arg == u"--version") {
      std::fputs("kavoro-list 2.2\n", stdout);
      return 0;
    } else if (arg == u"-r" || arg == u"--recursive") {
      a.recurse = true;
    } else if (arg == u"-d" || arg == u"--details") {
      a.options.details = true;
    } else if (arg == u"-p" || arg == u"--path") {
      a.options.whole_path = true;
    } else if (arg == u"-x" || arg == u"--hide-ext") {
      a.options.hide_extensions = true;
    } else if (arg == u"-l" || arg == u"--link") {
      a.options.link = true;
    } else if (arg == u"-e" || arg == u"--ext") {
      QString list;
      if (!value(list)) return UsageError(u"option %1 needs a value"_qs.arg(arg));
      a.selection.extensions.clear();
      for (QString ext : list.split(u',', Qt::SkipEmptyParts)) {
        ext = ext.trimmed();
        if (!ext.startsWith(u'.')) ext.prepend(u'.');
        a.selection.extensions.append(ext);
      }
      if (a.selection.extensions.isEmpty()) return UsageError(u"no extension given"_qs);
      a.selection.search_all_files = false;
    } else if (arg == u"--renumber") {
      a.renumber = true;
    } else if (arg == u"--sort") {
      QString choice;
      if (!value(choice)) return UsageError(u"--sort needs a column"_qs);
      if (choice.endsWith(u":reverse"_qs)) {
        a.sort_clicks = 2;
        choice.chop(8);
      }
      const QStringList columns = {u"nr"_qs, u"name"_qs, u"size"_qs, u"type"_qs, u"date"_qs};
      a.sort_column = int(columns.indexOf(choice));
      if (a.sort_column < 0) return UsageError(u"--sort takes nr, name, size, type or date"_qs);
    } else if (arg == u"--lang") {
      QString lang;
      if (!value(lang) || (lang != u"de" && lang != u"en")) {
        return UsageError(u"--lang takes de or en"_qs);
      }
      a.language = lang == u"de" ? UiLanguage::German : UiLanguage::English;
    } else if (arg == u"--open" || arg == u"--save" || arg == u"--txt" || arg == u"--xls" ||
               arg == u"--htm") {
      QString& target = arg == u"--open"   ? a.open_base
                        : arg == u"--save" ? a.save_base
                        : arg == u"--txt"  ? a.txt_file
                        : arg == u"--xls"  ? a.xls_file
                                           : a.htm_file;
      if (!value(target) || target.isEmpty()) {
        return UsageError(u"option %1 needs a value"_qs.arg(arg));
      }
    } else if (arg.startsWith(u'-') && arg.size() > 1) {
      return UsageError(u"unknown option %1"_qs.arg(arg));
    } else {
      a.folders.append(arg);
    }
  }
  if (a.folders.isEmpty()) return UsageError(u"no folder given"_qs);
  if (a.options.link && !a.options.whole_path) return UsageError(u"--link needs --path"_qs);
  return std::nullopt;
}

// The listing as the program starts it, in the style of the optionen.ini the window would use
// (the shipped style when there is none).
void StartListing(ListingDocument& doc, const Args& a) {
  const ProgramFolders folders = ChooseProgramFolders(
      QCoreApplication::applicationDirPath(), QString(),
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/kavoro"_qs);
  // A settings folder that cannot be made costs only the user's style: the listing goes on.
  if (const auto error = PrepareSettingsFolder(folders)) {
    std::fprintf(stderr, "kavoro-list: %s\n", qPrintable(*error));
  }
  OptionsFile options(folders.settings + u"optionen.ini"_qs);
  if (options.LoadWorking()) {
    // The style lines of the shipped optionen.ini: black Arial in the middle size.
    for (int line = 0; line <= opt::kTableColor; ++line) {
      options.SetWorkingLine(line, line == opt::kFontSizeChoice ? u"1"_qs : u"0"_qs);
    }
  }
  StyleDialogState style;
  QStringList page;
  BuildStartListing(doc, options, style, page, a.options.details, a.language);
}

}  // namespace

int main(int argc, char** argv) {
  // The walk's threads allocate what the main thread keeps; one arena keeps the peak low.
  mallopt(M_ARENA_MAX, 1);
  QCoreApplication app(argc, argv);
  Args a;
  if (auto status = Parse(QCoreApplication::arguments(), a)) return *status;

  ListingDocument doc;
  QString error;
  if (!a.open_base.isEmpty()) {
    StartListing(doc, a);
    auto contents = ReadListFiles(ListFileBaseOf(a.open_base), MessageSlotsFor(a.language), &error);
    if (!contents) return Fail(error);
    LoadListing(doc, std::move(*contents), a.language);
  } else {
    StartListing(doc, a);
  }

  // Build only the views that are written (sorting needs the grid).
  const int views = (a.save_base.isEmpty() && a.xls_file.isEmpty() && a.htm_file.isEmpty() &&
                     a.sort_column < 0 && !a.renumber)
                        ? kTextView
                        : kAllViews;
  EntryTexts texts;
  for (const QString& folder : a.folders) {
    if (!QFileInfo(folder).isDir()) return Fail(u"%1 is not a folder"_qs.arg(folder));
    FoundFiles entries;
    const QString path = QFileInfo(folder).absoluteFilePath();
    CollectEntries(path, a.recurse, a.selection, a.options, entries);
    if (a.options.details) doc.RaiseFirstEntry();
    AppendEntries(doc, entries, a.options, texts, views);
  }

  if (a.sort_column >= doc.ColumnCount()) {
    return Fail(u"the listing has no such column; sort by size, type or date needs -d"_qs);
  }
  if (a.sort_column >= 0) SortAsAfterClicks(doc, a.sort_column, a.sort_clicks, DateReader());
  if (a.renumber) {
    GridToolState tools;
    RenumberGrid(doc, tools);
  }
  if (!a.save_base.isEmpty() && !SaveListFiles(doc, ListFileBaseOf(a.save_base), &error)) {
    return Fail(error);
  }
  if (!a.txt_file.isEmpty() && !ExportText(doc, a.txt_file, &error)) return Fail(error);
  if (!a.htm_file.isEmpty() && !ExportHtml(doc, a.htm_file, &error)) return Fail(error);
  if (!a.xls_file.isEmpty()) {
    QStringList written;
    if (!ExportSpreadsheet(doc, a.xls_file, &written, &error)) return Fail(error);
    // Several workbooks: say which files were made.
    if (written.size() > 1) std::printf("%s\n", qPrintable(written.join(u'\n')));
  }
  return 0;
}
