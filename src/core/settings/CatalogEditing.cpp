#include "core/settings/CatalogEditing.h"

#include <algorithm>

#include "core/settings/FileTypeCatalog.h"

namespace kavoro {
namespace {

bool IsExtension(const QString& line) { return line.startsWith(u'.'); }

bool Less(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

qsizetype CategoryLine(const QStringList& lines, const QString& category) {
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (!IsExtension(lines[i]) && lines[i] == category) return i;
  }
  return -1;
}

// One past the last extension line of the block that starts at `category_line`.
qsizetype BlockEnd(const QStringList& lines, qsizetype category_line) {
  qsizetype end = category_line + 1;
  while (end < lines.size() && IsExtension(lines[end])) ++end;
  return end;
}

CatalogResult Checked(QStringList lines, QStringList deleted = {}) {
  if (!FileTypeCatalog::IsUsable(lines)) return {std::nullopt, CatalogRefusal::WouldBeUnusable};
  return {CatalogEdit{std::move(lines), std::move(deleted)}, CatalogRefusal::None};
}

}  // namespace

QStringList SortedCategories(const QStringList& lines) {
  QStringList names = CategoriesInOrder(lines);
  std::stable_sort(names.begin(), names.end(), Less);
  return names;
}

QStringList CategoriesInOrder(const QStringList& lines) {
  QStringList names;
  for (const QString& line : lines) {
    if (!IsExtension(line)) names.append(line);
  }
  return names;
}

QStringList ExtensionsOf(const QStringList& lines, const QString& category) {
  const qsizetype at = CategoryLine(lines, category);
  if (at < 0) return {};
  return lines.mid(at + 1, BlockEnd(lines, at) - at - 1);
}

CatalogResult AddCategory(const QStringList& lines, const QString& name) {
  if (name.isEmpty()) return {std::nullopt, CatalogRefusal::Empty};
  if (IsExtension(name)) return {std::nullopt, CatalogRefusal::CategoryIsExtension};
  const QStringList sorted = SortedCategories(lines);
  const auto successor = std::upper_bound(sorted.begin(), sorted.end(), name, Less);
  QStringList out = lines;
  const qsizetype at = successor == sorted.end() ? -1 : CategoryLine(lines, *successor);
  if (at < 0) {
    out.append(name);
  } else {
    out.insert(at, name);
  }
  return Checked(std::move(out));
}

CatalogResult DeleteCategory(const QStringList& lines, const QString& category) {
  const qsizetype at = CategoryLine(lines, category);
  if (at < 0) return {std::nullopt, CatalogRefusal::Empty};
  const qsizetype end = BlockEnd(lines, at);
  QStringList out = lines;
  const QStringList deleted = lines.mid(at + 1, end - at - 1);
  out.remove(at, end - at);
  return Checked(std::move(out), deleted);
}

CatalogResult AddExtension(const QStringList& lines, const QString& category, QString extension) {
  extension = extension.trimmed();
  if (!extension.startsWith(u'.')) extension.prepend(u'.');
  const qsizetype at = CategoryLine(lines, category);
  if (extension == u"." || at < 0) return {std::nullopt, CatalogRefusal::Empty};
  const qsizetype end = BlockEnd(lines, at);
  QStringList out = lines;
  out.insert(end, extension);
  // The block of the category that sorts last keeps the order in which its lines were added.
  const QStringList sorted = SortedCategories(lines);
  if (sorted.isEmpty() || sorted.last() != category) {
    std::stable_sort(out.begin() + at + 1, out.begin() + end + 1, Less);
  }
  return Checked(std::move(out));
}

CatalogResult DeleteExtension(const QStringList& lines, const QString& category,
                              const QString& extension) {
  const qsizetype at = CategoryLine(lines, category);
  if (at < 0) return {std::nullopt, CatalogRefusal::Empty};
  const qsizetype end = BlockEnd(lines, at);
  for (qsizetype i = at + 1; i < end; ++i) {
    if (lines[i] != extension) continue;
    QStringList out = lines;
    out.removeAt(i);
    return Checked(std::move(out), {extension});
  }
  return {std::nullopt, CatalogRefusal::Empty};
}

QString SearchedExtension(const QString& catalog_line) {
  return catalog_line == u".htm/.html" ? u".htm"_qs : catalog_line;
}

}  // namespace kavoro
