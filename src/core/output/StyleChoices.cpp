#include "core/output/StyleChoices.h"

#include "core/listing/ListingHeaders.h"
#include "core/settings/OptionsFile.h"

namespace kavoro {
namespace {

void Put(QStringList& page, int line, const QString& text) {
  OptionsFile::SetLineOf(page, line, text);
}

}  // namespace

void StyleDialogState::TextColorChosen(int index, QStringList& page) {
  choice.font_color = index;
  Put(page, html_line::kTextColor, TextColorLine(index));
  PageBackgroundClicked(choice.page_color_on, page);
}

void StyleDialogState::SizeChosen(int index, QStringList& page) {
  if (index == kCustomSize) {
    size_panel_shown = true;  // the page changes only with the panel's "OK"
  } else {
    choice.size_choice = index;
    Put(page, html_line::kFontSize, FontSizeLine(index, QString()));
  }
}

void StyleDialogState::FamilyChosen(int index, QStringList& page) {
  choice.family = index;
  Put(page, html_line::kFontFamily, FontFamilyLine(index));
}

void StyleDialogState::NoLinesClicked(bool on, QStringList& page) {
  choice.no_lines = on;
  Put(page, html_line::kTable,
      TableLine(choice.no_lines, choice.table_color_on, choice.table_color));
}

void StyleDialogState::PageBackgroundClicked(bool on, QStringList& page) {
  choice.page_color_on = on;
  Put(page, html_line::kBody, BodyLine(choice.font_color, on, choice.page_color));
}

void StyleDialogState::PageColorChosen(int index, QStringList& page) {
  choice.page_color = index;
  PageBackgroundClicked(choice.page_color_on, page);
}

void StyleDialogState::TableBackgroundClicked(bool on, QStringList& page) {
  choice.table_color_on = on;
  NoLinesClicked(choice.no_lines, page);
}

void StyleDialogState::TableColorChosen(int index, QStringList& page) {
  choice.table_color = index;
  NoLinesClicked(choice.no_lines, page);
}

void StyleDialogState::CustomSizeOk(QStringList& page) {
  size_panel_shown = false;
  choice.size_choice = kCustomSize;
  choice.custom_size = size_field;
  Put(page, html_line::kFontSize, FontSizeLine(kCustomSize, choice.custom_size));
}

void StyleDialogState::CustomSizeCancel() {
  size_panel_shown = false;
  size_field = choice.custom_size;
}

bool StyleDialogState::IsCustomSizeText(const QString& text) {
  return text.isEmpty() || IsCustomFontSize(text);
}

void StyleDialogState::ApplyDefaults(const OptionsFile& options, QStringList& page) {
  const StyleSettings stored = StyleFromOptions(options, choice);
  TextColorChosen(stored.font_color, page);
  if (stored.size_choice == kCustomSize) {
    size_field = stored.custom_size;
    CustomSizeOk(page);
  } else {
    SizeChosen(stored.size_choice, page);
  }
  FamilyChosen(stored.family, page);
  NoLinesClicked(stored.no_lines, page);
  choice.page_color = stored.page_color;
  PageBackgroundClicked(stored.page_color_on, page);
  choice.table_color = stored.table_color;
  TableBackgroundClicked(stored.table_color_on, page);
  page_browsable = choice.browsable = stored.browsable;
}

void StyleDialogState::RestoreDefaults(const OptionsFile& options) {
  choice = StyleFromOptions(options, choice);
  size_field = choice.custom_size;
  size_panel_shown = false;
}

}  // namespace kavoro
