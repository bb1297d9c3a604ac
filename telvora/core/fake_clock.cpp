#include "telvora/core/fake_clock.h"

#include <algorithm>

namespace telvora {

void FakeClock::callAfter(qint64 delayMs, QObject* context, std::function<void()> callback) {
    Entry entry{context != nullptr, context, std::move(callback)};
    m_entries.emplace(Key{m_now + std::max<qint64>(delayMs, 0), m_sequence++}, std::move(entry));
    postStep();
}

void FakeClock::advance(qint64 ms) {
    const qint64 target = m_now + std::max<qint64>(ms, 0);
    while (!m_entries.empty() && m_entries.begin()->first.first <= target) {
        runFirst();
    }
    m_now = target;
}

void FakeClock::postStep() {
    if (m_stepPosted || m_entries.empty()) {
        return;
    }
    m_stepPosted = true;
    QMetaObject::invokeMethod(
        &m_poster, [this] { step(); }, Qt::QueuedConnection);
}

void FakeClock::step() {
    m_stepPosted = false;
    if (!m_entries.empty()) {
        runFirst();
    }
}

void FakeClock::runFirst() {
    auto first = m_entries.begin();
    m_now = std::max(m_now, first->first.first);
    Entry entry = std::move(first->second);
    m_entries.erase(first);
    // The next step is posted before the callback runs: a callback that waits
    // in an event loop of its own needs the later deadlines to come due.
    postStep();
    if (!entry.hasContext || entry.context) {
        entry.callback();
    }
}

}  // namespace telvora
