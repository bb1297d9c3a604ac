#pragma once
// AtLink: the one owner of the phone's serial port and the AT command
// exchange every command uses. All waits are bounded and event-driven (woken
// by arriving bytes or a clock deadline, never by polling), and only one
// command can hold the port at a time (Busy). Input that arrives while no
// command waits is kept only up to a bound, the oldest dropped first.

#include <QByteArray>
#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "telvora/core/clock.h"
#include "telvora/link/serial_port.h"
#include "telvora/link/unsolicited_filter.h"

namespace telvora {

// How a CollectUntil wait ended.
enum class CollectResult {
    Marker,      // one of the requested markers arrived
    PhoneError,  // a final "ERROR", "+CMS ERROR: n" or "+CME ERROR: n" line arrived
    Timeout,     // the phone fell silent, or the limit passed first
    PortError,   // the port is not open or failed
    Cancelled,   // the user cancelled the command (AtLink::cancel)
};

// How long a wait for a long answer may take. The wait ends when the phone
// has sent nothing for `silenceMs` (counted from the command, then from its
// last byte), however long the answer has been flowing; `capMs` since the
// command is the last resort against a phone that never stops.
struct AnswerBounds {
    int silenceMs;
    int capMs;
};

// What CheckLink found. PortBusy: another command holds the port, so
// nothing was written to the line.
enum class LinkState { Connected, NotConnected, InvalidPort, PortInUse, PortBusy };

class AtLink;
class AsyncExchange;

// The right to use the port for one command. Every byte written to or read
// from the phone goes through a lease, and only one lease holds the port at
// a time: Busy is set while it holds it and cleared when it is released or
// destroyed. Obtained from AtLink::tryAcquire(). Movable, so a command that
// keeps the port across handlers (a call in progress) can store it. After
// release() (or on a moved-from lease) every operation fails without
// touching the line.
class PortLease {
public:
    PortLease(PortLease&& other) noexcept;
    PortLease& operator=(PortLease&& other) noexcept;
    PortLease(const PortLease&) = delete;
    PortLease& operator=(const PortLease&) = delete;
    ~PortLease();

    // True while this lease holds the port.
    bool holds() const;
    // Gives the port back early; the destructor then does nothing.
    void release();

    // Writes `command` + CR after discarding input that is already waiting.
    bool SendCommand(const QByteArray& command);
    // Writes `data` exactly as given (no CR, nothing discarded): the second
    // half of a command that the phone prompts for, such as a message PDU
    // ended by Ctrl-Z. Restarts the answer clock like SendCommand.
    bool SendData(const QByteArray& data);
    QByteArray ReadInput();
    // SendCommand, then wait up to `delayMs` (ending early once a final result
    // code has arrived), then return what arrived. Window keeps painting but
    // takes no user input meanwhile.
    QByteArray Exchange(const QByteArray& command, int delayMs);
    // Appends arriving input to `buffer` until it holds one of `markers`, or
    // (when `stopOnPhoneError`) a final error line, or `timeoutMs` passes.
    // The time counts from the moment the last command was written; it is a
    // time-out only when more than `timeoutMs` has passed (a limit of 0 or
    // less means timeouts::kDefaultCollectMs). Each pass appends first, then
    // tests the time, then the markers, then the error lines.
    CollectResult CollectUntil(QByteArray& buffer, const QList<QByteArray>& markers, int timeoutMs,
                               bool stopOnPhoneError = true);
    // The same for a long answer that flows for a while: it times out when
    // the phone falls silent, not after a fixed total.
    CollectResult CollectUntil(QByteArray& buffer, const QList<QByteArray>& markers,
                               AnswerBounds bounds, bool stopOnPhoneError = true);
    // True once the user cancelled the command holding this lease: its
    // waits end at once (Cancelled) and it should stop after the step in
    // flight. Writes still go out, so that it can put the phone back as it
    // found it (a character set) before it ends.
    bool cancelled() const;
    // Waits `ms` milliseconds without reading; window keeps painting but
    // takes no user input. For the pauses some phones need between steps.
    void Pause(int ms);
    // Sends "AT" and looks for "OK" within the link-check pause; updates
    // Connected. A port that closed (the device went away, or it could not
    // be opened) is opened again first, once per check; when that fails the
    // result is the failure (InvalidPort or PortInUse), else NotConnected.
    LinkState CheckLink();
    // The clock the link's deadlines run on, for the command's own pauses.
    Clock& clock() const;

    // Without waiting: SendCommand, then `done` gets what arrived once a
    // final result code is in, `delayMs` passed, the port failed or the
    // command was cancelled. `done` runs from the event loop, never from
    // inside this call, and is dropped when `context` goes away first.
    void ExchangeLater(const QByteArray& command, int delayMs, QObject* context,
                       std::function<void(const QByteArray& answer)> done);
    // The link check without waiting: "AT" by ExchangeLater, Connected
    // updated, then `done` with the state.
    void CheckLinkLater(QObject* context, std::function<void(LinkState)> done);
    // True when this lease was taken in the background and a command waits
    // for the port: give it back after the step in flight.
    bool yieldRequested() const;

private:
    friend class AtLink;
    explicit PortLease(AtLink* link) : m_link(link) {}
    QPointer<AtLink> m_link;
};

class AtLink : public QObject {
    Q_OBJECT
public:
    // Unread input kept while no command waits; older bytes are dropped.
    static constexpr qsizetype kMaxUnreadBytes = 64 * 1024;
    // The most a single wait keeps of an answer (the longest real answer,
    // a full message listing, is about 40 KB); older bytes are dropped.
    static constexpr qsizetype kMaxAnswerBytes = 1024 * 1024;

    // Runs its deadlines on the system clock.
    explicit AtLink(std::unique_ptr<SerialPort> port, QObject* parent = nullptr);
    AtLink(std::unique_ptr<SerialPort> port, Clock& clock, QObject* parent = nullptr);
    ~AtLink() override;

    // Opens `device`, closing whatever was open before, whatever state it is
    // in. The link remembers the device: a check finding the port closed
    // opens it again. While a command holds the port nothing changes and the
    // result is PortInUse: the command must end (cancel()) first.
    OpenResult OpenPort(const QString& device);
    // Closes the port for good: no check opens it again until OpenPort.
    // While a command holds the port, the command is cancelled and the port
    // closes as soon as its lease is given back.
    void ClosePort();
    bool isOpen() const;
    // The device the link was last asked to open; empty after ClosePort.
    QString device() const { return m_device; }
    // Why the last open failed, in the port's words (empty when it did not fail).
    QString lastOpenError() const { return m_lastOpenError; }
    Clock& clock() const { return m_clock; }

    // The port for one command, or nothing while another command holds it.
    // A background job that holds the port (a signal poll) is asked to give
    // it back after the step in flight, and this waits for that, bounded by
    // timeouts::kBackgroundYieldMs, taking no user input meanwhile.
    std::optional<PortLease> tryAcquire();
    // The port for a short job of the program's own that runs without
    // blocking the window; nothing while anything holds the port. Commands
    // take precedence (yieldRequested).
    std::optional<PortLease> tryAcquireInBackground();
    // Asks a background job that holds the port to give it back and waits
    // for that as tryAcquire() does; true when no lease holds the port then.
    bool waitForBackgroundJob();
    // A link check under a lease of its own: PortBusy (nothing written)
    // while another command holds the port.
    LinkState CheckLink();

    bool Connected() const { return m_connected; }
    bool Busy() const { return m_busy; }
    // Busy because of a command, not a background job: what the window's
    // command buttons follow.
    bool commandRunning() const { return m_busy && !m_background; }
    // Asks the command that holds the port to stop: its current wait ends
    // within the event loop's next pass, later waits end at once, until the
    // lease is given back. Nothing happens while no command holds the port.
    void cancel();
    bool cancelled() const { return m_cancelled; }
    // Marks the phone as not answering, as after a failed open.
    void markDisconnected() { setConnected(false); }
    // Unread input waiting (bounded by kMaxUnreadBytes), for tests.
    qsizetype unreadBytes() const { return m_unread.size(); }

signals:
    void connectedChanged(bool connected);
    void busyChanged(bool busy);
    // A line the phone sent unasked ("+CMTI: ...", "RING", "+CLIP: ..."),
    // without its line end; never part of a command's answer. Delivered
    // from the event loop, in order, after the read that found it, so a
    // receiver may start a command (it finds the port busy while another
    // command still holds it).
    void unsolicited(const QByteArray& line);
    // cancel() was called while a command held the port.
    void cancelRequested();

private:
    friend class PortLease;
    friend class AsyncExchange;

    void setConnected(bool connected);
    void setBusy(bool busy);
    OpenResult open(const QString& device);
    // Input that arrived while no command waits: kept, bounded.
    void keepIdleInput();
    QByteArray takeInput();
    // Everything the port has received, unsolicited lines taken out and
    // passed on to unsolicited().
    QByteArray readPort();

    bool SendCommand(const QByteArray& command);
    bool SendData(const QByteArray& data);
    QByteArray ReadInput();
    QByteArray Exchange(const QByteArray& command, int delayMs);
    CollectResult CollectUntil(QByteArray& buffer, const QList<QByteArray>& markers,
                               AnswerBounds bounds, bool stopOnPhoneError);
    void Pause(int ms);
    void ExchangeLater(const QByteArray& command, int delayMs, QObject* context,
                       std::function<void(const QByteArray&)> done);
    void waitForBackground();
    void releaseLease();
    LinkState CheckLinkHeld();

    // Ends a wait: true once `buffer` holds what the caller waits for.
    using Done = std::function<std::optional<CollectResult>(const QByteArray& buffer)>;
    // Reads into `buffer` until `done` says so, the port fails, the command
    // is cancelled, `bounds.capMs` since the last write is reached or the
    // phone is silent for `bounds.silenceMs` (0: no silence bound), then
    // Timeout. Event-driven.
    CollectResult WaitForInput(QByteArray& buffer, AnswerBounds bounds, const Done& done,
                               QEventLoop::ProcessEventsFlags flags);

    std::unique_ptr<SerialPort> m_port;
    Clock& m_clock;
    bool m_connected = false;
    bool m_busy = false;
    bool m_waiting = false;         // a wait reads the input itself
    bool m_cancelled = false;       // the lease's command was cancelled
    bool m_closeOnRelease = false;  // ClosePort came while a command held the port
    bool m_background = false;      // the lease is a background job's
    bool m_yieldRequested = false;  // a command waits for the background job's lease
    QString m_device;
    std::optional<OpenResult> m_lastOpen;
    QString m_lastOpenError;
    QByteArray m_unread;
    UnsolicitedFilter m_unsolicited;
    std::optional<qint64> m_sentAtMs;  // clock time right after the last write
};

}  // namespace telvora
