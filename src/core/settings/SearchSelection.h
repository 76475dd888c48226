#pragma once

#include <QString>
#include <QStringList>

namespace kavoro {

// What entering looks for: the chosen extensions, or every file.
struct SearchSelection {
  QStringList extensions;  // each with its leading "."
  bool search_all_files = true;
  QString current_extension;  // the choice as shown in captions
  // Only the command line sets these: names left out (shell patterns) and whether folders
  // whose name begins with "." are entered.
  QStringList exclude;
  bool hidden_folders = false;

  // Every extension followed by one blank, as captions show a choice.
  void RebuildCurrentExtension() {
    current_extension.clear();
    for (const QString& ext : extensions) current_extension += ext + u' ';
  }
};

// The extensions of a typed list (".mp3 .flac", "mp3,wav"): each with its leading ".", in the
// order typed; blanks and commas part them.
inline QStringList ExtensionsOfText(const QString& text) {
  QStringList extensions;
  for (QString ext : QString(text).replace(u',', u' ').split(u' ', Qt::SkipEmptyParts)) {
    if (!ext.startsWith(u'.')) ext.prepend(u'.');
    extensions.append(ext);
  }
  return extensions;
}

}  // namespace kavoro
