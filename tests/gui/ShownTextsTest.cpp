#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include "gui/MainWindow.h"
#include "gui/Prompts.h"
#include "support/Printers.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

// Names are data: markup, "&" and line breaks in them are shown as they are.
class ShownTextsTest : public ::testing::Test {
 protected:
  ShownTextsTest() {
    test::WriteBytes(dir_.File(u"endungen.ini"_qs),
                     (QString(u"Rock & <b>Pop</b>\r\n.a&b\r\n.[*]\r\n"_qs)).toUtf8());
  }
  MainWindow& Open() {
    window_ = std::make_unique<MainWindow>(dir_.Path(), &prompts_);
    EXPECT_TRUE(window_->StartupOk());
    window_->ApplyOptions();
    window_->show();
    return *window_;
  }
  template <typename T = QObject>
  T* Find(const char* name) {
    auto* found = window_->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
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

  test::ProgramDir dir_;
  test::ScriptedPrompts prompts_;
  std::unique_ptr<MainWindow> window_;
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

}  // namespace
}  // namespace kavoro
