#include "core/catalog/CatalogOutput.h"

#include <string>

#include "core/listing/FileTexts.h"
#include "core/text/JsonString.h"
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
    out += utf8::FromQString(group.copies.front().name) + '\t' +
           std::to_string(group.copies.size()) + " copies\t" + ExtraText(group) + " more\n";
    for (const CatalogEntry& e : group.copies) AppendLine(e, out);
  }
  return Bytes(out);
}

QByteArray DuplicatesJson(const std::vector<DuplicateGroup>& groups) {
  return JsonArray(groups, [](const DuplicateGroup& group, std::string& out) {
    const CatalogEntry& first = group.copies.front();
    out += "{\"name\":";
    AppendJsonString(utf8::FromQString(first.name), out);
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

}  // namespace kavoro
