#pragma once

#include <QString>
#include <QStringList>

#include "core/listing/HtmlStyle.h"

namespace kavoro {

class OptionsFile;

// The HTML style dialog without its widgets: the values of its controls and the actions that
// rewrite lines 8, 9, 10, 19 and 20 of the working page (the dialog's copy of the HTML view).
// The colour names of the page (text, page, table, links) always follow the chosen colours.
class StyleDialogState {
 public:
  // What the working page shows: ColorBox3, ComboBox2, the applied custom size, ComboBox4,
  // the boxes and colours.
  StyleSettings choice;
  // Edit1 of the custom size panel. It becomes the custom size of `choice` only with the
  // panel's "OK"; the panel's "Abbrechen" sets it (and ComboBox2) back to what the page shows.
  QString size_field;
  bool store_defaults = false;    // CheckBox1 "Als Grundeinstellungen speichern"
  bool size_panel_shown = false;  // Panel1, the custom size
  // Whether the HTML view's export and preview are browsable: the choice last applied, or
  // stored for start-up and "Neu". The dialog's own preview follows `choice.browsable`.
  bool page_browsable = false;

  // The change and click actions of the controls.
  void TextColorChosen(int index, QStringList& page);
  void SizeChosen(int index, QStringList& page);  // 3 ("Andere") opens the size panel
  void FamilyChosen(int index, QStringList& page);
  void NoLinesClicked(bool on, QStringList& page);
  void PageBackgroundClicked(bool on, QStringList& page);
  void PageColorChosen(int index, QStringList& page);
  void TableBackgroundClicked(bool on, QStringList& page);
  void TableColorChosen(int index, QStringList& page);
  void CustomSizeOk(QStringList& page);
  void CustomSizeCancel();
  void BrowsableClicked(bool on) { choice.browsable = on; }  // CheckBoxBrowsable

  // The custom size field takes at most two digits (and is empty while being typed).
  static bool IsCustomSizeText(const QString& text);

  // What can be used: everything but the panel is off while the panel is shown.
  bool ChoicesEnabled() const { return !size_panel_shown; }
  bool PageColorEnabled() const { return ChoicesEnabled() && choice.page_color_on; }
  bool TableColorEnabled() const { return ChoicesEnabled() && choice.table_color_on; }
  bool StoreDefaultsEnabled() const { return ChoicesEnabled() || !size_field.isEmpty(); }
  bool CustomSizeOkEnabled() const { return !size_field.isEmpty(); }

  // Start-up and "Neu": the stored style (lines 0..8 of the working copy) through the actions,
  // text colour first, as the body line takes the link colours from it; line 25 becomes the
  // browsing choice and what the view's pages carry.
  void ApplyDefaults(const OptionsFile& options, QStringList& page);
  // "Abbrechen": the controls set back from lines 0..8 and 25 of the working copy.
  void RestoreDefaults(const OptionsFile& options);
};

}  // namespace kavoro
