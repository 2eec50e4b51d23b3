#pragma once
// Where the tool keeps its own files (trans.dic, save.000, LoadFile.rep,
// log.log): a folder of its own in the user's data folder, so that starting
// the tool from a menu, a terminal or a USB stick never scatters files into
// whatever folder happened to be current. --workdir names another folder.

#include <QString>

namespace zarven {

// The name of the tool's folder in the user's and the system's data folders.
inline const QString kProgramFolderName = QStringLiteral("zarven4-config");

// The program's folder for a run: workDir when given (made absolute),
// otherwise the per-user data folder, e.g. ~/.local/share/zarven4-config
// (XDG_DATA_HOME is honoured). Native separators, no trailing separator.
QString programFolder(const QString &workDir);

// Creates the folder (and its parents) when missing. False when it is not a
// folder afterwards.
bool ensureProgramFolder(const QString &folder);

} // namespace zarven
