#pragma once

#include <QString>

namespace kavoro {

// Names and other user texts are data, never markup or mnemonics.

// As the caption of a menu entry, button or check box: an "&" stays an ampersand.
inline QString CaptionOf(QString text) { return text.replace(u'&', u"&&"_qs); }

// As a window title: "[*]" stays as it is instead of marking a modified window.
inline QString TitleOf(QString text) { return text.replace(u"[*]"_qs, u"[*][*]"_qs); }

}  // namespace kavoro
