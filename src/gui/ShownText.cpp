#include "gui/ShownText.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QTextDocument>
#include <string>

#include "core/app/MessageText.h"
#include "core/listing/FileTexts.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

QString Elided(const QString& name, const QFontMetrics& metrics) {
  return metrics.elidedText(name, Qt::ElideMiddle, kNameWidth);
}

}  // namespace

QString CaptionOf(const QString& text) {
  std::string visible;
  AppendVisible(utf8::FromQString(text), visible);
  return utf8::ToQString(visible).replace(u'&', u"&&"_qs);
}

QString TitleOf(QString text) { return text.replace(u"[*]"_qs, u"[*][*]"_qs); }

QString ToolTipOf(const QString& text) {
  // Long words are broken, so that the tip wraps instead of running off the screen.
  return Qt::convertFromPlainText(BreakLongWords(text, kLongestWord), Qt::WhiteSpaceNormal);
}

void SetNameOf(QAction* action, const QString& name, const QFontMetrics& metrics) {
  const QString shown = Elided(name, metrics);
  action->setText(CaptionOf(shown));
  action->setToolTip(shown == name ? QString() : ToolTipOf(name));
}

void FillWithNames(QComboBox* box, const QStringList& names) {
  box->clear();
  for (const QString& name : names) {
    const QString shown = Elided(name, box->fontMetrics());
    box->addItem(shown);
    if (shown != name) box->setItemData(box->count() - 1, ToolTipOf(name), Qt::ToolTipRole);
  }
}

}  // namespace kavoro
