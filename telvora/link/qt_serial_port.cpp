#include "telvora/link/qt_serial_port.h"

#include <QFileInfo>

#include "telvora/link/device_check.h"

namespace telvora {
namespace {

// The device itself rather than one of its names: the port's lock is named
// after the device it is given, so every symbolic link (and chain of them)
// must come to the same one, or a second program could share the phone.
QString DeviceItself(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

}  // namespace

OpenResult OpenResultForError(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::NoError:
            return OpenResult::Ok;
        case QSerialPort::DeviceNotFoundError:
            return OpenResult::InvalidPort;
        // Qt reports both a held device (its lock) and denied access so.
        case QSerialPort::PermissionError:
            return OpenResult::PortInUse;
        default:
            return OpenResult::OtherError;
    }
}

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::handleError);
}

QtSerialPort::~QtSerialPort() = default;

OpenResult QtSerialPort::open(const QString& device) {
    close();
    m_errorText.clear();
    if (device.isEmpty()) {
        m_errorText = QStringLiteral("No device given");
        return OpenResult::InvalidPort;
    }
    const QString path = DevicePath(device);
    const DeviceKind kind = KindOfDevice(path);
    if (kind == DeviceKind::Missing) {
        m_errorText = QStringLiteral("No such device");
        return OpenResult::InvalidPort;
    }
    QString reason = NotSerialPortReason(kind, true);
    if (!reason.isEmpty()) {
        m_errorText = reason;
        return OpenResult::NotSerialPort;
    }
    // An absolute path, since QSerialPort reads a bare name as one in /dev.
    m_port.setPortName(DeviceItself(path));
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (m_port.open(QIODevice::ReadWrite)) {
        return OpenResult::Ok;
    }
    m_errorText = m_port.errorString();
    const OpenResult result = OpenResultForError(m_port.error());
    m_port.clearError();
    // A device that is no terminal (/dev/null) fails on its line settings;
    // say what it is rather than blame another program. Checked only after
    // a failure, so a working port is opened once.
    reason = NotSerialPortReason(kind, IsTerminalDevice(path));
    if (!reason.isEmpty()) {
        m_errorText = reason;
        return OpenResult::NotSerialPort;
    }
    return result == OpenResult::Ok ? OpenResult::OtherError : result;
}

void QtSerialPort::close() {
    if (m_port.isOpen()) {
        m_port.close();
    }
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}

bool QtSerialPort::write(const QByteArray& data) {
    if (!m_port.isOpen()) {
        return false;
    }
    if (m_port.write(data) != data.size()) {
        return false;
    }
    // Hand the bytes to the driver now, so the answer time counts from here.
    m_port.flush();
    return true;
}

QByteArray QtSerialPort::readAll() {
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

QString QtSerialPort::errorText() const {
    return m_errorText;
}

void QtSerialPort::discardInput() {
    if (!m_port.isOpen()) {
        return;
    }
    m_port.readAll();                  // what Qt already buffered
    m_port.clear(QSerialPort::Input);  // what the driver still holds
}

void QtSerialPort::handleError(QSerialPort::SerialPortError error) {
    // A device that went away ends the port. A pseudo-terminal whose other
    // end closed reports a read error on every turn of the event loop, so a
    // read error ends it too rather than spinning. Open failures are
    // reported by open() and write errors by write().
    const bool fatal = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!fatal || !m_port.isOpen()) {
        return;
    }
    m_errorText = m_port.errorString();
    m_port.close();
    emit failed();
}

}  // namespace telvora
