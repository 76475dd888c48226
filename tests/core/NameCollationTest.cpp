#include <gtest/gtest.h>

#include <QStringList>

#include "core/listing/NameCollation.h"
#include "core/text/SortKeys.h"

namespace kavoro {
namespace {

// The names in the collation's order (equal names in their given order).
QStringList Sorted(const NameCollation& collation, const QStringList& names) {
  ByteKeys keys;
  for (const QString& name : names) {
    keys.Buffer().append(name.toStdString());
    keys.EndKey();
  }
  QStringList out;
  for (std::uint32_t row : collation.Order(keys)) out.append(names[int(row)]);
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

TEST(NameCollationTest, PlainAndOtherNamesMergeIntoTheCollationsOrder) {
  // Punctuation, digits and letters order differently in the collation than in ASCII. Plain
  // names take the rank table, the others full keys; the merged order must be the one that
  // comparing name by name gives.
  const QStringList plain{"b_2",  "B-1", "a b", "ab", "A.b", "_x", "1a", "~z",  "Z",   "a(1)",
                          "a[1]", "10",  "9",   "zz", "#3",  "a",  "A",  "a-b", "a+b", "Ab"};
  const QStringList other{"Äpfel", "über", "Zoë", "éclair", "東京", "Ab\u00AD"};
  for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany),
                                QLocale(QLocale::English, QLocale::UnitedStates)}) {
    const NameCollation collation(locale);
    for (const QStringList& names : {plain, plain + other}) {
      const QStringList sorted = Sorted(collation, names);
      ASSERT_EQ(sorted.size(), names.size());
      for (int i = 1; i < sorted.size(); ++i) {
        EXPECT_LE(collation.Compare(sorted[i - 1], sorted[i]), 0)
            << sorted[i - 1].toStdString() << " / " << sorted[i].toStdString();
      }
      EXPECT_LT(sorted.indexOf(u"a"_qs), sorted.indexOf(u"A"_qs));  // equal: as given
    }
  }
}

TEST(NameCollationTest, EqualNamesKeepTheirOrderAcrossBothParts) {
  // A control character is ignored by the collation, so "a\x01b" equals "ab" and "AB".
  const NameCollation german(QLocale(QLocale::German, QLocale::Germany));
  const QString control = u"a\u0001b"_qs;
  EXPECT_EQ(Sorted(german, {control, "ab", "AB", "b"}), (QStringList{control, "ab", "AB", "b"}));
  EXPECT_EQ(Sorted(german, {"b", "ab", control, "AB"}), (QStringList{"ab", control, "AB", "b"}));
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
