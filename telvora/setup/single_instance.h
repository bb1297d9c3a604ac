#pragma once
// Lets only one telvora per user run at a time, so that two programs never
// fight over the phone's port. A lock file in the user's runtime folder holds
// the running process's id; a lock left by a crashed process counts as free.

#include <QLockFile>
#include <QString>

namespace telvora {

class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath = DefaultLockPath());

    // True when this process now holds the lock (or already held it).
    bool tryAcquire();
    bool isAcquired() const { return m_lock.isLocked(); }

    // $XDG_RUNTIME_DIR/telvora.lock; without a runtime folder a file named
    // after the user in the temporary folder, which all users share.
    static QString DefaultLockPath();

private:
    QLockFile m_lock;
};

}  // namespace telvora
