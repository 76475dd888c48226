// Starting with any optionen.ini: the page style holds only what the style dialog can
// choose, and the file written at start keeps every line it read, but for the empty window
// and width lines it fills in and a custom font size it sets right.
#include <QRegularExpression>

#include "FuzzSupport.h"
#include "core/app/AppState.h"
#include "core/listing/HtmlStyle.h"
#include "core/listing/ListingHeaders.h"
#include "core/settings/OptionsFile.h"
#include "core/text/LineFile.h"

using namespace kavoro;

namespace {

// What the start writes for a line it read: the default of an empty line 16 to 24, and the
// sound pair "0", "0" for a custom font size that is none.
QString Expected(const QStringList& read, int i) {
  const QString line = OptionsFile::LineOf(read, i);
  const bool unsound_size =
      OptionsFile::IntOr(OptionsFile::LineOf(read, opt::kFontSizeChoice), 0) == kCustomSize &&
      !IsCustomFontSize(OptionsFile::LineOf(read, opt::kCustomFontSize));
  if (unsound_size && (i == opt::kFontSizeChoice || i == opt::kCustomFontSize)) return u"0"_qs;
  if (i >= opt::kWindowWidth && i < opt::kLineCount && line.isEmpty()) {
    return OptionsFile::DefaultFor(i);
  }
  return line;
}

void CheckStyleLines(const QStringList& html) {
  static const QRegularExpression forms[] = {
      QRegularExpression(u"^    color:[a-z]+;$"_qs),
      QRegularExpression(u"^    font-size:[0-9]{1,2}pt;$"_qs),
      QRegularExpression(u"^    font-family:[A-Za-z ]+;$"_qs),
      QRegularExpression(u"^<body bgcolor=\"#?[a-z0-9]+\"  link=\"([a-z]+)\" alink=\"\\1\" "
                         u"vlink=\"\\1\">$"_qs),
      QRegularExpression(u"^<table border=\"[01]\" align=\"center\" bgcolor=\"#?[a-z0-9]+\" "
                         u"cellspacing=\"0\">$"_qs)};
  const int lines[] = {html_line::kTextColor, html_line::kFontSize, html_line::kFontFamily,
                       html_line::kBody, html_line::kTable};
  for (int k = 0; k < 5; ++k) {
    fuzz::Check(forms[k].match(html.value(lines[k])).hasMatch(), "a style line of the page",
                html.value(lines[k]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::WriteFile(u"endungen.ini"_qs, "Musik\r\n.mp3\r\n");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::WriteFile(u"optionen.ini"_qs, fuzz::Bytes(data, size));
  const QString path = fuzz::Dir() + u"optionen.ini"_qs;
  const auto read = LineFile::Read(path);
  fuzz::Check(read.has_value(), "optionen.ini could not be read");

  AppState s(fuzz::Dir());
  fuzz::Check(CheckConfiguration(s) == StartupCheck::Ok, "the configuration was refused");
  const auto failed = ApplyOptionsAtStart(s);
  fuzz::Check(!failed, "the start failed", failed.value_or(QString()));
  CheckStyleLines(s.doc.Html().ToStringList());
  // Only "1" in line 25 makes the page browsable.
  fuzz::Check(s.ViewBrowsing().on == (read->value(opt::kBrowsablePage) == u"1"),
              "line 25 read as the browsable page", read->value(opt::kBrowsablePage));

  const auto saved = LineFile::Read(path);
  fuzz::Check(saved && saved->size() >= std::max<qsizetype>(read->size(), opt::kLineCount),
              "the file written at start is short");
  for (int i = 0; i < saved->size(); ++i) {
    fuzz::Check((*saved)[i] == Expected(*read, i), "the start changed a line",
                QString::number(i) + u": "_qs + read->value(i) + u" -> "_qs + (*saved)[i]);
  }

  // The options panel writes its own lines; the style lines stay as the start wrote them.
  const auto panel_failed = SaveOptionsPanel(s, s.flags);
  fuzz::Check(!panel_failed, "saving the options panel failed", panel_failed.value_or(QString()));
  const auto panel = LineFile::Read(path);
  fuzz::Check(panel.has_value(), "optionen.ini could not be read after the panel");
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, opt::kTableColor, opt::kBrowsablePage}) {
    fuzz::Check(panel->value(i) == saved->value(i), "the options panel changed a style line",
                QString::number(i));
  }
  return 0;
}
