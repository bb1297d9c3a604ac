#include "telvora/sms/sms_sender.h"

#include <QRandomGenerator>
#include <atomic>

#include "telvora/core/at_text.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/timeouts.h"
#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/message_plan.h"
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

int NextConcatenationReference() {
    static std::atomic<int> next{static_cast<int>(QRandomGenerator::global()->bounded(256))};
    return next.fetch_add(1) % 256;
}

SendOutcome SmsSender::Send(const QString& number, const QString& messageText, bool longText,
                            bool withoutDiacritics) {
    m_partsSent = 0;
    const std::optional<QString> digits = CleanRecipientNumber(number);
    if (!digits) {
        m_messages.error(text(kTextBadRecipient));
        return SendOutcome::InvalidInput;
    }
    const MessagePlan plan = PlanMessage(messageText, withoutDiacritics);
    if (plan.parts.isEmpty()) {
        m_messages.error(text(kTextEmptyMessage));
        return SendOutcome::InvalidInput;
    }
    if (plan.tooLong()) {
        m_messages.error(text(kTextTooLongForParts));
        return SendOutcome::InvalidInput;
    }
    if (!longText && plan.partCount() > 1) {
        m_messages.error(text(kTextTooLongForOne));
        return SendOutcome::InvalidInput;
    }
    if (m_askAboutReplaced && !plan.replaced.isEmpty() &&
        !m_messages.askYesNo(
            MessageBoxes::Kind::Info,
            text(kTextReplacedByQuestion).arg(ReplacedCharactersText(plan.replaced)) + '\n' +
                text(kTextSendAnyway))) {
        return SendOutcome::InvalidInput;
    }
    const QList<QByteArray> pdus = BuildSubmitPdus(*digits, plan, NextConcatenationReference());

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
    const QString count = QString::number(pdus.size());
    const DataCoding coding =
        plan.encoding == TextEncoding::Ucs2 ? DataCoding::Ucs2 : DataCoding::Gsm7Bit;
    QList<bool> accepted;
    for (qsizetype i = 0; i < pdus.size(); ++i) {
        if (m_progress) {
            m_progress(text(39) + u' ' + QString::number(i + 1) + u'/' + count);
        }
        accepted.append(SendPdu(*lease, pdus[i]));
        if (!accepted.last()) {
            if (m_record) {
                m_record(*digits, plan.text, coding, accepted);
            }
            // Which parts went out matters once some did: the rest never will.
            m_messages.error(i == 0 ? text(41)
                                    : text(kTextPartsSent).arg(i).arg(pdus.size()).arg(i + 1));
            return SendOutcome::Failed;
        }
        ++m_partsSent;
    }
    if (m_record) {
        m_record(*digits, plan.text, coding, accepted);
    }
    return SendOutcome::Sent;
}

bool SmsSender::SendSmsPdu(PortLease& lease, const QString& digits, QByteArrayView septets) {
    return SendPdu(lease, BuildSubmitPdu(digits, septets));
}

bool SmsSender::SendPdu(PortLease& lease, const QByteArray& pdu) {
    if (!m_linkCheck(lease)) {
        m_messages.error(text(76));
        return false;
    }
    if (!lease.SendCommand("AT+CMGS=" + QByteArray::number(SubmitLength(pdu)))) {
        return false;
    }
    QByteArray answer;
    const CollectResult prompt = lease.CollectUntil(answer, {"> "}, kPromptMs);
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
            return false;
    }
    return false;
}

}  // namespace telvora::sms
