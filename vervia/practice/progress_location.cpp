#include "vervia/practice/progress_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace vervia::practice {

std::filesystem::path DefaultProgressFile() {
    // The data folder is named after the application; a command-line program
    // without a QCoreApplication names itself here.
    if (QCoreApplication::applicationName() != QLatin1String(kApplicationName)) {
        QCoreApplication::setApplicationName(QLatin1String(kApplicationName));
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return std::filesystem::path(
        QDir(folder).filePath(QStringLiteral("practice-progress.txt")).toStdU16String());
}

}  // namespace vervia::practice
