#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "gui/EnteringJob.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class EnteringJobTest : public ::testing::Test {
 protected:
  EnteringJobTest() {
    for (const char* name : {"a.mp3", "B.mp3", "c.jpg", "x/d.mp3", "x/e.MP3", "y/f.mp3"}) {
      const QString path = files_.filePath(QLatin1String(name));
      QDir().mkpath(QFileInfo(path).path());
      test::WriteBytes(path, "data");
    }
    options_.details = true;
  }
  ~EnteringJobTest() override { test::RemoveTree(files_.path()); }
  static std::unique_ptr<ListingDocument> NewListing() {
    auto doc = std::make_unique<ListingDocument>();
    BuildEmptyListing(*doc);
    ApplyListingHeaders(*doc, true, UiLanguage::German, nullptr);
    return doc;
  }
  EnteringRequest Folder(const char* relative, bool subfolders) const {
    return EnteringRequest::ForFolder(files_.filePath(QLatin1String(relative)), subfolders,
                                      selection_, options_);
  }
  static void RunToEnd(EnteringJob& job, std::vector<EnteringRequest> requests) {
    job.Start(std::move(requests));
    QTRY_VERIFY_WITH_TIMEOUT(!job.Running(), 10000);
  }

  QTemporaryDir files_;
  SearchSelection selection_{{u".mp3"_qs}, false, {}, {}, false};
  EntryOptions options_;
};

TEST_F(EnteringJobTest, ARequestListEntersLikeTheFoldersOneByOne) {
  auto together = NewListing();
  EnteringJob job(*together);
  QSignalSpy entered(&job, &EnteringJob::Entered);
  RunToEnd(job, {Folder("x", false), Folder(".", true)});
  ASSERT_EQ(entered.size(), 2);
  EXPECT_EQ(entered[0][0].value<EnteringResult>().found, 2);
  EXPECT_EQ(entered[1][0].value<EnteringResult>().found, 5);

  auto one_by_one = NewListing();
  EnteringJob single(*one_by_one);
  RunToEnd(single, {Folder("x", false)});
  RunToEnd(single, {Folder(".", true)});
  EXPECT_EQ(together->EntryCounter(), 7);
  EXPECT_EQ(together->Text().ToStringList(), one_by_one->Text().ToStringList());
  EXPECT_EQ(together->Html().ToStringList(), one_by_one->Html().ToStringList());
  for (int c = 0; c < together->ColumnCount(); ++c) {
    EXPECT_EQ(together->Column(c), one_by_one->Column(c)) << c;
  }
  EXPECT_TRUE(together->ListingModified());
}

TEST_F(EnteringJobTest, CancelLeavesTheListingAsItWasAndDropsTheRequestsAfter) {
  for (int i = 0; i < 2000; ++i) QDir().mkpath(files_.filePath(u"deep/%1"_qs.arg(i)));
  auto doc = NewListing();
  EnteringJob job(*doc);
  QSignalSpy started(&job, &EnteringJob::Started);
  QSignalSpy entered(&job, &EnteringJob::Entered);
  QSignalSpy cancelled(&job, &EnteringJob::Cancelled);
  job.Start({Folder(".", true), Folder("x", false)});
  ASSERT_TRUE(job.Running());
  EXPECT_TRUE(doc->FirstEntry());  // raised for the run with details
  job.Cancel();
  QTRY_VERIFY_WITH_TIMEOUT(!job.Running(), 10000);
  QTest::qWait(50);  // a second request would have started by now
  EXPECT_EQ(started.size(), 1);
  EXPECT_EQ(entered.size(), 0);
  EXPECT_EQ(cancelled.size(), 1);
  EXPECT_EQ(doc->EntryCounter(), 0);
  EXPECT_FALSE(doc->ListingModified());
  EXPECT_FALSE(doc->FirstEntry());
}

TEST_F(EnteringJobTest, ChosenFilesKeepTheFoldersOrder) {
  const EnteringRequest request = EnteringRequest::ForFiles(
      files_.path(), {"c.jpg", "B.mp3", "gone.mp3"}, selection_, options_);
  ASSERT_EQ(request.selected.Count(), 2u);
  EXPECT_EQ(request.selected.Name(0), "B.mp3");
  EXPECT_EQ(request.selected.Name(1), "c.jpg");
  EXPECT_EQ(request.selected.Size(0), 4u);  // with their details as asked
}

}  // namespace
}  // namespace kavoro
