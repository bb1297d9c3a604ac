#pragma once
// The byte pipe to the phone. AtLink owns exactly one SerialPort and is the
// only code that writes to it. Implementations: QtSerialPort (a real device
// or a pseudo-terminal, 9600 8N1), the in-process demo phone, and scripted
// fakes in tests.

#include <QByteArray>
#include <QObject>
#include <QString>

namespace telvora {

enum class OpenResult {
    Ok,
    InvalidPort,    // the device does not exist
    PortInUse,      // another program holds the device, or access is denied
    NotSerialPort,  // the path is a folder, a plain file or another device
    OtherError,
};

class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    virtual OpenResult open(const QString& device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues all of `data` for writing; false when the port is not open or fails.
    virtual bool write(const QByteArray& data) = 0;
    // Every byte received since the last call (possibly none).
    virtual QByteArray readAll() = 0;
    // Human-readable description of the last failure, for diagnostics.
    virtual QString errorText() const { return {}; }
    // Drops every received byte that has not been read yet, including bytes
    // still held below this object (driver buffers), so that a late answer
    // to an earlier command is not taken as the answer to the next one.
    virtual void discardInput() { readAll(); }

signals:
    // Emitted when new bytes can be read.
    void readyRead();
    // Emitted when an open port fails for good (for example the device
    // vanished); isOpen() is false afterwards. Wakes up waits at once.
    void failed();
};

}  // namespace telvora
