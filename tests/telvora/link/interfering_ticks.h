#pragma once
// What the program does beside a running command, fired on the clock every
// few milliseconds while a test's command waits for the phone: the signal
// timer's tick (takes the port if it is free and polls the network) and a
// user's link check. Each counts what it got, so a test can show that they
// ran during the command and that none of them reached the line.
//
// Use it around any command that holds the port:
//   InterferingTicks ticks(link, clock);
//   const bool ok = command.run(...);
//   EXPECT_GT(ticks.busyChecks, 0);
//   EXPECT_EQ(ticks.polls, 0);

#include <QObject>

#include "telvora/core/clock.h"
#include "telvora/link/at_link.h"

namespace telvora::test {

class InterferingTicks {
public:
    InterferingTicks(AtLink& link, Clock& clock, int periodMs = 5)
        : m_link(link), m_clock(clock), m_periodMs(periodMs) {
        schedule();
    }

    int ticks = 0;       // signal-timer ticks fired
    int polls = 0;       // ticks that found the port free and polled
    int checks = 0;      // link checks fired
    int busyChecks = 0;  // link checks that found the port held

private:
    void schedule() {
        m_clock.callAfter(m_periodMs, &m_context, [this] {
            fire();
            schedule();
        });
    }

    void fire() {
        ++ticks;
        if (std::optional<PortLease> lease = m_link.tryAcquire()) {
            ++polls;
            lease->Exchange("AT+CSQ", 150);
        }
        ++checks;
        if (m_link.CheckLink() == LinkState::PortBusy) {
            ++busyChecks;
        }
    }

    AtLink& m_link;
    Clock& m_clock;
    int m_periodMs;
    QObject m_context;  // drops the next tick when the object goes
};

}  // namespace telvora::test
