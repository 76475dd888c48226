#include "core/listing/Entering.h"

#include <algorithm>
#include <array>

#include "core/grid/GridSort.h"
#include "core/listing/HtmlText.h"
#include "core/listing/ListingDocument.h"

namespace kavoro {
namespace {

// The name text of a file: its name, or the whole path; hiding the extension touches only
// the file name, never the folders above it.
QString NameText(const FoundFile& file, const EntryOptions& options) {
  const QString name = DisplayName(file.name, options.hide_extensions);
  return options.whole_path ? file.folder + name : name;
}

EntryData MakeEntry(FoundFile&& file, const EntryOptions& options, EntryTexts& texts) {
  EntryData e{NameText(file, options), std::move(file.folder), std::move(file.name), file.size,
              file.mtime, {}};
  if (options.details) e.type = texts.types.ShellTypeName(e.file_name);
  return e;
}

char16_t Folded(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
  return QChar(c).toCaseFolded().unicode();
}

// Compares without regard to case, folding only where a character is not plain ASCII.
int CompareFolded(QStringView a, QStringView b) {
  const qsizetype n = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t x = a[i].unicode();
    const char16_t y = b[i].unicode();
    if (x == y) continue;
    const char16_t fx = Folded(x);
    const char16_t fy = Folded(y);
    if (fx != fy) return fx < fy ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The first eight folded characters of a name as two numbers that order like CompareFolded,
// so that most comparisons of a sort never look at the characters themselves.
std::array<std::uint64_t, 2> FoldedPrefix(QStringView name) {
  std::array<std::uint64_t, 2> key{};
  for (qsizetype i = 0; i < 8; ++i) {
    const std::uint64_t unit = i < name.size() ? Folded(name[i].unicode()) : 0;
    key[i / 4] = (key[i / 4] << 16) | unit;
  }
  return key;
}

// Puts the entries into the order of `order` (a permutation of their positions) in place.
void Permute(std::vector<EntryData>& entries, const std::vector<std::uint32_t>& order) {
  for (std::size_t i = 0; i < order.size(); ++i) {
    std::size_t from = order[i];
    while (from < i) from = order[from];  // the entry was moved on by an earlier swap
    if (from != i) std::swap(entries[i], entries[from]);
  }
}

// Sorts by the name text without regard to case, keeping the found order of equal names.
void SortByName(std::vector<EntryData>& entries) {
  struct Key {
    std::array<std::uint64_t, 2> prefix;
    std::uint32_t index;
  };
  std::vector<Key> keys(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    keys[i] = {FoldedPrefix(entries[i].name), std::uint32_t(i)};
  }
  std::stable_sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
    if (a.prefix[0] != b.prefix[0]) return a.prefix[0] < b.prefix[0];
    if (a.prefix[1] != b.prefix[1]) return a.prefix[1] < b.prefix[1];
    return CompareFolded(entries[a.index].name, entries[b.index].name) < 0;
  });
  std::vector<std::uint32_t> order(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].index;
  std::vector<Key>().swap(keys);
  Permute(entries, order);
}

bool InSearchList(const FoundFile& file, const SearchSelection& selection) {
  if (selection.search_all_files) return true;
  const QString ext = AsciiLower(ExtensionOf(file.name));
  return std::any_of(selection.extensions.begin(), selection.extensions.end(),
                     [&](const QString& line) { return AsciiLower(line) == ext; });
}

QStringView Padding(int n) {
  const qsizetype blanks = n < 10 ? 8 : n < 100 ? 6 : n < 1000 ? 4 : n < 10000 ? 2 : 0;
  return QStringView(u"        ").left(blanks);
}

constexpr QStringView kDash = u"  -  ";

}  // namespace

std::vector<EntryData> CollectFolderEntries(const std::vector<FoundFile>& files,
                                            const SearchSelection& selection,
                                            const EntryOptions& options, EntryTexts& texts) {
  std::vector<EntryData> out;
  for (FoundFile file : files) {
    if (InSearchList(file, selection)) out.push_back(MakeEntry(std::move(file), options, texts));
  }
  return out;
}

bool CollectScannedEntries(const QString& folder, const SearchSelection& selection,
                           const EntryOptions& options, EntryTexts& texts,
                           std::vector<EntryData>& out, const std::atomic<bool>* cancel,
                           const Scanner::Progress& progress) {
  Scanner::Options scan{true, options.details, {}};
  if (!selection.search_all_files) {
    for (const QString& line : selection.extensions) scan.extensions.append(AsciiLower(line));
  }
  std::vector<FoundFile> files;
  if (!Scanner(scan, cancel).Scan(folder, files, progress)) return false;
  std::vector<EntryData> entries;
  entries.reserve(files.size());
  for (FoundFile& file : files) {
    if (cancel && cancel->load(std::memory_order_relaxed)) return false;
    entries.push_back(MakeEntry(std::move(file), options, texts));
  }
  std::vector<FoundFile>().swap(files);
  if (options.details) {
    // With details the found rows are sorted by the name text (whole path) or the full path.
    QStringList keys;
    keys.reserve(qsizetype(entries.size()));
    for (const EntryData& e : entries) keys.append(options.whole_path ? e.name : e.FullPath());
    std::vector<std::uint32_t> order = TextSortOrder(keys, true);
    keys.clear();
    Permute(entries, order);
  } else {
    // The found names are kept in a list sorted without regard to case.
    SortByName(entries);
  }
  out.insert(out.end(), std::make_move_iterator(entries.begin()),
             std::make_move_iterator(entries.end()));
  return true;
}

bool CollectEntries(const QString& folder, bool recurse, const SearchSelection& selection,
                    const EntryOptions& options, EntryTexts& texts, std::vector<EntryData>& out,
                    const std::atomic<bool>* cancel, const Scanner::Progress& progress) {
  if (recurse) {
    return CollectScannedEntries(folder, selection, options, texts, out, cancel, progress);
  }
  std::vector<EntryData> entries = CollectFolderEntries(
      Scanner::ListFolder(folder, options.details), selection, options, texts);
  out.insert(out.end(), std::make_move_iterator(entries.begin()),
             std::make_move_iterator(entries.end()));
  return true;
}

void AppendEntries(ListingDocument& doc, const std::vector<EntryData>& entries,
                   const EntryOptions& options, EntryTexts& texts, int views) {
  const bool link = options.link && options.whole_path;
  doc.BeginUpdate();
  doc.ReserveMore(static_cast<qsizetype>(entries.size()), options.details ? 12 : 6, views);
  QString size;
  QString date;
  for (const EntryData& e : entries) {
    const int n = doc.EntryCounter() + 1;
    doc.SetEntryCounter(n);
    const QString number = QString::number(n);
    const QString name = VisibleName(e.name);
    if (options.details) {
      size = FormatSizeKB(e.size);
      date = texts.dates.Format(e.mtime);
    }
    if (views & kTextView) {
      if (options.details) {
        doc.PutEntryTextLine(n, {Padding(n), number, u"  ", name, kDash, size, kDash, e.type,
                                 kDash, date});
      } else {
        doc.PutEntryTextLine(n, {Padding(n), number, u"  ", name});
      }
    }
    if (views & kGridView) {
      if (options.details) {
        doc.AppendRow({number, name, size, e.type, date});
      } else {
        doc.AppendRow({number, name, {}, {}, {}});
      }
    }
    if (!(views & kHtmlView)) continue;
    doc.AppendHtmlLine(u"<tr><td align=\"right\">");
    doc.AppendHtmlLine(number);
    doc.AppendHtmlLine(link ? u"</td><td><a href=\""_qs + LinkTarget(e.FullPath()) +
                                  u"\" target=\"_blank\">"_qs
                            : u"</td><td>"_qs);
    doc.AppendHtmlLine(HtmlEscape(name));
    if (!options.details) {
      doc.AppendHtmlLine(link ? u"</a></td>" : u"</td>");
      doc.AppendHtmlLine(u"</tr>");
      continue;
    }
    doc.AppendHtmlLine(link ? u"</a></td><td>" : u"</td><td>");
    doc.AppendHtmlLine(size);
    doc.AppendHtmlLine(u"</td><td>");
    doc.AppendHtmlLine(HtmlEscape(e.type));
    doc.AppendHtmlLine(u"</td><td>");
    doc.AppendHtmlLine(HtmlEscape(date));
    doc.AppendHtmlLine(u"</td>");
    doc.AppendHtmlLine(u"</tr>");
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
