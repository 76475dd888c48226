#include <gtest/gtest.h>

#include <QStringList>

#include "core/grid/SortKeys.h"
#include "core/listing/NameCollation.h"

namespace kavoro {
namespace {

// The names in the order MakeKeys gives them (equal names in their given order).
QStringList Sorted(const NameCollation& collation, const QStringList& names) {
  ByteKeys keys;
  for (const QString& name : names) {
    keys.Buffer().append(name.toStdString());
    keys.EndKey();
  }
  collation.MakeKeys(keys);
  QStringList out;
  for (std::uint32_t row : OrderByKeys(keys, 0)) out.append(names[int(row)]);
  return out;
}

TEST(NameCollationTest, GermanPutsUmlautsWithTheirLettersAndIgnoresCase) {
  const NameCollation german(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(Sorted(german, {"zeta", "Ärger", "Bild", "apfel", "Arger", "arger"}),
            (QStringList{"apfel", "Arger", "arger", "Ärger", "Bild", "zeta"}));
  EXPECT_LT(german.Compare(u"Ärger"_qs, u"Bild"_qs), 0);
  EXPECT_EQ(german.Compare(u"LIED"_qs, u"lied"_qs), 0);
  EXPECT_GT(german.Compare(u"zeta"_qs, u"Ärger"_qs), 0);
}

TEST(NameCollationTest, AsciiNamesOrderAlikeWithAndWithoutTheFastPath) {
  // Punctuation, digits and letters order differently in the collation than in ASCII; a
  // list of plain ASCII names takes the table, the same list with one umlaut the full keys.
  const QStringList ascii{"b_2", "B-1", "a b", "ab", "A.b", "_x", "1a", "~z", "Z", "a(1)",
                          "a[1]", "10", "9", "zz", "#3", "a", "A", "a-b", "a+b", "Ab"};
  for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany),
                                QLocale(QLocale::English, QLocale::UnitedStates)}) {
    const NameCollation collation(locale);
    QStringList mixed = ascii;
    mixed.append(u"Äpfel"_qs);
    QStringList full = Sorted(collation, mixed);
    full.removeAll(u"Äpfel"_qs);
    EXPECT_EQ(Sorted(collation, ascii), full) << locale.name().toStdString();
    // And both agree with comparing one pair at a time.
    const QStringList fast = Sorted(collation, ascii);
    for (int i = 1; i < fast.size(); ++i) {
      EXPECT_LE(collation.Compare(fast[i - 1], fast[i]), 0) << fast[i - 1].toStdString();
    }
  }
}

TEST(NameCollationTest, LocalesThatJoinLettersKeepTheirOrder) {
  // Czech sorts "ch" after "h"; Danish "aa" after "z". A table of single letters cannot.
  EXPECT_EQ(Sorted(NameCollation(QLocale(QLocale::Czech)), {"i", "ch", "h", "c"}),
            (QStringList{"c", "h", "ch", "i"}));
  EXPECT_EQ(Sorted(NameCollation(QLocale(QLocale::Danish)), {"aa", "z", "b"}),
            (QStringList{"b", "z", "aa"}));
}

TEST(NameCollationTest, CLocaleFoldsCaseAndKeepsCodeOrder) {
  const NameCollation c(QLocale::c());
  EXPECT_EQ(Sorted(c, {"zeta", "Ärger", "B", "a"}), (QStringList{"a", "B", "zeta", "Ärger"}));
  EXPECT_GT(c.Compare(u"Ärger"_qs, u"zeta"_qs), 0);
}

}  // namespace
}  // namespace kavoro
