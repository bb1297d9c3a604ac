#include "telvora/setup/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace telvora {

SingleInstance::SingleInstance(const QString& lockPath) : m_lock(lockPath) {
    // Only a lock whose process has gone counts as stale; the default age
    // limit would let a second instance in after 30 s.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::tryAcquire() {
    return m_lock.isLocked() || m_lock.tryLock(0);
}

QString SingleInstance::DefaultLockPath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::tempPath();
    }
    return QDir(folder).filePath(QStringLiteral("telvora.lock"));
}

}  // namespace telvora
