#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/i18n/LanguageTables.h"
#include "support/Printers.h"

namespace kavoro {
namespace {

const Caption* FindCaption(const char* form, const char* object, int index = -1) {
  for (const Caption& c : CaptionTable()) {
    if (std::strcmp(c.form, form) == 0 && std::strcmp(c.object, object) == 0 && c.index == index) {
      return &c;
    }
  }
  return nullptr;
}

// The German text of a caption, or a marker that no expected text equals when the row is missing.
QString GermanOf(const char* form, const char* object, int index = -1) {
  const Caption* c = FindCaption(form, object, index);
  return c ? c->german : QStringLiteral("<missing>");
}

const Placement* FindPlacement(const char* form, const char* object, GeometryProperty property) {
  for (const Placement& p : PlacementTable()) {
    if (std::strcmp(p.form, form) == 0 && std::strcmp(p.object, object) == 0 &&
        p.property == property) {
      return &p;
    }
  }
  return nullptr;
}

int LeadingBlanks(const QString& s) {
  int n = 0;
  while (n < s.size() && s[n] == u' ') ++n;
  return n;
}

int TrailingBlanks(const QString& s) {
  int n = 0;
  while (n < s.size() && s[s.size() - 1 - n] == u' ') ++n;
  return n;
}

struct SlotField {
  const char* name;
  QString MessageSlots::*member;
};

constexpr SlotField kSlotFields[] = {
    {"msgNoTypeHead", &MessageSlots::msgNoTypeHead},
    {"msgNoTypeTail", &MessageSlots::msgNoTypeTail},
    {"msgNoFiles", &MessageSlots::msgNoFiles},
    {"msgNoTypeHead2", &MessageSlots::msgNoTypeHead2},
    {"msgNoTypeTail2", &MessageSlots::msgNoTypeTail2},
    {"msgNoFiles2", &MessageSlots::msgNoFiles2},
    {"msgNoSelTypeHead", &MessageSlots::msgNoSelTypeHead},
    {"msgNoSelTypeTail", &MessageSlots::msgNoSelTypeTail},
    {"msgNoneSelected", &MessageSlots::msgNoneSelected},
    {"msgDiscard", &MessageSlots::msgDiscard},
    {"msgContinue", &MessageSlots::msgContinue},
    {"msgOverwrite", &MessageSlots::msgOverwrite},
    {"optNoTypeHead", &MessageSlots::optNoTypeHead},
    {"optNoTypeTail", &MessageSlots::optNoTypeTail},
    {"capTypeHead", &MessageSlots::capTypeHead},
    {"capTypeTail", &MessageSlots::capTypeTail},
    {"optNoFiles2", &MessageSlots::optNoFiles2},
    {"capAll2", &MessageSlots::capAll2},
    {"msgNotFound", &MessageSlots::msgNotFound},
    {"msgAgainFromStart", &MessageSlots::msgAgainFromStart},
    {"msgAgainFromEnd", &MessageSlots::msgAgainFromEnd},
    {"msgTimeHead", &MessageSlots::msgTimeHead},
    {"msgTimeUnit", &MessageSlots::msgTimeUnit},
    {"msgFoundCount", &MessageSlots::msgFoundCount},
    {"menuSubfoldersHead", &MessageSlots::menuSubfoldersHead},
    {"menuSubfoldersTail", &MessageSlots::menuSubfoldersTail},
    {"msgSaveOnExit", &MessageSlots::msgSaveOnExit},
    {"msgWorkbooks", &MessageSlots::msgWorkbooks},
    {"msgListRefused", &MessageSlots::msgListRefused},
    {"msgListEmptyLine", &MessageSlots::msgListEmptyLine},
    {"msgListNoTemplate", &MessageSlots::msgListNoTemplate},
    {"msgListNoHeaderRow", &MessageSlots::msgListNoHeaderRow},
    {"msgListBrokenEntry", &MessageSlots::msgListBrokenEntry},
    {"msgListCounts", &MessageSlots::msgListCounts},
    {"msgBadName", &MessageSlots::msgBadName},
    {"msgNameExists", &MessageSlots::msgNameExists},
    {"msgIntoItself", &MessageSlots::msgIntoItself},
    {"msgNoCopyName", &MessageSlots::msgNoCopyName},
    {"msgOperationFailed", &MessageSlots::msgOperationFailed},
    {"msgSpecialSkipped", &MessageSlots::msgSpecialSkipped},
    {"capStopOperation", &MessageSlots::capStopOperation},
    {"msgExpandLimitHead", &MessageSlots::msgExpandLimitHead},
    {"msgExpandLimitTail", &MessageSlots::msgExpandLimitTail},
    {"msgCompareNoFolder", &MessageSlots::msgCompareNoFolder},
    {"msgCompareMixedPaths", &MessageSlots::msgCompareMixedPaths},
    {"msgCompareOutside", &MessageSlots::msgCompareOutside},
    {"msgCompareDates", &MessageSlots::msgCompareDates},
    {"msgCompareSizes", &MessageSlots::msgCompareSizes},
    {"msgBackupExists", &MessageSlots::msgBackupExists},
};

// Every text the tables hold, for checks that apply to all of them.
std::vector<QString> AllTexts() {
  std::vector<QString> texts;
  for (const Caption& c : CaptionTable()) {
    texts.push_back(c.german);
    texts.push_back(c.english);
  }
  for (UiLanguage lang : {UiLanguage::German, UiLanguage::English}) {
    for (const SlotField& f : kSlotFields) texts.push_back(MessageSlotsFor(lang).*f.member);
  }
  return texts;
}

TEST(CaptionTableTest, EntriesAreWellFormedAndUnique) {
  std::set<std::tuple<std::string, std::string, int>> seen;
  for (const Caption& c : CaptionTable()) {
    ASSERT_NE(c.form, nullptr);
    ASSERT_NE(c.object, nullptr);
    EXPECT_GT(std::strlen(c.object), 0u) << c.form;
    EXPECT_GE(c.index, -1) << c.form << " " << c.object;
    EXPECT_TRUE(seen.insert({c.form, c.object, c.index}).second)
        << "repeated " << c.form << " " << c.object << " " << c.index;
    EXPECT_FALSE(c.german.isEmpty()) << c.form << " " << c.object;
    // The about box's "schreiben" has no English counterpart; everything else does.
    const bool deliberateEmpty =
        std::strcmp(c.form, "TForm4") == 0 && std::strcmp(c.object, "Label10") == 0;
    EXPECT_EQ(c.english.isEmpty(), deliberateEmpty) << c.form << " " << c.object;
  }
}

TEST(CaptionTableTest, IndexedCaptionsAreContiguous) {
  struct Indexed {
    const char* form;
    const char* object;
    int count;
  };
  for (const Indexed& x :
       {Indexed{"TForm1", "TabbedNotebook1", 3}, Indexed{"TForm1", "TabbedNotebook2", 2},
        Indexed{"TForm5", "TabbedNotebook1", 2}, Indexed{"TForm5", "TabbedNotebook2", 2},
        Indexed{"TForm3", "ComboBox2", 4}, Indexed{"TForm2", "ComboBoxLinks", 3}}) {
    int found = 0;
    for (const Caption& c : CaptionTable()) {
      if (std::strcmp(c.form, x.form) == 0 && std::strcmp(c.object, x.object) == 0) {
        EXPECT_GE(c.index, 0) << x.form << " " << x.object;
        EXPECT_LT(c.index, x.count) << x.form << " " << x.object;
        ++found;
      }
    }
    EXPECT_EQ(found, x.count) << x.form << " " << x.object;
  }
  // Only tab controls and the combo boxes of font size and link form are indexed.
  for (const Caption& c : CaptionTable()) {
    if (c.index >= 0) {
      const std::string object = c.object;
      EXPECT_TRUE(object.starts_with("TabbedNotebook") || object == "ComboBox2" ||
                  object == "ComboBoxLinks")
          << object;
    }
  }
}

TEST(CaptionTableTest, LeavesOutComposedAndFixedTexts) {
  // Composed from the current extension at run time.
  EXPECT_EQ(FindCaption("TForm1", "TForm1"), nullptr);
  EXPECT_EQ(FindCaption("TForm1", "InfozeigefalskeineMp3DateinenimOrdnersind1"), nullptr);
  // The language menu reads the same in both languages.
  EXPECT_EQ(FindCaption("TForm1", "Deutsch1"), nullptr);
  EXPECT_EQ(FindCaption("TForm1", "English1"), nullptr);
}

TEST(CaptionTableTest, TabCaptionsKeepTheirPadding) {
  struct Tab {
    const char* form;
    const char* object;
    int index;
    int germanBefore, germanAfter, englishBefore, englishAfter;
    const char16_t* germanCore;
    const char16_t* englishCore;
  };
  const Tab tabs[] = {
      {"TForm1", "TabbedNotebook1", 0, 10, 10, 12, 12, u"Text-Datei (*.txt)", u"Text-file (*.txt)"},
      {"TForm1", "TabbedNotebook1", 1, 10, 10, 12, 12, u"Excel-Datei (*.xls)",
       u"Excel-file (*.xls)"},
      {"TForm1", "TabbedNotebook1", 2, 11, 10, 12, 13, u"HTML-Datei (*.htm)", u"HTML-file (*.htm)"},
      {"TForm1", "TabbedNotebook2", 0, 0, 0, 0, 1, u"Ordner w\u00e4hlen", u"Select folder"},
      {"TForm1", "TabbedNotebook2", 1, 0, 0, 0, 1, u"Inhalt des Ordners zeigen",
       u"Show content of the folder"},
      {"TForm5", "TabbedNotebook1", 0, 3, 3, 7, 8, u"Neues Oberverzeichnis :",
       u"New upper listing :"},
      {"TForm5", "TabbedNotebook1", 1, 2, 3, 8, 8, u"Oberverzeichnis l\u00f6schen :",
       u"Erase upper listing :"},
      {"TForm5", "TabbedNotebook2", 0, 9, 10, 10, 11, u"Neue Dateiart :", u"New file type :"},
      {"TForm5", "TabbedNotebook2", 1, 9, 10, 11, 11, u"Dateiart l\u00f6schen :",
       u"Erase file type :"},
  };
  for (const Tab& t : tabs) {
    SCOPED_TRACE(std::string(t.form) + " " + t.object + " tab " + std::to_string(t.index));
    const Caption* c = FindCaption(t.form, t.object, t.index);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(LeadingBlanks(c->german), t.germanBefore);
    EXPECT_EQ(TrailingBlanks(c->german), t.germanAfter);
    EXPECT_EQ(LeadingBlanks(c->english), t.englishBefore);
    EXPECT_EQ(TrailingBlanks(c->english), t.englishAfter);
    EXPECT_EQ(c->german.trimmed(), QString::fromUtf16(t.germanCore));
    EXPECT_EQ(c->english.trimmed(), QString::fromUtf16(t.englishCore));
  }
}

// Written with escapes so that a wrongly encoded source file cannot pass by accident.
TEST(CaptionTableTest, UmlautTextsAreExact) {
  struct Expected {
    const char* form;
    const char* object;
    int index;
    const char16_t* german;
  };
  const Expected expected[] = {
      {"TForm1", "ffnen1", -1, u"\u00d6ffnen"},
      {"TForm1", "Oberverzeichnishinzufgenlschen1", -1,
       u"Oberverzeichnis hinzuf\u00fcgen / l\u00f6schen"},
      {"TForm1", "versuch1", -1, u"Auch Gr\u00f6\u00dfe, Typ und Datum der Datei anzeigen"},
      {"TForm3", "Button1", -1, u"\u00dcbernehmen"},
      {"TForm3", "ComboBox2", 0, u"Gro\u00df"},
      {"TForm7", "Label1", -1,
       u"Anregung, Verbesserungsvorschl\u00e4ge, Kritik, Lob oder gefundene Fehler bitte mir "
       u"schreiben :"},
      {"TForm8", "Label1", -1, u"Gro\u00df- / Kleinschreibung beachten"},
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(GermanOf(e.form, e.object, e.index), QString::fromUtf16(e.german))
        << e.form << " " << e.object;
  }
}

TEST(LanguageTextsTest, NoStraightApostropheOrMisencodedCharacter) {
  for (const QString& text : AllTexts()) {
    EXPECT_FALSE(text.contains(u'\'')) << text.toStdString();
    // U+00C3 is what an umlaut turns into when UTF-8 is read as Latin-1.
    EXPECT_FALSE(text.contains(QChar(0x00C3))) << text.toStdString();
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << text.toStdString();
  }
}

TEST(MessageSlotsTest, EverySlotIsFilledAndTranslated) {
  const MessageSlots& de = MessageSlotsFor(UiLanguage::German);
  const MessageSlots& en = MessageSlotsFor(UiLanguage::English);
  for (const SlotField& f : kSlotFields) {
    EXPECT_FALSE((de.*f.member).isEmpty()) << f.name;
    EXPECT_NE(de.*f.member, en.*f.member) << f.name;
    const bool deliberateEmpty = std::strcmp(f.name, "menuSubfoldersTail") == 0;
    EXPECT_EQ((en.*f.member).isEmpty(), deliberateEmpty) << f.name;
  }
  // The second-place variants are copies of the first.
  for (const MessageSlots* s : {&de, &en}) {
    EXPECT_EQ(s->msgNoTypeHead, s->msgNoTypeHead2);
    EXPECT_EQ(s->msgNoTypeTail, s->msgNoTypeTail2);
    EXPECT_EQ(s->msgNoFiles, s->msgNoFiles2);
  }
}

TEST(PlacementTableTest, EntriesAreUniqueAndComplete) {
  std::set<std::tuple<std::string, std::string, GeometryProperty>> seen;
  for (const Placement& p : PlacementTable()) {
    ASSERT_NE(p.form, nullptr);
    ASSERT_NE(p.object, nullptr);
    EXPECT_TRUE(seen.insert({p.form, p.object, p.property}).second) << p.form << " " << p.object;
    EXPECT_GE(p.german, 0);
    EXPECT_GE(p.english, 0);
  }
  // Positions computed from other controls' sizes are not fixed values.
  EXPECT_EQ(FindPlacement("TForm4", "BitBtn1", GeometryProperty::Top), nullptr);
  EXPECT_EQ(FindPlacement("TForm4", "Label8", GeometryProperty::Left), nullptr);
  EXPECT_EQ(FindPlacement("TForm4", "Label10", GeometryProperty::Left), nullptr);
}

// A swapped or mistyped number shows up as a label overlapping its neighbour.
TEST(PlacementTableTest, LayoutsStayConsistent) {
  // The English labels are shorter, so nothing in that row moves right.
  for (const Placement& p : PlacementTable()) {
    if (std::strcmp(p.form, "TForm1") == 0) {
      EXPECT_LE(p.english, p.german) << p.object;
    }
  }
  for (bool german : {true, false}) {
    int previousEdit = -1;
    for (int i = 1; i <= 5; ++i) {
      const std::string label = "Label" + std::to_string(i + 4);
      const std::string edit = "Edit" + std::to_string(i);
      const Placement* l = FindPlacement("TForm1", label.c_str(), GeometryProperty::Left);
      const Placement* e = FindPlacement("TForm1", edit.c_str(), GeometryProperty::Left);
      ASSERT_NE(l, nullptr) << label;
      ASSERT_NE(e, nullptr) << edit;
      const int labelLeft = german ? l->german : l->english;
      const int editLeft = german ? e->german : e->english;
      EXPECT_GT(labelLeft, previousEdit) << label;
      EXPECT_GT(editLeft, labelLeft) << edit;
      previousEdit = editLeft;
    }
  }
  // The about box's two freeware lines keep their order and stay below the three address
  // lines, which both languages show.
  const Placement* first = FindPlacement("TForm4", "Label4", GeometryProperty::Top);
  const Placement* second = FindPlacement("TForm4", "Label5", GeometryProperty::Top);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_LT(first->german, second->german);
  EXPECT_EQ(first->english, first->german);
  EXPECT_EQ(second->english, second->german);
  // Each width label of the grid tools ends where the field after it begins.
  for (bool german : {true, false}) {
    for (int i = 1; i <= 5; ++i) {
      const std::string label = "Label" + std::to_string(i + 4);
      const std::string edit = "Edit" + std::to_string(i);
      const Placement* l = FindPlacement("TForm1", label.c_str(), GeometryProperty::Left);
      const Placement* w = FindPlacement("TForm1", label.c_str(), GeometryProperty::Width);
      const Placement* e = FindPlacement("TForm1", edit.c_str(), GeometryProperty::Left);
      ASSERT_NE(w, nullptr) << label;
      EXPECT_EQ(german ? l->german + w->german : l->english + w->english,
                german ? e->german : e->english)
          << label;
    }
  }
}

TEST(VisibilityTableTest, EachControlIsShownInExactlyOneLanguage) {
  std::set<std::pair<std::string, std::string>> seen;
  for (const Visibility& v : VisibilityTable()) {
    EXPECT_NE(v.german, v.english) << v.form << " " << v.object;
    EXPECT_TRUE(seen.insert({v.form, v.object}).second) << v.form << " " << v.object;
  }
}

}  // namespace
}  // namespace kavoro
