#include "core/listing/HtmlStyle.h"

#include <algorithm>
#include <array>

#include "core/settings/OptionsFile.h"

namespace kavoro {
namespace {

constexpr std::array<const char16_t*, 16> kColorNames = {
    u"black",  u"maroon", u"green", u"olive",  u"navy", u"purple",  u"teal", u"gray",
    u"silver", u"red",    u"lime",  u"yellow", u"blue", u"fuchsia", u"aqua", u"white"};

constexpr std::array<const char16_t*, 5> kFamilies = {u"Arial", u"Comic Sans MS", u"Lucida Sans",
                                                      u"Times New Roman", u"Verdana"};

int InRange(int value, int count) { return value >= 0 && value < count ? value : 0; }

}  // namespace

QString ColorName(int index) {
  return QString::fromUtf16(kColorNames[InRange(index, int(kColorNames.size()))]);
}

bool IsCustomFontSize(const QString& text) {
  return (text.size() == 1 || text.size() == 2) &&
         std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString TextColorLine(int color) { return u"    color:"_qs + ColorName(color) + u";"_qs; }

QString FontSizeLine(int size_choice, const QString& custom_size) {
  switch (size_choice) {
    case 1:
      return u"    font-size:12pt;"_qs;
    case 2:
      return u"    font-size:9pt;"_qs;
    case kCustomSize:
      return u"    font-size:"_qs + custom_size + u"pt;"_qs;
    default:
      return u"    font-size:16pt;"_qs;
  }
}

QString FontFamilyLine(int family) {
  return u"    font-family:"_qs + QString::fromUtf16(kFamilies[InRange(family, 5)]) + u";"_qs;
}

QString BodyLine(int font_color, bool page_color_on, int page_color) {
  const QString link = ColorName(font_color);
  const QString links =
      u" link=\""_qs + link + u"\" alink=\""_qs + link + u"\" vlink=\""_qs + link + u"\""_qs;
  const QString background = page_color_on ? ColorName(page_color) : u"#ffffff"_qs;
  return u"<body bgcolor=\""_qs + background + u"\" "_qs + links + u">"_qs;
}

QString TableLine(bool no_lines, bool table_color_on, int table_color) {
  const QString background = table_color_on ? ColorName(table_color) : u"#ffffff"_qs;
  return u"<table border=\""_qs + (no_lines ? u"0"_qs : u"1"_qs) +
         u"\" align=\"center\" bgcolor=\""_qs + background + u"\" cellspacing=\"0\">"_qs;
}

StyleSettings StyleFromOptions(const OptionsFile& options, const StyleSettings& current) {
  StyleSettings s = current;
  s.font_color = InRange(options.WorkingInt(opt::kFontColor), 16);
  s.size_choice = InRange(options.WorkingInt(opt::kFontSizeChoice), 4);
  if (s.size_choice == kCustomSize) {
    const QString size = options.WorkingLine(opt::kCustomFontSize);
    if (IsCustomFontSize(size)) {
      s.custom_size = size;
    } else {
      s.size_choice = kDefaultSize;
    }
  }
  s.family = InRange(options.WorkingInt(opt::kFontFamily), 5);
  s.no_lines = options.WorkingLine(opt::kTableNoLines) == u"1";
  s.page_color_on = options.WorkingLine(opt::kPageColorOn) == u"1";
  if (s.page_color_on) s.page_color = InRange(options.WorkingInt(opt::kPageColor), 16);
  s.table_color_on = options.WorkingLine(opt::kTableColorOn) == u"1";
  if (s.table_color_on) s.table_color = InRange(options.WorkingInt(opt::kTableColor), 16);
  s.browsable = options.WorkingLine(opt::kBrowsablePage) == u"1";
  return s;
}

void SoundCustomFontSize(OptionsFile& options) {
  using Get = QString (OptionsFile::*)(int) const;
  using Set = void (OptionsFile::*)(int, const QString&);
  auto sound = [&options](Get get, Set set) {
    if (OptionsFile::IntOr((options.*get)(opt::kFontSizeChoice), 0) != kCustomSize) return;
    if (IsCustomFontSize((options.*get)(opt::kCustomFontSize))) return;
    (options.*set)(opt::kFontSizeChoice, QString::number(kDefaultSize));
    (options.*set)(opt::kCustomFontSize, u"0"_qs);
  };
  sound(&OptionsFile::WorkingLine, &OptionsFile::SetWorkingLine);
  sound(&OptionsFile::SnapshotLine, &OptionsFile::SetSnapshotLine);
}

}  // namespace kavoro
