// Reading any endungen.ini with the start-up check, then editing it as the catalog editor
// does. Every edit changes only the block chosen by its place and never leaves a catalog the
// next start refuses; what is read and written again keeps every line. The input holds the
// file, a NUL byte, and the edits: per edit a kind, a category, an extension and a name.
#include "FuzzSupport.h"
#include "core/settings/CatalogEditing.h"
#include "core/settings/FileTypeCatalog.h"
#include "core/text/LineFile.h"

using namespace kavoro;

namespace {

using Blocks = std::vector<FileTypeCatalog::Category>;

Blocks BlocksOf(const QStringList& lines) {
  FileTypeCatalog catalog;
  catalog.SetLines(lines);
  return catalog.Categories();
}

// The editor's lists name the blocks by their place: the category list is the blocks' names
// in order, and each block's extension list is its lines.
void CheckEditorLists(const QStringList& lines) {
  const Blocks blocks = BlocksOf(lines);
  const QStringList names = CategoriesInOrder(lines);
  fuzz::Check(names.size() == qsizetype(blocks.size()), "the category list misses blocks");
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    fuzz::Check(names[qsizetype(k)] == blocks[k].name &&
                    ExtensionsOf(lines, qsizetype(k)) == blocks[k].extensions,
                "the editor lists another block than the one at its place", blocks[k].name);
  }
}

// Every block but `except` is the same in both catalogs, in the same order.
void CheckOtherBlocks(const Blocks& before, const Blocks& after, std::size_t except) {
  for (std::size_t k = 0; k < before.size(); ++k) {
    if (k == except) continue;
    fuzz::Check(before[k].name == after[k].name && before[k].extensions == after[k].extensions,
                "an edit changed a block it was not asked to", before[k].name);
  }
}

void CheckEdit(const QStringList& lines, const CatalogResult& result, int kind, int category,
               int extension, const QString& name) {
  if (!result.edit) return;
  const QStringList& out = result.edit->lines;
  fuzz::Check(FileTypeCatalog::IsUsable(out), "an edit left a catalog the start refuses");
  const Blocks before = BlocksOf(lines);
  const Blocks after = BlocksOf(out);
  const std::size_t k = std::size_t(category);
  switch (kind) {
    case 0: {  // a category: one line more, between two blocks, nothing else moves
      fuzz::Check(out.size() == lines.size() + 1, "adding a category did not add one line");
      qsizetype at = 0;
      while (at < lines.size() && out[at] == lines[at]) ++at;
      fuzz::Check(out[at] == name && out.mid(at + 1) == lines.mid(at),
                  "adding a category changed other lines", name);
      fuzz::Check(at == lines.size() || !lines[at].startsWith(u'.'), "a new category split a block",
                  name);
      break;
    }
    case 1: {  // the chosen block goes, and only it
      fuzz::Check(k < before.size(), "deleted a category that is not there");
      Blocks expected = before;
      expected.erase(expected.begin() + qsizetype(k));
      fuzz::Check(after.size() == expected.size(), "deleting a category removed more");
      for (std::size_t j = 0; j < after.size(); ++j) {
        fuzz::Check(
            after[j].name == expected[j].name && after[j].extensions == expected[j].extensions,
            "deleting a category changed another block", after[j].name);
      }
      fuzz::Check(result.edit->deleted_extensions == before[k].extensions,
                  "the deleted extensions are not the block's");
      break;
    }
    case 2: {  // the chosen block gains one extension line
      fuzz::Check(k < before.size() && after.size() == before.size(),
                  "adding an extension changed the categories");
      CheckOtherBlocks(before, after, k);
      QStringList gained = after[k].extensions;
      for (const QString& e : before[k].extensions) gained.removeOne(e);
      fuzz::Check(gained.size() == 1 && gained[0].startsWith(u'.') &&
                      after[k].extensions.size() == before[k].extensions.size() + 1,
                  "adding an extension did not add exactly one to its block", name);
      break;
    }
    default: {  // the chosen extension of the chosen block goes
      fuzz::Check(k < before.size() && extension < before[k].extensions.size(),
                  "deleted an extension that is not there");
      CheckOtherBlocks(before, after, k);
      QStringList expected = before[k].extensions;
      const QString gone = expected.takeAt(extension);
      fuzz::Check(
          after[k].extensions == expected && result.edit->deleted_extensions == QStringList{gone},
          "deleting an extension removed another line", gone);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QList<QByteArray> parts = fuzz::Parts(fuzz::Bytes(data, size), 2);
  fuzz::WriteFile(u"endungen.ini"_qs, parts[0]);
  const QString path = fuzz::Dir() + u"endungen.ini"_qs;
  FileTypeCatalog catalog;
  fuzz::Check(catalog.Load(path), "endungen.ini could not be read");
  QStringList lines = catalog.Lines();
  if (!catalog.IsUsable()) return 0;  // the start refuses it with its message
  CheckEditorLists(lines);

  const QByteArray& edits = parts[1];
  for (qsizetype i = 0; i + 3 < edits.size(); i += 4) {
    const int kind = std::uint8_t(edits[i]) % 4;
    const int category = std::uint8_t(edits[i + 1]) - 1;  // -1 and past the end included
    const int extension = std::uint8_t(edits[i + 2]) - 1;
    // A name of the catalog itself, or an extension made of it.
    QString name = lines.value(std::uint8_t(edits[i + 3]) % lines.size());
    // Without its first character, as someone would type it: never half a surrogate pair, which
    // no keyboard and no file gives.
    if (kind == 2 && (edits[i + 3] & 0x80) && !name.isEmpty()) {
      name.remove(0, name.size() > 1 && name.at(0).isHighSurrogate() ? 2 : 1);
    }
    CatalogResult result;
    switch (kind) {
      case 0:
        result = AddCategory(lines, name);
        break;
      case 1:
        result = DeleteCategory(lines, category);
        break;
      case 2:
        result = AddExtension(lines, category, name);
        break;
      default:
        result = DeleteExtension(lines, category, extension);
        break;
    }
    CheckEdit(lines, result, kind, category, extension, name);
    if (!result.edit) continue;
    lines = result.edit->lines;
    CheckEditorLists(lines);
  }

  QString error;
  fuzz::Check(LineFile::Write(path, lines, &error), "endungen.ini could not be written", error);
  FileTypeCatalog again;
  fuzz::Check(again.Load(path) && again.Lines() == lines, "writing the catalog lost lines");
  return 0;
}
