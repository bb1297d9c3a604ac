#pragma once
// QtSerialPort: a real serial device, or a pseudo-terminal, behind
// SerialPort. The line is fixed at 9600 baud, 8 data bits, no parity, one
// stop bit and no flow control; the phone is driven by text alone.

#include <QSerialPort>

#include "telvora/link/serial_port.h"

namespace telvora {

class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    // `device` is a path such as /dev/ttyS0, /dev/ttyUSB0 or /dev/pts/3; a
    // relative path is taken from the current folder. A missing device gives
    // InvalidPort; a folder, a plain file or a device that is no terminal
    // gives NotSerialPort; a device that another program (or another
    // QtSerialPort) holds, or that may not be opened, gives PortInUse.
    OpenResult open(const QString& device) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& data) override;
    QByteArray readAll() override;
    QString errorText() const override;
    void discardInput() override;

private:
    void handleError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QString m_errorText;
};

// How Qt's failure to open a device is reported to the program.
OpenResult OpenResultForError(QSerialPort::SerialPortError error);

}  // namespace telvora
