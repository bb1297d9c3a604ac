#include "telvora/calls/phone_call.h"

#include "telvora/calls/number_field.h"

#include "telvora/core/message_boxes.h"
#include "telvora/link/timeouts.h"

namespace telvora {
namespace {

// The dial waits for "OK" or "ERROR"; the other final results a phone gives
// to a dial line end the wait at once too instead of running into the limit.
const QList<QByteArray> kDialAnswers{"OK",         "ERROR",     "BUSY",
                                     "NO CARRIER", "NO ANSWER", "NO DIALTONE"};

}  // namespace

LinkCheck PlainLinkCheck() {
    return [](PortLease& lease) { return lease.CheckLink() == LinkState::Connected; };
}

PhoneCall::PhoneCall(AtLink& link, MessageBoxes& messages, Language language, LinkCheck check)
    : m_link(link),
      m_messages(messages),
      m_language(language),
      m_check(check ? std::move(check) : PlainLinkCheck()) {}

PhoneCall::~PhoneCall() = default;

PortLease* PhoneCall::leaseFor(std::optional<PortLease>& own) {
    if (m_call) {
        return &*m_call;
    }
    own = m_link.tryAcquire();
    if (!own) {
        m_messages.error(UiText(m_language, kTextCommandRunning));
        return nullptr;
    }
    return &*own;
}

PhoneCall::DialResult PhoneCall::Dial(const QString& number) {
    // Only a dialable number reaches the line: a pasted text could otherwise
    // carry a carriage return and a second command.
    if (!IsDialableNumber(number)) {
        m_messages.error(UiText(m_language, 170));
        return DialResult::BadNumber;
    }
    std::optional<PortLease> own;
    PortLease* lease = leaseFor(own);
    if (lease == nullptr) {
        return DialResult::PortBusy;
    }
    emit dialing();
    if (!m_check(*lease)) {
        m_messages.error(UiText(m_language, 38));
        return DialResult::NotConnected;
    }
    QByteArray answer;
    lease->SendCommand("ATD" + number.trimmed().toLatin1() + ';');
    m_dialWait = lease;
    m_hangUpRequested = false;
    const CollectResult result = lease->CollectUntil(answer, kDialAnswers, timeouts::kDialMs,
                                                     /*stopOnPhoneError=*/true);
    m_dialWait = nullptr;
    if (m_hangUpRequested) {
        m_call.reset();  // a call that was up before this dial went with it
        return DialResult::HungUp;
    }
    if (result == CollectResult::Marker && answer.contains("OK")) {
        if (own) {
            m_call = std::move(own);
        }
        return DialResult::CallUp;
    }
    m_messages.error(UiText(m_language, 45));
    return DialResult::Failed;
}

PhoneCall::HangUpResult PhoneCall::HangUp() {
    if (m_dialWait != nullptr) {
        // The dial's wait ends on the phone's answer to this line.
        m_hangUpRequested = true;
        m_dialWait->SendCommand("ATH");
        return HangUpResult::HungUp;
    }
    std::optional<PortLease> own;
    PortLease* lease = leaseFor(own);
    if (lease == nullptr) {
        return HangUpResult::PortBusy;
    }
    if (!m_check(*lease)) {
        m_messages.error(UiText(m_language, 38));
        // A call the phone can no longer be asked about must not keep the
        // port and the menus locked for good.
        m_call.reset();
        return HangUpResult::NotConnected;
    }
    lease->SendCommand("ATH");
    m_call.reset();
    return HangUpResult::HungUp;
}

}  // namespace telvora
