#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include "gui/CatalogEditor.h"
#include "gui/DialogPrompts.h"
#include "gui/MainWindow.h"
#include "support/FindNamed.h"
#include "support/MainWindowFixture.h"
#include "support/Printers.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

// Names are data: markup, "&" and line breaks in them are shown as they are.
class ShownTextsTest : public test::MainWindowFixture {
 protected:
  ShownTextsTest() {
    test::WriteBytes(dir_.File(u"endungen.ini"_qs),
                     (QString(u"Rock & <b>Pop</b>\r\n.a&b\r\n.[*]\r\n"_qs)).toUtf8());
  }
  // The text a menu entry or button shows: "&&" is one ampersand, a lone "&" marks a key.
  static QString Shown(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
      if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
      shown += caption[i];
    }
    return shown;
  }
  // The message box that `ask` shows: its format and its text as the label shows it.
  template <typename Ask>
  std::pair<Qt::TextFormat, QString> ShownBox(Ask ask) {
    std::pair<Qt::TextFormat, QString> seen{Qt::AutoText, QString()};
    QTimer::singleShot(0, [&seen] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_qs);
      seen = {label->textFormat(), label->text()};
      box->close();
    });
    ask();
    return seen;
  }
};

TEST_F(ShownTextsTest, MessagesShowNamesAsPlainTextWithTheirLineBreaks) {
  MainWindow& w = Open();
  DialogPrompts prompts(&w);
  const QString question =
      u"Die Datei : \"<font color=#efefef>Diplomarbeit.doc<font color=black>leer.txt\" wirklich "
      u"löschen?\nAchtung ! Kann nicht wieder hergestellt werden !"_qs;
  auto [format, text] = ShownBox([&] { return prompts.Ask(question); });
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(text, question);
  std::tie(format, text) = ShownBox([&] { prompts.Inform(u"<b>bold.mp3\n<img src=x>"_qs); });
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(text, u"<b>bold.mp3\n<img src=x>"_qs);
  std::tie(format, text) = ShownBox([&] { prompts.Error(u"<i>/tmp/a</i>"_qs); });
  EXPECT_EQ(format, Qt::PlainText);
}

// A message line with an address is not broken after its "https://"; a prompt is wide enough
// for its title bar to show its whole title.
TEST_F(ShownTextsTest, MessagesKeepTheirLinesWholeAndPromptsTheirTitles) {
  MainWindow& w = Open();
  DialogPrompts prompts(&w);
  const QString message = StartupMessage(StartupCheck::UnusableCatalog);
  int shown_width = 0;
  int needed = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_qs);
    shown_width = label->contentsRect().width();
    for (const QString& line : message.split(u'\n')) {
      needed = std::max(needed, label->fontMetrics().horizontalAdvance(line));
    }
    box->close();
  });
  prompts.Inform(message);
  EXPECT_GE(shown_width, needed);
  EXPECT_GT(needed, 0);

  QApplication::setApplicationDisplayName(u"Kavoro 2.2"_qs);
  const QString caption = u"Ordner umbenennen"_qs;
  int prompt_width = 0;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    prompt_width = dialog->width();
    dialog->close();
  });
  prompts.Text(caption, u"Neuer Name :"_qs, u"a"_qs);
  EXPECT_GT(prompt_width, w.fontMetrics().horizontalAdvance(caption + u" — Kavoro 2.2"_qs) + 100);
}

TEST_F(ShownTextsTest, MenusAndCaptionsShowCategoriesAndExtensionsAsTheyAre) {
  MainWindow& w = Open();
  QStringList shown;
  QAction* amp = nullptr;
  for (QAction* a : Find<QMenu>("Dateiarten1")->actions()) {
    if (!a->menu()) continue;
    shown.append(Shown(a->text()));
    for (QAction* e : a->menu()->actions()) {
      shown.append(Shown(e->text()));
      if (Shown(e->text()) == u".a&b"_qs) amp = e;
    }
  }
  EXPECT_EQ(shown, (QStringList{u"Rock & <b>Pop</b>"_qs, u".a&b"_qs, u".[*]"_qs}));
  ASSERT_NE(amp, nullptr);
  amp->trigger();
  auto* info = Find<QCheckBox>("InfozeigefalskeineMp3DateinenimOrdnersind1");
  EXPECT_EQ(Shown(info->text()), u"wenn keine *.a&b - Dateien im Ordner sind"_qs);
  EXPECT_EQ(w.windowHandle()->title(), u"Suchen nach : *.a&b - Dateien"_qs);
  for (QAction* a : Find<QMenu>("Dateiarten1")->actions()) {
    if (!a->menu()) continue;
    for (QAction* e : a->menu()->actions()) {
      if (Shown(e->text()) == u".[*]"_qs) e->trigger();
    }
  }
  EXPECT_EQ(w.windowHandle()->title(), u"Suchen nach : *.[*] - Dateien"_qs);
}

TEST_F(ShownTextsTest, FolderMenuNamesAFolderWithAnAmpersand) {
  QTemporaryDir files;
  const QString folder = files.path() + u"/Bach & Söhne"_qs;
  QDir().mkpath(folder);
  Open();
  auto* tree = Find<QTreeView>("ShellTreeView1");
  tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(folder));
  emit tree->customContextMenuRequested(QPoint(2, 2));
  Find<QMenu>("PopupMenu1")->hide();
  EXPECT_EQ(Shown(Find<QAction>("Verzeinisanlegen1")->text()),
            u"Alle Unterordner von : \"Bach & Söhne\" öffnen"_qs);
}

// Long user texts: elided in menus and lists (the whole text in a tooltip), wrapped in messages.
class LongTextsTest : public ShownTextsTest {
 protected:
  LongTextsTest() {
    category_ = QString(300, u'K') + u" <b>"_qs;
    extension_ = u"."_qs + QString(300, u'e');
    test::WriteBytes(dir_.File(u"endungen.ini"_qs),
                     (category_ + u"\r\n"_qs + extension_ + u"\r\nMusik\r\n.mp3\r\n"_qs).toUtf8());
  }
  // The text a tooltip shows, without the line breaks that let it wrap.
  static QString ShownTip(const QString& tip) {
    return QTextDocumentFragment::fromHtml(tip).toPlainText().remove(u'\n');
  }
  static constexpr int kNarrow = 420;  // far below the 1,280 pixels of a 300-character name

  QString category_;
  QString extension_;
};

TEST_F(LongTextsTest, MenusElideLongNamesAndShowThemWholeInATooltip) {
  Open();
  for (const char* name : {"Dateiarten1", "Suchennach1", "Suchennach2"}) {
    auto* menu = Find<QMenu>(name);
    EXPECT_LE(menu->sizeHint().width(), kNarrow) << name;
    EXPECT_TRUE(menu->toolTipsVisible()) << name;
    QMenu* category = nullptr;
    for (QAction* a : menu->actions()) {
      if (a->menu() && ShownTip(a->toolTip()) == category_) category = a->menu();
    }
    ASSERT_NE(category, nullptr) << name;
    EXPECT_LE(category->sizeHint().width(), kNarrow) << name;
    EXPECT_TRUE(category->toolTipsVisible());
    ASSERT_EQ(category->actions().size(), 1);
    EXPECT_EQ(ShownTip(category->actions()[0]->toolTip()), extension_);
  }
}

TEST_F(LongTextsTest, CatalogEditorListsElideLongNamesAndShowThemWholeInATooltip) {
  MainWindow& w = Open();
  Find<QAction>("Oberverzeichnishinzufgenlschen1")->trigger();
  QWidget* editor = w.Editor();
  auto check = [&](const char* name, const QString& whole) {
    auto* box = editor->findChild<QComboBox*>(QLatin1String(name));
    ASSERT_NE(box, nullptr) << name;
    EXPECT_EQ(ShownTip(box->itemData(0, Qt::ToolTipRole).toString()), whole) << name;
    box->showPopup();
    EXPECT_LE(box->view()->window()->width(), kNarrow) << name;
    box->hidePopup();
  };
  check("ComboBox2", category_);
  editor->close();
  Find<QAction>("Dateiartenhinzufgenlschen1")->trigger();
  check("ComboBox1", category_);
  check("ComboBox4", category_);
  check("ComboBox3", extension_);
  editor->close();
}

TEST_F(LongTextsTest, MessagesWrapALongFindTextAndKeepItWhole) {
  MainWindow& w = Open();
  DialogPrompts prompts(&w);
  const QString question = u"\""_qs + QString(2000, u'x') +
                           u"\" wurde leider nicht gefunden\nSoll noch einmal vom Anfang gesucht "
                           u"werden ?"_qs;
  int box_width = 0;
  QString shown;
  QStringList cut_off;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    box_width = box->width();
    const QLabel* label = box->findChild<QLabel*>(u"qt_msgbox_label"_qs);
    shown = label->text();
    // Every line fits the label: a word too long for it would be cut off.
    for (const QString& line : shown.split(u'\n')) {
      if (label->fontMetrics().horizontalAdvance(line) > label->width()) cut_off.append(line);
    }
    box->close();
  });
  prompts.Ask(question);
  EXPECT_LE(box_width, w.screen()->availableGeometry().width());
  EXPECT_GT(box_width, 0);
  EXPECT_EQ(cut_off.size(), 0) << cut_off.value(0).left(60).toStdString();
  // Only line breaks were added, and only inside the long word.
  EXPECT_EQ(QString(shown).remove(u'\n'), QString(question).remove(u'\n'));
  EXPECT_TRUE(shown.endsWith(u"\nSoll noch einmal vom Anfang gesucht werden ?"_qs));
}

}  // namespace
}  // namespace kavoro
