#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kavoro {

// endungen.ini: category lines, each followed by its extension lines (beginning with ".").
class FileTypeCatalog {
 public:
  struct Category {
    QString name;
    int line = 0;  // line of the category in the file
    QStringList extensions;
    std::vector<int> ext_lines;  // line of each extension in the file
  };

  bool Load(const QString& path, QString* error = nullptr);
  void SetLines(QStringList lines) { lines_ = std::move(lines); }
  const QStringList& Lines() const { return lines_; }

  // Unusable when it has fewer than two lines or its first line is an extension.
  static bool IsUsable(const QStringList& lines);
  bool IsUsable() const { return IsUsable(lines_); }

  std::vector<Category> Categories() const;

 private:
  QStringList lines_;
};

}  // namespace kavoro
