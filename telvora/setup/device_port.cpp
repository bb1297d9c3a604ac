#include "telvora/setup/device_port.h"

#include "telvora/setup/settings.h"

namespace telvora {

DevicePort::DevicePort(Factory serial, Factory demo, QObject* parent)
    : SerialPort(parent), m_serialFactory(std::move(serial)), m_demoFactory(std::move(demo)) {}

DevicePort::~DevicePort() {
    close();
}

OpenResult DevicePort::open(const QString& device) {
    close();
    m_errorText.clear();
    if (device.isEmpty()) {
        m_errorText = QStringLiteral("no device chosen");
        return OpenResult::InvalidPort;
    }
    m_active = backendFor(device);
    if (m_active == nullptr) {
        m_errorText = QStringLiteral("no port for %1").arg(device);
        return OpenResult::InvalidPort;
    }
    return m_active->open(device);
}

void DevicePort::close() {
    if (m_active != nullptr) {
        m_active->close();
    }
}

bool DevicePort::isOpen() const {
    return m_active != nullptr && m_active->isOpen();
}

bool DevicePort::write(const QByteArray& data) {
    return m_active != nullptr && m_active->write(data);
}

QByteArray DevicePort::readAll() {
    return m_active != nullptr ? m_active->readAll() : QByteArray();
}

QString DevicePort::errorText() const {
    return m_active != nullptr && m_errorText.isEmpty() ? m_active->errorText() : m_errorText;
}

void DevicePort::discardInput() {
    if (m_active != nullptr) {
        m_active->discardInput();
    }
}

SerialPort* DevicePort::backendFor(const QString& device) {
    const bool demo = device == QLatin1String(kDemoDevice);
    std::unique_ptr<SerialPort>& backend = demo ? m_demo : m_serial;
    if (!backend) {
        const Factory& factory = demo ? m_demoFactory : m_serialFactory;
        if (!factory) {
            return nullptr;
        }
        backend = factory();
        if (backend) {
            attach(backend.get());
        }
    }
    return backend.get();
}

void DevicePort::attach(SerialPort* backend) {
    // Only the active backend's signals matter; an idle one is closed.
    connect(backend, &SerialPort::readyRead, this, [this, backend] {
        if (backend == m_active) {
            emit readyRead();
        }
    });
    connect(backend, &SerialPort::failed, this, [this, backend] {
        if (backend == m_active) {
            emit failed();
        }
    });
}

}  // namespace telvora
