#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "core/app/AppState.h"
#include "core/output/ListFiles.h"
#include "gui/CatalogWindow.h"
#include "support/Entries.h"
#include "support/MainWindowFixture.h"

namespace kavoro {
namespace {

class CatalogWindowTest : public test::MainWindowFixture {
 protected:
  CatalogWindowTest() {
    // Two lists and a broken set in the catalogue's folder.
    Save(Base(u"musik"_qs), true,
         {{u"Ärger.mp3"_qs, u"4.000 KB"_qs},
          {u"Lied.mp3"_qs, u"3 KB"_qs},
          {u"Aerger live.mp3"_qs, u"5 KB"_qs}});
    Save(Base(u"pfade"_qs), false,
         {{here_ + u"/da.txt"_qs, {}}, {u"/nirgends/weg.txt"_qs, {}}, {u"Lied.mp3"_qs, {}}});
    test::WriteBytes(Base(u"kaputt"_qs) + u".mpl"_qs, test::CrLf({"Datei", "x.mp3"}));
    test::WriteBytes(here_ + u"/da.txt"_qs, "x");
    test::WriteBytes(dir_.File(u"katalogordner.ini"_qs), lists_.path().toUtf8() + '\n');
    Open();
  }

  struct Row {
    QString name;
    QString size;
  };
  void Save(const QString& base, bool details, std::initializer_list<Row> rows) {
    ListingDocument doc;
    test::StartListing(doc, details);
    for (const Row& row : rows) {
      test::AddEntry(doc, row.name, row.size, details ? u"MP3"_qs : QString(),
                     details ? u"01.02.2020 10:00"_qs : QString());
    }
    QString error;
    ASSERT_TRUE(SaveListFiles(doc, base, &error)) << error.toStdString();
  }
  QString Base(const QString& name) const { return lists_.path() + u'/' + name; }

  // Opens the catalogue and waits until it has been brought up to date and searched.
  CatalogWindow* OpenCatalogue() {
    Action("Katalogdurchsuchen1")->trigger();
    auto* window = qobject_cast<CatalogWindow*>(TopLevel("TForm9"));
    EXPECT_NE(window, nullptr);
    if (window) Settle(window);
    return window;
  }
  static void Settle(CatalogWindow* window) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Busy(); }));
    QCoreApplication::processEvents();
  }
  static void Type(CatalogWindow* window, const char* edit, const QString& text) {
    window->findChild<QLineEdit*>(QLatin1String(edit))->setText(text);
    Settle(window);
  }
  static QStringList Column(CatalogWindow* window, int column) {
    const QAbstractItemModel* model = window->findChild<QTableView*>(u"StringGrid1"_qs)->model();
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row) {
      cells.append(model->index(row, column).data().toString());
    }
    return cells;
  }
  static QString Status(CatalogWindow* window) {
    return window->findChild<QLabel*>(u"Label6"_qs)->text();
  }

  QTemporaryDir lists_;
  QTemporaryDir files_;
  QString here_ = files_.path();
};

TEST_F(CatalogWindowTest, SearchesAsYouTypeWithUmlautsFoldedAndNamesTheBrokenSet) {
  CatalogWindow* window = OpenCatalogue();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Status(window).startsWith(u"6 Treffer in 2 Listen"_qs))
      << Status(window).toStdString();
  EXPECT_TRUE(Status(window).contains(u"1 Liste übersprungen: kaputt ("_qs));
  EXPECT_TRUE(Status(window).contains(u"kaputt.mpl2"_qs));

  Type(window, "Edit1", u"arger"_qs);
  EXPECT_EQ(Column(window, 2), (QStringList{u"Ärger.mp3"_qs, u"Aerger live.mp3"_qs}));
  EXPECT_TRUE(Status(window).startsWith(u"2 Treffer in 1 Listen"_qs));
  Type(window, "Edit1", u"lied"_qs);
  EXPECT_EQ(Column(window, 0), (QStringList{u"musik"_qs, u"pfade"_qs}));
  EXPECT_EQ(Column(window, 1), (QStringList{u"2"_qs, u"3"_qs}));
  Type(window, "Edit3", u"4"_qs);  // from 4 KB on: only entries with a size
  EXPECT_TRUE(Column(window, 2).isEmpty());
  Type(window, "Edit1", QString());
  EXPECT_EQ(Column(window, 2), (QStringList{u"Ärger.mp3"_qs, u"Aerger live.mp3"_qs}));

  // Sorting by size goes by value, not by text.
  window->findChild<QTableView*>(u"StringGrid1"_qs)->sortByColumn(3, Qt::DescendingOrder);
  EXPECT_EQ(Column(window, 3), (QStringList{u"4.000 KB"_qs, u"5 KB"_qs}));

  // The same in English.
  Action("English1")->trigger();
  Type(window, "Edit3", QString());
  EXPECT_TRUE(Status(window).startsWith(u"6 hits in 2 lists"_qs)) << Status(window).toStdString();
  const auto* header = window->findChild<QTableView*>(u"StringGrid1"_qs)->horizontalHeader();
  EXPECT_EQ(header->model()->headerData(5, Qt::Horizontal).toString(), u"Date"_qs);
  EXPECT_EQ(window->windowTitle(), u"Search catalogue"_qs);
}

TEST_F(CatalogWindowTest, AChosenResultOpensItsListAtItsRowAndSaysWhetherTheFileIsThere) {
  CatalogWindow* window = OpenCatalogue();
  ASSERT_NE(window, nullptr);
  Type(window, "Edit5", u"pfade"_qs);
  auto* table = window->findChild<QTableView*>(u"StringGrid1"_qs);
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return Column(window, 6) == QStringList{u"ja"_qs, u"nein"_qs, QString()};
  })) << Column(window, 6).join(u'|').toStdString();

  // Unsaved entries: the question comes first, and No keeps them.
  window_->State().doc.SetListingModified(true);
  emit table->doubleClicked(table->model()->index(1, 2));
  EXPECT_TRUE(prompts_.shown.last().startsWith(u"ask: "_qs));
  EXPECT_NE(window_->State().list_file_base, Base(u"pfade"_qs));

  prompts_.answers = {true};
  emit table->doubleClicked(table->model()->index(1, 2));
  EXPECT_EQ(window_->State().list_file_base, Base(u"pfade"_qs));
  auto* grid = Find<QTableView>("StringGrid1");
  EXPECT_EQ(Find<QTabWidget>("TabbedNotebook1")->currentIndex(), 1);
  EXPECT_EQ(grid->currentIndex().row(), 2);
  EXPECT_EQ(grid->model()->index(2, 1).data().toString(), u"/nirgends/weg.txt"_qs);

  // "Ordner öffnen" opens the folder of a whole path.
  table->setCurrentIndex(table->model()->index(0, 2));
  window->findChild<QPushButton*>(u"Button4"_qs)->click();
  ASSERT_FALSE(shell_.opened.isEmpty());
  EXPECT_EQ(shell_.opened.last(), QUrl::fromLocalFile(here_));
}

TEST_F(CatalogWindowTest, DuplicatesResultsAndThePageAreSaved) {
  Save(Base(u"kopie"_qs), true, {{u"Lied.mp3"_qs, u"3 KB"_qs}});
  CatalogWindow* window = OpenCatalogue();
  ASSERT_NE(window, nullptr);
  window->findChild<QPushButton*>(u"Button3"_qs)->click();
  Settle(window);
  const auto* tree = window->findChild<QTreeWidget*>(u"TreeView1"_qs);
  ASSERT_TRUE(tree->isVisible());
  // Lied.mp3 of the list without details has no size, and is no copy of the others.
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
  EXPECT_TRUE(Status(window).startsWith(u"1 Gruppen doppelter Einträge"_qs));
  EXPECT_EQ(window->findChild<QPushButton*>(u"Button3"_qs)->text(), u"Suchergebnis zeigen"_qs);

  QTemporaryDir out;
  prompts_.files = {out.path() + u"/doppelt.json"_qs};
  window->findChild<QPushButton*>(u"Button5"_qs)->click();
  const QJsonDocument groups =
      QJsonDocument::fromJson(test::ReadBytes(out.path() + u"/doppelt.json"_qs));
  ASSERT_TRUE(groups.isArray());
  EXPECT_EQ(groups.array().size(), 1);

  window->findChild<QPushButton*>(u"Button3"_qs)->click();
  Settle(window);
  Type(window, "Edit1", u"ärger"_qs);
  prompts_.files = {out.path() + u"/treffer"_qs};  // the filter's extension when none is typed
  window->findChild<QPushButton*>(u"Button5"_qs)->click();
  EXPECT_EQ(test::ReadBytes(out.path() + u"/treffer.txt"_qs),
            Base(u"musik"_qs).toUtf8() + "\t1\tÄrger.mp3\t4.000 KB\tMP3\t01.02.2020 10:00\n" +
                Base(u"musik"_qs).toUtf8() + "\t3\tAerger live.mp3\t5 KB\tMP3\t01.02.2020 10:00\n");
  prompts_.files = {out.path() + u"/treffer.csv"_qs};
  window->findChild<QPushButton*>(u"Button5"_qs)->click();
  EXPECT_TRUE(test::ReadBytes(out.path() + u"/treffer.csv"_qs)
                  .startsWith("Liste,Nr.,Datei,Größe,Typ,Geändert\r\n" +
                              Base(u"musik"_qs).toUtf8() +
                              ",1,Ärger.mp3,4.000 KB,MP3,01.02.2020 10:00\r\n"));

  // The page holds every entry of the catalogue with its list, and the search box.
  prompts_.files = {out.path() + u"/katalog"_qs};
  window->findChild<QPushButton*>(u"Button6"_qs)->click();
  Settle(window);
  const QByteArray page = test::ReadBytes(out.path() + u"/katalog.htm"_qs);
  EXPECT_EQ(page.count("<tr><td>"), 7);
  EXPECT_TRUE(page.contains("<tr><td>musik</td><td>1</td><td>Ärger.mp3</td><td>4.000 KB</td>"));
  EXPECT_TRUE(page.contains("<meta charset=\"utf-8\">"));
  EXPECT_TRUE(page.contains("<script>"));
}

TEST_F(CatalogWindowTest, FoldersAreAddedAndRemovedAndKeptForTheUser) {
  CatalogWindow* window = OpenCatalogue();
  ASSERT_NE(window, nullptr);
  QTemporaryDir more;
  Save(more.path() + u"/noch"_qs, false, {{u"Neu.txt"_qs, {}}});
  prompts_.files = {more.path()};
  window->findChild<QPushButton*>(u"Button1"_qs)->click();
  Settle(window);
  EXPECT_EQ(test::ReadBytes(dir_.File(u"katalogordner.ini"_qs)),
            lists_.path().toUtf8() + '\n' + more.path().toUtf8() + '\n');
  EXPECT_TRUE(Status(window).startsWith(u"7 Treffer in 3 Listen"_qs))
      << Status(window).toStdString();

  auto* folders = window->findChild<QListWidget*>(u"ListBox1"_qs);
  folders->setCurrentRow(0);
  window->findChild<QPushButton*>(u"Button2"_qs)->click();
  Settle(window);
  EXPECT_EQ(test::ReadBytes(dir_.File(u"katalogordner.ini"_qs)), more.path().toUtf8() + '\n');
  EXPECT_TRUE(Status(window).startsWith(u"1 Treffer in 1 Listen"_qs))
      << Status(window).toStdString();
}

}  // namespace
}  // namespace kavoro
