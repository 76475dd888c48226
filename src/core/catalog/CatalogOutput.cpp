#include "core/catalog/CatalogOutput.h"

#include <QFileInfo>
#include <QSaveFile>
#include <string>

#include "core/listing/FileTexts.h"
#include "core/listing/HtmlText.h"
#include "core/output/BrowsablePage.h"
#include "core/output/DataExport.h"
#include "core/text/JsonString.h"
#include "core/text/LineFile.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

QByteArray Bytes(const std::string& text) {
  return QByteArray(text.data(), qsizetype(text.size()));
}

void AppendLine(const CatalogEntry& e, std::string& out) {
  out += utf8::FromQString(e.list) + '\t' + std::to_string(e.number) + '\t' +
         utf8::FromQString(e.name);
  if (e.details) {
    for (const QString* detail : {&e.size, &e.type, &e.date}) {
      out += '\t' + utf8::FromQString(*detail);
    }
  }
  out += '\n';
}

void AppendJsonField(const char* key, const QString& value, std::string& out) {
  out.append(",\"").append(key).append("\":");
  AppendJsonString(utf8::FromQString(value), out);
}

void AppendJsonEntry(const CatalogEntry& e, std::string& out) {
  out += "{\"list\":";
  AppendJsonString(utf8::FromQString(e.list), out);
  out += ",\"number\":" + std::to_string(e.number);
  AppendJsonField("name", e.name, out);
  if (e.details) {
    AppendJsonField("size", e.size, out);
    AppendJsonField("type", e.type, out);
    AppendJsonField("date", e.date, out);
  }
  out += '}';
}

// "[" and "]" on lines of their own, the items between them one a line.
template <typename Item, typename AppendItem>
QByteArray JsonArray(const std::vector<Item>& items, AppendItem append) {
  std::string out = "[\n";
  for (std::size_t i = 0; i < items.size(); ++i) {
    append(items[i], out);
    out += i + 1 < items.size() ? ",\n" : "\n";
  }
  out += "]\n";
  return Bytes(out);
}

std::string ExtraText(const DuplicateGroup& group) {
  std::string text;
  AppendSizeKB(std::uint64_t(group.extra_kb) * 1024, text);
  return text;
}

}  // namespace

QByteArray EntryLines(const std::vector<CatalogEntry>& entries) {
  std::string out;
  for (const CatalogEntry& e : entries) AppendLine(e, out);
  return Bytes(out);
}

QByteArray EntriesJson(const std::vector<CatalogEntry>& entries) {
  return JsonArray(entries, AppendJsonEntry);
}

QByteArray DuplicateLines(const std::vector<DuplicateGroup>& groups) {
  std::string out;
  for (const DuplicateGroup& group : groups) {
    if (!out.empty()) out += '\n';
    out += utf8::FromQString(FileNameOf(group.copies.front())) + '\t' +
           std::to_string(group.copies.size()) + " copies\t" + ExtraText(group) + " more\n";
    for (const CatalogEntry& e : group.copies) AppendLine(e, out);
  }
  return Bytes(out);
}

QByteArray DuplicatesJson(const std::vector<DuplicateGroup>& groups) {
  return JsonArray(groups, [](const DuplicateGroup& group, std::string& out) {
    const CatalogEntry& first = group.copies.front();
    out += "{\"name\":";
    AppendJsonString(utf8::FromQString(FileNameOf(first)), out);
    out += ",\"size\":";
    if (first.details) {
      AppendJsonString(utf8::FromQString(first.size), out);
    } else {
      out += "null";
    }
    out += ",\"copies\":" + std::to_string(group.copies.size()) +
           ",\"extraKB\":" + std::to_string(group.extra_kb) + ",\"entries\":[";
    for (std::size_t i = 0; i < group.copies.size(); ++i) {
      if (i > 0) out += ',';
      AppendJsonEntry(group.copies[i], out);
    }
    out += "]}";
  });
}

namespace {

bool EndsWith(const QString& path, const char* extension) {
  return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
}

// The table forms of ExportEntries and ExportDuplicates; false with `done` unset for the others.
bool ExportTable(const std::vector<CatalogEntry>& entries, const QString& path, UiLanguage language,
                 QStringList* written, QString* error, bool* done) {
  *done = true;
  const CellTable table = EntriesTable(entries, language);
  if (EndsWith(path, ".csv")) return LineFile::WriteBytes(path, CsvBytes(table), error);
  if (EndsWith(path, ".xls")) {
    return WriteXlsWorkbooks(table, path, QFileInfo(path).completeBaseName(), written, error);
  }
  *done = false;
  return false;
}

}  // namespace

CellTable EntriesTable(const std::vector<CatalogEntry>& entries, UiLanguage language) {
  const QStringList headers = MessageSlotsFor(language).catalogColumns.mid(0, 6);
  return {qsizetype(entries.size()) + 1, 6, [&entries, headers](int column, qsizetype row) {
            return row == 0 ? headers[column] : EntryCell(entries[std::size_t(row - 1)], column);
          }};
}

bool ExportEntries(const std::vector<CatalogEntry>& entries, const QString& path,
                   UiLanguage language, QStringList* written, QString* error) {
  bool done = false;
  const bool ok = ExportTable(entries, path, language, written, error, &done);
  if (done) return ok;
  return LineFile::WriteBytes(
      path, EndsWith(path, ".json") ? EntriesJson(entries) : EntryLines(entries), error);
}

bool ExportDuplicates(const std::vector<DuplicateGroup>& groups, const QString& path,
                      UiLanguage language, QStringList* written, QString* error) {
  std::vector<CatalogEntry> copies;
  for (const DuplicateGroup& group : groups) {
    copies.insert(copies.end(), group.copies.begin(), group.copies.end());
  }
  bool done = false;
  const bool ok = ExportTable(copies, path, language, written, error, &done);
  if (done) return ok;
  return LineFile::WriteBytes(
      path, EndsWith(path, ".json") ? DuplicatesJson(groups) : DuplicateLines(groups), error);
}

bool WriteCatalogPage(Catalog& catalog, const QString& path, UiLanguage language,
                      const std::atomic<bool>* cancel, QString* error) {
  QSaveFile file(path);
  const auto failed = [&] {
    *error = path + u" : "_qs + file.errorString();
    return false;
  };
  if (!file.open(QIODevice::WriteOnly)) return failed();
  const MessageSlots& messages = MessageSlotsFor(language);
  const QString title = HtmlEscape(messages.catalogColumns.front());
  QStringList head = {
      u"<html>"_qs,  u"<head>"_qs, u"<title>"_qs + title + u"</title>"_qs,
      u"</head>"_qs, u"<body>"_qs, u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"_qs};
  QString header = u"<tr>"_qs;
  for (const QString& caption : messages.catalogColumns.mid(0, 6)) {
    header += u"<th>"_qs + HtmlEscape(caption) + u"</th>"_qs;
  }
  head.append(header + u"</tr>"_qs);
  std::string out;
  for (const QString& line : BrowsableLines(head, language, false, u"utf-8"_qs)) {
    out += utf8::FromQString(line) + "\r\n";
  }
  const auto flush = [&] {
    const bool ok = file.write(out.data(), qint64(out.size())) == qint64(out.size());
    out.clear();
    return ok;
  };
  bool written = true;
  const bool whole = catalog.Each(
      CatalogQuery{},
      [&](const CatalogEntry& e) {
        out += "<tr><td>";
        AppendHtmlEscaped(utf8::FromQString(QFileInfo(e.list).fileName()), out);
        out += "</td><td>" + std::to_string(e.number);
        for (const QString* cell : {&e.name, &e.size, &e.type, &e.date}) {
          out += "</td><td>";
          AppendHtmlEscaped(utf8::FromQString(*cell), out);
        }
        out += "</td></tr>\r\n";
        if (out.size() > (1 << 20)) written = flush();
        return written;
      },
      cancel);
  out += "</table>\r\n</body>\r\n</html>\r\n";
  if (!written || !flush()) return failed();
  if (!whole) {
    error->clear();
    file.cancelWriting();
    return false;
  }
  return file.commit() || failed();
}

}  // namespace kavoro
