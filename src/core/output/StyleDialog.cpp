#include "core/output/StyleDialog.h"

#include "core/app/AppState.h"
#include "core/listing/ListingHeaders.h"
#include "core/settings/OptionsFile.h"

namespace kavoro {
namespace {

QString Flag(bool on) { return on ? u"1"_qs : u"0"_qs; }

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
}

void StyleDialogState::RestoreDefaults(const OptionsFile& options) {
  choice = StyleFromOptions(options, choice);
  size_field = choice.custom_size;
  size_panel_shown = false;
}

bool ApplyStyleDialog(AppState& s, QString* error) {
  StyleDialogState& d = s.style;
  if (d.store_defaults) {
    OptionsFile& o = s.options;
    if (d.choice.custom_size.isEmpty()) d.choice.custom_size = d.size_field = u"0"_qs;
    const StyleSettings& c = d.choice;
    o.SetWorkingLine(opt::kFontColor, QString::number(c.font_color));
    o.SetWorkingLine(opt::kFontSizeChoice, QString::number(c.size_choice));
    o.SetWorkingLine(opt::kCustomFontSize, c.custom_size);
    o.SetWorkingLine(opt::kFontFamily, QString::number(c.family));
    o.SetWorkingLine(opt::kTableNoLines, Flag(c.no_lines));
    o.SetWorkingLine(opt::kPageColorOn, Flag(c.page_color_on));
    o.SetWorkingLine(opt::kPageColor, QString::number(c.page_color_on ? c.page_color : 0));
    o.SetWorkingLine(opt::kTableColorOn, Flag(c.table_color_on));
    o.SetWorkingLine(opt::kTableColor, QString::number(c.table_color_on ? c.table_color : 0));
    o.SetWorkingLine(opt::kInfoNoFiles, Flag(s.flags.info_no_files));
    o.SetWorkingLine(opt::kHideExtensions, Flag(s.flags.hide_extensions));
    o.SetWorkingLine(opt::kWholePath, Flag(s.flags.whole_path));
    o.SetWorkingLine(opt::kLinkFiles, Flag(s.flags.link_files));
    o.SetWorkingLine(opt::kLanguage, Flag(s.language == UiLanguage::English));
    o.SetWorkingLine(opt::kDetailColumns, Flag(s.flags.details));
    o.SetWorkingLine(opt::kInfoCountTime, Flag(s.flags.info_count_time));
    if (!o.SaveWorking()) {
      if (error) *error = o.LastError();
      return false;
    }
    o.SnapshotFromWorking();
  }
  s.doc.SetHtmlLines(s.style_page);
  return true;
}

}  // namespace kavoro
