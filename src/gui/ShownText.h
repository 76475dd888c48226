#pragma once

#include <QString>

class QAction;
class QComboBox;
class QFontMetrics;

namespace kavoro {

// Names and other user texts are data, never markup or mnemonics, and a long one never makes
// a menu or list wider than kNameWidth pixels.
constexpr int kNameWidth = 300;

// As the caption of a menu entry, button or check box: "&" would mark a shortcut letter and a
// tab would start a menu's shortcut column, so both stay what they are in the text.
QString CaptionOf(const QString& text);

// As a window title: "[*]" stays as it is instead of marking a modified window.
QString TitleOf(QString text);

// As a tooltip: plain text with its line breaks, whatever markup it looks like; a long word
// is broken to fit.
QString ToolTipOf(const QString& text);

// A name as the text of a menu entry (or submenu), elided in the middle when it is wider than
// kNameWidth in `metrics`; an elided name is shown whole in the entry's tooltip.
void SetNameOf(QAction* action, const QString& name, const QFontMetrics& metrics);

// Replaces the items of a list by `names`, elided and with tooltips likewise; the items keep
// the names' order, so the lists are read by position.
void FillWithNames(QComboBox* box, const QStringList& names);

}  // namespace kavoro
