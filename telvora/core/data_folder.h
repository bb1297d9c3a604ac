#pragma once
// Where telvora keeps what it writes. A program run from the build tree
// keeps its files beside itself, as it always has, so a developer finds them
// there; an installed program (or any copy elsewhere) never writes beside its
// binary but in the user's data folder.

#include <QString>

namespace telvora {

// Whether `programFolder` is `buildFolder`, the build tree's folder of
// programs (symbolic links resolved; false when either is empty or missing).
bool IsBuildTreeFolder(const QString& programFolder, const QString& buildFolder);

// Whether this program runs from the build tree it was built in.
bool RunsFromBuildTree();

// The folder for the program's own files: its folder in the build tree, else
// the user's data folder (QStandardPaths::AppDataLocation).
QString ProgramDataFolder();

// Where file dialogs for the user's own files start: the user's documents
// folder (the home folder when there is none), wherever the program runs from.
QString DocumentsStartFolder();

}  // namespace telvora
