#pragma once

#include "core/i18n/LanguageTables.h"

namespace kavoro {

// Puts Qt's own texts (the buttons of questions, the file dialogs, the edit menus) into the
// interface language, from the translations installed with Qt (qt6-translations-l10n). English
// needs none; without the German file Qt's texts stay English.
void UseQtTranslations(UiLanguage language);

}  // namespace kavoro
