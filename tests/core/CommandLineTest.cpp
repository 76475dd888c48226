#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "core/app/AppState.h"
#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/Export.h"
#include "core/output/ListFiles.h"
#include "core/output/StyleChoices.h"
#include "core/settings/OptionsFile.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() {
    for (const char* name : {"b.mp3", "a.MP3", "c.txt", "sub/d.mp3", "sub/<&>.mp3"}) {
      const QString path = tree_.filePath(QLatin1String(name));
      QDir().mkpath(QFileInfo(path).path());
      test::WriteBytes(path, "12345");
    }
  }
  int Run(QStringList args) {
    QProcess p;
    p.start(QStringLiteral(KAVORO_LIST), args);
    p.waitForFinished(60000);
    err_ = p.readAllStandardError();
    std_out_ = p.readAllStandardOutput();
    return p.exitCode();
  }
  QString Out(const char* name) const { return out_.filePath(QLatin1String(name)); }

  QTemporaryDir tree_;
  QTemporaryDir out_;
  QByteArray err_;
  QByteArray std_out_;
};

TEST_F(CommandLineTest, WritesWhatTheWindowWouldWrite) {
  ASSERT_EQ(Run({u"-r"_qs, u"-e"_qs, u"mp3"_qs, u"-p"_qs, u"-l"_qs, tree_.path(), u"--txt"_qs,
                 Out("l.txt"), u"--htm"_qs, Out("l.htm"), u"--save"_qs, Out("l")}),
            0)
      << err_.toStdString();
  // The same listing made in-process, as the window makes it.
  ListingDocument doc;
  OptionsFile options(QStringLiteral(KAVORO_BUILD_DIR "/optionen.ini"));
  ASSERT_EQ(options.LoadWorking(), std::nullopt);
  StyleDialogState style;
  QStringList page;
  BuildStartListing(doc, options, style, page, false, UiLanguage::German);
  EntryOptions entry{false, false, true, true};
  EntryTexts texts;
  FoundFiles entries;
  ASSERT_TRUE(CollectEntries(tree_.path(), true, {{u".mp3"_qs}, false, {}}, entry, entries));
  AppendEntries(doc, entries, entry, texts);
  ASSERT_TRUE(ExportHtml(doc, Out("gui.htm"), nullptr));
  ASSERT_TRUE(ExportText(doc, Out("gui.txt"), nullptr));
  EXPECT_EQ(test::ReadBytes(Out("l.htm")), test::ReadBytes(Out("gui.htm")));
  EXPECT_EQ(test::ReadBytes(Out("l.txt")), test::ReadBytes(Out("gui.txt")));
  EXPECT_EQ(test::ReadBytes(Out("l.mpl2")), test::ReadBytes(Out("l.txt")));
  EXPECT_EQ(test::ReadBytes(Out("l.txt")).count("\r\n"), 5);

  // Appending to the stored list goes on with the numbers.
  ASSERT_EQ(Run({u"--open"_qs, Out("l.mpl"), tree_.path(), u"--save"_qs, Out("l")}), 0);
  const QByteArray text = test::ReadBytes(Out("l.mpl2"));
  EXPECT_TRUE(text.contains("        5  a.MP3\r\n        6  b.mp3\r\n        7  c.txt\r\n"));
}

TEST_F(CommandLineTest, HiddenExtensionsKeepTheNamesOfDotFiles) {
  QTemporaryDir dots;
  for (const char* name : {".bashrc", ".config.bak", "x.y"}) {
    test::WriteBytes(dots.filePath(QLatin1String(name)), "1");
  }
  ASSERT_EQ(Run({u"-x"_qs, dots.path(), u"--save"_qs, Out("d")}), 0) << err_.toStdString();
  EXPECT_EQ(test::ReadBytes(Out("d.mpl")), test::CrLf({"Datei", ".bashrc", ".config", "x"}));
}

TEST_F(CommandLineTest, SortsAndRenumbersLikeTheButtons) {
  ASSERT_EQ(Run({u"-e"_qs, u".mp3"_qs, tree_.path(), u"--sort"_qs, u"name:reverse"_qs,
                 u"--renumber"_qs, u"--save"_qs, Out("s")}),
            0)
      << err_.toStdString();
  EXPECT_EQ(test::ReadBytes(Out("s.mpl")), test::CrLf({"Datei", "b.mp3", "a.MP3"}));
  ASSERT_EQ(
      Run({u"-e"_qs, u".mp3"_qs, tree_.path(), u"--sort"_qs, u"nr"_qs, u"--save"_qs, Out("n")}), 0);
  EXPECT_EQ(test::ReadBytes(Out("n.mpl")), test::CrLf({"Datei", "b.mp3", "a.MP3"}));
  EXPECT_EQ(Run({tree_.path(), u"--sort"_qs, u"size"_qs}), 1);  // no size column without -d
  EXPECT_EQ(Run({tree_.path(), u"--sort"_qs, u"colour"_qs}), 2);
}

TEST_F(CommandLineTest, ErrorsAndUsage) {
  EXPECT_EQ(Run({}), 2);
  EXPECT_TRUE(err_.contains("no folder given"));
  EXPECT_EQ(Run({u"--bogus"_qs, tree_.path()}), 2);
  EXPECT_EQ(Run({u"-l"_qs, tree_.path()}), 2);
  EXPECT_EQ(Run({tree_.filePath(u"missing"_qs)}), 1);
  EXPECT_TRUE(err_.contains("is not a folder"));
  EXPECT_EQ(Run({tree_.path(), u"--txt"_qs, tree_.filePath(u"no/such/x.txt"_qs)}), 1);
  EXPECT_TRUE(err_.startsWith("kavoro-list: Cannot create file"));
  EXPECT_EQ(Run({u"--help"_qs}), 0);
  EXPECT_TRUE(std_out_.contains("--version"));
  EXPECT_EQ(Run({u"--version"_qs}), 0);
  EXPECT_EQ(std_out_, "kavoro-list 2.2\n");
}

}  // namespace
}  // namespace kavoro
