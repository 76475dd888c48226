#include <gtest/gtest.h>

#include "core/settings/CatalogEditing.h"
#include "core/settings/FileTypeCatalog.h"

namespace kavoro {
namespace {

const QStringList kCatalog = {"Bilder", ".jpg", ".gif", "Musik", ".mp3"};

QStringList Lines(const CatalogResult& r) { return r.edit ? r.edit->lines : QStringList{"<refused>"}; }

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
  EXPECT_EQ(Lines(AddExtension(kCatalog, u"Bilder"_qs, u".bmp"_qs)),
            (QStringList{"Bilder", ".bmp", ".gif", ".jpg", "Musik", ".mp3"}));
  // The category that sorts last keeps the order of adding.
  EXPECT_EQ(Lines(AddExtension(kCatalog, u"Musik"_qs, u".aac"_qs)),
            (QStringList{"Bilder", ".jpg", ".gif", "Musik", ".mp3", ".aac"}));
  EXPECT_EQ(Lines(AddExtension(kCatalog, u"Musik"_qs, u"wav"_qs)).last(), u".wav"_qs);
  // An unsorted file: the extension still lands in its own block.
  const QStringList unsorted = {"Musik", ".mp3", "Bilder", ".jpg"};
  EXPECT_EQ(Lines(AddExtension(unsorted, u"Musik"_qs, u".wav"_qs)),
            (QStringList{"Musik", ".mp3", ".wav", "Bilder", ".jpg"}));
  EXPECT_FALSE(AddExtension(kCatalog, u"Musik"_qs, u"."_qs).edit);
}

TEST(CatalogEditingTest, DeletingAndRefusingAnUnusableCatalog) {
  const CatalogResult deleted = DeleteCategory(kCatalog, u"Bilder"_qs);
  EXPECT_EQ(Lines(deleted), (QStringList{"Musik", ".mp3"}));
  EXPECT_EQ(deleted.edit->deleted_extensions, (QStringList{".jpg", ".gif"}));
  EXPECT_EQ(Lines(DeleteExtension(kCatalog, u"Bilder"_qs, u".gif"_qs)),
            (QStringList{"Bilder", ".jpg", "Musik", ".mp3"}));
  EXPECT_EQ(DeleteCategory({"Musik", ".mp3"}, u"Musik"_qs).refusal,
            CatalogRefusal::WouldBeUnusable);
  EXPECT_EQ(DeleteExtension({"Musik", ".mp3"}, u"Musik"_qs, u".mp3"_qs).refusal,
            CatalogRefusal::WouldBeUnusable);
  EXPECT_EQ(ExtensionsOf(kCatalog, u"Musik"_qs), QStringList{u".mp3"_qs});
  EXPECT_TRUE(ExtensionsOf({"Leer", "Musik"}, u"Leer"_qs).isEmpty());
  EXPECT_EQ(SearchedExtension(u".htm/.html"_qs), u".htm"_qs);
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
