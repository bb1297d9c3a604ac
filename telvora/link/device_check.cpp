#include "telvora/link/device_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace telvora {

QString DevicePath(const QString& device) {
    if (device.isEmpty() || QDir::isAbsolutePath(device)) {
        return device;
    }
    return QDir::cleanPath(QDir::current().absoluteFilePath(device));
}

DeviceKind KindOfDevice(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return DeviceKind::Missing;
    }
    if (info.isDir()) {
        return DeviceKind::Folder;
    }
    // QFileInfo::isFile() is true for device nodes too: ask the system.
    const QByteArray native = QFile::encodeName(path);
    struct stat status {};
    if (::stat(native.constData(), &status) == 0 && S_ISREG(status.st_mode)) {
        return DeviceKind::PlainFile;
    }
    return DeviceKind::Other;
}

bool IsTerminalDevice(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return true;
    }
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal;
}

QString NotSerialPortReason(DeviceKind kind, bool terminal) {
    switch (kind) {
        case DeviceKind::Folder:
            return QStringLiteral("a folder, not a serial port");
        case DeviceKind::PlainFile:
            return QStringLiteral("a plain file, not a serial port");
        case DeviceKind::Missing:
            return {};
        case DeviceKind::Other:
            break;
    }
    return terminal ? QString() : QStringLiteral("not a serial port");
}

}  // namespace telvora
