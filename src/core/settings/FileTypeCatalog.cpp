#include "core/settings/FileTypeCatalog.h"

#include "core/text/LineFile.h"

namespace kavoro {

bool FileTypeCatalog::Load(const QString& path, QString* error) {
  auto lines = LineFile::Read(path, error);
  if (!lines) return false;
  lines_ = std::move(*lines);
  return true;
}

bool FileTypeCatalog::IsUsable(const QStringList& lines) {
  return lines.size() >= 2 && !lines.first().startsWith(u'.');
}

std::vector<FileTypeCatalog::Category> FileTypeCatalog::Categories() const {
  std::vector<Category> out;
  for (int i = 0; i < lines_.size(); ++i) {
    const QString& line = lines_[i];
    if (line.startsWith(u'.')) {
      if (out.empty()) continue;
      out.back().extensions.append(line);
      out.back().ext_lines.push_back(i);
    } else {
      out.push_back(Category{line, i, {}, {}});
    }
  }
  return out;
}

}  // namespace kavoro
