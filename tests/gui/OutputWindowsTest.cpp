#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "core/listing/FileTexts.h"
#include "core/text/Utf8.h"
#include "gui/DialogPrompts.h"
#include "gui/ExportDialog.h"
#include "gui/MainWindow.h"
#include "gui/StyleDialog.h"
#include "support/Entries.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class OutputWindowsTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    Open();
    test::AddEntry(window_->State().doc, u"Größe & <Lied>.mp3"_qs);
  }
  template <typename T>
  T* In(QWidget* window, const char* name) {
    return test::FindNamed<T>(window, name);
  }
  QWidget* ExportWindow() { return window_->ExportWindow(); }
  QWidget* StyleWindow() { return window_->StyleWindow(); }
  void Click(QWidget* window, const char* button) {
    QTest::mouseClick(In<QPushButton>(window, button), Qt::LeftButton);
  }
  void Choose(const char* box, int index) {
    auto* combo = In<QComboBox>(StyleWindow(), box);
    ASSERT_TRUE(combo->isEnabled()) << box;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  QStringList Html() { return window_->State().doc.Html().ToStringList(); }
  // The bytes of the HTML view as a file (its texts all fit in Latin-1 here).
  QByteArray HtmlBytes() {
    QByteArray bytes;
    for (const QString& line : Html()) bytes += line.toLatin1() + "\r\n";
    return bytes;
  }

  QTemporaryDir out_;
};

TEST_F(OutputWindowsTest, ExportDialogOpensFromBothButtonsAndKeepsItsTicks) {
  auto* button6 = window_->findChild<QPushButton*>(u"Button6"_qs);
  ASSERT_TRUE(button6->isEnabled());
  EXPECT_EQ(button6->text(), u"Als *.txt, *.xls oder *.htm speichern");
  QTest::mouseClick(button6, Qt::LeftButton);
  EXPECT_TRUE(ExportWindow()->isVisible());
  EXPECT_TRUE(ExportWindow()->isEnabled());
  EXPECT_FALSE(window_->isEnabled());
  EXPECT_EQ(ExportWindow()->objectName(), u"TForm2");
  EXPECT_EQ(In<QLabel>(ExportWindow(), "Label1")->text(), u"Einträge speichern als :");
  EXPECT_EQ(In<QCheckBox>(ExportWindow(), "CheckBox2")->text(), u"Excel-Datei (*.xls)");

  // No box ticked: "Speichern" only closes the dialog.
  Click(ExportWindow(), "Button1");
  EXPECT_FALSE(ExportWindow()->isVisible());
  EXPECT_TRUE(window_->isEnabled());
  EXPECT_TRUE(prompts_.shown.isEmpty());

  window_->findChild<QPushButton*>(u"Button2"_qs)->click();
  ASSERT_TRUE(ExportWindow()->isVisible());
  In<QCheckBox>(ExportWindow(), "CheckBox3")->click();
  Click(ExportWindow(), "Button2");  // Abbrechen writes nothing
  EXPECT_FALSE(ExportWindow()->isVisible());
  EXPECT_TRUE(window_->isEnabled());
  window_->OpenExportDialog();
  EXPECT_TRUE(In<QCheckBox>(ExportWindow(), "CheckBox3")->isChecked());
}

TEST_F(OutputWindowsTest, ExportWritesEachChosenFormatAndStaysOpenAfterAFailure) {
  window_->OpenExportDialog();
  for (const char* box : {"CheckBox1", "CheckBox2", "CheckBox3"}) {
    In<QCheckBox>(ExportWindow(), box)->click();
  }
  prompts_.files = {out_.filePath(u"missing/a.txt"_qs)};
  Click(ExportWindow(), "Button1");
  ASSERT_EQ(prompts_.shown.size(), 1);
  EXPECT_TRUE(prompts_.shown[0].startsWith(u"error: Cannot create file "_qs));
  EXPECT_TRUE(ExportWindow()->isVisible());
  EXPECT_TRUE(ExportWindow()->isEnabled());
  EXPECT_FALSE(window_->isEnabled());

  prompts_.files = {QString(), out_.filePath(u"a.xls"_qs), out_.filePath(u"a.htm"_qs)};
  Click(ExportWindow(), "Button1");
  EXPECT_FALSE(ExportWindow()->isVisible());
  EXPECT_TRUE(window_->isEnabled());
  EXPECT_TRUE(QFile::exists(out_.filePath(u"a.xls"_qs)));
  EXPECT_TRUE(
      test::ReadBytes(out_.filePath(u"a.htm"_qs)).endsWith("</table>\r\n</body>\r\n</html>\r\n"));
  EXPECT_FALSE(QFile::exists(out_.filePath(u"a.txt"_qs)));
}

// The line under the progress bar counts the entries in the window's language, and the export
// appends the totals only when "Summe anhängen" is ticked.
TEST_F(OutputWindowsTest, TotalsUnderTheBarAndAtTheEndOfAnExport) {
  auto* totals = Find<QLabel>("TotalsLabel");
  QTRY_COMPARE(totals->text(), u"1 Eintrag"_qs);
  test::AddEntry(window_->State().doc, u"zwei.mp3"_qs);
  QTRY_COMPARE(totals->text(), u"2 Einträge"_qs);
  Action("English1")->trigger();
  EXPECT_EQ(totals->text(), u"2 entries"_qs);

  window_->OpenExportDialog();
  In<QCheckBox>(ExportWindow(), "CheckBox1")->click();
  prompts_.files = {out_.filePath(u"without.txt"_qs)};
  Click(ExportWindow(), "Button1");
  EXPECT_FALSE(test::ReadBytes(out_.filePath(u"without.txt"_qs)).contains("Total"));
  window_->OpenExportDialog();
  In<QCheckBox>(ExportWindow(), "CheckBoxTotals")->click();
  prompts_.files = {out_.filePath(u"with.txt"_qs)};
  Click(ExportWindow(), "Button1");
  EXPECT_TRUE(test::ReadBytes(out_.filePath(u"with.txt"_qs)).endsWith("Total : 2 entries\r\n"));
  EXPECT_EQ(test::ReadBytes(out_.filePath(u"with.txt"_qs)),
            test::ReadBytes(out_.filePath(u"without.txt"_qs)) + "Total : 2 entries\r\n");
}

// The page's links point where the export dialog says; a base that is no address is refused
// before any file dialog opens.
TEST_F(OutputWindowsTest, TheExportDialogChoosesWhereLinksPoint) {
  const std::string target = utf8::FromQString(LinkTarget(out_.filePath(u"Musik/a b.mp3"_qs)));
  EntryCells cells;
  cells.name = "a b.mp3";
  cells.link_target = target;
  AppendEntry(window_->State().doc, cells);
  window_->OpenExportDialog();
  In<QCheckBox>(ExportWindow(), "CheckBox3")->click();
  auto* links = In<QComboBox>(ExportWindow(), "ComboBoxLinks");
  EXPECT_EQ(links->itemText(1), u"relativ zur Seite"_qs);
  auto* base = In<QLineEdit>(ExportWindow(), "EditLinkBase");
  EXPECT_FALSE(base->isEnabled());
  links->setCurrentIndex(2);
  EXPECT_TRUE(base->isEnabled());
  base->setText(u"musik/"_qs);
  Click(ExportWindow(), "Button1");
  EXPECT_EQ(prompts_.shown,
            QStringList{u"error: "_qs + MessageSlotsFor(UiLanguage::German).msgBadLinkBase});
  EXPECT_TRUE(prompts_.save_filters.isEmpty());
  EXPECT_TRUE(ExportWindow()->isVisible());

  base->setText(u"https://example.org/musik"_qs);
  prompts_.files = {out_.filePath(u"b.htm"_qs)};
  Click(ExportWindow(), "Button1");
  EXPECT_TRUE(test::ReadBytes(out_.filePath(u"b.htm"_qs))
                  .contains("<a href=\"https://example.org/musik/Musik/a%20b.mp3\""));
  window_->OpenExportDialog();
  links->setCurrentIndex(1);
  prompts_.files = {out_.filePath(u"r.htm"_qs)};
  Click(ExportWindow(), "Button1");
  EXPECT_TRUE(test::ReadBytes(out_.filePath(u"r.htm"_qs)).contains("<a href=\"Musik/a%20b.mp3\""));
}

// The text format's dialog writes CSV and JSON too; JSON tells the window's language and
// option ticks.
TEST_F(OutputWindowsTest, TheTextExportWritesCsvAndJsonWithTheWindowsLanguageAndTicks) {
  window_->State().flags.whole_path = true;
  window_->State().flags.link_files = true;
  window_->findChild<QAction*>(u"English1"_qs)->trigger();
  window_->OpenExportDialog();
  In<QCheckBox>(ExportWindow(), "CheckBox1")->click();
  prompts_.files = {out_.filePath(u"liste.json"_qs)};
  Click(ExportWindow(), "Button1");
  window_->OpenExportDialog();
  prompts_.files = {out_.filePath(u"liste.csv"_qs)};
  Click(ExportWindow(), "Button1");
  ASSERT_TRUE(prompts_.shown.isEmpty()) << prompts_.shown.join(u'\n').toStdString();

  const QJsonObject json =
      QJsonDocument::fromJson(test::ReadBytes(out_.filePath(u"liste.json"_qs))).object();
  EXPECT_EQ(json[u"language"_qs], u"en"_qs);
  EXPECT_EQ(json[u"options"_qs].toObject(), (QJsonObject{{u"details"_qs, false},
                                                         {u"wholePath"_qs, true},
                                                         {u"hideExtensions"_qs, false},
                                                         {u"link"_qs, true}}));
  EXPECT_EQ(json[u"entries"_qs].toArray().at(0)[u"name"_qs], u"Größe & <Lied>.mp3"_qs);
  EXPECT_EQ(test::ReadBytes(out_.filePath(u"liste.csv"_qs)),
            "Nr.,File\r\n1,Gr\xC3\xB6\xC3\x9F"
            "e & <Lied>.mp3\r\n");
}

// A name typed without an extension gets the one of the data format chosen in the dialog;
// every other format's name stays as typed, for the export to complete as before.
TEST_F(OutputWindowsTest, TheSaveDialogGivesTypedNamesTheChosenDataFormatsExtension) {
  DialogPrompts prompts(window_.get());
  const QString filters = u"Text-Datei (*.txt);;CSV (*.csv);;JSON (*.json)"_qs;
  auto save = [&](const QString& all, const QString& filter, const QString& typed) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      dialog->selectNameFilter(filter);
      dialog->selectFile(typed);
      static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
    });
    return prompts.SaveFileName(all, out_.path());
  };
  EXPECT_EQ(save(filters, u"CSV (*.csv)"_qs, u"liste"_qs), out_.filePath(u"liste.csv"_qs));
  EXPECT_EQ(save(filters, u"JSON (*.json)"_qs, u"liste"_qs), out_.filePath(u"liste.json"_qs));
  EXPECT_EQ(save(filters, u"JSON (*.json)"_qs, u"liste.txt"_qs), out_.filePath(u"liste.txt"_qs));
  EXPECT_EQ(save(filters, u"Text-Datei (*.txt)"_qs, u"liste"_qs), out_.filePath(u"liste"_qs));
  EXPECT_EQ(save(u"Excel-Datei (*.xls);;Excel-Datei (*.xlsx)"_qs, u"Excel-Datei (*.xlsx)"_qs,
                 u"mappe"_qs),
            out_.filePath(u"mappe"_qs));
}

TEST_F(OutputWindowsTest, StyleDialogPreviewsItsWorkingPageAndCancelKeepsTheView) {
  const QStringList view = Html();
  window_->findChild<QPushButton*>(u"Button3"_qs)->click();
  ASSERT_TRUE(StyleWindow()->isVisible());
  EXPECT_FALSE(window_->isEnabled());
  EXPECT_EQ(In<QPushButton>(StyleWindow(), "Button1")->text(), u"Übernehmen");
  EXPECT_EQ(In<QComboBox>(StyleWindow(), "ComboBox2")->itemText(3), u"Andere");
  EXPECT_EQ(In<QComboBox>(StyleWindow(), "ComboBox4")->itemText(2), u"Lucida Sans Unicode");
  const QString preview = dir_.File(u"vorschau.htm"_qs);
  EXPECT_EQ(test::ReadBytes(preview), HtmlBytes());
  EXPECT_TRUE(shell_.opened.isEmpty());  // opening writes the preview, it does not show it

  Choose("ColorBox3", 9);
  EXPECT_FALSE(In<QComboBox>(StyleWindow(), "ColorBox7")->isEnabled());
  In<QCheckBox>(StyleWindow(), "CheckBox5")->click();
  EXPECT_TRUE(In<QComboBox>(StyleWindow(), "ColorBox7")->isEnabled());
  Click(StyleWindow(), "Button2");
  ASSERT_EQ(shell_.opened, QList<QUrl>{QUrl::fromLocalFile(preview)});
  const QByteArray previewed = test::ReadBytes(preview);
  EXPECT_TRUE(previewed.contains("\r\n    color:red;\r\n"));
  EXPECT_FALSE(previewed.contains("</html>"));
  EXPECT_EQ(Html(), view);

  Click(StyleWindow(), "Button3");
  EXPECT_FALSE(StyleWindow()->isVisible());
  EXPECT_TRUE(window_->isEnabled());
  EXPECT_EQ(Html(), view);
  // The choices are back at the stored defaults for the next opening.
  window_->findChild<QPushButton*>(u"Button3"_qs)->click();
  EXPECT_EQ(In<QComboBox>(StyleWindow(), "ColorBox3")->currentIndex(), 0);
  EXPECT_FALSE(In<QCheckBox>(StyleWindow(), "CheckBox5")->isChecked());
}

TEST_F(OutputWindowsTest, CustomSizePanelTakesTwoDigitsAndApplyStoresTheDefaults) {
  window_->findChild<QPushButton*>(u"Button3"_qs)->click();
  Choose("ComboBox2", 3);
  auto* panel = In<QFrame>(StyleWindow(), "Panel1");
  EXPECT_TRUE(panel->isVisible());
  for (const char* off : {"ColorBox3", "ComboBox2", "ComboBox4", "CheckBox4", "CheckBox5",
                          "CheckBox3", "CheckBox1", "Button1", "Button2", "Button3", "Button4"}) {
    EXPECT_FALSE(In<QWidget>(StyleWindow(), off)->isEnabled()) << off;
  }
  auto* field = In<QLineEdit>(StyleWindow(), "Edit1");
  QTest::keyClicks(field, u"1a4 7"_qs);
  EXPECT_EQ(field->text(), u"14");
  EXPECT_TRUE(In<QPushButton>(StyleWindow(), "Button4")->isEnabled());
  Click(StyleWindow(), "Button4");
  EXPECT_FALSE(panel->isVisible());
  EXPECT_TRUE(In<QWidget>(StyleWindow(), "Button1")->isEnabled());

  In<QCheckBox>(StyleWindow(), "CheckBox1")->click();
  Click(StyleWindow(), "Button1");
  EXPECT_FALSE(StyleWindow()->isVisible());
  EXPECT_TRUE(window_->isEnabled());
  EXPECT_EQ(Html()[9], u"    font-size:14pt;");
  EXPECT_EQ(Html().size(), 28);  // the entry made before is still there
  EXPECT_TRUE(dir_.Options().startsWith(test::CrLf({"0", "3", "14", "0", "0"})));
}

TEST_F(OutputWindowsTest, ACancelledCustomSizeIsNeitherShownNorStored) {
  window_->findChild<QPushButton*>(u"Button3"_qs)->click();
  auto* size = In<QComboBox>(StyleWindow(), "ComboBox2");
  auto* field = In<QLineEdit>(StyleWindow(), "Edit1");
  // From "Mittel" (as shipped): the panel's "Abbrechen" goes back to the size the page shows.
  Choose("ComboBox2", 3);
  QTest::keyClicks(field, u"20"_qs);
  Click(StyleWindow(), "Button5");
  EXPECT_EQ(size->currentIndex(), 1);
  EXPECT_EQ(field->text(), QString());
  Choose("ComboBox2", 3);
  QTest::keyClicks(field, u"14"_qs);
  Click(StyleWindow(), "Button4");
  Choose("ComboBox2", 3);
  field->clear();
  QTest::keyClicks(field, u"20"_qs);
  Click(StyleWindow(), "Button5");
  EXPECT_EQ(size->currentIndex(), 3);
  EXPECT_EQ(field->text(), u"14");
  In<QCheckBox>(StyleWindow(), "CheckBox1")->click();
  Click(StyleWindow(), "Button1");
  EXPECT_EQ(Html()[9], u"    font-size:14pt;");
  EXPECT_TRUE(dir_.Options().startsWith(test::CrLf({"0", "3", "14", "0", "0"})));
}

TEST_F(OutputWindowsTest, TheBrowsableBoxPreviewsCancelsAndStoresLikeTheOtherChoices) {
  const QByteArray options = dir_.Options();
  const QString preview = dir_.File(u"vorschau.htm"_qs);
  auto open = [this] {
    window_->findChild<QPushButton*>(u"Button3"_qs)->click();
    return In<QCheckBox>(StyleWindow(), "CheckBoxBrowsable");
  };
  QCheckBox* box = open();
  EXPECT_EQ(box->text(), u"Seite mit Suchfeld und sortierbaren Spalten");
  EXPECT_FALSE(box->isChecked());
  box->click();
  Click(StyleWindow(), "Button2");
  EXPECT_TRUE(test::ReadBytes(preview).contains("<script>"));
  Click(StyleWindow(), "Button3");  // "Abbrechen": neither applied nor stored
  EXPECT_EQ(dir_.Options(), options);
  window_->findChild<QPushButton*>(u"Button4"_qs)->click();  // "Aktualisieren"
  EXPECT_EQ(test::ReadBytes(preview), HtmlBytes());
  EXPECT_FALSE(open()->isChecked());

  box->click();
  In<QCheckBox>(StyleWindow(), "CheckBox1")->click();
  Click(StyleWindow(), "Button1");
  EXPECT_EQ(dir_.Options(), options + "1\r\n");
  window_->findChild<QPushButton*>(u"Button4"_qs)->click();
  EXPECT_TRUE(test::ReadBytes(preview).contains("of: \"von\""));
  EXPECT_TRUE(test::ReadBytes(preview).contains("<meta charset=\"windows-1252\">"));
  EXPECT_TRUE(open()->isChecked());
  Click(StyleWindow(), "Button3");
}

TEST_F(OutputWindowsTest, RefreshWritesTheHtmlViewAndOpensItEachTime) {
  auto* refresh = window_->findChild<QPushButton*>(u"Button4"_qs);
  EXPECT_EQ(refresh->text(), u"Aktualisieren");
  refresh->click();
  test::AddEntry(window_->State().doc, u"zwei.mp3"_qs);
  refresh->click();
  const QUrl preview = QUrl::fromLocalFile(dir_.File(u"vorschau.htm"_qs));
  EXPECT_EQ(shell_.opened, (QList<QUrl>{preview, preview}));
  EXPECT_EQ(test::ReadBytes(dir_.File(u"vorschau.htm"_qs)), HtmlBytes());
}

TEST_F(OutputWindowsTest, DialogsFollowTheLanguage) {
  window_->findChild<QAction*>(u"English1"_qs)->trigger();
  EXPECT_EQ(In<QLabel>(ExportWindow(), "Label1")->text(), u"Save registers as :");
  EXPECT_EQ(In<QPushButton>(ExportWindow(), "Button2")->text(), u"Cancel");
  EXPECT_EQ(In<QCheckBox>(StyleWindow(), "CheckBox5")->text(), u"Backgoundcolour :");
  EXPECT_EQ(In<QComboBox>(StyleWindow(), "ComboBox2")->itemText(0), u"Big");
}

}  // namespace
}  // namespace kavoro
