#include "telvora/setup/single_instance.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) {
        return QDir(runtime).filePath(QStringLiteral("telvora.lock"));
    }
#ifdef Q_OS_UNIX
    const QString user = QString::number(getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    return QDir(QDir::tempPath()).filePath(QStringLiteral("telvora-%1.lock").arg(user));
}

}  // namespace telvora
