#include <gtest/gtest.h>
#include <utime.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "core/compare/ListCompare.h"
#include "core/output/ListFiles.h"
#include "gui/CompareWindow.h"
#include "support/Entries.h"
#include "support/MainWindowFixture.h"

namespace kavoro {
namespace {

constexpr qint64 kListed = 1102257300;  // 5 December 2004, 14:35 UTC

// A tree listed with details and whole paths and saved, then changed in every way that counts.
class CompareWindowTest : public test::MainWindowFixture {
 protected:
  CompareWindowTest() {
    for (auto [name, bytes] : {std::pair{"a.txt", 2000},
                               {"b.mp3", 3000},
                               {"sub/c.txt", 100},
                               {"sub/d.mp3", 5000},
                               {"z.txt", 1}}) {
      Put(name, bytes);
    }
    ListForm form;
    form.options.details = form.options.whole_path = true;
    ListingDocument doc;
    test::StartListing(doc, true);
    FoundFiles found;
    EXPECT_TRUE(WalkInForm(tree_.path(), form, found, nullptr, {}));
    doc.RaiseFirstEntry();
    EntryTexts texts{DateTextFormat(QLocale(QLocale::German, QLocale::Germany)), {}};
    AppendEntries(doc, found, form.options, texts);
    QString error;
    EXPECT_TRUE(SaveListFiles(doc, Base(), &error)) << error.toStdString();

    Put("new.txt", 10);
    EXPECT_TRUE(QFile::remove(tree_.filePath(u"a.txt"_qs)));
    Put("b.mp3", 10000);  // 3 KB -> 10 KB
    QDir(tree_.path()).mkpath(u"other"_qs);
    EXPECT_TRUE(QFile::rename(tree_.filePath(u"sub/d.mp3"_qs), tree_.filePath(u"other/d.mp3"_qs)));
    Open();
  }

  void Put(const char* name, int bytes) {
    const QString path = tree_.filePath(QLatin1String(name));
    QDir().mkpath(QFileInfo(path).path());
    test::WriteBytes(path, QByteArray(bytes, 'x'));
    const utimbuf times{kListed, kListed};
    ASSERT_EQ(utime(QFile::encodeName(path).constData(), &times), 0);
  }
  QString Base() const { return lists_.filePath(u"liste"_qs); }

  // Opens the window, chooses the saved list and compares.
  CompareWindow* CompareSavedList() {
    Action("MitOrdnervergleichen1")->trigger();
    auto* window = qobject_cast<CompareWindow*>(TopLevel("TForm10"));
    if (!window) return nullptr;
    prompts_.files.push_back(Base() + u".mpl"_qs);
    Click(window, "Button1");
    Click(window, "Button3");
    return window;
  }
  static void Click(CompareWindow* window, const char* button) {
    window->findChild<QPushButton*>(QLatin1String(button))->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Busy(); }));
  }
  static QStringList Groups(CompareWindow* window) {
    const auto* combo = window->findChild<QComboBox*>(u"ComboBox1"_qs);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items.append(combo->itemText(i));
    return items;
  }
  // The table's rows, cells joined by "|".
  static QStringList Rows(CompareWindow* window) {
    const QAbstractItemModel* model = window->findChild<QTableView*>(u"StringGrid1"_qs)->model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
      QStringList cells;
      for (int c = 0; c < model->columnCount(); ++c)
        cells.append(model->index(row, c).data().toString());
      rows.append(cells.join(u'|'));
    }
    return rows;
  }
  static QString Text(CompareWindow* window, const char* label) {
    return window->findChild<QLabel*>(QLatin1String(label))->text();
  }

  QTemporaryDir tree_;
  QTemporaryDir lists_;
  QString root_ = tree_.path() + u'/';
  QString date_ = QLocale(QLocale::German)
                      .toString(QDateTime::fromSecsSinceEpoch(kListed), u"dd.MM.yyyy HH:mm"_qs);
};

TEST_F(CompareWindowTest, ShowsEachGroupWithItsCountAndOneGroupAloneInBothLanguages) {
  CompareWindow* window = CompareSavedList();
  ASSERT_NE(window, nullptr);
  // What the list tells and what is guessed for what it cannot.
  EXPECT_EQ(window->findChild<QLineEdit*>(u"Edit2"_qs)->text(), tree_.path());
  EXPECT_TRUE(window->findChild<QCheckBox*>(u"CheckBox1"_qs)->isChecked());
  EXPECT_EQ(window->findChild<QLineEdit*>(u"Edit3"_qs)->text(), u".txt .mp3"_qs);
  EXPECT_EQ(Text(window, "Label3"), u"Die Liste hat Details, ganze Pfade."_qs);

  EXPECT_EQ(Groups(window),
            (QStringList{u"Alle Änderungen (4)"_qs, u"Neu (1)"_qs, u"Fehlt (1)"_qs,
                         u"Geändert (1)"_qs, u"Verschoben (1)"_qs, u"Nicht lesbar (0)"_qs}));
  EXPECT_EQ(Rows(window),
            (QStringList{u"Neu|%1new.txt|||1 KB|%2|"_qs.arg(root_, date_),
                         u"Fehlt|%1a.txt|2 KB|%2|||"_qs.arg(root_, date_),
                         u"Geändert|%1b.mp3|3 KB|%2|10 KB|%2|"_qs.arg(root_, date_),
                         u"Verschoben|%1sub/d.mp3|5 KB|%2|||%1other/d.mp3"_qs.arg(root_, date_)}));
  EXPECT_TRUE(
      Text(window, "Label6")
          .startsWith(
              u"Neu: 1, Fehlt: 1, Geändert: 1, Verschoben: 1, Nicht lesbar: 0, Unverändert: 2\n"
              u"Verglichen mit %1 als: Details, ganze Pfade, mit Unterordnern, .txt .mp3; "
              u"Datumsform "
              u"dd.MM.yyyy HH:mm (de_DE)."_qs.arg(tree_.path())))
      << Text(window, "Label6").toStdString();

  auto* combo = window->findChild<QComboBox*>(u"ComboBox1"_qs);
  combo->setCurrentIndex(3);
  emit combo->activated(3);
  EXPECT_EQ(Rows(window), QStringList{u"Geändert|%1b.mp3|3 KB|%2|10 KB|%2|"_qs.arg(root_, date_)});

  Action("English1")->trigger();
  EXPECT_EQ(window->windowTitle(), u"Compare with folder"_qs);
  EXPECT_EQ(Groups(window).at(3), u"Changed (1)"_qs);
  EXPECT_EQ(Rows(window), QStringList{u"Changed|%1b.mp3|3 KB|%2|10 KB|%2|"_qs.arg(root_, date_)});
  EXPECT_EQ(window->findChild<QPushButton*>(u"Button5"_qs)->text(),
            u"Bring the list up to date"_qs);
  EXPECT_TRUE(Text(window, "Label6").startsWith(u"New: 1, Missing: 1, Changed: 1, Moved: 1"_qs));
}

TEST_F(CompareWindowTest, ExportsJsonThatParsesAndAsksBeforeOverwriting) {
  CompareWindow* window = CompareSavedList();
  ASSERT_NE(window, nullptr);
  const QString path = lists_.filePath(u"ergebnis.json"_qs);
  prompts_.files.push_back(path);
  Click(window, "Button4");
  const QJsonObject counts = QJsonDocument::fromJson(test::ReadBytes(path))["counts"].toObject();
  EXPECT_EQ(counts["new"].toInt(), 1);
  EXPECT_EQ(counts["moved"].toInt(), 1);
  EXPECT_EQ(prompts_.save_filters.back(), u"Text-Datei (*.txt);;CSV (*.csv);;JSON (*.json)"_qs);

  test::WriteBytes(path, "kept");
  prompts_.files.push_back(path);
  prompts_.answers.push_back(false);
  Click(window, "Button4");
  EXPECT_EQ(prompts_.shown.back(), u"ask: Soll die Datei wirklich überschrieben werden ?"_qs);
  EXPECT_EQ(test::ReadBytes(path), "kept");
}

TEST_F(CompareWindowTest, BringsTheListUpToDateOnlyAfterYesKeepingTheOldSetAsBackup) {
  CompareWindow* window = CompareSavedList();
  ASSERT_NE(window, nullptr);
  QList<QByteArray> old_set;
  for (const char* ext : {".mpl", ".mpl2", ".mpl3"}) {
    old_set.append(test::ReadBytes(Base() + QLatin1String(ext)));
  }
  const QString question =
      u"ask: Die Liste %1.mpl wird durch eine neue Auflistung des Ordners %2 ersetzt. Die alte "
      u"Liste bleibt als Sicherungskopie %1.bak1.mpl (mit .mpl2 und .mpl3) erhalten.\nWeiter ?"_qs
          .arg(Base(), tree_.path());

  prompts_.answers.push_back(false);
  Click(window, "Button5");
  EXPECT_EQ(prompts_.shown.back(), question);
  EXPECT_EQ(test::ReadBytes(Base() + u".mpl"_qs), old_set[0]);
  EXPECT_FALSE(QFile::exists(Base() + u".bak1.mpl"_qs));

  prompts_.answers.push_back(true);
  Click(window, "Button5");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Busy(); }));  // the compare that follows
  EXPECT_EQ(
      prompts_.shown.back(),
      u"inform: Die Liste ist auf dem neuen Stand; die alte ist als %1.bak1.mpl gesichert."_qs.arg(
          Base()));
  const char* exts[] = {".mpl", ".mpl2", ".mpl3"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(test::ReadBytes(Base() + u".bak1"_qs + QLatin1String(exts[i])), old_set[i])
        << exts[i];
  }
  EXPECT_EQ(Groups(window).front(), u"Alle Änderungen (0)"_qs);
  EXPECT_TRUE(Text(window, "Label6").contains(u"Unverändert: 5"_qs));
}

TEST_F(CompareWindowTest, ComparesTheCurrentListingAndNamesWhatCannotBeCompared) {
  ListingDocument& doc = window_->State().doc;
  test::AddEntry(doc, u"z.txt"_qs);
  test::AddEntry(doc, u"weg.txt"_qs);
  window_->State().listing_folders = {tree_.path()};
  Action("MitOrdnervergleichen1")->trigger();
  auto* window = qobject_cast<CompareWindow*>(TopLevel("TForm10"));
  ASSERT_NE(window, nullptr);
  window->findChild<QRadioButton*>(u"RadioButton2"_qs)->click();
  EXPECT_EQ(window->findChild<QLineEdit*>(u"Edit2"_qs)->text(), tree_.path());
  EXPECT_EQ(Text(window, "Label3"), u"Die Liste hat nur Namen, Namen ohne Pfad."_qs);
  window->findChild<QLineEdit*>(u"Edit3"_qs)->clear();
  window->findChild<QCheckBox*>(u"CheckBox1"_qs)->setChecked(false);
  Click(window, "Button3");
  EXPECT_EQ(Rows(window),
            (QStringList{u"Neu|b.mp3|||||"_qs, u"Neu|new.txt|||||"_qs, u"Fehlt|weg.txt|||||"_qs}));
  // Only a saved list can be brought up to date.
  EXPECT_FALSE(window->findChild<QPushButton*>(u"Button5"_qs)->isEnabled());

  // A folder that is not there, and a broken list set: each said, nothing compared.
  window->findChild<QLineEdit*>(u"Edit2"_qs)->setText(tree_.filePath(u"nirgends"_qs));
  Click(window, "Button3");
  EXPECT_EQ(prompts_.shown.back(),
            u"error: Den Ordner %1 gibt es nicht."_qs.arg(tree_.filePath(u"nirgends"_qs)));
  EXPECT_TRUE(Rows(window).isEmpty());
  test::WriteBytes(lists_.filePath(u"kaputt.mpl"_qs), test::CrLf({"Datei", "x.mp3"}));
  prompts_.files.push_back(lists_.filePath(u"kaputt.mpl"_qs));
  Click(window, "Button1");
  EXPECT_TRUE(prompts_.shown.back().startsWith(u"error: "_qs))
      << prompts_.shown.back().toStdString();
  EXPECT_TRUE(prompts_.shown.back().contains(u"kaputt.mpl2"_qs));
}

}  // namespace
}  // namespace kavoro
