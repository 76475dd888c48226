#pragma once

#include <QString>
#include <string>

#include "core/listing/FileTexts.h"
#include "core/listing/Utf8.h"

namespace kavoro {

// Names and other user texts are data, never markup or mnemonics.

// As the caption of a menu entry, button or check box: "&" would mark a shortcut letter and a
// tab would start a menu's shortcut column, so both stay what they are in the text.
inline QString CaptionOf(const QString& text) {
  std::string visible;
  AppendVisible(utf8::FromQString(text), visible);
  return utf8::ToQString(visible).replace(u'&', u"&&"_qs);
}

// As a window title: "[*]" stays as it is instead of marking a modified window.
inline QString TitleOf(QString text) { return text.replace(u"[*]"_qs, u"[*][*]"_qs); }

}  // namespace kavoro
