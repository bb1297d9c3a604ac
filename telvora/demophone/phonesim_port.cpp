#include "telvora/demophone/phonesim_port.h"

namespace phonesim {

PhoneSimPort::PhoneSimPort(PhoneState state, QObject* parent)
    : telvora::SerialPort(parent), m_phone(std::move(state)) {
    connect(&m_pacer, &AnswerPacer::output, this, &PhoneSimPort::receive);
    connect(&m_news, &NewsControl::output, this, [this](const QList<Output>& outputs) {
        m_pacer.setBaud(m_phone.options().baud);
        m_pacer.schedule(outputs);
    });
}

telvora::OpenResult PhoneSimPort::open(const QString& device) {
    if (m_open) {
        m_error = QStringLiteral("%1 is already open").arg(m_device);
        return telvora::OpenResult::PortInUse;
    }
    if (m_openResult != telvora::OpenResult::Ok) {
        m_error = QStringLiteral("simulated failure opening %1").arg(device);
        return m_openResult;
    }
    if (m_phone.lineDead()) {
        m_error = QStringLiteral("%1: the line was cut").arg(device);
        return telvora::OpenResult::InvalidPort;
    }
    m_device = device;
    m_error.clear();
    m_open = true;
    return telvora::OpenResult::Ok;
}

void PhoneSimPort::close() {
    m_open = false;
    m_pacer.clear();
    m_received.clear();
}

bool PhoneSimPort::write(const QByteArray& data) {
    if (!m_open) {
        m_error = QStringLiteral("the port is not open");
        return false;
    }
    m_pacer.setBaud(m_phone.options().baud);
    m_pacer.schedule(m_phone.receive(data));
    if (m_phone.lineDead() && m_pacer.idle()) {
        // The line was cut with nothing left to send: the cable is gone.
        QMetaObject::invokeMethod(this, &PhoneSimPort::cutLine, Qt::QueuedConnection);
    }
    return true;
}

QByteArray PhoneSimPort::readAll() {
    return std::exchange(m_received, {});
}

void PhoneSimPort::breakLink() {
    close();
    m_error = QStringLiteral("the phone was disconnected");
    emit failed();
}

void PhoneSimPort::cutLine() {
    if (!m_open) {
        return;
    }
    // Like breakLink(), but what already arrived can still be read.
    m_open = false;
    m_pacer.clear();
    m_error = QStringLiteral("the line was cut");
    emit failed();
}

void PhoneSimPort::receive(const QByteArray& bytes) {
    if (!m_open) {
        return;
    }
    m_received += bytes;
    emit readyRead();
    if (m_phone.lineDead() && m_pacer.idle()) {
        // The last of the cut answer is out: the cable is gone.
        QMetaObject::invokeMethod(this, &PhoneSimPort::cutLine, Qt::QueuedConnection);
    }
}

std::unique_ptr<PhoneSimPort> makeDemoPhonePort(QObject* parent) {
    auto port = std::make_unique<PhoneSimPort>(demoPhoneState(), parent);
    const QString control = qEnvironmentVariable("TELVORA_DEMO_CONTROL");
    if (!control.isEmpty()) {
        auto* file = new ControlFile(port->news(), port.get());
        QString error;
        if (!file->watch(control, &error)) {
            qWarning("%s", qPrintable(error));
        }
    }
    return port;
}

}  // namespace phonesim
