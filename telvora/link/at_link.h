#pragma once
// AtLink: the one owner of the phone's serial port and the AT command
// exchange every command uses. All waits are bounded and event-driven (woken
// by arriving bytes or a timer, never by polling), and only one command can
// hold the port at a time (Busy).

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

#include "serial_port.h"

namespace telvora {

// How a CollectUntil wait ended.
enum class CollectResult {
    Marker,      // one of the requested markers arrived
    PhoneError,  // a final "ERROR", "+CMS ERROR: n" or "+CME ERROR: n" line arrived
    Timeout,     // the limit passed first
    PortError,   // the port is not open or failed
};

// What CheckLink found.
enum class LinkState { Connected, NotConnected, InvalidPort, PortInUse };

class AtLink : public QObject {
    Q_OBJECT
public:
    explicit AtLink(std::unique_ptr<SerialPort> port, QObject* parent = nullptr);
    ~AtLink() override;

    OpenResult OpenPort(const QString& device);
    // Only an open port is moved to `device`; a closed one stays closed.
    OpenResult ReopenPort(const QString& device);
    void ClosePort();
    bool isOpen() const;

    // Writes `command` + CR after discarding input that is already waiting.
    bool SendCommand(const QByteArray& command);
    QByteArray ReadInput();
    // SendCommand, then wait up to `delayMs` (ending early once a final result
    // code has arrived), then return what arrived. Window keeps painting but
    // takes no user input meanwhile.
    QByteArray Exchange(const QByteArray& command, int delayMs);
    // Appends arriving input to `buffer` until it holds one of `markers`, or
    // (when `stopOnPhoneError`) a final error line, or `timeoutMs` passes.
    CollectResult CollectUntil(QByteArray& buffer, const QList<QByteArray>& markers, int timeoutMs,
                               bool stopOnPhoneError = true);
    // Sends "AT" and looks for "OK" within the link-check pause; updates Connected.
    LinkState CheckLink();

    bool Connected() const { return m_connected; }
    void setConnected(bool connected);
    bool Busy() const { return m_busy; }
    void setBusy(bool busy);

signals:
    void connectedChanged(bool connected);
    void busyChanged(bool busy);

private:
    std::unique_ptr<SerialPort> m_port;
    bool m_connected = false;
    bool m_busy = false;
};

// Drops the first `count` `delimiter`-separated fields of `text`.
QByteArray SkipFields(const QByteArray& text, const QByteArray& delimiter, int count);

}  // namespace telvora
