#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstring>

#include "core/app/ProgramFolders.h"
#include "gui/MainWindow.h"
#include "gui/ProgramIcon.h"

namespace {

void Name(QCoreApplication& app) {
  app.setApplicationName(u"Kavoro"_qs);
  app.setApplicationVersion(u"2.2"_qs);
}

QCommandLineOption Describe(QCommandLineParser& parser) {
  parser.setApplicationDescription(u"Lists the files of folders."_qs);
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption program_dir(
      u"program-dir"_qs,
      u"Folder holding optionen.ini and endungen.ini (default: the program's when it holds them, "
      u"else ~/.config/kavoro)."_qs,
      u"DIR"_qs);
  parser.addOption(program_dir);
  parser.addPositionalArgument(u"folder"_qs,
                               u"Folder to choose in the folder tree (for a file: its folder)."_qs,
                               u"[FOLDER]"_qs);
  return program_dir;
}

// --help and --version are answered before the window's application exists, so that they work
// without a display.
bool AsksHelpOrVersion(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"}) {
      if (std::strcmp(argv[i], option) == 0) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (AsksHelpOrVersion(argc, argv)) {
    QCoreApplication app(argc, argv);
    Name(app);
    QCommandLineParser parser;
    Describe(parser);
    parser.process(app);  // prints and ends the program
    return 0;
  }

  QApplication app(argc, argv);
  Name(app);
  QApplication::setApplicationDisplayName(u"Kavoro 2.2"_qs);
  QApplication::setDesktopFileName(u"org.kavoro.Kavoro"_qs);
  QApplication::setWindowIcon(kavoro::ProgramIcon());

  // The window is laid out in pixels, so its font is set in pixels too.
  QFont font = QApplication::font();
  font.setPixelSize(11);
  QApplication::setFont(font);

  QCommandLineParser parser;
  const QCommandLineOption program_dir = Describe(parser);
  parser.process(app);

  const kavoro::ProgramFolders folders = kavoro::ChooseProgramFolders(
      QCoreApplication::applicationDirPath(), parser.value(program_dir),
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/kavoro"_qs);
  if (const auto error = kavoro::PrepareSettingsFolder(folders)) {
    QMessageBox::critical(nullptr, u"Kavoro 2.2"_qs, *error);
    return 1;
  }
  kavoro::MainWindow window(folders.settings, nullptr, nullptr, folders.data);
  if (!window.StartupOk()) return 1;
  window.ApplyOptions();
  window.show();
  // The desktop passes the folders or files opened with the program; the first is chosen.
  if (!parser.positionalArguments().isEmpty()) {
    window.ShowStartFolder(parser.positionalArguments().constFirst());
  }
  return app.exec();
}
