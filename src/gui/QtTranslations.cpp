#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kavoro {

void UseQtTranslations(UiLanguage language) {
  static QTranslator* german = nullptr;
  if (language == UiLanguage::English) {
    if (german) QCoreApplication::removeTranslator(german);
    return;
  }
  if (!german) {
    german = new QTranslator(QCoreApplication::instance());
    if (!german->load(u"qtbase_de"_qs, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      delete german;
      german = nullptr;
      return;
    }
  }
  QCoreApplication::installTranslator(german);
}

}  // namespace kavoro
