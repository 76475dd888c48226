#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <stdexcept>

#include "core/compare/CompareExport.h"
#include "core/compare/ListCompare.h"
#include "core/compare/ListUpdate.h"
#include "core/output/ListFiles.h"
#include "core/text/LineFile.h"
#include "support/Entries.h"
#include "support/MediaFiles.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

constexpr qint64 kListed = 1102257300;  // 5 December 2004, 14:35 UTC

const MessageSlots& English() { return MessageSlotsFor(UiLanguage::English); }

class ListCompareTest : public ::testing::Test {
 protected:
  ListCompareTest() {
    for (auto [name, bytes] : {std::pair{"a.txt", 2000},
                               {"b.mp3", 3000},
                               {"sub/c.txt", 100},
                               {"sub/d.mp3", 5000},
                               {"other/e.txt", 700},
                               {"z.txt", 1}}) {
      Put(name, bytes);
    }
  }

  QString Path(const QString& name) const { return tree_.filePath(name); }
  QString Root() const { return tree_.path() + u'/'; }
  QString Base() const { return out_.filePath(u"liste"_qs); }

  void Put(const QString& name, int bytes, qint64 time = kListed) {
    QDir().mkpath(QFileInfo(Path(name)).path());
    test::WriteBytes(Path(name), QByteArray(bytes, 'x'));
    Touch(name, time);
  }
  void Touch(const QString& name, qint64 time) {
    const utimbuf times{time, time};
    ASSERT_EQ(utime(QFile::encodeName(Path(name)).constData(), &times), 0);
  }

  // Lists the tree as entering does and saves the list set, dates in `locale`'s form.
  void SaveList(const ListForm& form, const QLocale& locale = QLocale::system()) {
    ListingDocument doc;
    test::StartListing(doc, {form.options.details, form.options.media});
    FoundFiles found;
    ASSERT_TRUE(WalkInForm(tree_.path(), form, found, nullptr, {}));
    if (form.options.details) doc.RaiseFirstEntry();
    EntryTexts texts{DateTextFormat(locale), {}};
    const auto media = ReadMediaCells(found, locale);
    AppendEntries(doc, found, form.options, texts, kAllViews,
                  form.options.media ? &*media : nullptr);
    QString error;
    ASSERT_TRUE(SaveListFiles(doc, Base(), &error)) << error.toStdString();
  }

  // The files the list was made of changed in each way that counts.
  void ChangeTree() {
    Put(u"new.txt"_qs, 10);
    ASSERT_TRUE(QFile::remove(Path(u"a.txt"_qs)));
    Put(u"b.mp3"_qs, 10000);  // 3 KB -> 10 KB, same date
    Touch(u"sub/c.txt"_qs, kListed + 86400);
    ASSERT_TRUE(QFile::rename(Path(u"sub/d.mp3"_qs), Path(u"other/d.mp3"_qs)));
    ASSERT_TRUE(QFile::rename(Path(u"other/e.txt"_qs), Path(u"other/f.txt"_qs)));
  }

  SavedList Read() const {
    QString error;
    auto list = SavedList::Read(Base(), English(), &error);
    if (!list) throw std::runtime_error(error.toStdString());
    return std::move(*list);
  }

  std::optional<CompareResult> Compare(const ListForm& form, QString* error = nullptr) {
    QString e;
    return CompareWithFolder(Read(), tree_.path(), form, English(), error ? error : &e);
  }

  static ListForm WholePathsWithDetails() {
    ListForm form;
    form.options.details = form.options.whole_path = true;
    return form;
  }

  QTemporaryDir tree_;
  QTemporaryDir out_;
};

TEST_F(ListCompareTest, FindsEachChangeOfAListWrittenInAnotherLocale) {
  SaveList(WholePathsWithDetails(), QLocale(QLocale::German, QLocale::Germany));
  ChangeTree();
  const auto r = Compare(WholePathsWithDetails());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->date_form, u"dd.MM.yyyy HH:mm (de_DE)"_qs);
  const QString date =
      QLocale(QLocale::German)
          .toString(QDateTime::fromSecsSinceEpoch(kListed).toLocalTime(), u"dd.MM.yyyy HH:mm"_qs);
  const QString next_day =
      QLocale(QLocale::German)
          .toString(QDateTime::fromSecsSinceEpoch(kListed + 86400).toLocalTime(),
                    u"dd.MM.yyyy HH:mm"_qs);
  EXPECT_EQ(CompareLines(*r),
            QStringList({
                u"+ "_qs + Root() + u"new.txt"_qs,
                u"+ "_qs + Root() + u"other/f.txt"_qs,
                u"- "_qs + Root() + u"a.txt"_qs,
                u"- "_qs + Root() + u"other/e.txt"_qs,
                u"~ %1b.mp3 (3 KB %2 -> 10 KB %2)"_qs.arg(Root(), date),
                u"~ %1sub/c.txt (1 KB %2 -> 1 KB %3)"_qs.arg(Root(), date, next_day),
                u"> %1sub/d.mp3 -> %1other/d.mp3"_qs.arg(Root()),
            }));
  EXPECT_EQ(r->unchanged, 1u);  // z.txt
  EXPECT_TRUE(r->AnyChange());

  // The same tree compared again with a fresh list: nothing to tell.
  SaveList(WholePathsWithDetails());
  const auto same = Compare(WholePathsWithDetails());
  ASSERT_TRUE(same);
  EXPECT_FALSE(same->AnyChange());
  EXPECT_EQ(same->unchanged, 6u);
}

TEST_F(ListCompareTest, NamesWithoutPathsMatchInOrderAndHiddenExtensionsSayHow) {
  Put(u"other/a.txt"_qs, 10);  // a second "a.txt"
  ListForm form;
  SaveList(form);
  ASSERT_TRUE(QFile::remove(Path(u"other/a.txt"_qs)));
  Put(u"sub/neu.mp3"_qs, 10);
  auto r = Compare(form);
  ASSERT_TRUE(r);
  EXPECT_EQ(CompareLines(*r), QStringList({u"+ neu.mp3"_qs, u"- a.txt"_qs}));
  EXPECT_FALSE(r->matched_without_extensions);
  EXPECT_EQ(r->date_form, QString());

  form.options.hide_extensions = true;
  SaveList(form);
  EXPECT_TRUE(Read().GuessForm().options.hide_extensions);
  Put(u"neu.wav"_qs, 10);  // "neu" twice now, once listed
  r = Compare(form);
  ASSERT_TRUE(r);
  EXPECT_EQ(CompareLines(*r), QStringList({u"+ neu"_qs}));
  EXPECT_TRUE(r->matched_without_extensions);
  EXPECT_EQ(r->unchanged, 7u);
}

// Compares with `folder` unreadable: as a user without rights when run as root (who reads
// everything), else with the rights taken away.
QStringList CompareWithout(const SavedList& list, const QString& tree, const QString& folder) {
  auto run = [&] {
    QString error;
    ListForm form;
    const auto r = CompareWithFolder(list, tree, form, English(), &error);
    return r ? CompareLines(*r).join(u'\n') + u"\n#"_qs +
                   QString::fromStdString(r->unreadable_folders.at(0))
             : error;
  };
  chmod(QFile::encodeName(folder).constData(), 0);
  if (geteuid() != 0) return run().split(u'\n');
  chmod(QFile::encodeName(tree).constData(), 0755);
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_fds[0]);
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    const QByteArray text = run().toUtf8();
    _exit(write(pipe_fds[1], text.constData(), std::size_t(text.size())) == text.size() ? 0 : 4);
  }
  close(pipe_fds[1]);
  QByteArray text;
  char buffer[4096];
  for (ssize_t got; (got = read(pipe_fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  close(pipe_fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  return QString::fromUtf8(text).split(u'\n');
}

TEST_F(ListCompareTest, EntriesInAnUnreadableFolderAreNotMissing) {
  ListForm form;
  form.options.whole_path = true;
  SaveList(form);
  ASSERT_TRUE(QFile::remove(Path(u"a.txt"_qs)));
  const QStringList lines = CompareWithout(Read(), tree_.path(), Path(u"sub"_qs));
  chmod(QFile::encodeName(Path(u"sub"_qs)).constData(), 0755);
  EXPECT_EQ(lines,
            QStringList({u"- "_qs + Root() + u"a.txt"_qs, u"? "_qs + Root() + u"sub/c.txt"_qs,
                         u"? "_qs + Root() + u"sub/d.mp3"_qs, u"#"_qs + Root() + u"sub/"_qs}));
}

TEST_F(ListCompareTest, WhatDoesNotFitIsSaidNotReported) {
  SaveList(WholePathsWithDetails());
  QString error;
  EXPECT_FALSE(CompareWithFolder(Read(), Path(u"gone"_qs), {}, English(), &error));
  EXPECT_EQ(error, u"There is no folder %1."_qs.arg(Path(u"gone"_qs)));
  EXPECT_FALSE(CompareWithFolder(Read(), out_.path(), {}, English(), &error));
  EXPECT_EQ(error,
            u"None of the whole paths of the list lies in the folder %1 (the list names the "
            u"folder %2)."_qs.arg(out_.path(), tree_.path()));

  // Stopped: nothing, and nothing to say.
  std::atomic<bool> cancel = true;
  error = u"x"_qs;
  EXPECT_FALSE(
      CompareWithFolder(Read(), tree_.path(), WholePathsWithDetails(), English(), &error, &cancel));
  EXPECT_TRUE(error.isEmpty());

  // Lists edited by hand: names half paths, half not; dates and sizes no listing writes.
  auto problem = [](const QString& first, const QString& size, const QString& date) {
    ListingDocument doc;
    test::StartListing(doc, true);
    test::AddEntry(doc, first, size, u"Text"_qs, date);
    test::AddEntry(doc, u"b.mp3"_qs, u"3 KB"_qs, u"MP3"_qs, u"05.12.2004 14:35"_qs);
    return SavedList::FromListing(doc).Problem(English());
  };
  EXPECT_EQ(problem(Root() + u"a.txt"_qs, u"2 KB"_qs, u"05.12.2004 14:35"_qs),
            u"The names of the list fit no form: 1 of 2 names are whole paths, the others are "
            u"not."_qs);
  EXPECT_EQ(problem(u"a.txt"_qs, u"2 KB"_qs, u"gestern"_qs),
            u"The dates of the list fit no known form, for example \"gestern\"."_qs);
  EXPECT_EQ(problem(u"a.txt"_qs, u"3000 Bytes"_qs, u"05.12.2004 14:35"_qs),
            u"The sizes of the list are not in the form \"1.234 KB\", for example \"3000 "
            u"Bytes\"."_qs);
  EXPECT_EQ(problem(u"a.txt"_qs, u"1.234 KB"_qs, u"05.12.2004 14:35"_qs), QString());

  // A broken set is refused as opening it would be.
  ASSERT_TRUE(LineFile::WriteBytes(Base() + u".mpl2"_qs, "Nr. Datei\r\n"));
  EXPECT_FALSE(SavedList::Read(Base(), English(), &error));
  EXPECT_TRUE(error.startsWith(English().msgListRefused + u'\n' + Base() + u".mpl2\n"_qs))
      << error.toStdString();
}

TEST_F(ListCompareTest, GuessFillsInWhatTheListCannotTell) {
  ListForm form;
  form.options.whole_path = true;
  form.selection.extensions = {u".mp3"_qs};
  form.selection.search_all_files = false;
  SaveList(form);
  const SavedList list = Read();
  EXPECT_EQ(list.CommonFolder(), tree_.path());
  const ListForm guess = list.GuessForm();
  EXPECT_TRUE(guess.recurse);
  EXPECT_EQ(guess.selection.extensions, QStringList({u".mp3"_qs}));
  EXPECT_FALSE(guess.selection.search_all_files);
  EXPECT_FALSE(guess.options.hide_extensions);
  EXPECT_FALSE(guess.selection.hidden_folders);

  // Only the files of the folder itself, one of them without extension: no subfolders, and
  // all files.
  form.recurse = false;
  form.selection.search_all_files = true;
  Put(u"README"_qs, 5);
  SaveList(form);
  EXPECT_FALSE(Read().GuessForm().recurse);
  EXPECT_TRUE(Read().GuessForm().selection.search_all_files);
}

TEST_F(ListCompareTest, BringingAMediaListUpToDateKeepsItsMediaColumns) {
  test::Tone(Path(u"ton.wav"_qs), 3);
  ListForm form = WholePathsWithDetails();
  form.options.media = true;
  SaveList(form);
  // The song's cells come from reading it anew, not from the list before.
  QFile::remove(Path(u"ton.wav"_qs));
  test::Tone(Path(u"ton.wav"_qs), 65);
  const SavedList list = Read();
  ASSERT_TRUE(list.Media());
  QString error;
  ASSERT_TRUE(
      UpdateList(list, tree_.path(), list.GuessForm(), FreeBackupBase(Base()), English(), &error))
      << error.toStdString();
  ListingDocument doc;
  auto contents = ReadListFiles(Base(), English(), &error);
  ASSERT_TRUE(contents) << error.toStdString();
  LoadListing(doc, std::move(*contents), UiLanguage::English);
  ASSERT_EQ(doc.Form(), ColumnForm(true, true));
  const QStringList names = doc.Column(1);
  const qsizetype tone = names.indexOf(Path(u"ton.wav"_qs));
  ASSERT_GT(tone, 0) << names.join(u'|').toStdString();
  EXPECT_EQ(doc.Cell(doc.ShownColumn(ListingData::kDuration), tone), u"1:05"_qs);
}

TEST_F(ListCompareTest, BringingUpToDateKeepsTheOldSetByteForByte) {
  ListForm form = WholePathsWithDetails();
  form.options.link = true;
  SaveList(form);
  QByteArray before[3];
  const QString exts[] = {u".mpl"_qs, u".mpl2"_qs, u".mpl3"_qs};
  for (int i = 0; i < 3; ++i) before[i] = test::ReadBytes(Base() + exts[i]);
  ChangeTree();
  const SavedList list = Read();
  const QString backup = FreeBackupBase(Base());
  EXPECT_EQ(backup, Base() + u".bak1"_qs);
  QString error;
  ASSERT_TRUE(UpdateList(list, tree_.path(), list.GuessForm(), backup, English(), &error))
      << error.toStdString();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(test::ReadBytes(backup + exts[i]), before[i]) << i;
  EXPECT_EQ(FreeBackupBase(Base()), Base() + u".bak2"_qs);

  // The new list holds the folder as it is, in the same form: links included.
  const auto now = Compare(WholePathsWithDetails());
  ASSERT_TRUE(now);
  EXPECT_FALSE(now->AnyChange());
  EXPECT_EQ(now->unchanged, 6u);
  EXPECT_TRUE(Read().GuessForm().options.link);
  EXPECT_TRUE(test::ReadBytes(Base() + u".mpl3"_qs).startsWith(before[2].left(200)));

  // A backup is never overwritten.
  const QByteArray updated = test::ReadBytes(Base() + u".mpl"_qs);
  EXPECT_FALSE(UpdateList(Read(), tree_.path(), form, backup, English(), &error));
  EXPECT_EQ(error, u"The backup copy %1.mpl exists already; it is not overwritten."_qs.arg(backup));
  EXPECT_EQ(test::ReadBytes(backup + u".mpl"_qs), before[0]);
  EXPECT_EQ(test::ReadBytes(Base() + u".mpl"_qs), updated);
}

TEST_F(ListCompareTest, ExportsAsTextCsvAndJson) {
  SaveList(WholePathsWithDetails());
  ChangeTree();
  const auto r = Compare(WholePathsWithDetails());
  ASSERT_TRUE(r);
  QString error;
  ASSERT_TRUE(ExportCompare(*r, out_.filePath(u"r.json"_qs), &error));
  QJsonParseError parsed;
  const QJsonObject json =
      QJsonDocument::fromJson(test::ReadBytes(out_.filePath(u"r.json"_qs)), &parsed).object();
  ASSERT_EQ(parsed.error, QJsonParseError::NoError) << parsed.errorString().toStdString();
  EXPECT_EQ(json[u"counts"_qs].toObject()[u"changed"_qs].toInt(), 2);
  EXPECT_EQ(json[u"counts"_qs].toObject()[u"unchanged"_qs].toInt(), 1);
  EXPECT_EQ(json[u"moved"_qs].toArray()[0].toObject()[u"to"_qs].toString(),
            Root() + u"other/d.mp3"_qs);
  EXPECT_EQ(json[u"changed"_qs].toArray()[0].toObject()[u"newSize"_qs].toString(), u"10 KB"_qs);
  EXPECT_TRUE(json[u"form"_qs].toObject()[u"wholePath"_qs].toBool());

  ASSERT_TRUE(ExportCompare(*r, out_.filePath(u"r.csv"_qs), &error));
  const QList<QByteArray> csv = test::ReadBytes(out_.filePath(u"r.csv"_qs)).split('\n');
  EXPECT_EQ(csv[0], "change,name,new name,old size,new size,old date,new date\r");
  EXPECT_TRUE(csv[5].startsWith("changed," + (Root() + u"b.mp3,,3 KB,10 KB,"_qs).toUtf8()));
  EXPECT_EQ(csv.size(), 9);  // header, 7 records, the empty rest after the last CR LF

  ASSERT_TRUE(ExportCompare(*r, out_.filePath(u"r.txt"_qs), &error));
  const auto lines = LineFile::Read(out_.filePath(u"r.txt"_qs));
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->mid(0, 7), CompareLines(*r));
  EXPECT_TRUE(
      lines->at(8).startsWith(u"2 new, 2 missing, 2 changed, 1 moved, 0 unreadable, "
                              u"1 unchanged; dates as "_qs));
}

TEST_F(ListCompareTest, CommandLineExitsAsDiffDoes) {
  auto run = [&](const QStringList& args, QByteArray* out = nullptr) {
    QProcess p;
    p.start(QStringLiteral(KAVORO_LIST), args);
    p.waitForFinished(60000);
    if (out) *out = p.readAllStandardOutput();
    return p.exitCode();
  };
  ASSERT_EQ(run({u"-r"_qs, u"-d"_qs, u"-p"_qs, tree_.path(), u"--save"_qs, Base()}), 0);
  QByteArray out;
  EXPECT_EQ(run({u"--compare"_qs, Base(), tree_.path(), u"-r"_qs}, &out), 0);
  EXPECT_EQ(out, "");
  ChangeTree();
  EXPECT_EQ(run({u"--compare"_qs, Base() + u".mpl"_qs, tree_.path(), u"-r"_qs}, &out), 1);
  const QList<QByteArray> lines = out.split('\n');
  ASSERT_EQ(lines.size(), 8);
  EXPECT_EQ(lines[0], (u"+ "_qs + Root() + u"new.txt"_qs).toUtf8());
  EXPECT_EQ(lines[3], (u"- "_qs + Root() + u"other/e.txt"_qs).toUtf8());
  EXPECT_TRUE(lines[4].startsWith((u"~ "_qs + Root() + u"b.mp3 (3 KB "_qs).toUtf8()));
  EXPECT_EQ(lines[6], (u"> %1sub/d.mp3 -> %1other/d.mp3"_qs.arg(Root())).toUtf8());

  EXPECT_EQ(run({u"--compare"_qs, Base(), tree_.path(), u"-r"_qs, u"--json"_qs, u"-"_qs}, &out), 1);
  QJsonParseError parsed;
  const QJsonDocument json = QJsonDocument::fromJson(out, &parsed);
  EXPECT_EQ(parsed.error, QJsonParseError::NoError);
  EXPECT_EQ(json[u"new"_qs].toArray().size(), 2);

  // Without -r: every file below the folder would be missing, which is pointed out.
  QProcess p;
  p.start(QStringLiteral(KAVORO_LIST), {u"--compare"_qs, Base(), tree_.path()});
  p.waitForFinished(60000);
  EXPECT_TRUE(p.readAllStandardError().startsWith(
      "kavoro-list: the list holds files of subfolders; -r searches them\n"));
  EXPECT_EQ(run({u"--compare"_qs, Base(), Path(u"gone"_qs)}), 2);
  EXPECT_EQ(run({u"--compare"_qs, out_.filePath(u"none"_qs), tree_.path()}), 2);
  EXPECT_EQ(run({u"--compare"_qs, Base()}), 2);  // no folder
  EXPECT_EQ(run({u"--compare"_qs, Base(), tree_.path(), u"--save"_qs, Base()}), 2);
}

}  // namespace
}  // namespace kavoro
