#pragma once
// FakeClock: a Clock for tests. Its time stands still until the event loop
// runs; then it jumps to the earliest waiting deadline and runs that
// callback, one at a time and in order of due time (equal times in the order
// they were set). Whatever a callback posts to the event loop runs before
// the next jump. So waits that the link bounds by time-outs end at exactly
// the millisecond they are due, without any real waiting.

#include <QObject>
#include <QPointer>
#include <map>
#include <utility>

#include "telvora/core/clock.h"

namespace telvora {

class FakeClock : public Clock {
public:
    FakeClock() = default;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    qint64 nowMs() const override { return m_now; }
    void callAfter(qint64 delayMs, QObject* context, std::function<void()> callback) override;
    // The date and time at start plus the time passed.
    QDateTime dateTime() const override { return m_start.addMSecs(m_now); }
    void setStartDateTime(const QDateTime& start) { m_start = start; }

    // Moves the time on by `ms` at once, running on the way every callback
    // that falls due, without the event loop.
    void advance(qint64 ms);
    // Callbacks still waiting.
    qsizetype pending() const { return static_cast<qsizetype>(m_entries.size()); }

private:
    struct Entry {
        bool hasContext = false;
        QPointer<QObject> context;
        std::function<void()> callback;
    };
    using Key = std::pair<qint64, quint64>;  // due time, order of setting

    void postStep();
    void step();
    void runFirst();

    std::map<Key, Entry> m_entries;
    qint64 m_now = 0;
    QDateTime m_start{QDate(2026, 12, 7), QTime(12, 0)};
    quint64 m_sequence = 0;
    bool m_stepPosted = false;
    QObject m_poster;  // receives the posted steps
};

}  // namespace telvora
