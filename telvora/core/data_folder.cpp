#include "telvora/core/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace telvora {

bool IsBuildTreeFolder(const QString& programFolder, const QString& buildFolder) {
    if (programFolder.isEmpty() || buildFolder.isEmpty()) {
        return false;
    }
    const QString program = QFileInfo(programFolder).canonicalFilePath();
    return !program.isEmpty() && program == QFileInfo(buildFolder).canonicalFilePath();
}

bool RunsFromBuildTree() {
    return IsBuildTreeFolder(QCoreApplication::applicationDirPath(),
                             QStringLiteral(TELVORA_BUILD_PROGRAM_DIR));
}

QString ProgramDataFolder() {
    return RunsFromBuildTree() ? QCoreApplication::applicationDirPath()
                               : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString DocumentsStartFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace telvora
