#include "core/settings/CatalogEditing.h"

#include <algorithm>
#include <vector>

#include "core/settings/FileTypeCatalog.h"

namespace kavoro {
namespace {

bool IsExtension(const QString& line) { return line.startsWith(u'.'); }

bool Less(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

// The line of the category at `category` in catalog order (0 = the first category line).
// Categories are told apart by position: two may share a name.
qsizetype CategoryLine(const QStringList& lines, qsizetype category) {
  if (category < 0) return -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (!IsExtension(lines[i]) && category-- == 0) return i;
  }
  return -1;
}

// The positions of the categories in ascending order of their names; equal names keep their
// catalog order.
std::vector<qsizetype> SortedPositions(const QStringList& names) {
  std::vector<qsizetype> order(names.size());
  for (qsizetype i = 0; i < names.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&names](qsizetype a, qsizetype b) { return Less(names[a], names[b]); });
  return order;
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

QStringList CategoriesInOrder(const QStringList& lines) {
  QStringList names;
  for (const QString& line : lines) {
    if (!IsExtension(line)) names.append(line);
  }
  return names;
}

QStringList ExtensionsOf(const QStringList& lines, qsizetype category) {
  const qsizetype at = CategoryLine(lines, category);
  if (at < 0) return {};
  return lines.mid(at + 1, BlockEnd(lines, at) - at - 1);
}

CatalogResult AddCategory(const QStringList& lines, const QString& name) {
  if (name.isEmpty()) return {std::nullopt, CatalogRefusal::Empty};
  if (IsExtension(name)) return {std::nullopt, CatalogRefusal::CategoryIsExtension};
  const QStringList names = CategoriesInOrder(lines);
  const std::vector<qsizetype> sorted = SortedPositions(names);
  const auto successor = std::upper_bound(
      sorted.begin(), sorted.end(), name,
      [&names](const QString& n, qsizetype position) { return Less(n, names[position]); });
  QStringList out = lines;
  const qsizetype at = successor == sorted.end() ? -1 : CategoryLine(lines, *successor);
  if (at < 0) {
    out.append(name);
  } else {
    out.insert(at, name);
  }
  return Checked(std::move(out));
}

CatalogResult DeleteCategory(const QStringList& lines, qsizetype category) {
  const qsizetype at = CategoryLine(lines, category);
  if (at < 0) return {std::nullopt, CatalogRefusal::Empty};
  const qsizetype end = BlockEnd(lines, at);
  QStringList out = lines;
  const QStringList deleted = lines.mid(at + 1, end - at - 1);
  out.remove(at, end - at);
  return Checked(std::move(out), deleted);
}

CatalogResult AddExtension(const QStringList& lines, qsizetype category, QString extension) {
  extension = extension.trimmed();
  if (!extension.startsWith(u'.')) extension.prepend(u'.');
  const qsizetype at = CategoryLine(lines, category);
  if (extension == u"." || at < 0) return {std::nullopt, CatalogRefusal::Empty};
  const qsizetype end = BlockEnd(lines, at);
  QStringList out = lines;
  out.insert(end, extension);
  // The block of the category that sorts last keeps the order in which its lines were added.
  if (SortedPositions(CategoriesInOrder(lines)).back() != category) {
    std::stable_sort(out.begin() + at + 1, out.begin() + end + 1, Less);
  }
  return Checked(std::move(out));
}

CatalogResult DeleteExtension(const QStringList& lines, qsizetype category, qsizetype extension) {
  const qsizetype at = CategoryLine(lines, category);
  if (at < 0 || extension < 0 || at + 1 + extension >= BlockEnd(lines, at)) {
    return {std::nullopt, CatalogRefusal::Empty};
  }
  QStringList out = lines;
  const QString deleted = out.takeAt(at + 1 + extension);
  return Checked(std::move(out), {deleted});
}

QString SearchedExtension(const QString& catalog_line) {
  return catalog_line == u".htm/.html" ? u".htm"_qs : catalog_line;
}

}  // namespace kavoro
