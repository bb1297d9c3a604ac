#include "telvora/phonebook/phone_book_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "telvora/core/data_folder.h"

namespace telvora {

QString ChooseDefaultPhoneBookFile(const QString& programFolder, const QString& dataFolder) {
    const QFileInfo program(programFolder);
    const QString folder = !programFolder.isEmpty() && program.isDir() && program.isWritable()
                               ? programFolder
                               : dataFolder;
    return QDir(folder).filePath(QString::fromLatin1(kDefaultPhoneBookName));
}

QString DefaultPhoneBookFile() {
    // Installed, the program's folder is not offered at all: its files go to
    // the user's data folder even where the binary's folder is writable.
    return ChooseDefaultPhoneBookFile(
        RunsFromBuildTree() ? QCoreApplication::applicationDirPath() : QString(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

PhoneBookFileLoad LoadPhoneBookFile(const QString& path) {
    PhoneBookFileLoad load;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        load.error = file.errorString();
        return load;
    }
    load.opened = true;
    load.content = ParsePhoneBookFile(file.readAll());
    return load;
}

bool SavePhoneBookFile(const QString& path, const PhoneBookList& list, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray content = PhoneBookFileContent(list);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

}  // namespace telvora
