#pragma once
// InstanceChannel: how a second start of telvora reaches the running one.
// The running program listens on a local socket beside its single-instance
// lock; a later start connects, asks it to come to the front and ends
// without a window of its own. Every wait is bounded.

#include <QObject>
#include <QString>

class QLocalServer;

namespace telvora {

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Listens at `path`; a socket left there by a program that has ended is
    // replaced (the caller holds the single-instance lock, so no other
    // program listens there). False when the socket cannot be made.
    bool listen(const QString& path);

    // Asks the program listening at `path` to come to the front; true when
    // it answered within `timeoutMs`.
    static bool AskToRaise(const QString& path, int timeoutMs = 2000);

    // The socket that goes with a lock file: the lock's path with ".socket"
    // in place of ".lock".
    static QString PathForLock(const QString& lockPath);

signals:
    // A later start asked this program to come to the front.
    void raiseRequested();

private:
    void answer();

    QLocalServer* m_server;
};

}  // namespace telvora
