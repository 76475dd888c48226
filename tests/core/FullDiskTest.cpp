#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "core/app/AppState.h"
#include "core/app/ListCommands.h"
#include "core/output/Export.h"
#include "core/output/ListFiles.h"
#include "core/text/LineFile.h"
#include "support/Entries.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

constexpr const char* kNoSpace = "No space left on device";

// A small file system of its own (tmpfs), so a test can fill it up. Mounting needs root.
class SmallDisk {
 public:
  SmallDisk() {
    if (::geteuid() != 0) {
      why_not_ = "a small tmpfs can be mounted only by root";
      return;
    }
    const QByteArray path = QFile::encodeName(dir_.path());
    if (::mount("tmpfs", path.constData(), "tmpfs", 0, "size=1m") != 0) {
      why_not_ = std::string("mounting a small tmpfs failed: ") + std::strerror(errno);
      return;
    }
    mounted_ = true;
  }
  ~SmallDisk() {
    if (filler_ >= 0) ::close(filler_);
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
  }

  bool Mounted() const { return mounted_; }
  const std::string& WhyNot() const { return why_not_; }
  QString File(const QString& name) const { return dir_.filePath(name); }

  // Fills the disk until only `free_bytes` (rounded to whole pages) are left.
  void FillLeaving(qint64 free_bytes) {
    filler_ = ::open(QFile::encodeName(File(u"filler"_qs)).constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(filler_, 0);
    const QByteArray block(4096, 'f');
    qint64 size = 0;
    while (::write(filler_, block.constData(), std::size_t(block.size())) == block.size()) {
      size += block.size();
    }
    ASSERT_EQ(errno, ENOSPC);
    ASSERT_EQ(::ftruncate(filler_, std::max<qint64>(0, size - free_bytes)), 0);
  }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
  std::string why_not_;
  int filler_ = -1;
};

QStringList NamesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The disk fills up while "Speichern" writes: the .mpl and .mpl2 files would still fit, the
// .mpl3 file does not.
TEST(FullDiskTest, AFailedSaveLeavesTheOldListWholeAndSaysWhy) {
  SmallDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
  test::ProgramDir program;
  AppState state(program.Path());
  CheckConfiguration(state);
  ApplyOptionsAtStart(state);
  ApplyListingHeaders(state.doc, true, UiLanguage::German, nullptr);
  test::AddEntry(state.doc, u"alt.mp3"_qs, u"1 KB"_qs, u"Audio"_qs, u"heute"_qs);
  test::ScriptedPrompts prompts;
  prompts.files = {disk.File(u"musik.mpl"_qs)};
  ASSERT_TRUE(SaveListAs(state, prompts));
  const QString base = disk.File(u"musik"_qs);
  const QByteArray old[] = {test::ReadBytes(base + ".mpl"), test::ReadBytes(base + ".mpl2"),
                            test::ReadBytes(base + ".mpl3")};

  for (int i = 0; i < 1500; ++i) {
    test::AddEntry(state.doc, u"Lied %1.mp3"_qs.arg(i), u"%1 KB"_qs.arg(i), u"Audio"_qs,
                   u"01.02.2003 04:05"_qs);
  }
  state.doc.SetListingModified(true);
  const qint64 names = LineFile::EncodeLines(state.doc.Column(1)).size();
  const qint64 text = LineFile::EncodeLines(state.doc.Text()).size();
  ASSERT_GT(LineFile::EncodeLines(state.doc.Html()).size(), names + text + 64 * 1024);
  disk.FillLeaving(names + text + 16 * 1024);

  prompts.shown.clear();
  EXPECT_FALSE(SaveList(state, prompts));
  ASSERT_EQ(prompts.shown.size(), 1);
  EXPECT_TRUE(prompts.shown[0].contains(base + ".mpl3")) << prompts.shown[0].toStdString();
  EXPECT_TRUE(prompts.shown[0].contains(QLatin1String(kNoSpace))) << prompts.shown[0].toStdString();
  EXPECT_EQ(test::ReadBytes(base + ".mpl"), old[0]);
  EXPECT_EQ(test::ReadBytes(base + ".mpl2"), old[1]);
  EXPECT_EQ(test::ReadBytes(base + ".mpl3"), old[2]);
  EXPECT_EQ(NamesIn(disk.File(QString())),
            (QStringList{"filler", "musik.mpl", "musik.mpl2", "musik.mpl3"}));
  EXPECT_TRUE(state.doc.ListingModified());
}

// Exports and both configuration files name the system's reason too, and leave nothing
// half-written behind.
TEST(FullDiskTest, EveryFailedWriteSaysWhy) {
  SmallDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
  for (const char* name : {"optionen.ini", "endungen.ini"}) {
    test::WriteBytes(disk.File(QLatin1String(name)), test::ShippedFile(name));
  }
  AppState state(disk.File(QString()));
  ASSERT_EQ(CheckConfiguration(state), StartupCheck::Ok);
  ASSERT_EQ(ApplyOptionsAtStart(state), std::nullopt);
  test::AddEntry(state.doc, u"Lied.mp3"_qs);
  const QByteArray options = test::ReadBytes(disk.File(u"optionen.ini"_qs));
  const QByteArray catalog = test::ReadBytes(disk.File(u"endungen.ini"_qs));
  disk.FillLeaving(0);

  QString error;
  auto says_why = [&](bool written, const QString& file) {
    EXPECT_FALSE(written) << file.toStdString();
    EXPECT_TRUE(error.contains(file) && error.contains(QLatin1String(kNoSpace)))
        << error.toStdString();
    error.clear();
  };
  says_why(ExportText(state.doc, disk.File(u"a.txt"_qs), &error), u"a.txt"_qs);
  says_why(ExportHtml(state.doc, disk.File(u"a.htm"_qs), &error), u"a.htm"_qs);
  says_why(ExportSpreadsheet(state.doc, disk.File(u"a.xls"_qs), nullptr, &error), u"a.xls"_qs);
  says_why(ExportSpreadsheet(state.doc, disk.File(u"a.xlsx"_qs), nullptr, &error), u"a.xlsx"_qs);
  error = SwitchLanguage(state, UiLanguage::English).value_or(QString());
  says_why(error.isEmpty(), u"optionen.ini"_qs);
  error = CommitCatalogChange(state, state.catalog.Lines() + QStringList{u".neu"_qs}, {})
              .value_or(QString());
  says_why(error.isEmpty(), u"endungen.ini"_qs);
  EXPECT_EQ(test::ReadBytes(disk.File(u"optionen.ini"_qs)), options);
  EXPECT_EQ(test::ReadBytes(disk.File(u"endungen.ini"_qs)), catalog);
  EXPECT_EQ(NamesIn(disk.File(QString())), (QStringList{"endungen.ini", "filler", "optionen.ini"}));
}

}  // namespace
}  // namespace kavoro
