#include "telvora/sms/sms_sender.h"

#include "telvora/core/at_text.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/timeouts.h"
#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/sms_texts.h"
#include "telvora/sms/submit_pdu.h"

namespace telvora::sms {
namespace {

// The phone prompts "> " for the PDU within milliseconds; a phone that sends
// no prompt at all gets the PDU after this wait all the same.
constexpr int kPromptMs = 2000;
constexpr char kCtrlZ = 26;

bool DefaultLinkCheck(PortLease& lease) {
    return lease.CheckLink() == LinkState::Connected;
}

// Selects PDU mode, whatever another program left the phone in. A phone that
// knows no other mode may refuse the command; that is no reason to stop.
void SelectPduMode(PortLease& lease) {
    QByteArray answer;
    if (lease.SendCommand("AT+CMGF=0")) {
        lease.CollectUntil(answer, {"OK\r\n"}, timeouts::kShortCommandMs);
    }
}

}  // namespace

SmsSender::SmsSender(AtLink& link, MessageBoxes& messages, Language language)
    : m_link(link), m_messages(messages), m_language(language), m_linkCheck(DefaultLinkCheck) {}

SendOutcome SmsSender::Send(const QString& number, const QString& messageText, bool longText) {
    const std::optional<QString> digits = CleanRecipientNumber(number);
    if (!digits) {
        m_messages.error(text(kTextBadRecipient));
        return SendOutcome::InvalidInput;
    }
    const QByteArray septets = ToGsmSeptets(messageText);
    if (septets.isEmpty()) {
        m_messages.error(text(kTextEmptyMessage));
        return SendOutcome::InvalidInput;
    }
    QList<QByteArray> parts;
    if (longText) {
        parts = SplitIntoParts(septets);
        if (parts.size() > kMaxParts) {
            m_messages.error(text(kTextTooLongForParts));
            return SendOutcome::InvalidInput;
        }
    } else {
        if (septets.size() > kMessageSeptets) {
            m_messages.error(text(kTextTooLongForOne));
            return SendOutcome::InvalidInput;
        }
        parts = {septets};
    }

    std::optional<PortLease> lease = m_link.tryAcquire();
    if (!lease) {
        m_messages.error(text(kTextCommandRunning));
        return SendOutcome::PortBusy;
    }
    if (!m_linkCheck(*lease)) {
        m_messages.error(text(38));
        return SendOutcome::NotConnected;
    }
    SelectPduMode(*lease);
    const QString count = QString::number(parts.size());
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (m_progress) {
            m_progress(text(39) + u' ' + QString::number(i + 1) + u'/' + count);
        }
        if (!SendSmsPdu(*lease, *digits, parts[i])) {
            m_messages.error(text(41));
            return SendOutcome::Failed;
        }
    }
    return SendOutcome::Sent;
}

bool SmsSender::SendSmsPdu(PortLease& lease, const QString& digits, QByteArrayView septets) {
    if (!m_linkCheck(lease)) {
        m_messages.error(text(76));
        return false;
    }
    const QByteArray pdu = BuildSubmitPdu(digits, septets);
    if (!lease.SendCommand("AT+CMGS=" + QByteArray::number(SubmitLength(pdu)))) {
        return false;
    }
    QByteArray answer;
    const CollectResult prompt = lease.CollectUntil(answer, {"> "}, kPromptMs);
    if (prompt == CollectResult::Cancelled) {
        lease.SendData("\x1b");  // Esc: the phone leaves its prompt, nothing is sent
        return false;
    }
    if (prompt == CollectResult::PhoneError || prompt == CollectResult::PortError) {
        return false;
    }
    if (!lease.SendData(pdu + kCtrlZ)) {
        return false;
    }
    answer.clear();
    switch (lease.CollectUntil(answer, {"OK\r\n"}, timeouts::kSmsSendMs)) {
        case CollectResult::Marker:
            return ContainsFinalOk(answer);
        case CollectResult::Timeout:
            m_messages.error(text(77));
            return false;
        case CollectResult::PhoneError:
        case CollectResult::PortError:
        case CollectResult::Cancelled:
            return false;
    }
    return false;
}

}  // namespace telvora::sms
