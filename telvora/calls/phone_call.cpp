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
    : PhoneCall(*new CommandHost(link, messages, language)) {
    m_ownHost.reset(&m_host);
    m_host.setLinkCheck(std::move(check));
}

PhoneCall::PhoneCall(CommandHost& host, QObject* parent)
    : QObject(parent),
      m_host(host),
      m_link(host.link()),
      m_messages(host.messages()),
      m_language(host.language()) {
    connect(&m_link, &AtLink::cancelRequested, this, &PhoneCall::endCallOnCancel);
}

void PhoneCall::endCallOnCancel() {
    // A call that is up holds the port: it ends, so that the port can close.
    if (m_call && m_dialWait == nullptr) {
        m_call->SendCommand("ATH");
        m_call.reset();
    }
}

PhoneCall::~PhoneCall() = default;

PortLease* PhoneCall::leaseFor(std::optional<PortLease>& own) {
    if (m_call) {
        return &*m_call;
    }
    m_host.setLanguage(m_language);
    own = m_host.begin();
    return own ? &*own : nullptr;
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
        // Still held: another command has the port.
        return m_link.Busy() ? DialResult::PortBusy : DialResult::NotConnected;
    }
    if (m_call && !m_host.beginHeld(*lease)) {
        return DialResult::NotConnected;
    }
    emit dialing();
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
    if (lease == nullptr && m_link.Busy() && !m_call) {
        return HangUpResult::PortBusy;
    }
    if (lease == nullptr || (m_call && !m_host.beginHeld(*lease))) {
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
