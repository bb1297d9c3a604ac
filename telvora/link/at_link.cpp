#include "telvora/link/at_link.h"

#include <QTimer>

#include "telvora/core/at_text.h"
#include "telvora/link/timeouts.h"

namespace telvora {

// ---- PortLease ----

PortLease::PortLease(PortLease&& other) noexcept : m_link(other.m_link) {
    other.m_link = nullptr;
}

PortLease& PortLease::operator=(PortLease&& other) noexcept {
    if (this != &other) {
        release();
        m_link = other.m_link;
        other.m_link = nullptr;
    }
    return *this;
}

PortLease::~PortLease() {
    release();
}

bool PortLease::holds() const {
    return m_link != nullptr;
}

void PortLease::release() {
    if (m_link) {
        m_link->setBusy(false);
    }
    m_link = nullptr;
}

bool PortLease::SendCommand(const QByteArray& command) {
    return m_link && m_link->SendCommand(command);
}

bool PortLease::SendData(const QByteArray& data) {
    return m_link && m_link->SendData(data);
}

QByteArray PortLease::ReadInput() {
    return m_link ? m_link->ReadInput() : QByteArray();
}

QByteArray PortLease::Exchange(const QByteArray& command, int delayMs) {
    return m_link ? m_link->Exchange(command, delayMs) : QByteArray();
}

CollectResult PortLease::CollectUntil(QByteArray& buffer, const QList<QByteArray>& markers,
                                      int timeoutMs, bool stopOnPhoneError) {
    return m_link ? m_link->CollectUntil(buffer, markers, timeoutMs, stopOnPhoneError)
                  : CollectResult::PortError;
}

void PortLease::Pause(int ms) {
    if (m_link) {
        m_link->Pause(ms);
    }
}

LinkState PortLease::CheckLink() {
    return m_link ? m_link->CheckLinkHeld() : LinkState::PortBusy;
}

// ---- AtLink ----

AtLink::AtLink(std::unique_ptr<SerialPort> port, QObject* parent)
    : QObject(parent), m_port(std::move(port)) {}

AtLink::~AtLink() = default;

OpenResult AtLink::OpenPort(const QString& device) {
    if (m_port->isOpen()) {
        m_port->close();
    }
    m_lastOpen = m_port->open(device);
    m_lastOpenError = *m_lastOpen == OpenResult::Ok ? QString() : m_port->errorText();
    return *m_lastOpen;
}

OpenResult AtLink::ReopenPort(const QString& device) {
    if (!m_port->isOpen()) {
        return OpenResult::OtherError;
    }
    return OpenPort(device);
}

void AtLink::ClosePort() {
    if (m_port->isOpen()) {
        m_port->close();
    }
}

bool AtLink::isOpen() const {
    return m_port->isOpen();
}

bool AtLink::SendCommand(const QByteArray& command) {
    if (!m_port->isOpen()) {
        return false;
    }
    // A late answer to an earlier command must not pass for this one's.
    m_port->discardInput();
    const bool written = m_port->write(command + '\r');
    m_sentClock.start();
    return written;
}

bool AtLink::SendData(const QByteArray& data) {
    if (!m_port->isOpen()) {
        return false;
    }
    const bool written = m_port->write(data);
    m_sentClock.start();
    return written;
}

QByteArray AtLink::ReadInput() {
    return m_port->isOpen() ? m_port->readAll() : QByteArray();
}

QByteArray AtLink::Exchange(const QByteArray& command, int delayMs) {
    QByteArray answer;
    if (!SendCommand(command)) {
        return answer;
    }
    const Done finalArrived = [](const QByteArray& buffer) -> std::optional<CollectResult> {
        if (FindFinalResult(buffer)) {
            return CollectResult::Marker;
        }
        return std::nullopt;
    };
    WaitForInput(answer, delayMs, finalArrived, QEventLoop::ExcludeUserInputEvents);
    return answer;
}

CollectResult AtLink::CollectUntil(QByteArray& buffer, const QList<QByteArray>& markers,
                                   int timeoutMs, bool stopOnPhoneError) {
    if (!m_port->isOpen()) {
        return CollectResult::PortError;
    }
    const qint64 limit = timeoutMs > 0 ? timeoutMs : timeouts::kDefaultCollectMs;
    const Done markerOrError = [&](const QByteArray& text) -> std::optional<CollectResult> {
        if (ContainsAnyMarker(text, markers)) {
            return CollectResult::Marker;
        }
        if (stopOnPhoneError && FindPhoneError(text)) {
            return CollectResult::PhoneError;
        }
        return std::nullopt;
    };
    // "More than the limit" in whole milliseconds: the deadline is limit + 1.
    return WaitForInput(buffer, limit + 1, markerOrError, QEventLoop::AllEvents);
}

void AtLink::Pause(int ms) {
    if (ms <= 0) {
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

CollectResult AtLink::WaitForInput(QByteArray& buffer, qint64 deadlineMs, const Done& done,
                                   QEventLoop::ProcessEventsFlags flags) {
    if (!m_sentClock.isValid()) {
        m_sentClock.start();
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    std::optional<CollectResult> result;

    // One pass: append what arrived, then the time test, then the caller's test.
    const auto pass = [&] {
        if (result) {
            return;
        }
        if (m_port->isOpen()) {
            buffer += m_port->readAll();
        }
        const qint64 elapsed = m_sentClock.elapsed();
        if (!m_port->isOpen()) {
            result = CollectResult::PortError;
        } else if (elapsed >= deadlineMs) {
            result = CollectResult::Timeout;
        } else {
            result = done(buffer);
        }
        if (result) {
            loop.quit();
        } else {
            timer.start(static_cast<int>(deadlineMs - elapsed));
        }
    };
    connect(m_port.get(), &SerialPort::readyRead, &loop, pass);
    connect(m_port.get(), &SerialPort::failed, &loop, pass);
    connect(&timer, &QTimer::timeout, &loop, pass);

    pass();  // input may already be waiting; readyRead will not repeat for it
    if (!result) {
        loop.exec(flags);
    }
    return *result;
}

LinkState AtLink::CheckLink() {
    std::optional<PortLease> lease = tryAcquire();
    if (!lease) {
        return LinkState::PortBusy;
    }
    return lease->CheckLink();
}

LinkState AtLink::CheckLinkHeld() {
    if (!m_port->isOpen()) {
        setConnected(false);
        if (m_lastOpen == OpenResult::InvalidPort) {
            return LinkState::InvalidPort;
        }
        if (m_lastOpen == OpenResult::PortInUse) {
            return LinkState::PortInUse;
        }
        return LinkState::NotConnected;
    }
    const QByteArray answer = Exchange("AT", timeouts::kLinkCheckMs);
    const bool answered = answer.contains("OK");
    setConnected(answered);
    return answered ? LinkState::Connected : LinkState::NotConnected;
}

std::optional<PortLease> AtLink::tryAcquire() {
    if (m_busy) {
        return std::nullopt;
    }
    setBusy(true);
    return PortLease(this);
}

void AtLink::setConnected(bool connected) {
    if (m_connected != connected) {
        m_connected = connected;
        emit connectedChanged(connected);
    }
}

void AtLink::setBusy(bool busy) {
    if (m_busy != busy) {
        m_busy = busy;
        emit busyChanged(busy);
    }
}

}  // namespace telvora
