#include "telvora/core/clock.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace telvora {
namespace {

class MonotonicClock : public Clock {
public:
    MonotonicClock() { m_started.start(); }

    qint64 nowMs() const override { return m_started.elapsed(); }

    void callAfter(qint64 delayMs, QObject* context, std::function<void()> callback) override {
        const int ms = static_cast<int>(std::clamp<qint64>(delayMs, 0, INT_MAX));
        if (context != nullptr) {
            QTimer::singleShot(ms, Qt::PreciseTimer, context, std::move(callback));
        } else {
            QTimer::singleShot(ms, Qt::PreciseTimer, std::move(callback));
        }
    }

    QDateTime dateTime() const override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer m_started;
};

}  // namespace

Clock& SystemClock() {
    static MonotonicClock clock;
    return clock;
}

}  // namespace telvora
