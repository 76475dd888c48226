#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kavoro {

// Line numbers of optionen.ini.
namespace opt {
constexpr int kFontColor = 0;
constexpr int kFontSizeChoice = 1;
constexpr int kCustomFontSize = 2;
constexpr int kFontFamily = 3;
constexpr int kTableNoLines = 4;
constexpr int kPageColorOn = 5;
constexpr int kPageColor = 6;
constexpr int kTableColorOn = 7;
constexpr int kTableColor = 8;
constexpr int kInfoNoFiles = 9;
constexpr int kHideExtensions = 10;
constexpr int kWholePath = 11;
constexpr int kLinkFiles = 12;
constexpr int kLanguage = 13;
constexpr int kDetailColumns = 14;
constexpr int kInfoCountTime = 15;
constexpr int kWindowWidth = 16;
constexpr int kWindowHeight = 17;
constexpr int kWindowState = 18;
constexpr int kColumnWidth0 = 19;  // 19..23: widths of grid columns 0..4
constexpr int kNoSearchStartQuestion = 24;
constexpr int kLineCount = 25;
// Past the 25 lines: "1" when exported pages get a search box and sortable columns. A file
// without it reads as off and gets it only once the box is ticked.
constexpr int kBrowsablePage = 25;
// Past that, the same way: "1" when entries get the media columns.
constexpr int kMediaColumns = 26;
}  // namespace opt

// optionen.ini: 25 lines addressed by number, held twice. The working copy is what single-line
// writers change and save; the snapshot is what the options panel and the language switch
// change and write whole. Lines past 24 are carried along untouched.
class OptionsFile {
 public:
  explicit OptionsFile(QString path);

  const QString& Path() const { return path_; }

  // Each gives the reason when the file cannot be read or written, nothing when it worked.
  std::optional<QString> LoadWorking();
  std::optional<QString> LoadSnapshot();
  std::optional<QString> SaveWorking();
  // A single-line writer: the working copy read anew (so that lines written meanwhile by
  // someone else are kept), line `index` set, the copy saved. The error when one step fails.
  std::optional<QString> StoreWorkingLine(int index, const QString& value);
  // Working copy := snapshot, then save (the options panel and language switch).
  std::optional<QString> SaveSnapshotThroughWorking();
  // Snapshot := working copy.
  void SnapshotFromWorking() { snapshot_ = working_; }

  const QStringList& Working() const { return working_; }
  const QStringList& Snapshot() const { return snapshot_; }
  QString WorkingLine(int index) const { return LineOf(working_, index); }
  QString SnapshotLine(int index) const { return LineOf(snapshot_, index); }
  void SetWorkingLine(int index, const QString& value) { SetLineOf(working_, index, value); }
  void SetSnapshotLine(int index, const QString& value) { SetLineOf(snapshot_, index, value); }

  // Integer value of a working-copy line; a line that is empty or no decimal integer gives its
  // default (0 where the line has none) instead of failing.
  int WorkingInt(int index) const;

  // Pads the working copy to 25 lines and fills the defaults of empty lines 16..24.
  void PadWorkingAndFillDefaults();

  static QString DefaultFor(int index);
  static int IntOr(const QString& text, int fallback);
  static QString LineOf(const QStringList& lines, int index);
  static void SetLineOf(QStringList& lines, int index, const QString& value);

 private:
  QString path_;
  QStringList working_;
  QStringList snapshot_;
};

}  // namespace kavoro
