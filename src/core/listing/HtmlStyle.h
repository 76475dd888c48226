#pragma once

#include <QString>
#include <QStringList>

namespace kavoro {

class OptionsFile;

// The size choice that takes its points from the custom size field.
constexpr int kCustomSize = 3;
// The size choice a stored custom size that is no size counts as ("Groß").
constexpr int kDefaultSize = 0;

// A custom size is one or two digits, all the style dialog's field takes. Anything else
// (empty, longer, markup) never reaches the page.
bool IsCustomFontSize(const QString& text);

// The look of the HTML page: what the style dialog chooses and optionen.ini lines 0..8 and 25
// store.
struct StyleSettings {
  int font_color = 0;   // index into the sixteen standard colours
  int size_choice = 0;  // 0 big, 1 middle, 2 small, 3 custom
  QString custom_size;  // digits, used with size_choice 3
  int family = 0;       // 0..4
  bool no_lines = false;
  bool page_color_on = false;
  int page_color = 0;
  bool table_color_on = false;
  int table_color = 0;
  bool browsable = false;  // exported pages get a search box and sortable columns
};

// The colour name the page gets for a colour index (out-of-range indexes give black).
QString ColorName(int index);

QString TextColorLine(int color);
QString FontSizeLine(int size_choice, const QString& custom_size);
QString FontFamilyLine(int family);
QString BodyLine(int font_color, bool page_color_on, int page_color);
QString TableLine(bool no_lines, bool table_color_on, int table_color);

// Reads lines 0..8 and 25 of the working copy over `current`: the custom size only with the custom
// size choice and a background colour only with its box on; otherwise those keep their
// current values. A number line that is empty or not a number, or an index outside its list,
// counts as 0; the custom size choice with a line 2 that is no custom size counts as
// kDefaultSize.
StyleSettings StyleFromOptions(const OptionsFile& options, const StyleSettings& current);

// Where the custom size choice is stored with a line 2 that is no custom size, both copies
// get the sound pair kDefaultSize and "0", so the next save writes what is read.
void SoundCustomFontSize(OptionsFile& options);

}  // namespace kavoro
