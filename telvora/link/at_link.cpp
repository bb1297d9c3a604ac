#include "telvora/link/at_link.h"

#include "telvora/core/at_text.h"
#include "telvora/link/timeouts.h"

#include <algorithm>

namespace telvora {
namespace {

// Appends `more` to `buffer` and keeps only its last `limit` bytes.
void AppendBounded(QByteArray& buffer, const QByteArray& more, qsizetype limit) {
    buffer += more;
    if (buffer.size() > limit) {
        buffer.remove(0, buffer.size() - limit);
    }
}

}  // namespace

// One exchange that waits without blocking: it reads on every readyRead and
// ends on a final result code, its deadline, a failed port or a cancel.
class AsyncExchange : public QObject {
public:
    AsyncExchange(AtLink& link, int delayMs, QObject* context,
                  std::function<void(const QByteArray&)> done)
        : QObject(context), m_link(&link), m_done(std::move(done)) {
        const qint64 deadline = *link.m_sentAtMs + delayMs;
        m_outerWaiting = std::exchange(link.m_waiting, true);
        connect(link.m_port.get(), &SerialPort::readyRead, this, [this] { pass(false); });
        connect(link.m_port.get(), &SerialPort::failed, this, [this] { pass(false); });
        connect(&link, &AtLink::cancelRequested, this, [this] { pass(false); });
        link.m_clock.callAfter(0, this, [this] { pass(false); });
        link.m_clock.callAfter(deadline - link.m_clock.nowMs(), this, [this] { pass(true); });
    }
    ~AsyncExchange() override { stopWaiting(); }

private:
    void stopWaiting() {
        if (m_link && !m_finished) {
            m_link->m_waiting = m_outerWaiting;
        }
        m_finished = true;
    }
    void pass(bool deadlinePassed) {
        if (m_finished || !m_link) {
            return;
        }
        AppendBounded(m_answer, m_link->takeInput(), AtLink::kMaxAnswerBytes);
        if (!deadlinePassed && !m_link->cancelled() && m_link->isOpen() &&
            !FindFinalResult(m_answer)) {
            return;
        }
        stopWaiting();
        const std::function<void(const QByteArray&)> done = std::move(m_done);
        const QByteArray answer = std::move(m_answer);
        deleteLater();
        done(answer);
    }

    QPointer<AtLink> m_link;
    std::function<void(const QByteArray&)> m_done;
    QByteArray m_answer;
    bool m_outerWaiting = false;
    bool m_finished = false;
};

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
        m_link->releaseLease();
    }
    m_link = nullptr;
}

bool PortLease::cancelled() const {
    return m_link && m_link->cancelled();
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
    const int limit = timeoutMs > 0 ? timeoutMs : timeouts::kDefaultCollectMs;
    // "More than the limit" in whole milliseconds: the deadline is limit + 1.
    return CollectUntil(buffer, markers, AnswerBounds{0, limit + 1}, stopOnPhoneError);
}

CollectResult PortLease::CollectUntil(QByteArray& buffer, const QList<QByteArray>& markers,
                                      AnswerBounds bounds, bool stopOnPhoneError) {
    return m_link ? m_link->CollectUntil(buffer, markers, bounds, stopOnPhoneError)
                  : CollectResult::PortError;
}

void PortLease::Pause(int ms) {
    if (m_link) {
        m_link->Pause(ms);
    }
}

void PortLease::ExchangeLater(const QByteArray& command, int delayMs, QObject* context,
                              std::function<void(const QByteArray&)> done) {
    if (m_link) {
        m_link->ExchangeLater(command, delayMs, context, std::move(done));
    } else {
        SystemClock().callAfter(0, context, [done = std::move(done)] { done({}); });
    }
}

void PortLease::CheckLinkLater(QObject* context, std::function<void(LinkState)> done) {
    if (!m_link || !m_link->isOpen()) {
        // Nothing to wait for: the closed port is opened again (or not) at once.
        const LinkState state = CheckLink();
        clock().callAfter(0, context, [done = std::move(done), state] { done(state); });
        return;
    }
    ExchangeLater("AT", timeouts::kLinkCheckMs, context,
                  [link = m_link, done = std::move(done)](const QByteArray& answer) {
                      const bool answered = answer.contains("OK");
                      if (link) {
                          link->setConnected(answered);
                      }
                      done(answered ? LinkState::Connected : LinkState::NotConnected);
                  });
}

bool PortLease::yieldRequested() const {
    return m_link && m_link->m_yieldRequested;
}

LinkState PortLease::CheckLink() {
    return m_link ? m_link->CheckLinkHeld() : LinkState::PortBusy;
}

Clock& PortLease::clock() const {
    return m_link ? m_link->clock() : SystemClock();
}

// ---- AtLink ----

AtLink::AtLink(std::unique_ptr<SerialPort> port, QObject* parent)
    : AtLink(std::move(port), SystemClock(), parent) {}

AtLink::AtLink(std::unique_ptr<SerialPort> port, Clock& clock, QObject* parent)
    : QObject(parent), m_port(std::move(port)), m_clock(clock) {
    connect(m_port.get(), &SerialPort::readyRead, this, &AtLink::keepIdleInput);
    // A port that failed is closed: the phone no longer answers.
    connect(m_port.get(), &SerialPort::failed, this, [this] { setConnected(false); });
}

AtLink::~AtLink() = default;

OpenResult AtLink::OpenPort(const QString& device) {
    if (m_busy) {
        // Moving the port under a running command would cut its answer.
        return OpenResult::PortInUse;
    }
    m_device = device;
    return open(device);
}

OpenResult AtLink::open(const QString& device) {
    if (m_port->isOpen()) {
        m_port->close();
    }
    m_unread.clear();
    m_unsolicited.reset();
    m_lastOpen = m_port->open(device);
    m_lastOpenError = *m_lastOpen == OpenResult::Ok ? QString() : m_port->errorText();
    return *m_lastOpen;
}

void AtLink::ClosePort() {
    m_device.clear();
    if (m_busy) {
        m_closeOnRelease = true;
        cancel();
        return;
    }
    if (m_port->isOpen()) {
        m_port->close();
    }
}

void AtLink::cancel() {
    if (m_busy && !m_cancelled) {
        m_cancelled = true;
        emit cancelRequested();
    }
}

void AtLink::releaseLease() {
    m_cancelled = false;
    m_background = false;
    m_yieldRequested = false;
    if (std::exchange(m_closeOnRelease, false) && m_port->isOpen()) {
        m_port->close();
    }
    setBusy(false);
}

bool AtLink::isOpen() const {
    return m_port->isOpen();
}

void AtLink::keepIdleInput() {
    // A device that streams while no command waits must not make the
    // program grow: only the newest bytes are kept.
    if (!m_waiting && m_port->isOpen()) {
        AppendBounded(m_unread, readPort(), kMaxUnreadBytes);
    }
}

QByteArray AtLink::takeInput() {
    QByteArray input = std::exchange(m_unread, {});
    if (m_port->isOpen()) {
        input += readPort();
    }
    return input;
}

QByteArray AtLink::readPort() {
    QList<QByteArray> news;
    QByteArray answer = m_unsolicited.take(m_port->readAll(), news);
    // Passed on from the event loop, on the link's clock so that a test's
    // fake time does not run ahead of them.
    for (const QByteArray& line : news) {
        m_clock.callAfter(0, this, [this, line] { emit unsolicited(line); });
    }
    return answer;
}

bool AtLink::SendCommand(const QByteArray& command) {
    if (!m_port->isOpen()) {
        return false;
    }
    // A late answer to an earlier command must not pass for this one's;
    // news that came with it is still passed on.
    readPort();
    m_unread.clear();
    m_port->discardInput();
    m_unsolicited.commandSent(command);
    const bool written = m_port->write(command + '\r');
    m_sentAtMs = m_clock.nowMs();
    return written;
}

bool AtLink::SendData(const QByteArray& data) {
    if (!m_port->isOpen()) {
        return false;
    }
    const bool written = m_port->write(data);
    m_sentAtMs = m_clock.nowMs();
    return written;
}

QByteArray AtLink::ReadInput() {
    return takeInput();
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
    WaitForInput(answer, AnswerBounds{0, delayMs}, finalArrived,
                 QEventLoop::ExcludeUserInputEvents);
    return answer;
}

void AtLink::ExchangeLater(const QByteArray& command, int delayMs, QObject* context,
                           std::function<void(const QByteArray&)> done) {
    if (!SendCommand(command)) {
        m_clock.callAfter(0, context, [done = std::move(done)] { done({}); });
        return;
    }
    new AsyncExchange(*this, delayMs, context, std::move(done));
}

CollectResult AtLink::CollectUntil(QByteArray& buffer, const QList<QByteArray>& markers,
                                   AnswerBounds bounds, bool stopOnPhoneError) {
    if (!m_port->isOpen()) {
        return CollectResult::PortError;
    }
    const Done markerOrError = [&](const QByteArray& text) -> std::optional<CollectResult> {
        if (ContainsAnyMarker(text, markers)) {
            return CollectResult::Marker;
        }
        if (stopOnPhoneError && FindPhoneError(text)) {
            return CollectResult::PhoneError;
        }
        return std::nullopt;
    };
    // The window keeps handling input during a long answer, so that its
    // Cancel (or Exit) can end the command; the shell keeps every other
    // command off while the port is held.
    return WaitForInput(buffer, bounds, markerOrError, QEventLoop::AllEvents);
}

void AtLink::Pause(int ms) {
    if (ms <= 0 || m_cancelled) {
        return;
    }
    QEventLoop loop;
    m_clock.callAfter(ms, &loop, [&loop] { loop.quit(); });
    connect(this, &AtLink::cancelRequested, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

CollectResult AtLink::WaitForInput(QByteArray& buffer, AnswerBounds bounds, const Done& done,
                                   QEventLoop::ProcessEventsFlags flags) {
    if (!m_sentAtMs) {
        m_sentAtMs = m_clock.nowMs();
    }
    QEventLoop loop;
    std::optional<CollectResult> result;
    bool deadlineSet = false;
    // The phone's last sign of life: the command, then each byte it sends.
    qint64 lastHeardMs = *m_sentAtMs;

    // One pass: append what arrived, then the time tests, then the caller's test.
    std::function<void()> pass = [&] {
        if (result) {
            return;
        }
        const QByteArray arrived = takeInput();
        const qint64 now = m_clock.nowMs();
        if (!arrived.isEmpty()) {
            AppendBounded(buffer, arrived, kMaxAnswerBytes);
            lastHeardMs = now;
        }
        qint64 deadline = *m_sentAtMs + bounds.capMs;
        if (bounds.silenceMs > 0) {
            deadline = std::min(deadline, lastHeardMs + bounds.silenceMs);
        }
        if (m_cancelled) {
            result = CollectResult::Cancelled;
        } else if (!m_port->isOpen()) {
            result = CollectResult::PortError;
        } else if (now >= deadline) {
            result = CollectResult::Timeout;
        } else {
            result = done(buffer);
        }
        if (result) {
            loop.quit();
        } else if (!deadlineSet) {
            deadlineSet = true;
            m_clock.callAfter(deadline - now, &loop, [&] {
                deadlineSet = false;  // a deadline that moved on is set again
                pass();
            });
        }
    };
    connect(m_port.get(), &SerialPort::readyRead, &loop, [&] { pass(); });
    connect(m_port.get(), &SerialPort::failed, &loop, [&] { pass(); });
    connect(this, &AtLink::cancelRequested, &loop, [&] { pass(); });

    const bool outerWaiting = std::exchange(m_waiting, true);
    pass();  // input may already be waiting; readyRead will not repeat for it
    if (!result) {
        loop.exec(flags);
    }
    m_waiting = outerWaiting;
    // The loop also ends when the application quits in the middle of the
    // wait: the answer is then incomplete.
    return result.value_or(CollectResult::PortError);
}

LinkState AtLink::CheckLink() {
    std::optional<PortLease> lease = tryAcquire();
    if (!lease) {
        return LinkState::PortBusy;
    }
    return lease->CheckLink();
}

LinkState AtLink::CheckLinkHeld() {
    if (!m_port->isOpen() && !m_device.isEmpty()) {
        // The phone may be back (a cable plugged in again, a program that
        // held the port ended): one quiet attempt per check.
        open(m_device);
    }
    if (!m_port->isOpen()) {
        setConnected(false);
        if (m_lastOpen == OpenResult::InvalidPort || m_lastOpen == OpenResult::NotSerialPort) {
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
    if (m_busy && m_background) {
        waitForBackground();
    }
    if (m_busy) {
        return std::nullopt;
    }
    setBusy(true);
    return PortLease(this);
}

std::optional<PortLease> AtLink::tryAcquireInBackground() {
    if (m_busy) {
        return std::nullopt;
    }
    m_background = true;
    setBusy(true);
    return PortLease(this);
}

bool AtLink::waitForBackgroundJob() {
    if (m_busy && m_background) {
        waitForBackground();
    }
    return !m_busy;
}

void AtLink::waitForBackground() {
    m_yieldRequested = true;
    QEventLoop loop;
    connect(this, &AtLink::busyChanged, &loop, [&loop](bool busy) {
        if (!busy) {
            loop.quit();
        }
    });
    m_clock.callAfter(timeouts::kBackgroundYieldMs, &loop, [&loop] { loop.quit(); });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
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
