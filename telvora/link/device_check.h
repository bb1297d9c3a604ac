#pragma once
// What a device name given by the user stands for, checked before a serial
// port is opened on it: a relative path is a path from the current folder
// (not a name under /dev), and a folder or a plain file is no serial port.

#include <QString>

namespace telvora {

// `device` as an absolute path; an absolute path or an empty text unchanged.
QString DevicePath(const QString& device);

enum class DeviceKind {
    Missing,    // nothing at that path
    Folder,     // a directory
    PlainFile,  // a regular file
    Other,      // a device node, a pipe, ...: may be a serial port
};

DeviceKind KindOfDevice(const QString& path);

// Whether the device at `path` is a terminal (a serial port or a
// pseudo-terminal). Opens it without becoming its controlling terminal and
// without waiting for the modem lines; true when it cannot be opened at all,
// so that the port's own error (access denied, held) is the one reported.
bool IsTerminalDevice(const QString& path);

// Why `path` cannot be a serial port ("a folder, not a serial port"); empty
// when it may be one.
QString NotSerialPortReason(DeviceKind kind, bool terminal);

}  // namespace telvora
