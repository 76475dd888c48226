// kavoro-list: enters folders into a listing without a window and writes the results.
#include <malloc.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "core/app/AppState.h"
#include "core/app/ProgramFolders.h"
#include "core/catalog/Catalog.h"
#include "core/catalog/CatalogOutput.h"
#include "core/compare/CompareExport.h"
#include "core/compare/ListCompare.h"
#include "core/grid/GridColumns.h"
#include "core/listing/DateKey.h"
#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/DataExport.h"
#include "core/output/Export.h"
#include "core/output/ListFiles.h"
#include "core/output/StyleChoices.h"
#include "core/settings/OptionsFile.h"
#include "core/text/LineFile.h"
#include "print/ListingPrint.h"

namespace {

using namespace kavoro;

constexpr char kUsage[] =
    "Usage: kavoro-list [options] FOLDER...\n"
    "       kavoro-list --open BASE [options]\n"
    "       kavoro-list --find TEXT --catalog DIR... [--json FILE]\n"
    "       kavoro-list --duplicates --catalog DIR... [--json FILE]\n"
    "       kavoro-list --compare BASE FOLDER [-r] [-e LIST] [-x] [--json FILE]\n"
    "Enters the files of each FOLDER into one numbered listing, as Kavoro's \"Eintragen\" does,\n"
    "and writes the listing. Without an output option the text view goes to standard output\n"
    "(UTF-8, one line per entry). An output FILE of \"-\" is standard output, with the same\n"
    "bytes the file would get.\n"
    "\n"
    "Options:\n"
    "  -r, --recursive      also search all subfolders\n"
    "  -e, --ext LIST       extensions to look for, comma-separated (.mp3,.wav); default all\n"
    "      --exclude GLOB   leave out files and folders whose name matches GLOB (*.tmp,\n"
    "                       Thumbs.db; case is ignored); a folder left out is not entered;\n"
    "                       may be repeated\n"
    "      --hidden         also enter hidden folders (name beginning with \".\")\n"
    "  -d, --details        add size, type and date of change\n"
    "  -m, --media          add what music and pictures say of themselves: duration, artist,\n"
    "                       title and album of music (mp3, flac, ogg, opus, m4a, wav, wma,\n"
    "                       aiff), pixels and date taken of pictures (jpeg, png, tiff, webp,\n"
    "                       heif)\n"
    "  -p, --path           show the whole path of each file\n"
    "  -x, --hide-ext       do not show the extensions of the files found\n"
    "  -l, --link           link each file in the HTML page (with --path)\n"
    "      --lang de|en     language of the header texts (default de)\n"
    "      --open BASE      start from the list BASE.mpl/.mpl2/.mpl3: the FOLDERs are appended\n"
    "                       to it; without FOLDERs it is converted, sorted or renumbered\n"
    "      --save BASE      write the list files BASE.mpl, BASE.mpl2 and BASE.mpl3\n"
    "      --txt FILE       write the text view as a .txt export\n"
    "      --xls FILE       write the grid as an Excel workbook (.xls, or .xlsx by the name)\n"
    "      --htm FILE       write the HTML page\n"
    "      --browsable      give the HTML page a search box and sortable columns\n"
    "      --csv FILE       write the grid as CSV (RFC 4180, UTF-8, header row first)\n"
    "      --json FILE      write the listing as JSON: language, options and every entry with\n"
    "                       number, name and path, with -d also size in bytes, type and date,\n"
    "                       with -m also duration in seconds, artist, title, album, width and\n"
    "                       height in pixels and date taken, duration, pixels and date also\n"
    "                       as shown (options then say \"media\": true)\n"
    "      --link-base rel|URL  links of the HTML page (with -l) relative to the page's folder,\n"
    "                       or those relative places under the address URL; default abs\n"
    "      --totals         end the .txt, .htm, .xls and .csv with the totals: the number of\n"
    "                       entries and, with -d, the space they take\n"
    "      --pdf FILE       write the grid as a PDF to print (A4, or Letter where inches are\n"
    "                       used; landscape with -m), with the header row and \"Seite N von M\"\n"
    "                       on every page\n"
    "      --sort COLUMN    sort the grid by nr, name, size, type or date, or with -m by\n"
    "                       duration, artist, title, album, pixels or taken, as one click on\n"
    "                       that column's button does (greatest number, largest size, longest\n"
    "                       duration, most pixels, latest date first; texts A to Z);\n"
    "                       COLUMN:reverse as two clicks\n"
    "      --renumber       number the grid 1, 2, 3 ... in its order\n"
    "      --catalog DIR    the saved lists (NAME.mpl/.mpl2/.mpl3) in DIR, not in its subfolders,\n"
    "                       for --find and --duplicates; may be repeated. Their index is kept in\n"
    "                       $XDG_CACHE_HOME/kavoro/catalog.sqlite and brought up to date first;\n"
    "                       a list that cannot be read is named on standard error and skipped\n"
    "      --find TEXT      print the entries of the lists whose name holds TEXT (case, accents\n"
    "                       and umlauts ignored: \"arger\" and \"aerger\" find \"Ärger\"), one\n"
    "                       a line: list, number, name and, with details, size, type and date,\n"
    "                       tab-separated; with --json FILE as a JSON array\n"
    "      --duplicates     print the entries found more than once (same name and, with details,\n"
    "                       size), one block per name, the most space first\n"
    "      --compare BASE   compare the list BASE.mpl/.mpl2/.mpl3 with FOLDER as it is now,\n"
    "                       walked the way the list was made: details and whole paths as the\n"
    "                       list has them, -r, -e, -x, --hidden and --exclude as given (what\n"
    "                       the list cannot tell). Prints \"+ NAME\" new, \"- NAME\" missing,\n"
    "                       \"~ NAME (old -> new)\" other size or date, \"> OLD -> NEW\" moved\n"
    "                       (same file name, size and date) and \"? NAME\" in a folder that\n"
    "                       could not be read; a summary on standard error; with --json FILE\n"
    "                       the result as JSON\n"
    "  -h, --help           show this help\n"
    "  -V, --version        show the version\n"
    "      --               what follows are FOLDERs, even when they begin with \"-\"\n"
    "\n"
    "Exit status: 0 done, 1 a folder or file failed, 2 a wrong command line.\n"
    "With --find and --duplicates, as grep's: 0 found, 1 nothing found, 2 an error.\n"
    "With --compare, as diff's: 0 nothing changed, 1 something did, 2 an error.\n"
    "\n"
    "Examples:\n"
    "  kavoro-list -r -e .mp3 ~/Musik --txt musik.txt\n"
    "  kavoro-list -r ~/Musik | grep -i beatles\n"
    "  kavoro-list -r -d -p --exclude '*.tmp' --save ~/Listen/fotos ~/Bilder\n"
    "  kavoro-list --open ~/Listen/fotos --sort date --xls fotos.xls\n"
    "  kavoro-list -r -d ~/Musik --csv musik.csv\n"
    "  kavoro-list -r -d ~/Musik --json - | jq '.entries[].path'\n"
    "  kavoro-list -r -d -p -e .mp3 ~/Musik --pdf musik.pdf\n"
    "  kavoro-list -r --hidden --exclude .git ~/Projekte --htm projekte.htm\n"
    "  kavoro-list -r -d ~/Musik --browsable --htm musik.htm\n"
    "  kavoro-list -r -m -e .mp3 ~/Musik --sort duration --csv lieder.csv\n"
    "  kavoro-list -r -p -l --link-base rel ~/Musik --htm ~/Musik/liste.htm\n"
    "  kavoro-list -r -d --totals ~/Musik --xls musik.xls\n"
    "  kavoro-list --find beatles --catalog ~/Listen\n"
    "  kavoro-list --find 'ärger' --catalog ~/Listen --catalog /media/alt --json - | jq .\n"
    "  kavoro-list --duplicates --catalog ~/Listen\n"
    "  kavoro-list --compare ~/Listen/fotos ~/Bilder -r\n";

// An output option's target that stands for standard output.
const QString kStandardOutput = u"-"_qs;

struct Args {
  bool recurse = false;
  EntryOptions options;
  SearchSelection selection;
  UiLanguage language = UiLanguage::German;
  bool language_given = false;
  QString open_base;
  QString compare_base;
  QString save_base;
  QString txt_file;
  QString xls_file;
  QString htm_file;
  QString csv_file;
  QString json_file;
  QString pdf_file;
  int sort_column = -1;
  int sort_clicks = 1;
  bool renumber = false;
  bool browsable = false;
  bool totals = false;
  LinkForm links;
  QStringList folders;
  std::optional<QString> find_text;
  bool duplicates = false;
  QStringList catalog_folders;

  bool WritesFiles() const { return WritesListingFiles() || !json_file.isEmpty(); }
  // The outputs besides JSON, which alone also takes what the catalogue finds.
  bool WritesListingFiles() const {
    return !save_base.isEmpty() || !txt_file.isEmpty() || !xls_file.isEmpty() ||
           !htm_file.isEmpty() || !csv_file.isEmpty() || !pdf_file.isEmpty();
  }
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
std::optional<int> Parse(const QStringList& arguments, Args& a) {
  QCommandLineParser parser;
  const QCommandLineOption help({u"h"_qs, u"help"_qs}, QString());
  const QCommandLineOption version({u"V"_qs, u"version"_qs}, QString());
  const QCommandLineOption recursive({u"r"_qs, u"recursive"_qs}, QString());
  const QCommandLineOption details({u"d"_qs, u"details"_qs}, QString());
  const QCommandLineOption media({u"m"_qs, u"media"_qs}, QString());
  const QCommandLineOption path({u"p"_qs, u"path"_qs}, QString());
  const QCommandLineOption hide_ext({u"x"_qs, u"hide-ext"_qs}, QString());
  const QCommandLineOption link({u"l"_qs, u"link"_qs}, QString());
  const QCommandLineOption hidden(u"hidden"_qs, QString());
  const QCommandLineOption renumber(u"renumber"_qs, QString());
  const QCommandLineOption totals(u"totals"_qs, QString());
  const QCommandLineOption link_base(u"link-base"_qs, QString(), u"FORM"_qs);
  const QCommandLineOption ext({u"e"_qs, u"ext"_qs}, QString(), u"LIST"_qs);
  const QCommandLineOption exclude(u"exclude"_qs, QString(), u"GLOB"_qs);
  const QCommandLineOption lang(u"lang"_qs, QString(), u"LANG"_qs);
  const QCommandLineOption sort(u"sort"_qs, QString(), u"COLUMN"_qs);
  const QCommandLineOption open(u"open"_qs, QString(), u"BASE"_qs);
  const QCommandLineOption save(u"save"_qs, QString(), u"BASE"_qs);
  const QCommandLineOption txt(u"txt"_qs, QString(), u"FILE"_qs);
  const QCommandLineOption xls(u"xls"_qs, QString(), u"FILE"_qs);
  const QCommandLineOption htm(u"htm"_qs, QString(), u"FILE"_qs);
  const QCommandLineOption csv(u"csv"_qs, QString(), u"FILE"_qs);
  const QCommandLineOption json(u"json"_qs, QString(), u"FILE"_qs);
  const QCommandLineOption pdf(u"pdf"_qs, QString(), u"FILE"_qs);
  parser.addOptions({help,     version, recursive, details, path,    hide_ext, link, hidden,
                     renumber, totals,  link_base, ext,     exclude, lang,     sort, open,
                     save,     txt,     xls,       htm,     csv,     json,     pdf});
  const QCommandLineOption browsable(u"browsable"_qs, QString());
  const QCommandLineOption find(u"find"_qs, QString(), u"TEXT"_qs);
  const QCommandLineOption duplicates(u"duplicates"_qs, QString());
  const QCommandLineOption catalog(u"catalog"_qs, QString(), u"DIR"_qs);
  const QCommandLineOption compare(u"compare"_qs, QString(), u"BASE"_qs);
  parser.addOptions({browsable, find, duplicates, catalog, compare, media});
  if (!parser.parse(arguments)) return UsageError(parser.errorText());
  if (parser.isSet(help)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::fputs("kavoro-list 2.2\n", stdout);
    return 0;
  }

  a.recurse = parser.isSet(recursive);
  a.options.details = parser.isSet(details);
  a.options.media = parser.isSet(media);
  a.options.whole_path = parser.isSet(path);
  a.options.hide_extensions = parser.isSet(hide_ext);
  a.options.link = parser.isSet(link);
  a.selection.hidden_folders = parser.isSet(hidden);
  a.selection.exclude = parser.values(exclude);
  a.renumber = parser.isSet(renumber);
  a.browsable = parser.isSet(browsable);
  a.totals = parser.isSet(totals);
  if (parser.isSet(link_base)) {
    const auto form = ReadLinkForm(parser.value(link_base));
    if (!form)
      return UsageError(u"--link-base takes abs, rel or an address such as https://..."_qs);
    a.links = *form;
  }
  if (parser.isSet(ext)) {
    a.selection.extensions = ExtensionsOfText(parser.value(ext));
    if (a.selection.extensions.isEmpty()) return UsageError(u"no extension given"_qs);
    a.selection.search_all_files = false;
  }
  if (parser.isSet(sort)) {
    QString choice = parser.value(sort);
    if (choice.endsWith(u":reverse"_qs)) {
      a.sort_clicks = 2;
      choice.chop(8);
    }
    // By ListingData::ColumnId.
    const QStringList columns = {u"nr"_qs,    u"name"_qs,     u"size"_qs,   u"type"_qs,
                                 u"date"_qs,  u"duration"_qs, u"artist"_qs, u"title"_qs,
                                 u"album"_qs, u"pixels"_qs,   u"taken"_qs};
    a.sort_column = int(columns.indexOf(choice));
    if (a.sort_column < 0) {
      return UsageError(
          u"--sort takes nr, name, size, type, date, duration, artist, title, album, pixels "
          "or taken"_qs);
    }
  }
  if (parser.isSet(lang)) {
    const QString chosen = parser.value(lang);
    if (chosen != u"de" && chosen != u"en") return UsageError(u"--lang takes de or en"_qs);
    a.language = chosen == u"de" ? UiLanguage::German : UiLanguage::English;
    a.language_given = true;
  }
  const std::pair<const QCommandLineOption*, QString*> files[] = {
      {&open, &a.open_base}, {&save, &a.save_base}, {&txt, &a.txt_file},   {&xls, &a.xls_file},
      {&htm, &a.htm_file},   {&csv, &a.csv_file},   {&json, &a.json_file}, {&pdf, &a.pdf_file}};
  int to_standard_output = 0;
  for (const auto& [option, target] : files) {
    if (!parser.isSet(*option)) continue;
    *target = parser.value(*option);
    const QString name = u"--"_qs + option->names().constLast();
    if (target->isEmpty()) return UsageError(u"option %1 needs a value"_qs.arg(name));
    if (*target != kStandardOutput) continue;
    if (option == &open || option == &save) {
      return UsageError(u"%1 names list files; it cannot use standard output"_qs.arg(name));
    }
    ++to_standard_output;
  }
  if (to_standard_output > 1) return UsageError(u"only one output can go to standard output"_qs);

  a.folders = parser.positionalArguments();
  a.catalog_folders = parser.values(catalog);
  a.duplicates = parser.isSet(duplicates);
  if (parser.isSet(find)) a.find_text = parser.value(find);
  if (a.find_text || a.duplicates) {
    const QString name = a.duplicates ? u"--duplicates"_qs : u"--find"_qs;
    if (a.find_text && a.duplicates) return UsageError(u"--find or --duplicates, not both"_qs);
    if (a.catalog_folders.isEmpty()) return UsageError(name + u" needs --catalog DIR"_qs);
    if (a.find_text && a.find_text->isEmpty()) return UsageError(u"--find needs a text"_qs);
    if (!a.folders.isEmpty() || !a.open_base.isEmpty() || a.WritesListingFiles()) {
      return UsageError(name + u" takes only --catalog, --json and --lang"_qs);
    }
    return std::nullopt;
  }
  if (!a.catalog_folders.isEmpty()) return UsageError(u"--catalog needs --find or --duplicates"_qs);
  if (parser.isSet(compare)) {
    a.compare_base = parser.value(compare);
    if (a.compare_base.isEmpty() || a.compare_base == kStandardOutput) {
      return UsageError(u"--compare names list files"_qs);
    }
    if (a.folders.size() != 1) return UsageError(u"--compare takes one FOLDER"_qs);
    const bool form_options =
        a.options.details || a.options.media || a.options.whole_path || a.options.link;
    if (form_options || !a.open_base.isEmpty() || a.WritesListingFiles() || a.sort_column >= 0 ||
        a.renumber || a.totals || a.browsable) {
      return UsageError(
          u"--compare takes only -r, -e, -x, --hidden, --exclude, --json and --lang"_qs);
    }
    return std::nullopt;
  }
  if (a.folders.isEmpty() && a.open_base.isEmpty()) return UsageError(u"no folder given"_qs);
  if (a.options.link && !a.options.whole_path) return UsageError(u"--link needs --path"_qs);
  return std::nullopt;
}

// Set when standard output is a pipe that its reader has closed: the program then ends quietly.
bool reader_gone = false;

bool WriteStandardOutput(const char* data, std::size_t size) {
  if (std::fwrite(data, 1, size, stdout) == size) return true;
  reader_gone = errno == EPIPE;
  return false;
}

// The text view as a terminal and a pipe expect it: UTF-8, each line ending in LF.
bool PrintTextView(const ListingDocument& doc) {
  std::string chunk;
  const LineList& lines = doc.Text();
  for (qsizetype i = 0; i < lines.Count(); ++i) {
    chunk.append(lines.Utf8At(i)).push_back('\n');
    if (chunk.size() >= (1 << 20) || i + 1 == lines.Count()) {
      if (!WriteStandardOutput(chunk.data(), chunk.size())) return false;
      chunk.clear();
    }
  }
  if (std::fflush(stdout) == 0) return true;
  reader_gone = errno == EPIPE;
  return false;
}

// One output file: written as named, or for "-" into a temporary file whose bytes then go to
// standard output, so that both are the same. `extension` names the temporary file's kind.
bool WriteOutput(const QString& target, const QString& extension,
                 const std::function<bool(const QString&, QString*)>& write, QString* error) {
  if (target != kStandardOutput) return write(target, error);
  QTemporaryDir dir;
  const QString path = dir.filePath(u"listing"_qs + extension);
  if (!dir.isValid()) {
    *error = u"Cannot create a temporary folder (%1)"_qs.arg(dir.errorString());
    return false;
  }
  if (!write(path, error)) return false;
  const auto bytes = LineFile::ReadBytes(path, error);
  if (!bytes) return false;
  if (!WriteStandardOutput(bytes->constData(), std::size_t(bytes->size())) ||
      std::fflush(stdout) != 0) {
    reader_gone = reader_gone || errno == EPIPE;
    *error =
        u"Cannot write to standard output (%1)"_qs.arg(QString::fromLocal8Bit(strerror(errno)));
    return false;
  }
  return true;
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
  BuildStartListing(doc, options, style, page, {a.options.details, a.options.media}, a.language);
}

// An error of --find, --duplicates and --compare: exit status 2, as grep's and diff's.
int CatalogError(const QString& message) {
  Fail(message);
  return 2;
}

// --find and --duplicates: the catalogue of the --catalog folders, brought up to date first.
// Exit status as grep's: 0 found, 1 nothing found, 2 an error.
int RunCatalog(const Args& a) {
  for (const QString& folder : a.catalog_folders) {
    if (!QFileInfo(folder).isDir()) return CatalogError(u"%1 is not a folder"_qs.arg(folder));
  }
  Catalog catalog(Catalog::DefaultPath(), a.language);
  if (!catalog.Warning().isEmpty()) Fail(catalog.Warning());
  const CatalogUpdate update = catalog.Update(a.catalog_folders);
  for (const SkippedList& list : update.skipped) {
    Fail(u"skipped %1: %2"_qs.arg(list.list, list.reason));
  }
  QByteArray bytes;
  bool found = false;
  const bool json = !a.json_file.isEmpty();
  if (a.find_text) {
    const std::vector<CatalogEntry> hits = catalog.Find(*a.find_text);
    found = !hits.empty();
    bytes = json ? EntriesJson(hits) : EntryLines(hits);
  } else {
    const std::vector<DuplicateGroup> groups = catalog.Duplicates();
    found = !groups.empty();
    bytes = json ? DuplicatesJson(groups) : DuplicateLines(groups);
  }
  QString error;
  const bool written = json ? WriteOutput(
                                  a.json_file, u".json"_qs,
                                  [&](const QString& path, QString* e) {
                                    return LineFile::WriteBytes(path, bytes, e);
                                  },
                                  &error)
                            : WriteStandardOutput(bytes.constData(), std::size_t(bytes.size())) &&
                                  std::fflush(stdout) == 0;
  if (!written && !reader_gone) {
    if (error.isEmpty()) {
      error =
          u"Cannot write to standard output (%1)"_qs.arg(QString::fromLocal8Bit(strerror(errno)));
    }
    return CatalogError(error);
  }
  return found ? 0 : 1;
}

// --compare: the list against its folder as it is now. Exit status as diff's: 0 nothing
// changed, 1 something did, 2 an error.
int RunCompare(const Args& a) {
  // The messages of the command line are English unless another language is asked for.
  const MessageSlots& messages =
      MessageSlotsFor(a.language_given ? a.language : UiLanguage::English);
  QString error;
  const auto list = SavedList::Read(ListFileBaseOf(a.compare_base), messages, &error);
  if (!list) return CatalogError(error);
  // Without -r the files of subfolders would all count as missing: a list that tells
  // otherwise is pointed out.
  if (!a.recurse && list->WholePaths() && list->GuessForm().recurse) {
    std::fputs("kavoro-list: the list holds files of subfolders; -r searches them\n", stderr);
  }
  ListForm form;
  form.options.hide_extensions = a.options.hide_extensions;
  form.recurse = a.recurse;
  form.selection = a.selection;
  const auto result = CompareWithFolder(*list, a.folders.constFirst(), form, messages, &error);
  if (!result) return CatalogError(error);
  bool written = true;
  if (!a.json_file.isEmpty()) {
    const QByteArray json = CompareJson(*result);
    written = WriteOutput(
        a.json_file, u".json"_qs,
        [&](const QString& path, QString* e) { return LineFile::WriteBytes(path, json, e); },
        &error);
  } else {
    QByteArray lines;
    for (const QString& line : CompareLines(*result)) lines.append(line.toUtf8()).append('\n');
    written = WriteStandardOutput(lines.constData(), std::size_t(lines.size())) &&
              std::fflush(stdout) == 0;
    if (!written) {
      error =
          u"Cannot write to standard output (%1)"_qs.arg(QString::fromLocal8Bit(strerror(errno)));
    }
  }
  if (!written && !reader_gone) return CatalogError(error);
  std::fprintf(stderr, "%s\n", qPrintable(CompareSummary(*result)));
  return result->AnyChange() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The walk's threads allocate what the main thread keeps; one arena keeps the peak low.
  mallopt(M_ARENA_MAX, 1);
  // A reader that closes the pipe early (| head) ends the program quietly, not by a signal.
  std::signal(SIGPIPE, SIG_IGN);
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  Args a;
  if (auto status = Parse(arguments, a)) return *status;
  // A PDF is laid out with fonts, which only a graphical application has; it needs no display.
  std::unique_ptr<QCoreApplication> app;
  if (a.pdf_file.isEmpty()) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  if (a.find_text || a.duplicates) return RunCatalog(a);
  if (!a.compare_base.isEmpty()) return RunCompare(a);

  ListingDocument doc;
  QString error;
  StartListing(doc, a);
  if (!a.open_base.isEmpty()) {
    auto contents = ReadListFiles(ListFileBaseOf(a.open_base), MessageSlotsFor(a.language), &error);
    if (!contents) return Fail(error);
    LoadListing(doc, std::move(*contents), a.language);
  }

  // Build only the views that are written (sorting needs the grid).
  const bool text_only = a.save_base.isEmpty() && a.xls_file.isEmpty() && a.htm_file.isEmpty() &&
                         a.csv_file.isEmpty() && a.json_file.isEmpty() && a.pdf_file.isEmpty() &&
                         a.sort_column < 0 && !a.renumber && !a.totals;
  const int views = text_only ? kTextView : kAllViews;
  EntryTexts texts;
  for (const QString& folder : a.folders) {
    if (!QFileInfo(folder).isDir()) return Fail(u"%1 is not a folder"_qs.arg(folder));
    FoundFiles entries;
    const QString path = QFileInfo(folder).absoluteFilePath();
    CollectEntries(path, a.recurse, a.selection, a.options, entries);
    if (a.options.details) doc.RaiseFirstEntry();
    std::optional<MediaCells> media;
    if (a.options.media) media = ReadMediaCells(entries, texts.dates.Locale());
    AppendEntries(doc, entries, a.options, texts, views, media ? &*media : nullptr);
  }

  const auto sort_column = ListingData::ColumnId(a.sort_column);
  if (a.sort_column >= 0 && doc.ShownColumn(sort_column) < 0) {
    return Fail(
        u"the listing has no such column; sort by size, type or date needs -d, by duration, "
        "artist, title, album, pixels or taken -m"_qs);
  }
  if (a.sort_column >= 0) SortAsAfterClicks(doc, sort_column, a.sort_clicks, DateReader());
  if (a.renumber) {
    GridToolState tools;
    RenumberGrid(doc, tools);
  }
  if (!a.save_base.isEmpty() && !SaveListFiles(doc, ListFileBaseOf(a.save_base), &error)) {
    return Fail(error);
  }
  const TotalsIn totals = a.totals ? TotalsIn(a.language) : std::nullopt;
  const auto text = [&](const QString& path, QString* e) {
    return ExportText(doc, path, e, totals);
  };
  const auto html = [&](const QString& path, QString* e) {
    return ExportHtml(doc, path, e, totals, {a.browsable, a.language, doc.HasMedia()}, a.links);
  };
  const auto csv = [&](const QString& path, QString* e) { return ExportCsv(doc, path, e, totals); };
  const auto json = [&](const QString& path, QString* e) {
    return ExportJson(doc, JsonListing{a.language, a.options}, path, e);
  };
  const auto pdf = [&](const QString& path, QString* e) {
    QStringList folders;
    for (const QString& folder : a.folders) folders.append(QFileInfo(folder).absoluteFilePath());
    return WritePdf(doc, PrintTextsNow(a.language, folders), path, e);
  };
  QStringList workbooks;
  const auto spreadsheet = [&](const QString& path, QString* e) {
    if (!ExportSpreadsheet(doc, path, &workbooks, e, totals)) return false;
    if (a.xls_file != kStandardOutput || workbooks.size() == 1) return true;
    *e = u"the grid needs %1 .xls workbooks; standard output takes one (write .xlsx)"_qs.arg(
        workbooks.size());
    return false;
  };
  const struct {
    const QString& target;
    QString extension;
    std::function<bool(const QString&, QString*)> write;
  } outputs[] = {{a.txt_file, u".txt"_qs, text},        {a.htm_file, u".htm"_qs, html},
                 {a.xls_file, u".xls"_qs, spreadsheet}, {a.csv_file, u".csv"_qs, csv},
                 {a.json_file, u".json"_qs, json},      {a.pdf_file, u".pdf"_qs, pdf}};
  for (const auto& output : outputs) {
    if (output.target.isEmpty() ||
        WriteOutput(output.target, output.extension, output.write, &error))
      continue;
    return reader_gone ? 0 : Fail(error);
  }
  // Several workbooks: say which files were made.
  if (workbooks.size() > 1) std::fprintf(stderr, "%s\n", qPrintable(workbooks.join(u'\n')));
  if (!a.WritesFiles() && !PrintTextView(doc)) {
    return reader_gone ? 0
                       : Fail(u"Cannot write to standard output (%1)"_qs.arg(
                             QString::fromLocal8Bit(strerror(errno))));
  }
  return 0;
}
