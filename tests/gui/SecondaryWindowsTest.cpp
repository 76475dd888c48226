#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <functional>

#include "gui/CatalogEditor.h"
#include "gui/CatalogWindow.h"
#include "gui/DialogPrompts.h"
#include "gui/ExitQuestion.h"
#include "gui/ExportDialog.h"
#include "gui/FindWindow.h"
#include "gui/MainWindow.h"
#include "gui/StyleDialog.h"
#include "support/Entries.h"
#include "support/FindNamed.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class SecondaryWindowsTest : public test::MainWindowFixture {
 protected:
  SecondaryWindowsTest() {
    dir_.SetOptionLine(24, "0");  // the find window starts with its question
    Open();
  }
  // The main window is usable again: enabled and not held by a modal window.
  bool MainUsable() const {
    return window_->isEnabled() && !QApplication::activeModalWidget() &&
           window_->menuBar()->isEnabled();
  }

  struct Opener {
    const char* name;
    std::function<QWidget*()> open;
  };
  void CheckEverywhere(std::string (*check)(const QWidget*));
  // Every window that the main window opens over itself, with the command that opens it.
  std::vector<Opener> Openers() {
    return {
        {"TForm4",
         [this] {
           Action("Info2")->trigger();
           return TopLevel("TForm4");
         }},
        {"TForm7",
         [this] {
           Action("InfoszudenVersionen1")->trigger();
           return TopLevel("TForm7");
         }},
        {"TForm2",
         [this] {
           Find<QPushButton>("Button6")->click();
           return TopLevel("TForm2");
         }},
        {"TForm3",
         [this] {
           Find<QPushButton>("Button3")->click();
           return TopLevel("TForm3");
         }},
        {"TForm8 question",
         [this] {
           window_->State().flags.ask_search_start = true;
           dir_.SetOptionLine(24, "0");
           Action("Suchen1")->trigger();
           return TopLevel("TForm8");
         }},
        {"TForm8 search",
         [this] {
           dir_.SetOptionLine(24, "1");
           Action("Suchen1")->trigger();
           return TopLevel("TForm8");
         }},
        {"TForm5",
         [this] {
           Action("Oberverzeichnishinzufgenlschen1")->trigger();
           return TopLevel("TForm5");
         }},
        {"TForm6",
         [this] {
           window_->State().doc.SetListingModified(true);
           window_->close();
           return TopLevel("TForm6");
         }},
        {"TForm9",
         [this] {
           Action("Katalogdurchsuchen1")->trigger();
           auto* catalogue = qobject_cast<CatalogWindow*>(TopLevel("TForm9"));
           // Escape stops the indexing while it runs; then it closes the window.
           if (catalogue) {
             EXPECT_TRUE(QTest::qWaitFor([&] { return !catalogue->Busy(); }));
           }
           return catalogue;
         }},
        {"TForm10",
         [this] {
           Action("MitOrdnervergleichen1")->trigger();
           return TopLevel("TForm10");
         }},
        {"PropertiesWindow",
         [this] {
           auto* tree = Find<QTreeView>("ShellTreeView1");
           tree->setCurrentIndex(
               static_cast<QFileSystemModel*>(tree->model())->index(files_.path()));
           emit tree->customContextMenuRequested(QPoint(2, 2));
           Find<QMenu>("PopupMenu1")->hide();
           Action("Ordnereigenschaften1")->trigger();
           return TopLevel("PropertiesWindow");
         }},
    };
  }

  QTemporaryDir files_;
};

// Every pair of visible sibling controls under `root` whose areas overlap, as "a / b". Qt's
// own parts of a control (scroll bars, tab bars, viewports) are not compared, only looked into.
std::string OverlappingControls(const QWidget* root) {
  QStringList found;
  auto name = [](const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
  };
  std::function<void(const QWidget*)> check = [&](const QWidget* parent) {
    QList<const QWidget*> controls;
    for (const QObject* child : parent->children()) {
      const auto* w = qobject_cast<const QWidget*>(child);
      if (!w || w->isWindow() || !w->isVisibleTo(root)) continue;
      check(w);
      if (!w->objectName().startsWith(u"qt_"_qs)) controls.append(w);
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
      for (qsizetype j = i + 1; j < controls.size(); ++j) {
        if (controls[i]->geometry().intersects(controls[j]->geometry())) {
          found.append(name(parent) + u": "_qs + name(controls[i]) + u" / "_qs + name(controls[j]));
        }
      }
    }
  };
  check(root);
  return found.join(u"; "_qs).toStdString();
}

// Every caption under `root` that its control cannot show whole, as "object: text": labels,
// check boxes, radio buttons, buttons, group titles and tabs, measured with the control's font
// against the room its style gives the text. A control that runs past its group counts too.
std::string ClippedCaptions(const QWidget* root) {
  constexpr int kTabTextMargin = 6;  // the text does not touch the tab's borders
  QStringList found;
  auto add = [&](const QWidget* w, const QString& text) {
    found.append(w->objectName() + u": "_qs + text);
  };
  for (const QWidget* w : root->findChildren<QWidget*>()) {
    if (w->isWindow() || !w->isVisibleTo(root) || w->window() != root->window()) continue;
    const QFontMetrics fm = w->fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
      if (label->text().isEmpty()) continue;
      const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                          : label->sizeHint().width() <= label->width();
      if (!fits) add(w, label->text());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
      if (button->text().isEmpty()) continue;
      QStyleOptionButton option;
      option.initFrom(button);
      option.text = button->text();
      const auto element = qobject_cast<const QCheckBox*>(w)      ? QStyle::SE_CheckBoxContents
                           : qobject_cast<const QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                                  : QStyle::SE_PushButtonContents;
      const QRect room = w->style()->subElementRect(element, &option, w);
      const int needed = fm.horizontalAdvance(QString(button->text()).remove(u'&'));
      if (needed > room.width() || room.right() >= w->width()) add(w, button->text());
    } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
      if (group->minimumSizeHint().width() > group->width()) add(w, group->title());
    } else if (const auto* bar = qobject_cast<const QTabBar*>(w)) {
      // Tab captions carry blanks for spacing; the text itself must show within the bar.
      for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i) & bar->rect();
        if (fm.horizontalAdvance(bar->tabText(i).trimmed()) + kTabTextMargin > tab.width()) {
          add(w->parentWidget(), bar->tabText(i).trimmed());
        }
      }
    }
    const QWidget* parent = w->parentWidget();
    if (qobject_cast<const QGroupBox*>(parent) && !parent->rect().contains(w->geometry())) {
      add(w, u"past "_qs + parent->objectName());
    }
  }
  return found.join(u"; "_qs).toStdString();
}

// `check` on every page of the window's tab controls.
std::string OnEveryPage(QWidget* window, std::string (*check)(const QWidget*)) {
  const QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
  qsizetype pages = 1;
  for (const QTabWidget* t : tabs) pages = std::max<qsizetype>(pages, t->count());
  std::string found;
  for (int page = 0; page < pages; ++page) {
    for (QTabWidget* t : tabs) t->setCurrentIndex(std::min(page, t->count() - 1));
    const std::string on_page = check(window);
    if (!on_page.empty()) found += "page " + std::to_string(page) + ": " + on_page + "; ";
  }
  for (QTabWidget* t : tabs) t->setCurrentIndex(0);
  return found;
}

// Every caption of `window`'s form in the language tables that its control does not show, as
// "object: shown text".
std::string CaptionsNotIn(const QWidget* window, UiLanguage language) {
  QStringList wrong;
  for (const Caption& c : CaptionTable()) {
    if (window->objectName() != QLatin1String(c.form)) continue;
    const QString name = QLatin1String(c.object);
    const QObject* o = name == window->objectName() ? window : window->findChild<QObject*>(name);
    if (!o) continue;  // a control this program leaves out
    QString shown;
    if (const auto* tabs = qobject_cast<const QTabWidget*>(o)) {
      shown = tabs->tabText(c.index);
    } else if (const auto* combo = qobject_cast<const QComboBox*>(o)) {
      shown = combo->itemText(c.index);
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(o)) {
      shown = button->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(o)) {
      shown = label->text();
    } else if (const auto* group = qobject_cast<const QGroupBox*>(o)) {
      shown = group->title();
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(o)) {
      for (const QLabel* l : edit->parentWidget()->findChildren<QLabel*>()) {
        if (l->buddy() == edit) shown = l->text();
      }
    } else if (const auto* w = qobject_cast<const QWidget*>(o)) {
      shown = w->windowTitle();
    }
    if (shown != (language == UiLanguage::German ? c.german : c.english)) {
      wrong.append(name + u": "_qs + shown);
    }
  }
  return wrong.join(u"; "_qs).toStdString();
}

// The window manager's close button and Alt+F4 reach the window as a close of its platform
// window.
void CloseFromOutside(QWidget* window) {
  QCloseEvent close;
  QApplication::sendEvent(window->windowHandle(), &close);
}

TEST_F(SecondaryWindowsTest, EveryWindowGivesTheMainWindowBackHoweverItIsClosed) {
  const std::pair<const char*, std::function<void(QWidget*)>> ways[] = {
      {"close()", [](QWidget* w) { w->close(); }},
      {"window manager", CloseFromOutside},
      {"Escape", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }},
      {"Escape in a control",
       [](QWidget* w) {
         QWidget* focus = w->focusWidget() ? w->focusWidget() : w;
         QTest::keyClick(focus, Qt::Key_Escape);
       }},
  };
  for (const Opener& opener : Openers()) {
    for (const auto& [way, close] : ways) {
      SCOPED_TRACE(std::string(opener.name) + " by " + way);
      QWidget* window = opener.open();
      ASSERT_NE(window, nullptr);
      // As on a desktop, the window in front has the keyboard.
      window->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(window));
      close(window);
      EXPECT_EQ(TopLevel(opener.name), nullptr);
      EXPECT_TRUE(MainUsable());
      EXPECT_TRUE(window_->isVisible());
    }
  }
}

TEST_F(SecondaryWindowsTest, EveryWindowIsOwnedByTheMainWindow) {
  for (const Opener& opener : Openers()) {
    SCOPED_TRACE(opener.name);
    QWidget* window = opener.open();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->windowHandle(), nullptr);
    // Transient for the main window: the window manager keeps it above the main window.
    EXPECT_EQ(window->windowHandle()->transientParent(), window_->windowHandle());
    window->close();
  }
}

TEST_F(SecondaryWindowsTest, EveryWindowIsPlacedWhollyOnTheScreenOfTheMainWindow) {
  const QRect screen = window_->screen()->availableGeometry();
  // At the left edge and in the bottom right corner (partly off the screen, as a window
  // manager allows).
  for (const QPoint corner : {screen.topLeft(), screen.bottomRight() - QPoint(300, 200)}) {
    window_->move(corner);
    for (const Opener& opener : Openers()) {
      SCOPED_TRACE(std::string(opener.name) + " at " + std::to_string(corner.x()));
      QWidget* window = opener.open();
      ASSERT_NE(window, nullptr);
      EXPECT_TRUE(screen.contains(window->frameGeometry()))
          << window->frameGeometry().x() << "," << window->frameGeometry().y();
      window->close();
    }
  }
}

// `check` in both languages on the main window (at its minimum size and a large one), on its
// panels and on every window it opens.
void SecondaryWindowsTest::CheckEverywhere(std::string (*check)(const QWidget*)) {
  for (const char* language : {"Deutsch1", "English1"}) {
    Action(language)->trigger();
    for (const QSize size : {QSize(702, 480), QSize(1100, 800)}) {
      window_->resize(size);
      EXPECT_EQ(OnEveryPage(window_.get(), check), "") << language << size.width();
    }
    // The panels inside the main window and the size panel of the style dialog.
    for (const char* opener :
         {"Optionen1", "NachmehrerenDateiartensuchen1", "MehrereOrdnerdurchsuchen2"}) {
      Action(opener)->trigger();
    }
    for (const char* panel : {"GroupBox1", "GroupBox3", "GroupBox5"}) {
      const QWidget* shown = Find<QWidget>(panel);
      ASSERT_TRUE(shown->isVisible()) << panel;
      EXPECT_EQ(check(shown), "") << language;
    }
    for (const char* cancel : {"Button12", "Button15", "Button19"}) {
      Find<QPushButton>(cancel)->click();
    }
    for (const Opener& opener : Openers()) {
      QWidget* window = opener.open();
      ASSERT_NE(window, nullptr) << opener.name;
      EXPECT_EQ(OnEveryPage(window, check), "") << language << " " << opener.name;
      window->close();
    }
    Action("Dateiartenhinzufgenlschen1")->trigger();
    EXPECT_EQ(OnEveryPage(TopLevel("TForm5"), check), "") << language;
    TopLevel("TForm5")->close();
  }
}

TEST_F(SecondaryWindowsTest, NoControlCoversAnotherInEitherLanguage) {
  CheckEverywhere(OverlappingControls);
}

TEST_F(SecondaryWindowsTest, EveryCaptionFitsItsControlInEitherLanguage) {
  CheckEverywhere(ClippedCaptions);
}

TEST_F(SecondaryWindowsTest, OpenWindowsTakeTheirTextsFromTheTablesOnEverySwitch) {
  // A hit in the grid leaves the main window usable with the find window open.
  test::AddEntry(window_->State().doc, u"a.mp3"_qs);
  Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(1);
  dir_.SetOptionLine(24, "1");
  Action("Suchen1")->trigger();
  QWidget* find = TopLevel("TForm8");
  ASSERT_NE(find, nullptr);
  QTest::keyClicks(find->findChild<QLineEdit*>(u"LabeledEdit1"_qs), u"a.mp3"_qs);
  find->findChild<QPushButton*>(u"Button14"_qs)->click();
  ASSERT_TRUE(window_->isEnabled());
  QWidget* properties = Openers().back().open();
  ASSERT_NE(properties, nullptr);
  for (const UiLanguage language : {UiLanguage::English, UiLanguage::German, UiLanguage::English}) {
    const bool german = language == UiLanguage::German;
    SCOPED_TRACE(german ? "Deutsch" : "English");
    Action(german ? "Deutsch1" : "English1")->trigger();
    EXPECT_EQ(CaptionsNotIn(find, language), "");
    EXPECT_EQ(properties->windowTitle(), CaptionText("TForm1", "Eigenschaften1", language));
    int labels = 0;
    for (const QLabel* label : properties->findChildren<QLabel*>()) {
      if (!label->text().endsWith(u" :"_qs)) continue;
      ++labels;
      EXPECT_TRUE(MessageSlotsFor(language).propertyLabels.contains(label->text()))
          << label->text().toStdString();
    }
    EXPECT_GE(labels, 5);
  }
  // A window opened after the switches shows the same texts.
  find->close();
  Action("Suchen1")->trigger();
  EXPECT_EQ(CaptionsNotIn(TopLevel("TForm8"), UiLanguage::English), "");
}

TEST_F(SecondaryWindowsTest, ExitQuestionAnswersWhileAnotherWindowHoldsTheMainWindow) {
  Action("Info2")->trigger();
  ASSERT_FALSE(window_->isEnabled());
  window_->State().doc.SetListingModified(true);
  window_->close();  // the window manager's close button of the grey main window
  QWidget* question = TopLevel("TForm6");
  ASSERT_NE(question, nullptr);
  auto* cancel = question->findChild<QPushButton*>(u"Button3"_qs);
  EXPECT_TRUE(cancel->isEnabled());
  cancel->click();
  QWidget* about = TopLevel("TForm4");
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isEnabled());
  about->close();
  EXPECT_TRUE(MainUsable());
}

// Runs `ask` while `close` leaves the prompt it shows; a prompt that does not go away is hidden
// after two seconds, so that the test cannot hang on it.
template <typename Ask>
auto AnswerByClosing(const std::function<void(QWidget*)>& close, Ask ask) {
  QTimer::singleShot(0, [close] {
    if (QWidget* prompt = QApplication::activeModalWidget()) close(prompt);
  });
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (QWidget* prompt = QApplication::activeModalWidget()) {
      ADD_FAILURE() << "the prompt stayed open";
      prompt->hide();
    }
  });
  guard.start(2000);
  return ask();
}

TEST_F(SecondaryWindowsTest, PromptsClosedFromOutsideAnswerNoOrCancelAndGiveTheWindowBack) {
  DialogPrompts prompts(window_.get());
  const std::function<void(QWidget*)> ways[] = {
      [](QWidget* w) { w->close(); }, CloseFromOutside,
      [](QWidget* w) { QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Escape); }};
  for (const auto& close : ways) {
    EXPECT_FALSE(AnswerByClosing(close, [&] { return prompts.Ask(u"Weiter ?"_qs); }));
    EXPECT_TRUE(MainUsable());
    AnswerByClosing(close, [&] {
      prompts.Inform(u"Fertig"_qs);
      return true;
    });
    EXPECT_TRUE(MainUsable());
    EXPECT_EQ(
        AnswerByClosing(
            close,
            [&] { return prompts.Text(u"Ordner umbenennen"_qs, u"Neuer Name :"_qs, u"a"_qs); }),
        std::nullopt);
    EXPECT_TRUE(MainUsable());
  }
}

TEST_F(SecondaryWindowsTest, PromptsBelongToTheWindowInFront) {
  DialogPrompts prompts(window_.get());
  const QWindow* owner = nullptr;
  auto ask = [&] {
    return AnswerByClosing(
        [&](QWidget* prompt) {
          owner = prompt->windowHandle()->transientParent();
          prompt->close();
        },
        [&] { return prompts.Ask(u"Weiter ?"_qs); });
  };
  ask();
  EXPECT_EQ(owner, window_->windowHandle());
  // Over the export dialog (a failed export, say) the message stays above the dialog.
  Find<QPushButton>("Button6")->click();
  QWidget* export_dialog = TopLevel("TForm2");
  ASSERT_NE(export_dialog, nullptr);
  export_dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(export_dialog));
  ask();
  EXPECT_EQ(owner, export_dialog->windowHandle());
  EXPECT_TRUE(export_dialog->isVisible());
  export_dialog->close();
}

TEST_F(SecondaryWindowsTest, LeavingFromOutsideHasTheEffectOfTheWindowsOwnCancel) {
  // The start question's "Abbrechen" stores the "do not ask again" tick.
  window_->State().flags.ask_search_start = true;
  Action("Suchen1")->trigger();
  QWidget* find = TopLevel("TForm8");
  ASSERT_NE(find, nullptr);
  find->findChild<QCheckBox*>(u"CheckBox2"_qs)->setChecked(true);
  QTest::keyClick(find, Qt::Key_Escape);
  EXPECT_TRUE(dir_.Options().split('\n').value(24).startsWith('1'));

  // The exit question's "Abbrechen" keeps the listing and the window; the next close asks again.
  window_->State().doc.SetListingModified(true);
  window_->close();
  ASSERT_NE(TopLevel("TForm6"), nullptr);
  CloseFromOutside(TopLevel("TForm6"));
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->State().doc.ListingModified());
  window_->close();
  EXPECT_NE(TopLevel("TForm6"), nullptr);
  window_->ExitDialog()->findChild<QPushButton*>(u"Button2"_qs)->click();
}

}  // namespace
}  // namespace kavoro
