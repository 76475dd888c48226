#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kavoro {

// Changes of the file-type catalog, each giving the new lines of endungen.ini. Categories are
// kept in ascending order of their names and extensions in ascending order within a block,
// both without regard to case. A change that the next start would refuse is refused here.
struct CatalogEdit {
  QStringList lines;
  QStringList deleted_extensions;
};

enum class CatalogRefusal { None, Empty, CategoryIsExtension, WouldBeUnusable };

struct CatalogResult {
  std::optional<CatalogEdit> edit;  // nothing when refused (or when nothing changes)
  CatalogRefusal refusal = CatalogRefusal::None;
};

// The category names in catalog order. The edits below name a category by its position in
// this list and an extension by its position in its block, never by text: two categories
// may share a name.
QStringList CategoriesInOrder(const QStringList& lines);
// The extension lines of the block of the category at `category`.
QStringList ExtensionsOf(const QStringList& lines, qsizetype category);

CatalogResult AddCategory(const QStringList& lines, const QString& name);
CatalogResult DeleteCategory(const QStringList& lines, qsizetype category);
// An extension typed without its leading "." gets one.
CatalogResult AddExtension(const QStringList& lines, qsizetype category, QString extension);
CatalogResult DeleteExtension(const QStringList& lines, qsizetype category, qsizetype extension);

// The text a catalog line searches for (".htm/.html" searches ".htm").
QString SearchedExtension(const QString& catalog_line);

}  // namespace kavoro
