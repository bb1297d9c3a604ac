#include "telvora/calls/incoming_call.h"

#include "telvora/core/unsolicited_text.h"
#include "telvora/link/timeouts.h"

namespace telvora {
namespace {

enum class Reply { Ok, Refused, NoCarrier, Lost };

Reply Send(PortLease& lease, const QByteArray& command) {
    QByteArray answer;
    if (!lease.SendCommand(command)) {
        return Reply::Lost;
    }
    const CollectResult result =
        lease.CollectUntil(answer, {"OK\r\n", "NO CARRIER"}, timeouts::kShortCommandMs);
    if (result == CollectResult::PhoneError) {
        return Reply::Refused;
    }
    if (result != CollectResult::Marker) {
        return Reply::Lost;
    }
    return answer.contains("NO CARRIER") ? Reply::NoCarrier : Reply::Ok;
}

}  // namespace

IncomingCall::IncomingCall(AtLink& link, QObject* parent) : QObject(parent), m_link(link) {
    connect(&m_link, &AtLink::unsolicited, this, &IncomingCall::onUnsolicited);
}

bool IncomingCall::EnableCallerId(PortLease& lease) {
    return Send(lease, "AT+CLIP=1") == Reply::Ok;
}

void IncomingCall::onUnsolicited(const QByteArray& line) {
    switch (ClassifyUnsolicited(line, false).value_or(UnsolicitedKind::Other)) {
        case UnsolicitedKind::Ring:
            ring();
            break;
        case UnsolicitedKind::CallerId:
            ring();  // a phone may name the caller before its first ring
            if (const std::optional<CallerIdNotice> caller = ParseCallerId(line);
                caller && m_state == State::Ringing && !m_announced) {
                m_number = caller->number;
                announce();
            }
            break;
        case UnsolicitedKind::CallEnded:
            if (m_state == State::Ringing) {
                finish();
            } else if (m_state == State::Answered) {
                m_state = State::Idle;  // the answered call is over
                ++m_call;
            }
            break;
        default:
            break;
    }
}

void IncomingCall::ring() {
    if (nowMs() < m_quietUntilMs) {
        return;
    }
    m_lastRingMs = nowMs();
    if (m_state == State::Ringing) {
        return;
    }
    // An answered call may have been hung up with ATH, which the phone does
    // not announce; a phone rings only when no call is up, so this is a new
    // call.
    m_state = State::Ringing;
    m_number.clear();
    m_announced = false;
    const quint64 call = ++m_call;
    m_link.clock().callAfter(kCallerWaitMs, this, [this, call] {
        if (call == m_call && m_state == State::Ringing) {
            announce();
        }
    });
    m_link.clock().callAfter(kRingSilenceMs, this, [this, call] {
        if (call == m_call) {
            checkSilence();
        }
    });
}

void IncomingCall::announce() {
    if (!m_announced) {
        m_announced = true;
        emit ringing(m_number);
    }
}

void IncomingCall::checkSilence() {
    if (m_state != State::Ringing) {
        return;
    }
    const qint64 silent = nowMs() - m_lastRingMs;
    if (silent >= kRingSilenceMs) {
        finish();
        return;
    }
    const quint64 call = m_call;
    m_link.clock().callAfter(kRingSilenceMs - silent, this, [this, call] {
        if (call == m_call) {
            checkSilence();
        }
    });
}

void IncomingCall::finish() {
    const QString number = m_number;
    const bool announced = m_announced;
    m_state = State::Idle;
    ++m_call;
    announce();  // a call that ended before it was announced is still told
    if (announced || m_announced) {
        emit ended(number);
    }
}

void IncomingCall::handled(State state) {
    m_state = state;
    ++m_call;
    m_quietUntilMs = nowMs() + kAfterCallQuietMs;
}

void IncomingCall::endedHere() {
    if (m_state == State::Ringing) {
        handled(State::Idle);
    }
}

IncomingCall::Result IncomingCall::Answer() {
    if (m_state != State::Ringing) {
        return Result::Gone;
    }
    std::optional<PortLease> lease = m_link.tryAcquire();
    if (!lease) {
        return Result::PortBusy;
    }
    switch (Send(*lease, "ATA")) {
        case Reply::Ok:
            handled(State::Answered);
            emit answered(m_number);
            return Result::Done;
        case Reply::NoCarrier:
            if (m_state == State::Ringing) {
                finish();  // the caller gave up just before
            }
            return Result::Gone;
        case Reply::Refused:
        case Reply::Lost:
            break;
    }
    return Result::Failed;
}

IncomingCall::Result IncomingCall::Reject() {
    if (m_state != State::Ringing) {
        return Result::Gone;
    }
    std::optional<PortLease> lease = m_link.tryAcquire();
    if (!lease) {
        return Result::PortBusy;
    }
    Reply reply = Send(*lease, "AT+CHUP");
    if (reply == Reply::Refused) {
        reply = Send(*lease, "ATH");  // a phone without AT+CHUP
    }
    if (reply == Reply::Ok || reply == Reply::NoCarrier) {
        handled(State::Idle);
        return Result::Done;
    }
    return Result::Failed;
}

}  // namespace telvora
