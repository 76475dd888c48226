#include "core/compare/CompareExport.h"

#include <string>
#include <string_view>

#include "core/output/DataExport.h"
#include "core/text/JsonString.h"
#include "core/text/LineFile.h"

namespace kavoro {
namespace {

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// Size and date of an entry, as far as the list has them.
QString Details(std::string_view size, std::string_view date) {
  QString text = Text(size);
  if (!size.empty() && !date.empty()) text += u' ';
  return text + Text(date);
}

void AppendCsvRecord(std::initializer_list<std::string_view> fields, QByteArray& out) {
  std::string record;
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) record.push_back(',');
    first = false;
    AppendCsvField(field, record);
  }
  record.append("\r\n");
  out.append(record.data(), qsizetype(record.size()));
}

void AppendJsonField(const char* key, std::string_view value, std::string& out) {
  out.append(1, '"').append(key).append("\":");
  AppendJsonString(value, out);
}

void AppendJsonEntries(const char* key, const std::vector<ComparedEntry>& group, bool details,
                       std::string& out) {
  out.append(",\n\"").append(key).append("\":[");
  for (std::size_t i = 0; i < group.size(); ++i) {
    out.append(i == 0 ? "\n{" : ",\n{");
    AppendJsonField("name", group[i].name, out);
    if (details) {
      out.push_back(',');
      AppendJsonField("size", group[i].size, out);
      out.push_back(',');
      AppendJsonField("date", group[i].date, out);
    }
    out.push_back('}');
  }
  out.push_back(']');
}

}  // namespace

QStringList CompareLines(const CompareResult& r) {
  QStringList lines;
  for (const ComparedEntry& e : r.added) lines.append(u"+ "_qs + Text(e.name));
  for (const ComparedEntry& e : r.missing) lines.append(u"- "_qs + Text(e.name));
  for (const ChangedEntry& e : r.changed) {
    lines.append(u"~ %1 (%2 -> %3)"_qs.arg(Text(e.name), Details(e.old_size, e.old_date),
                                           Details(e.new_size, e.new_date)));
  }
  for (const MovedEntry& e : r.moved) lines.append(u"> %1 -> %2"_qs.arg(Text(e.from), Text(e.to)));
  for (const ComparedEntry& e : r.unreadable) lines.append(u"? "_qs + Text(e.name));
  return lines;
}

QString CompareSummary(const CompareResult& r) {
  QString text = u"%1 new, %2 missing, %3 changed, %4 moved, %5 unreadable, %6 unchanged"_qs
                     .arg(r.added.size())
                     .arg(r.missing.size())
                     .arg(r.changed.size())
                     .arg(r.moved.size())
                     .arg(r.unreadable.size())
                     .arg(r.unchanged);
  if (r.matched_without_extensions) text += u"; names matched without their extensions"_qs;
  if (!r.date_form.isEmpty()) text += u"; dates as "_qs + r.date_form;
  for (const std::string& folder : r.unreadable_folders) {
    text += u"\ncould not read "_qs + Text(folder);
  }
  return text;
}

QByteArray CompareCsv(const CompareResult& r) {
  QByteArray out;
  AppendCsvRecord({"change", "name", "new name", "old size", "new size", "old date", "new date"},
                  out);
  for (const ComparedEntry& e : r.added)
    AppendCsvRecord({"new", e.name, "", "", e.size, "", e.date}, out);
  for (const ComparedEntry& e : r.missing) {
    AppendCsvRecord({"missing", e.name, "", e.size, "", e.date, ""}, out);
  }
  for (const ChangedEntry& e : r.changed) {
    AppendCsvRecord({"changed", e.name, "", e.old_size, e.new_size, e.old_date, e.new_date}, out);
  }
  for (const MovedEntry& e : r.moved) {
    AppendCsvRecord({"moved", e.from, e.to, e.size, e.size, e.date, e.date}, out);
  }
  for (const ComparedEntry& e : r.unreadable) {
    AppendCsvRecord({"unreadable", e.name, "", e.size, "", e.date, ""}, out);
  }
  return out;
}

QByteArray CompareJson(const CompareResult& r) {
  const bool details = r.form.options.details;
  std::string out = "{";
  AppendJsonField("folder", r.folder.toStdString(), out);
  out.append(",\n\"form\":{\"details\":").append(details ? "true" : "false");
  out.append(",\"wholePath\":").append(r.form.options.whole_path ? "true" : "false");
  out.append(",\"hideExtensions\":").append(r.form.options.hide_extensions ? "true" : "false");
  out.append(",\"subfolders\":").append(r.form.recurse ? "true" : "false");
  out.append(",\"extensions\":");
  if (r.form.selection.search_all_files) {
    out.append("null");
  } else {
    out.push_back('[');
    for (qsizetype i = 0; i < r.form.selection.extensions.size(); ++i) {
      if (i > 0) out.push_back(',');
      AppendJsonString(r.form.selection.extensions[i].toStdString(), out);
    }
    out.push_back(']');
  }
  out.append(",\"dates\":");
  if (r.date_form.isEmpty()) {
    out.append("null");
  } else {
    AppendJsonString(r.date_form.toStdString(), out);
  }
  out.append("},\n\"counts\":{\"new\":")
      .append(std::to_string(r.added.size()))
      .append(",\"missing\":")
      .append(std::to_string(r.missing.size()))
      .append(",\"changed\":")
      .append(std::to_string(r.changed.size()))
      .append(",\"moved\":")
      .append(std::to_string(r.moved.size()))
      .append(",\"unreadable\":")
      .append(std::to_string(r.unreadable.size()))
      .append(",\"unchanged\":")
      .append(std::to_string(r.unchanged))
      .append("}");
  AppendJsonEntries("new", r.added, details, out);
  AppendJsonEntries("missing", r.missing, details, out);
  out.append(",\n\"changed\":[");
  for (std::size_t i = 0; i < r.changed.size(); ++i) {
    const ChangedEntry& e = r.changed[i];
    out.append(i == 0 ? "\n{" : ",\n{");
    AppendJsonField("name", e.name, out);
    const std::pair<const char*, const std::string*> fields[] = {{"oldSize", &e.old_size},
                                                                 {"newSize", &e.new_size},
                                                                 {"oldDate", &e.old_date},
                                                                 {"newDate", &e.new_date}};
    for (const auto& [key, value] : fields) {
      out.push_back(',');
      AppendJsonField(key, *value, out);
    }
    out.push_back('}');
  }
  out.append("],\n\"moved\":[");
  for (std::size_t i = 0; i < r.moved.size(); ++i) {
    const MovedEntry& e = r.moved[i];
    out.append(i == 0 ? "\n{" : ",\n{");
    AppendJsonField("from", e.from, out);
    out.push_back(',');
    AppendJsonField("to", e.to, out);
    out.push_back(',');
    AppendJsonField("size", e.size, out);
    out.push_back(',');
    AppendJsonField("date", e.date, out);
    out.push_back('}');
  }
  out.push_back(']');
  AppendJsonEntries("unreadable", r.unreadable, details, out);
  out.append(",\n\"unreadableFolders\":[");
  for (std::size_t i = 0; i < r.unreadable_folders.size(); ++i) {
    if (i > 0) out.push_back(',');
    AppendJsonString(r.unreadable_folders[i], out);
  }
  out.append("]}\n");
  return QByteArray(out.data(), qsizetype(out.size()));
}

bool ExportCompare(const CompareResult& r, const QString& path, QString* error) {
  if (path.endsWith(u".csv"_qs, Qt::CaseInsensitive)) {
    return LineFile::WriteBytes(path, CompareCsv(r), error);
  }
  if (path.endsWith(u".json"_qs, Qt::CaseInsensitive)) {
    return LineFile::WriteBytes(path, CompareJson(r), error);
  }
  QStringList lines = CompareLines(r);
  lines.append(QString());
  lines.append(CompareSummary(r).split(u'\n'));
  return LineFile::Write(path, lines, error);
}

}  // namespace kavoro
