#pragma once
// DevicePort: the one SerialPort the shell hands to AtLink. It picks the
// real port for a device path and the in-process demo phone for "demo", so
// the configuration window can move the link between them while AtLink keeps
// owning a single port object.

#include <functional>
#include <memory>

#include "telvora/link/serial_port.h"

namespace telvora {

class DevicePort : public SerialPort {
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<SerialPort>()>;

    // `serial` makes the port for device paths, `demo` the demo phone. Each
    // is made on first use and kept, so the demo phone keeps its state for
    // the whole run.
    DevicePort(Factory serial, Factory demo, QObject* parent = nullptr);
    ~DevicePort() override;

    OpenResult open(const QString& device) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& data) override;
    QByteArray readAll() override;
    QString errorText() const override;
    void discardInput() override;

private:
    SerialPort* backendFor(const QString& device);
    void attach(SerialPort* backend);

    Factory m_serialFactory;
    Factory m_demoFactory;
    std::unique_ptr<SerialPort> m_serial;
    std::unique_ptr<SerialPort> m_demo;
    SerialPort* m_active = nullptr;
    QString m_errorText;
};

// The port telvora uses: QtSerialPort for device paths, the demo phone with
// its sample state for "demo".
std::unique_ptr<SerialPort> MakeDevicePort();

}  // namespace telvora
