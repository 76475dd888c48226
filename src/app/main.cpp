#include <QApplication>
#include <QCommandLineParser>
#include <QFont>

#include "gui/MainWindow.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(u"Kavoro"_qs);
  QApplication::setApplicationDisplayName(u"Kavoro 2.2"_qs);
  QApplication::setApplicationVersion(u"2.2"_qs);

  // The window is laid out in pixels, so its font is set in pixels too.
  QFont font = QApplication::font();
  font.setPixelSize(11);
  QApplication::setFont(font);

  QCommandLineParser parser;
  parser.setApplicationDescription(u"Lists the files of folders."_qs);
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption program_dir(
      u"program-dir"_qs,
      u"Folder holding optionen.ini and endungen.ini (default: the program's)."_qs, u"DIR"_qs,
      QApplication::applicationDirPath());
  parser.addOption(program_dir);
  parser.process(app);

  kavoro::MainWindow window(parser.value(program_dir));
  if (!window.StartupOk()) return 1;
  window.ApplyOptions();
  window.show();
  return app.exec();
}
