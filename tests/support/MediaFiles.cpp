#include "support/MediaFiles.h"

#include <gtest/gtest.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <QFile>

#include "support/TestFiles.h"

namespace kavoro::test {

void Tone(const QString& path, double seconds) {
  RunTool(u"sox"_qs, {u"-n"_qs, u"-r"_qs, u"8000"_qs, u"-c"_qs, u"1"_qs, path, u"synth"_qs,
                      QString::number(seconds), u"sine"_qs, u"440"_qs});
}

void Tag(const QString& path, const char* artist, const char* title, const char* album) {
  TagLib::FileRef file(QFile::encodeName(path).constData());
  ASSERT_FALSE(file.isNull()) << path.toStdString();
  file.tag()->setArtist(TagLib::String(artist, TagLib::String::UTF8));
  file.tag()->setTitle(TagLib::String(title, TagLib::String::UTF8));
  file.tag()->setAlbum(TagLib::String(album, TagLib::String::UTF8));
  ASSERT_TRUE(file.save()) << path.toStdString();
}

}  // namespace kavoro::test
