#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "core/app/HelpLinks.h"
#include "gui/MainWindow.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class InfoWindowsTest : public test::MainWindowFixture {
 protected:
  InfoWindowsTest() { Open(); }
  QWidget* Window(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String(name)) return w;
    }
    ADD_FAILURE() << name;
    return nullptr;
  }
  template <typename T = QObject>
  T* Find(QObject* parent, const char* name) {
    return test::FindNamed<T>(parent, name);
  }
  using MainWindowFixture::Find;
  QUrl Url(const char* address) { return QUrl(QLatin1String(address)); }
};

TEST_F(InfoWindowsTest, AboutBoxOpensCentredOverTheMovedWindowAndOkGivesItBack) {
  window_->setGeometry(130, 90, 900, 700);
  Action("Info2")->trigger();
  QWidget* about = Window("TForm4");
  ASSERT_TRUE(about->isVisible());
  EXPECT_FALSE(window_->isEnabled());
  EXPECT_EQ(about->x(), window_->x() + window_->width() / 2 - about->width() / 2);
  EXPECT_EQ(about->y(), window_->y() + window_->height() / 2 - about->height() / 2);
  EXPECT_EQ(about->windowTitle(), u"Info"_qs);
  EXPECT_FALSE(about->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(Find<QLabel>(about, "Label3")->text(), u"Version 2.2"_qs);
  EXPECT_EQ(Find<QLabel>(about, "Label1")->text(), u"Von Tolvar"_qs);
  // Donation, bank and messenger lines are not shown.
  for (const char* hidden : {"Label12", "Label13", "Label14", "Label15", "Label18"}) {
    EXPECT_EQ(about->findChild<QLabel*>(QLatin1String(hidden)), nullptr) << hidden;
  }
  Find<QPushButton>(about, "BitBtn1")->click();
  EXPECT_FALSE(about->isVisible());
  EXPECT_TRUE(window_->isEnabled());
}

TEST_F(InfoWindowsTest, AboutBoxLinksOpenTheirAddressesAndFollowTheLanguage) {
  Action("Info2")->trigger();
  QWidget* about = Window("TForm4");
  const std::pair<const char*, const char*> links[] = {{"Label2", address::kAuthorHomepage},
                                                       {"Label6", address::kLinkSite},
                                                       {"Label19", address::kProductHomepage},
                                                       {"Label8", address::kMail}};
  for (auto [label, url] : links) {
    QTest::mouseClick(Find<QLabel>(about, label), Qt::LeftButton);
    EXPECT_EQ(shell_.opened.last(), Url(url)) << label;
  }
  EXPECT_EQ(shell_.opened.size(), 4);
  auto* an = Find<QLabel>(about, "Label9");
  auto* mail = Find<QLabel>(about, "Label8");
  auto* write = Find<QLabel>(about, "Label10");
  EXPECT_EQ(mail->x(), an->x() + an->width() + 4);
  EXPECT_EQ(write->x(), mail->x() + mail->width() + 4);
  EXPECT_FALSE(write->isHidden());
  Find<QPushButton>(about, "BitBtn1")->click();
  Action("English1")->trigger();
  EXPECT_EQ(Find<QLabel>(about, "Label1")->text(), u"From Tolvar"_qs);
  EXPECT_EQ(Find<QLabel>(about, "Label9")->text(), u"write to :"_qs);
  EXPECT_TRUE(write->isHidden());
  EXPECT_EQ(about->height(), 390);
  auto* ok = Find<QPushButton>(about, "BitBtn1");
  EXPECT_EQ(ok->y(), Find<QWidget>(about, "GroupBox1")->height() - ok->height() - 8);
}

TEST_F(InfoWindowsTest, VersionWindowShowsTheHistoryAndTheFeedbackAddress) {
  Action("InfoszudenVersionen1")->trigger();
  QWidget* history = Window("TForm7");
  ASSERT_TRUE(history->isVisible());
  EXPECT_FALSE(window_->isEnabled());
  auto* memo = Find<QPlainTextEdit>(history, "Memo5");
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->toPlainText(), VersionHistory().join(u'\n'));
  EXPECT_TRUE(Find<QLabel>(history, "Label1")->text().startsWith(u"Anregung"_qs));
  QTest::mouseClick(Find<QLabel>(history, "Label2"), Qt::LeftButton);
  EXPECT_EQ(shell_.opened, QList<QUrl>({Url(address::kMail)}));
  Find<QPushButton>(history, "Button1")->click();
  EXPECT_FALSE(history->isVisible());
  EXPECT_TRUE(window_->isEnabled());
}

TEST_F(InfoWindowsTest, HelpOpensTheLocalPageOrTheWebAndLinksOpenTheirPages) {
  Action("Hilfe1")->trigger();  // no hilfe.htm in this program folder
  test::WriteBytes(dir_.File(u"hilfe.htm"_qs), "<html>");
  Action("Hilfe1")->trigger();
  Action("English1")->trigger();
  Action("Hilfe1")->trigger();  // no help.htm
  Action("LinkzurHomepage1")->trigger();
  Action("Gstebuch1")->trigger();
  EXPECT_EQ(shell_.opened, QList<QUrl>({Url(address::kProductHomepage),
                                        QUrl::fromLocalFile(dir_.File(u"hilfe.htm"_qs)),
                                        Url(address::kEnglishHelp), Url(address::kProductHomepage),
                                        Url(address::kGuestBook)}));
  EXPECT_EQ(Action("LinkzurHomepage1")->text(), u"Link zur Homepage"_qs);
  EXPECT_EQ(Action("Gstebuch1")->text(), u"Guest book"_qs);
  // The link menus without sites say so in one disabled entry.
  for (const char* menu : {"DasProgrammgibtesbei1", "MeineInternetseiten1"}) {
    const QList<QAction*> entries = Find<QMenu>(window_.get(), menu)->actions();
    ASSERT_EQ(entries.size(), 1) << menu;
    EXPECT_FALSE(entries[0]->isEnabled());
    EXPECT_EQ(entries[0]->text(), u"(no entries yet)"_qs);
  }
  for (const char* name : {"Hilfe1", "Info2", "InfoszudenVersionen1", "Gstebuch1"}) {
    EXPECT_TRUE(Action(name)->isEnabled()) << name;
  }
}

}  // namespace
}  // namespace kavoro
