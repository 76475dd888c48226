#pragma once

#include <QWidget>

#include "core/i18n/LanguageTables.h"

namespace kavoro {

// Writes the captions, language-dependent positions and visibilities of one window, whose
// objectName is its form name, into whatever of its controls exist.
void ApplyWindowTexts(QWidget* window, UiLanguage language);

}  // namespace kavoro
