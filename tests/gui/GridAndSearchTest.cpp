#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "core/output/ListFiles.h"
#include "gui/FindWindow.h"
#include "gui/MainWindow.h"
#include "gui/MemoSelection.h"
#include "support/Entries.h"
#include "support/FindNamed.h"
#include "support/MainWindowFixture.h"
#include "support/Printers.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class GridAndSearchTest : public test::MainWindowFixture {
 protected:
  template <typename T = QWidget>
  T* InFind(const char* name) {
    auto* found = window_->FindDialog()->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QStringList GridColumn(int column) {
    QAbstractItemModel* model = Find<QTableView>("StringGrid1")->model();
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r) out << model->index(r, column).data().toString();
    return out;
  }
  QByteArray OptionLine(int index) const { return OptionLines()[index]; }
  void AddEntries(const QStringList& names) {
    for (const QString& name : names) test::AddEntry(window_->State().doc, name);
  }
  TextSelection Memo1() { return MemoSelection::Of(Find<QListView>("Memo1"))->Get(); }
  bool MainEnabled() { return window_->isEnabled(); }
};

TEST_F(GridAndSearchTest, SortButtonsSortOnAMouseReleaseOnly) {
  Open();
  AddEntries({u"b.txt"_qs, u"c.txt"_qs, u"a.txt"_qs});
  auto* by_name = Find<QRadioButton>("RadioButton2");
  auto* by_number = Find<QRadioButton>("RadioButton1");
  EXPECT_EQ(by_name->toolTip(), u"Aufsteigend sortieren"_qs);
  EXPECT_EQ(by_number->toolTip(), u"Absteigend sortieren"_qs);

  QTest::mouseClick(by_name, Qt::LeftButton, {}, QPoint(6, by_name->height() / 2));
  EXPECT_EQ(GridColumn(1), (QStringList{u"Datei"_qs, u"a.txt"_qs, u"b.txt"_qs, u"c.txt"_qs}));
  EXPECT_EQ(by_name->toolTip(), u"Absteigend sortieren"_qs);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(Find<QTableView>("StringGrid1")->updatesEnabled());

  by_number->setFocus();
  QTest::keyClick(by_number, Qt::Key_Space);  // selected by keyboard: no sort
  EXPECT_TRUE(by_number->isChecked());
  EXPECT_EQ(window_->State().grid_tools.sort_choice, 1);
  EXPECT_EQ(GridColumn(1)[1], u"a.txt"_qs);

  QTest::mouseClick(by_number, Qt::LeftButton, {}, QPoint(6, by_number->height() / 2));
  EXPECT_EQ(GridColumn(0), (QStringList{u"Nr."_qs, u"3"_qs, u"2"_qs, u"1"_qs}));
  EXPECT_EQ(by_name->toolTip(), u"Aufsteigend sortieren"_qs);

  Find<QPushButton>("Button16")->click();
  EXPECT_EQ(GridColumn(0), (QStringList{u"Nr."_qs, u"1"_qs, u"2"_qs, u"3"_qs}));
  EXPECT_EQ(GridColumn(1), (QStringList{u"Datei"_qs, u"a.txt"_qs, u"c.txt"_qs, u"b.txt"_qs}));
  EXPECT_EQ(by_number->toolTip(), u"Absteigend sortieren"_qs);
}

// The sort buttons and width fields of the size, type and date columns can be used exactly
// while the grid shows those columns, whatever the detail option says.
TEST_F(GridAndSearchTest, DetailToolsFollowTheGridsColumns) {
  ListingDocument five;
  test::StartListing(five, true);
  test::AddEntry(five, u"a.mp3"_qs, u"9 KB"_qs, u"Audio"_qs, u"01.01.2020 10:00"_qs);
  test::AddEntry(five, u"b.mp3"_qs, u"10 KB"_qs, u"Audio"_qs, u"02.01.2020 10:00"_qs);
  ASSERT_TRUE(SaveListFiles(five, dir_.File(u"fuenf"_qs), nullptr));
  ListingDocument two;
  test::StartListing(two, false);
  test::AddEntry(two, u"c.txt"_qs);
  ASSERT_TRUE(SaveListFiles(two, dir_.File(u"zwei"_qs), nullptr));

  Open();  // the detail option is off
  const char* detail_tools[] = {"RadioButton3", "RadioButton4", "RadioButton5",
                                "Edit3",        "Edit4",        "Edit5"};
  auto tools_enabled = [&] {
    return std::count_if(std::begin(detail_tools), std::end(detail_tools),
                         [&](const char* name) { return Find<QWidget>(name)->isEnabled(); });
  };
  ASSERT_EQ(tools_enabled(), 0);
  prompts_.files = {dir_.File(u"fuenf.mpl"_qs)};
  window_->findChild<QAction*>(u"ffnen1"_qs)->trigger();
  ASSERT_EQ(window_->State().doc.ColumnCount(), 5);
  EXPECT_EQ(tools_enabled(), 6);
  auto* by_size = Find<QRadioButton>("RadioButton4");
  QTest::mouseClick(by_size, Qt::LeftButton, {}, QPoint(6, by_size->height() / 2));
  EXPECT_EQ(GridColumn(2), (QStringList{u"Größe"_qs, u"10 KB"_qs, u"9 KB"_qs}));

  prompts_.files = {dir_.File(u"zwei.mpl"_qs)};
  prompts_.answers = {true};  // the sorted listing may be given up
  window_->findChild<QAction*>(u"ffnen1"_qs)->trigger();
  EXPECT_EQ(tools_enabled(), 0);
  EXPECT_TRUE(Find<QRadioButton>("RadioButton1")->isChecked());
}

TEST_F(GridAndSearchTest, WidthFieldsTakeDigitsAndStoreEachKeystroke) {
  Open();
  const QByteArray started = dir_.Options();
  auto* file_width = Find<QLineEdit>("Edit2");
  EXPECT_EQ(file_width->text(), u"600"_qs);
  file_width->setFocus();
  file_width->selectAll();
  QTest::keyClick(file_width, Qt::Key_Backspace);
  EXPECT_EQ(dir_.Options(), started);  // an empty field changes nothing
  QTest::keyClicks(file_width, u"1x2"_qs);
  EXPECT_EQ(file_width->text(), u"12"_qs);
  EXPECT_EQ(OptionLine(20), "12\r");
  EXPECT_EQ(Find<QTableView>("StringGrid1")->columnWidth(1), 12);
  QTest::keyClicks(file_width, u"34"_qs);  // three digits at most
  EXPECT_EQ(OptionLine(20), "123\r");

  auto* number_width = Find<QLineEdit>("Edit1");
  number_width->setFocus();
  number_width->selectAll();
  QTest::keyClicks(number_width, u"0"_qs);
  EXPECT_EQ(OptionLine(19), "0\r");
  EXPECT_EQ(Find<QTableView>("StringGrid1")->columnWidth(0), 0);
  EXPECT_EQ(number_width->maxLength(), 2);
  EXPECT_EQ(OptionLine(21), "80\r");
}

TEST_F(GridAndSearchTest, FindWindowSearchesTheTextViewAndClosesAgain) {
  MainWindow& w = Open();
  AddEntries({u"abc.txt"_qs, u"x.txt"_qs, u"abc2.txt"_qs});
  EXPECT_TRUE(Find<QAction>("Suchen1")->isEnabled());
  Find<QAction>("Suchen1")->trigger();
  FindWindow* find = w.FindDialog();
  ASSERT_TRUE(find->isVisible());
  EXPECT_EQ(find->objectName(), u"TForm8"_qs);
  EXPECT_FALSE(InFind("GroupBox1")->isVisible());  // line 24 "1": no start question
  EXPECT_TRUE(InFind("GroupBox3")->isVisible());
  EXPECT_FALSE(MainEnabled());
  EXPECT_FALSE(w.menuBar()->isEnabled());
  auto* search = InFind<QPushButton>("Button14");
  EXPECT_FALSE(search->isEnabled());
  QTest::keyClicks(InFind<QLineEdit>("LabeledEdit1"), u"ABC"_qs);
  EXPECT_TRUE(search->isEnabled());

  QTest::keyClick(InFind<QLineEdit>("LabeledEdit1"), Qt::Key_Return);  // Enter in the field
  EXPECT_EQ(Memo1(), (TextSelection{{1, 11}, 3}));
  EXPECT_EQ(Find<QListView>("Memo1")->currentIndex().row(), 1);
  EXPECT_FALSE(MainEnabled());
  search->setFocus();
  QTest::keyClick(search, Qt::Key_Return);  // Enter on "Suchen" searches on
  EXPECT_EQ(Memo1(), (TextSelection{{3, 11}, 3}));

  InFind<QCheckBox>("CheckBox1")->setChecked(true);  // with case: no more hits
  search->click();
  EXPECT_EQ(
      prompts_.shown.last(),
      u"ask: \"ABC\" wurde leider nicht gefunden\nSoll noch einmal vom Anfang gesucht werden ?"_qs);
  EXPECT_EQ(Memo1(), (TextSelection{{3, 11}, 3}));
  QTest::mouseClick(InFind<QLabel>("Label1"), Qt::LeftButton);
  EXPECT_FALSE(InFind<QCheckBox>("CheckBox1")->isChecked());

  InFind<QPushButton>("Button15")->click();
  EXPECT_FALSE(find->isVisible());
  EXPECT_TRUE(MainEnabled());
  EXPECT_TRUE(w.menuBar()->isEnabled());

  // A click on a line puts the caret at its start; a listing made anew keeps no marked hit.
  auto* memo = Find<QListView>("Memo1");
  memo->setCurrentIndex(memo->model()->index(2, 0));
  EXPECT_EQ(Memo1(), (TextSelection{{2, 0}, 0}));
  MemoSelection::Of(memo)->Set(TextSelection{{3, 11}, 3});
  w.State().doc.SetTextLines({u"neu"_qs});
  EXPECT_EQ(Memo1().length, 0);
}

TEST_F(GridAndSearchTest, StartQuestionStoresLine24AndGridHitsLeaveTheWindowUsable) {
  dir_.SetOptionLine(24, "0");
  MainWindow& w = Open();
  AddEntries({u"a.txt"_qs});
  Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(1);
  Find<QAction>("Suchen1")->trigger();
  EXPECT_TRUE(InFind("GroupBox1")->isVisible());
  EXPECT_TRUE(InFind<QRadioButton>("RadioButton4")->isChecked());
  InFind<QRadioButton>("RadioButton3")->setChecked(true);
  InFind<QCheckBox>("CheckBox2")->setChecked(true);
  InFind<QPushButton>("Button1")->click();
  EXPECT_EQ(OptionLine(24), "1\r");
  EXPECT_FALSE(Find<QCheckBox>("CheckBox2")->isChecked());  // the options panel's tick
  EXPECT_FALSE(InFind("GroupBox1")->isVisible());
  EXPECT_TRUE(InFind("GroupBox3")->isVisible());

  QTest::keyClicks(InFind<QLineEdit>("LabeledEdit1"), u"nr"_qs);
  InFind<QPushButton>("Button14")->click();
  const QModelIndex cell = Find<QTableView>("StringGrid1")->currentIndex();
  EXPECT_EQ(cell.row(), 0);
  EXPECT_EQ(cell.column(), 0);
  EXPECT_TRUE(MainEnabled());
  InFind<QPushButton>("Button15")->click();

  // Cancelling the question stores the answer too and searches nothing.
  w.State().flags.ask_search_start = true;
  dir_.SetOptionLine(24, "0");
  Find<QAction>("Suchen1")->trigger();
  InFind<QCheckBox>("CheckBox2")->setChecked(false);
  InFind<QPushButton>("Button2")->click();
  EXPECT_EQ(OptionLine(24), "0\r");
  EXPECT_FALSE(w.FindDialog()->isVisible());
  EXPECT_TRUE(MainEnabled());
}

TEST_F(GridAndSearchTest, FindWindowSpeaksTheLanguage) {
  MainWindow& w = Open();
  // Controls of the same name in the main window keep their own captions.
  EXPECT_EQ(InFind<QRadioButton>("RadioButton1")->text(), u"Aufwärts"_qs);
  EXPECT_EQ(InFind<QGroupBox>("GroupBox3")->title(), QString());
  EXPECT_EQ(Find<QRadioButton>("RadioButton1")->text(), u"Nr."_qs);
  EXPECT_EQ(w.FindDialog()->findChild<QLabel*>(u"LabeledEdit1Label"_qs)->text(),
            u"Suchen nach :"_qs);
  Find<QAction>("English1")->trigger();
  EXPECT_EQ(InFind<QRadioButton>("RadioButton1")->text(), u"Upward"_qs);
  EXPECT_EQ(InFind<QGroupBox>("GroupBox1")->title(), u"Start search :"_qs);
  EXPECT_EQ(w.FindDialog()->findChild<QLabel*>(u"LabeledEdit1Label"_qs)->text(),
            u"Search for :"_qs);
  EXPECT_EQ(InFind<QPushButton>("Button15")->text(), u"Chancel"_qs);
}

}  // namespace
}  // namespace kavoro
