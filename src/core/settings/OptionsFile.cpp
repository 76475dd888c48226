#include "core/settings/OptionsFile.h"

#include "core/text/LineFile.h"

namespace kavoro {

OptionsFile::OptionsFile(QString path) : path_(std::move(path)) {}

namespace {

std::optional<QString> LoadInto(const QString& path, QStringList& copy) {
  QString error;
  auto lines = LineFile::Read(path, &error);
  if (!lines) return error;
  copy = std::move(*lines);
  return std::nullopt;
}

}  // namespace

std::optional<QString> OptionsFile::LoadWorking() { return LoadInto(path_, working_); }

std::optional<QString> OptionsFile::LoadSnapshot() { return LoadInto(path_, snapshot_); }

std::optional<QString> OptionsFile::SaveWorking() {
  QString error;
  if (!LineFile::Write(path_, working_, &error)) return error;
  return std::nullopt;
}

std::optional<QString> OptionsFile::SaveSnapshotThroughWorking() {
  working_ = snapshot_;
  return SaveWorking();
}

QString OptionsFile::DefaultFor(int index) {
  switch (index) {
    case opt::kWindowWidth:
      return QStringLiteral("702");
    case opt::kWindowHeight:
      return QStringLiteral("480");
    case opt::kWindowState:
      return QStringLiteral("0");
    case opt::kColumnWidth0:
      return QStringLiteral("40");
    case opt::kColumnWidth0 + 1:
      return QStringLiteral("600");
    case opt::kColumnWidth0 + 2:
      return QStringLiteral("80");
    case opt::kColumnWidth0 + 3:
      return QStringLiteral("190");
    case opt::kColumnWidth0 + 4:
      return QStringLiteral("120");
    case opt::kNoSearchStartQuestion:
      return QStringLiteral("1");
    default:
      return QString();
  }
}

int OptionsFile::IntOr(const QString& text, int fallback) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  return ok ? value : fallback;
}

int OptionsFile::WorkingInt(int index) const {
  return IntOr(WorkingLine(index), IntOr(DefaultFor(index), 0));
}

void OptionsFile::PadWorkingAndFillDefaults() {
  while (working_.size() < opt::kLineCount) working_.append(QString());
  for (int i = opt::kWindowWidth; i <= opt::kNoSearchStartQuestion; ++i) {
    if (working_[i].isEmpty()) working_[i] = DefaultFor(i);
  }
}

QString OptionsFile::LineOf(const QStringList& lines, int index) {
  return index >= 0 && index < lines.size() ? lines[index] : QString();
}

void OptionsFile::SetLineOf(QStringList& lines, int index, const QString& value) {
  while (lines.size() <= index) lines.append(QString());
  lines[index] = value;
}

std::optional<QString> OptionsFile::StoreWorkingLine(int index, const QString& value) {
  if (auto error = LoadWorking()) return error;
  SetWorkingLine(index, value);
  return SaveWorking();
}

}  // namespace kavoro
