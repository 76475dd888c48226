#include <gtest/gtest.h>

#include "core/settings/CatalogEditing.h"
#include "core/settings/FileTypeCatalog.h"

namespace kavoro {
namespace {

const QStringList kCatalog = {"Bilder", ".jpg", ".gif", "Musik", ".mp3"};

QStringList Lines(const CatalogResult& r) {
  return r.edit ? r.edit->lines : QStringList{"<refused>"};
}

TEST(CatalogEditingTest, CategoriesGoToTheirSortedPlace) {
  const QStringList small = {"Bilder", ".jpg", "Musik", ".mp3"};
  EXPECT_EQ(Lines(AddCategory(small, u"Zubehör"_qs)),
            (QStringList{"Bilder", ".jpg", "Musik", ".mp3", "Zubehör"}));
  EXPECT_EQ(Lines(AddCategory(small, u"Filme"_qs)),
            (QStringList{"Bilder", ".jpg", "Filme", "Musik", ".mp3"}));
  EXPECT_EQ(Lines(AddCategory(small, u"aaa"_qs)).first(), u"aaa"_qs);  // without regard to case
  EXPECT_EQ(AddCategory(small, u".mp4"_qs).refusal, CatalogRefusal::CategoryIsExtension);
  EXPECT_FALSE(AddCategory(small, QString()).edit);
}

TEST(CatalogEditingTest, ExtensionsAreSortedIntoTheirBlock) {
  EXPECT_EQ(Lines(AddExtension(kCatalog, 0, u".bmp"_qs)),
            (QStringList{"Bilder", ".bmp", ".gif", ".jpg", "Musik", ".mp3"}));
  // The category that sorts last keeps the order of adding.
  EXPECT_EQ(Lines(AddExtension(kCatalog, 1, u".aac"_qs)),
            (QStringList{"Bilder", ".jpg", ".gif", "Musik", ".mp3", ".aac"}));
  EXPECT_EQ(Lines(AddExtension(kCatalog, 1, u"wav"_qs)).last(), u".wav"_qs);
  // An unsorted file: the extension still lands in its own block.
  const QStringList unsorted = {"Musik", ".mp3", "Bilder", ".jpg"};
  EXPECT_EQ(Lines(AddExtension(unsorted, 0, u".wav"_qs)),
            (QStringList{"Musik", ".mp3", ".wav", "Bilder", ".jpg"}));
  EXPECT_FALSE(AddExtension(kCatalog, 1, u"."_qs).edit);
}

TEST(CatalogEditingTest, DeletingAndRefusingAnUnusableCatalog) {
  const CatalogResult deleted = DeleteCategory(kCatalog, 0);
  EXPECT_EQ(Lines(deleted), (QStringList{"Musik", ".mp3"}));
  EXPECT_EQ(deleted.edit->deleted_extensions, (QStringList{".jpg", ".gif"}));
  EXPECT_EQ(Lines(DeleteExtension(kCatalog, 0, 1)),
            (QStringList{"Bilder", ".jpg", "Musik", ".mp3"}));
  EXPECT_EQ(DeleteCategory({"Musik", ".mp3"}, 0).refusal, CatalogRefusal::WouldBeUnusable);
  EXPECT_EQ(DeleteExtension({"Musik", ".mp3"}, 0, 0).refusal, CatalogRefusal::WouldBeUnusable);
  EXPECT_EQ(ExtensionsOf(kCatalog, 1), QStringList{u".mp3"_qs});
  EXPECT_TRUE(ExtensionsOf({"Leer", "Musik"}, 0).isEmpty());
  EXPECT_EQ(SearchedExtension(u".htm/.html"_qs), u".htm"_qs);
}

TEST(CatalogEditingTest, TwoCategoriesOfOneNameAreToldApartByPosition) {
  const QStringList twice = {"Bilder", ".jpg", "Musik", ".mp3", ".wav", "Musik", "Zubehör"};
  EXPECT_EQ(Lines(DeleteCategory(twice, 2)),
            (QStringList{"Bilder", ".jpg", "Musik", ".mp3", ".wav", "Zubehör"}));
  EXPECT_EQ(Lines(DeleteCategory(twice, 1)), (QStringList{"Bilder", ".jpg", "Musik", "Zubehör"}));
  EXPECT_EQ(Lines(AddExtension(twice, 2, u".ogg"_qs)),
            (QStringList{"Bilder", ".jpg", "Musik", ".mp3", ".wav", "Musik", ".ogg", "Zubehör"}));
  EXPECT_EQ(Lines(AddExtension(twice, 1, u".aac"_qs)),
            (QStringList{"Bilder", ".jpg", "Musik", ".aac", ".mp3", ".wav", "Musik", "Zubehör"}));
  EXPECT_TRUE(ExtensionsOf(twice, 2).isEmpty());
  EXPECT_EQ(ExtensionsOf(twice, 1), (QStringList{".mp3", ".wav"}));
  const QStringList both = {"Musik", ".mp3", "Musik", ".mp3", ".ogg"};
  const CatalogResult second = DeleteExtension(both, 1, 0);
  EXPECT_EQ(Lines(second), (QStringList{"Musik", ".mp3", "Musik", ".ogg"}));
  EXPECT_EQ(second.edit->deleted_extensions, QStringList{u".mp3"_qs});
  // Of two last categories of one name, the later one keeps the order of adding.
  EXPECT_EQ(Lines(AddExtension(both, 1, u".aac"_qs)),
            (QStringList{"Musik", ".mp3", "Musik", ".mp3", ".ogg", ".aac"}));
  // Positions that name no category or extension change nothing.
  for (const CatalogResult& r :
       {DeleteCategory(twice, 4), DeleteCategory(twice, -1), AddExtension(twice, 4, u".x"_qs),
        DeleteExtension(twice, 1, 2), DeleteExtension(twice, 2, 0)}) {
    EXPECT_FALSE(r.edit);
  }
}

TEST(CatalogEditingTest, ReadingTheCatalog) {
  FileTypeCatalog catalog;
  catalog.SetLines({"Musik", ".mp3", "", ".x", "Bilder"});
  const auto categories = catalog.Categories();
  ASSERT_EQ(categories.size(), 3u);
  EXPECT_EQ(categories[1].name, QString());  // an empty line is a category too
  EXPECT_EQ(categories[1].ext_lines, std::vector<int>{3});
  EXPECT_TRUE(categories[2].extensions.isEmpty());
}

}  // namespace
}  // namespace kavoro
