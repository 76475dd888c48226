#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "core/app/AppState.h"
#include "core/listing/ListingHeaders.h"
#include "gui/MainWindow.h"
#include "support/MainWindowFixture.h"
#include "support/MediaFiles.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

// A folder of two songs, a picture and a text file, entered through the window with all files
// searched.
class MediaColumnsGuiTest : public test::MainWindowFixture {
 protected:
  MediaColumnsGuiTest() {
    dir_.SetOptionLine(9, "0");   // no message when nothing is found
    dir_.SetOptionLine(15, "0");  // no time and count message
  }
  void MakeFiles() {
    test::Tone(File("a.wav"), 1.0);
    test::Tag(File("a.wav"), "Bach", "Air", "Suite");
    test::Tone(File("b.flac"), 3.0);
    test::Tag(File("b.flac"), "Ärzte", "Westerland", "Das Beste");
    test::RunTool(u"convert"_qs, {u"-size"_qs, u"30x20"_qs, u"xc:red"_qs, File("c.png")});
    test::WriteBytes(File("d.txt"), "text");
  }
  QString File(const char* name) const { return files_.filePath(QLatin1String(name)); }
  void OpenSearchingAllFiles() {
    Open();
    Action("NachallenDateiensuchen1")->trigger();
  }
  // The options panel with these two ticks set, saved.
  void SaveOptions(bool details, bool media) {
    Action("Optionen1")->trigger();
    Find<QCheckBox>("versuch1")->setChecked(details);
    Find<QCheckBox>("CheckBoxMedien")->setChecked(media);
    Find<QPushButton>("Button7")->click();
  }
  void EnterFolder() {
    auto* tree = Find<QTreeView>("ShellTreeView1");
    tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(files_.path()));
    Find<QPushButton>("Button1")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window_->Entering(), 20000);
  }
  const ListingDocument& Doc() { return window_->State().doc; }
  // The grid's column of `column`, header first.
  QStringList Column(ListingData::ColumnId column) {
    return Doc().Column(Doc().ShownColumn(column));
  }
  // The grid's cell of `column` in the row of the file `name`.
  QString CellOf(const char* name, ListingData::ColumnId column) {
    const qsizetype row = Column(ListingData::kName).indexOf(QLatin1String(name));
    return row < 0 ? u"(no row)"_qs : Column(column).value(row);
  }
  void ClickSort(const char* button) {
    auto* radio = Find<QRadioButton>(button);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
  }

  QTemporaryDir files_;
};

TEST_F(MediaColumnsGuiTest, TheMediaTickIsLine26WrittenOnlyOnceTicked) {
  Open();
  const qsizetype shipped_lines = OptionLines().size();
  auto* box = Find<QCheckBox>("CheckBoxMedien");
  EXPECT_FALSE(box->isChecked());  // a file without line 26 reads as off
  SaveOptions(false, false);
  EXPECT_EQ(OptionLines().size(), shipped_lines);  // still without the line

  // The caption beside the box ticks it too.
  Action("Optionen1")->trigger();
  auto* caption = Find<QLabel>("LabelMedien");
  QTest::mouseClick(caption, Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_TRUE(box->isChecked());
  Find<QPushButton>("Button7")->click();
  ASSERT_GT(OptionLines().size(), 26);
  EXPECT_EQ(OptionLines()[26], "1\r");
  EXPECT_TRUE(window_->State().flags.media);
  EXPECT_EQ(Doc().ColumnCount(), 8);  // number, name and the six media columns

  window_.reset();
  Open();
  EXPECT_TRUE(Find<QCheckBox>("CheckBoxMedien")->isChecked());
  SaveOptions(false, false);
  EXPECT_EQ(OptionLines()[26], "0\r");  // kept from then on
  EXPECT_FALSE(window_->State().flags.media);
}

TEST_F(MediaColumnsGuiTest, EnteringWithMediaFillsTheElevenColumnsAndSortsByDuration) {
  MakeFiles();
  OpenSearchingAllFiles();
  EXPECT_FALSE(Find<QRadioButton>("RadioButtonDauer")->isEnabled());
  EXPECT_FALSE(Find<QRadioButton>("RadioButtonAufnahme")->isEnabled());
  SaveOptions(true, true);
  EnterFolder();
  ASSERT_EQ(Find<QTableView>("StringGrid1")->model()->columnCount(), 11);
  EXPECT_EQ(Column(ListingData::kName).mid(1),
            (QStringList{u"a.wav"_qs, u"b.flac"_qs, u"c.png"_qs, u"d.txt"_qs}));
  EXPECT_EQ(CellOf("a.wav", ListingData::kDuration), u"0:01"_qs);
  EXPECT_EQ(CellOf("b.flac", ListingData::kDuration), u"0:03"_qs);
  EXPECT_EQ(CellOf("b.flac", ListingData::kArtist), u"Ärzte"_qs);
  EXPECT_EQ(CellOf("b.flac", ListingData::kAlbum), u"Das Beste"_qs);
  EXPECT_EQ(CellOf("c.png", ListingData::kPixels), QString::fromUtf8("30 \u00D7 20"));
  EXPECT_EQ(CellOf("d.txt", ListingData::kArtist), QString());
  EXPECT_EQ(CellOf("c.png", ListingData::kSize), Column(ListingData::kSize).value(3));
  // The text and HTML views carry the media cells too.
  EXPECT_TRUE(Doc().Text().At(2).contains(u"Westerland"_qs));
  EXPECT_TRUE(Doc().Html().ToStringList().join(u'\n').contains(u"Westerland"_qs));

  auto* by_duration = Find<QRadioButton>("RadioButtonDauer");
  ASSERT_TRUE(by_duration->isEnabled());
  EXPECT_EQ(by_duration->toolTip(), u"Absteigend sortieren"_qs);
  ClickSort("RadioButtonDauer");
  QStringList names = Column(ListingData::kName);
  EXPECT_LT(names.indexOf(u"b.flac"_qs), names.indexOf(u"a.wav"_qs));  // longest first
  EXPECT_EQ(window_->State().grid_tools.sort_choice, 6);
  ClickSort("RadioButtonDauer");
  names = Column(ListingData::kName);
  EXPECT_GT(names.indexOf(u"b.flac"_qs), names.indexOf(u"a.wav"_qs));

  // Without the media columns the choice falls back to "Nr." and the row is disabled.
  prompts_.answers.push_back(true);  // yes, discard the entries
  Action("Neu1")->trigger();
  SaveOptions(true, false);
  EXPECT_FALSE(by_duration->isEnabled());
  EXPECT_FALSE(by_duration->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("RadioButton1")->isChecked());
}

TEST_F(MediaColumnsGuiTest, WithTheTickOffTheListingIsAsEnteringMadeItWithoutMedia) {
  MakeFiles();
  OpenSearchingAllFiles();
  SaveOptions(true, false);
  EnterFolder();

  // The same folder entered by the core calls alone, as before there were media columns.
  AppState& s = window_->State();
  ListingDocument expected;
  StyleDialogState style;
  QStringList page;
  BuildStartListing(expected, s.options, style, page, ColumnForm(true), s.language);
  const EntryOptions options{.details = true};
  FoundFiles found;
  ASSERT_TRUE(CollectEntries(files_.path(), false, s.selection, options, found));
  EntryTexts texts;
  AppendEntries(expected, found, options, texts);
  EXPECT_EQ(Doc().Text().ToStringList(), expected.Text().ToStringList());
  EXPECT_EQ(Doc().Html().ToStringList(), expected.Html().ToStringList());
  EXPECT_EQ(Doc().ColumnCount(), 5);
}

TEST_F(MediaColumnsGuiTest, EscapeWhileTheMediaAreReadLeavesTheListingAsItWas) {
  MakeFiles();
  OpenSearchingAllFiles();
  SaveOptions(false, true);
  EnterFolder();
  const QStringList text = Doc().Text().ToStringList();
  const QStringList html = Doc().Html().ToStringList();
  // Enough pictures that reading them takes a while.
  const QByteArray picture = test::ReadBytes(File("c.png"));
  QDir().mkpath(File("many"));
  for (int i = 0; i < 20000; ++i) {
    test::WriteBytes(files_.filePath(u"many/%1.png"_qs.arg(i)), picture);
  }
  auto* tree = Find<QTreeView>("ShellTreeView1");
  tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(File("many")));
  window_->activateWindow();  // the Escape shortcut needs an active window
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  auto* bar = Find<QProgressBar>("ProgressBar1");
  Find<QPushButton>("Button1")->click();
  QTRY_VERIFY_WITH_TIMEOUT(bar->text().startsWith(u"Medien-Infos: "_qs), 10000);
  EXPECT_TRUE(bar->text().endsWith(u" von 20.000 Dateien ... Esc bricht ab"_qs))
      << bar->text().toStdString();
  QTest::keyClick(window_.get(), Qt::Key_Escape);
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Entering(), 10000);
  EXPECT_EQ(bar->text(), u"Suche abgebrochen"_qs);
  EXPECT_EQ(Doc().EntryCounter(), 4);
  EXPECT_EQ(Doc().Text().ToStringList(), text);
  EXPECT_EQ(Doc().Html().ToStringList(), html);
  EXPECT_EQ(Doc().RowCount(), 5);
}

TEST_F(MediaColumnsGuiTest, TheLanguageSwitchRelabelsTheMediaHeadersAndButtons) {
  MakeFiles();
  OpenSearchingAllFiles();
  SaveOptions(false, true);
  EnterFolder();
  const auto headers = [this] {
    QStringList cells;
    for (int c = 0; c < Doc().ColumnCount(); ++c) cells << Doc().Cell(c, 0);
    return cells;
  };
  Action("English1")->trigger();
  EXPECT_EQ(headers(),
            HeadersFor(UiLanguage::English, ColumnForm(false, true), UmlautForm::Plain).grid_cells);
  EXPECT_EQ(headers().last(), u"Taken"_qs);
  EXPECT_EQ(Find<QRadioButton>("RadioButtonPixel")->text(), u"Pixels"_qs);
  EXPECT_TRUE(Find<QLabel>("LabelMedien")->text().startsWith(u"Also show media details"_qs));
  EXPECT_EQ(CellOf("b.flac", ListingData::kArtist), u"Ärzte"_qs);  // the cells stay
  Action("Deutsch1")->trigger();
  EXPECT_EQ(headers().mid(2), (QStringList{u"Dauer"_qs, u"Interpret"_qs, u"Titel"_qs, u"Album"_qs,
                                           u"Pixel"_qs, u"Aufnahme"_qs}));
  EXPECT_EQ(Find<QRadioButton>("RadioButtonAufnahme")->text(), u"Aufnahme"_qs);
}

}  // namespace
}  // namespace kavoro
