#pragma once

#include <QWidget>

#include "core/i18n/LanguageTables.h"

namespace kavoro {

// Writes the captions, language-dependent positions and visibilities of one window, whose
// objectName is its form name, into whatever of its controls exist.
void ApplyWindowTexts(QWidget* window, UiLanguage language);

// The control of `window` that a row of the language tables names: the window itself, or the
// control of that objectName that belongs to the window and not to a window it owns.
QObject* TableControl(QWidget* window, const char* object);

}  // namespace kavoro
