#pragma once
// LoopProbe: a 1 ms timer that notes how late each of its ticks comes. The
// longest gap between two ticks, less the interval, is the longest time the
// event loop did not run: what a window's user would see as a stall.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace telvora::bench {

class LoopProbe : public QObject {
public:
    LoopProbe() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] { note(); });
    }
    void start() {
        m_longestNs = 0;
        m_clock.start();
        m_lastNs = 0;
        m_timer.start();
    }
    // The longest stall since start(), in milliseconds; the time since the
    // last tick counts too.
    double stopMs() {
        note();
        m_timer.stop();
        return m_longestNs / 1e6;
    }

private:
    void note() {
        const qint64 now = m_clock.nsecsElapsed();
        m_longestNs = std::max(m_longestNs, now - m_lastNs - 1'000'000);
        m_lastNs = now;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
};

}  // namespace telvora::bench
