#pragma once

#include <QString>
#include <optional>

namespace kavoro {

// Where the program keeps optionen.ini, endungen.ini and vorschau.htm, and where it finds what
// it ships (the two files as delivered and the help pages). Both end in "/".
struct ProgramFolders {
  QString settings;
  QString data;
  bool portable = true;
};

// Portable (everything in one folder) when `given` is set (--program-dir), or when
// `program_folder` (the binary's folder) holds both files and can be written. Otherwise the
// program is installed: the settings live in `user_folder` (the user's configuration folder)
// and the data in `program_folder`/../share/kavoro.
ProgramFolders ChooseProgramFolders(const QString& program_folder, const QString& given,
                                    const QString& user_folder);

// The first start of an installed program for a user: makes the settings folder and copies the
// two shipped files into it. A folder that exists is left as it is (a file missing from it is
// then reported by the start as ever). The reason, naming the path, when it cannot be done.
std::optional<QString> PrepareSettingsFolder(const ProgramFolders& folders);

}  // namespace kavoro
