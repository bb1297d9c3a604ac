#pragma once
// Clock: where the link and the commands read the time and set their
// deadlines. The program runs on the system's monotonic clock; tests use
// FakeClock (fake_clock.h), whose time jumps straight to the next deadline,
// so a 60-second time-out passes at once and every wait ends at an exact
// millisecond.

#include <QDateTime>
#include <QtGlobal>
#include <functional>

class QObject;

namespace telvora {

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since a fixed start; never goes back.
    virtual qint64 nowMs() const = 0;
    // Runs `callback` once, `delayMs` from now, from the event loop of the
    // calling thread. It is dropped when `context` (if given) is destroyed
    // first, as with QTimer::singleShot.
    virtual void callAfter(qint64 delayMs, QObject* context, std::function<void()> callback) = 0;
    // The local date and time, for what is dated (the age of a message).
    virtual QDateTime dateTime() const = 0;
};

// The real clock, shared by the whole program.
Clock& SystemClock();

}  // namespace telvora
