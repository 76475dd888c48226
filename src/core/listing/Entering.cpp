#include "core/listing/Entering.h"

#include <charconv>

#include "core/listing/GridSort.h"
#include "core/listing/HtmlText.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/NameCollation.h"
#include "core/text/SortKeys.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

// The name text of an entry: its file name, or the whole path; hiding the extension touches
// only the file name, never the folders above it. Bytes that are no UTF-8 show as U+FFFD.
void AppendNameText(const FoundFiles& files, std::size_t i, const EntryOptions& options,
                    std::string& out) {
  std::string scratch;
  if (options.whole_path) out.append(utf8::Sanitized(files.Folder(i), scratch));
  AppendDisplayName(utf8::Sanitized(files.Name(i), scratch), options.hide_extensions, out);
}

// The keys of the entries, one made by `make_key` from each.
template <typename MakeKey>
ByteKeys EntryKeys(const FoundFiles& entries, MakeKey make_key) {
  ByteKeys keys;
  keys.Reserve(entries.Count(), entries.Count() * 24);
  for (std::size_t i = 0; i < entries.Count(); ++i) {
    make_key(i, keys.Buffer());
    keys.EndKey();
  }
  return keys;
}

bool InSearchList(std::string_view name, const SearchSelection& selection) {
  if (selection.search_all_files) return true;
  const std::string_view ext = ExtensionOf(name);
  return std::any_of(selection.extensions.begin(), selection.extensions.end(),
                     [ext](const QString& line) {
                       const QByteArray utf8 = line.toUtf8();
                       return AsciiEqualsIgnoreCase(
                           ext, std::string_view(utf8.constData(), std::size_t(utf8.size())));
                     });
}

std::string_view Padding(int n) {
  const std::size_t blanks = n < 10 ? 8 : n < 100 ? 6 : n < 1000 ? 4 : n < 10000 ? 2 : 0;
  return std::string_view("        ", blanks);
}

constexpr std::string_view kDash = "  -  ";

}  // namespace

void AppendShownName(const FoundFiles& files, std::size_t i, const EntryOptions& options,
                     std::string& out) {
  const std::size_t start = out.size();
  AppendNameText(files, i, options, out);
  // Names that hold a control character are rare: only they are written again.
  if (out.find_first_of("\r\n\t", start) == std::string::npos) return;
  const std::string raw = out.substr(start);
  out.resize(start);
  AppendVisible(raw, out);
}

FoundFiles CollectFolderEntries(const FoundFiles& files, const SearchSelection& selection) {
  FoundFiles out;
  for (const std::string& folder : files.Unreadable()) out.AddUnreadable(folder);
  const NameGlobs exclude(selection.exclude);
  std::string name;
  for (std::size_t i = 0; i < files.Count(); ++i) {
    if (!InSearchList(files.Name(i), selection)) continue;
    if (!exclude.Empty() && exclude.Match(name.assign(files.Name(i)).c_str())) continue;
    out.AddFrom(files, i);
  }
  return out;
}

bool CollectScannedEntries(const QString& folder, const SearchSelection& selection,
                           const EntryOptions& options, FoundFiles& out,
                           const std::atomic<bool>* cancel, const Scanner::Progress& progress) {
  Scanner::Options scan{true, options.details, {}, selection.hidden_folders, selection.exclude};
  if (!selection.search_all_files) scan.extensions = selection.extensions;
  FoundFiles entries;
  if (!Scanner(scan, cancel).Scan(folder, entries, progress)) return false;
  if (cancel && cancel->load(std::memory_order_relaxed)) return false;
  std::string text;
  if (options.details) {
    // With details the found rows are sorted by the name text (whole path) or the full path.
    const ByteKeys keys = EntryKeys(entries, [&](std::size_t i, std::string& key) {
      text.clear();
      if (options.whole_path) {
        AppendNameText(entries, i, options, text);
      } else {
        std::string scratch;
        text.append(utf8::Sanitized(entries.Folder(i), scratch));
        text.append(utf8::Sanitized(entries.Name(i), scratch));
      }
      AppendTextKey(text, key);
    });
    entries.Reorder(TextSortOrder(keys, true));
  } else {
    // The found names are kept in a list sorted as the user's language orders names, without
    // regard to case; equal names stay in the order found.
    const ByteKeys names = EntryKeys(entries, [&](std::size_t i, std::string& key) {
      AppendNameText(entries, i, options, key);
    });
    entries.Reorder(NameCollation::ForUser().Order(names));
  }
  out = std::move(entries);
  return true;
}

bool CollectEntries(const QString& folder, bool recurse, const SearchSelection& selection,
                    const EntryOptions& options, FoundFiles& out, const std::atomic<bool>* cancel,
                    const Scanner::Progress& progress) {
  if (recurse) return CollectScannedEntries(folder, selection, options, out, cancel, progress);
  out = CollectFolderEntries(Scanner::ListFolder(folder, options.details), selection);
  return true;
}

namespace {

// The cells after the name, in the order shown: the details, then the media cells.
int ExtraCells(const EntryCells& cells, std::array<std::string_view, 9>& out) {
  int n = 0;
  if (cells.details) {
    for (const std::string_view cell : {cells.size, cells.type, cells.date}) out[n++] = cell;
  }
  if (cells.media) {
    for (const std::string_view cell : cells.media_cells) out[n++] = cell;
  }
  return n;
}

// AppendEntry with a buffer kept across the entries of a run.
void WriteEntry(ListingData& doc, const EntryCells& cells, int views, std::string& escaped) {
  const int n = doc.EntryCounter() + 1;
  doc.SetEntryCounter(n);
  char digits[16];
  const std::string_view number(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
  std::array<std::string_view, 9> extra;
  const int extras = ExtraCells(cells, extra);
  if (views & kTextView) {
    // Each cell after the name is "  -  " and its text.
    escaped.clear();
    for (int i = 0; i < extras; ++i) escaped.append(kDash).append(extra[std::size_t(i)]);
    doc.PutEntryTextLine(n, {Padding(n), number, "  ", cells.name, escaped});
  }
  if (views & kGridView) {
    const EntryFacts facts{cells.folder, cells.file_name, cells.bytes};
    std::array<std::string_view, ListingData::kMaxColumns> row{number, cells.name};
    if (cells.details) {
      row[ListingData::kSize] = cells.size;
      row[ListingData::kType] = cells.type;
      row[ListingData::kDate] = cells.date;
    }
    if (cells.media) {
      std::copy(cells.media_cells.begin(), cells.media_cells.end(),
                row.begin() + ListingData::kFirstMediaColumn);
    }
    doc.AppendRowUtf8(row, facts);
  }
  if (!(views & kHtmlView)) return;
  const bool link = !cells.link_target.empty();
  doc.AppendHtmlLineUtf8("<tr><td align=\"right\">");
  doc.AppendHtmlLineUtf8(number);
  if (link) {
    doc.AppendHtmlLineUtf8("</td><td><a href=\"" + std::string(cells.link_target) +
                           "\" target=\"_blank\">");
  } else {
    doc.AppendHtmlLineUtf8("</td><td>");
  }
  auto escaped_line = [&](std::string_view text) {
    escaped.clear();
    AppendHtmlEscaped(text, escaped);
    doc.AppendHtmlLineUtf8(escaped);
  };
  escaped_line(cells.name);
  if (extras == 0) {
    doc.AppendHtmlLineUtf8(link ? "</a></td>" : "</td>");
    doc.AppendHtmlLineUtf8("</tr>");
    return;
  }
  for (int i = 0; i < extras; ++i) {
    doc.AppendHtmlLineUtf8(i > 0 ? "</td><td>" : link ? "</a></td><td>" : "</td><td>");
    escaped_line(extra[std::size_t(i)]);
  }
  doc.AppendHtmlLineUtf8("</td>");
  doc.AppendHtmlLineUtf8("</tr>");
}

}  // namespace

void AppendEntry(ListingData& doc, const EntryCells& cells, int views) {
  if (cells.media) doc.KeepMediaCells();
  std::string escaped;
  WriteEntry(doc, cells, views, escaped);
}

void AppendEntries(ListingData& doc, const FoundFiles& entries, const EntryOptions& options,
                   EntryTexts& texts, int views, const MediaCells* media) {
  const bool link = options.link && options.whole_path;
  doc.BeginUpdate();
  if (options.media) doc.KeepMediaCells();
  // The text lines' bytes, near enough that the pool does not grow by copying itself.
  std::size_t text_bytes =
      entries.Count() * ((options.details ? 80 : 16) + (options.media ? 80 : 0));
  for (std::size_t i = 0; i < entries.Count(); ++i) {
    text_bytes += entries.Name(i).size() + (options.whole_path ? entries.Folder(i).size() : 0);
  }
  const int extra_cells = (options.details ? 3 : 0) + (options.media ? 6 : 0);
  doc.ReserveMore(static_cast<qsizetype>(entries.Count()), 6 + 2 * extra_cells, views, text_bytes);
  if (views & kGridView) {
    doc.ReserveFacts(static_cast<qsizetype>(entries.Count()), options.details,
                     options.hide_extensions);
  }
  std::string name, size, date, target, escaped;
  for (std::size_t i = 0; i < entries.Count(); ++i) {
    name.clear();
    AppendShownName(entries, i, options, name);
    EntryCells cells;
    cells.details = options.details;
    cells.media = options.media;
    if (media && i < media->Count()) cells.media_cells = media->Get(i);
    cells.name = name;
    cells.folder = entries.Folder(i);
    cells.file_name = entries.Name(i);
    if (options.details) {
      cells.bytes = entries.Size(i);
      size.clear();
      AppendSizeKB(entries.Size(i), size);
      date.clear();
      texts.dates.Append(entries.Mtime(i), date);
      cells.size = size;
      cells.type = texts.types.TypeText(entries.Name(i));
      cells.date = date;
    }
    if (link && (views & kHtmlView)) {
      target = utf8::FromQString(LinkTarget(entries.FullPath(i)));
      cells.link_target = target;
    }
    WriteEntry(doc, cells, views, escaped);
  }
  doc.EndUpdate();
}

QString RunExtensionText(const SearchSelection& selection) {
  QString text;
  for (const QString& line : selection.extensions) text += u' ' + line;
  return text;
}

QString NothingFoundMessage(const MessageSlots& m, EnterWay way, const SearchSelection& s) {
  const QString ext = RunExtensionText(s);
  switch (way) {
    case EnterWay::Folder:
      return s.search_all_files ? m.msgNoFiles : m.msgNoTypeHead + ext + m.msgNoTypeTail;
    case EnterWay::Scanner:
      return s.search_all_files ? m.msgNoFiles2 : m.msgNoTypeHead2 + ext + m.msgNoTypeTail2;
    case EnterWay::Selected:
      return s.search_all_files ? m.msgNoneSelected : m.msgNoSelTypeHead + ext + m.msgNoSelTypeTail;
  }
  return QString();
}

QString TimeAndCountMessage(const MessageSlots& m, qint64 elapsed_ms, qsizetype found) {
  const qint64 seconds = elapsed_ms / 1000;
  const QString minutes = QString::number((seconds / 60) % 60);
  const QString secs = QString::number(seconds % 60).rightJustified(2, u'0');
  return m.msgTimeHead + minutes + u'.' + secs + m.msgTimeUnit + u'\n' + m.msgFoundCount +
         QString::number(found);
}

}  // namespace kavoro
