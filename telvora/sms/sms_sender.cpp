#include "telvora/sms/sms_sender.h"

#include <QRandomGenerator>
#include <atomic>

#include "telvora/core/at_text.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"
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

// Selects PDU mode, whatever another program left the phone in. A phone that
// knows no other mode may refuse the command; that is no reason to stop.
void SelectPduMode(PortLease& lease) {
    QByteArray answer;
    if (lease.SendCommand("AT+CMGF=0")) {
        lease.CollectUntil(answer, {"OK\r\n"}, timeouts::kShortCommandMs);
    }
}

}  // namespace

SmsSender::SmsSender(CommandHost& host) : SmsSender(host, nullptr) {}

SmsSender::SmsSender(AtLink& link, MessageBoxes& messages, Language language)
    : SmsSender(*new CommandHost(link, messages, language), nullptr) {
    m_ownHost.reset(&m_host);
}

SmsSender::SmsSender(CommandHost& host, std::unique_ptr<CommandHost> own)
    : m_ownHost(std::move(own)),
      m_host(host),
      m_messages(host.messages()),
      m_language(host.language()) {}

SmsSender::~SmsSender() = default;

void SmsSender::setLinkCheck(LinkCheck check) {
    m_host.setLinkCheck(std::move(check));
}

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

    std::optional<PortLease> lease = m_host.begin();
    if (!lease) {
        // Still held: another command has the port.
        return m_host.link().Busy() ? SendOutcome::PortBusy : SendOutcome::NotConnected;
    }
    SelectPduMode(*lease);
    const QString count = QString::number(pdus.size());
    const DataCoding coding =
        plan.encoding == TextEncoding::Ucs2 ? DataCoding::Ucs2 : DataCoding::Gsm7Bit;
    QList<bool> accepted;
    const auto record = [&] {
        if (m_record) {
            m_record(*digits, plan.text, coding, accepted);
        }
    };
    for (qsizetype i = 0; i < pdus.size(); ++i) {
        const QString progress = text(39) + u' ' + QString::number(i + 1) + u'/' + count;
        m_host.showProgress(progress, static_cast<int>(i + 1), static_cast<int>(pdus.size()));
        if (m_progress) {
            m_progress(progress);
        }
        if (lease->cancelled()) {
            record();
            m_messages.info(text(kTextCommandCancelled));
            return SendOutcome::Failed;
        }
        accepted.append(SendPdu(*lease, pdus[i]));
        if (!accepted.last()) {
            record();
            // Cancelled while the phone had the part: it may have gone out,
            // so "not sent" would not be true.
            if (lease->cancelled()) {
                m_messages.info(text(kTextCommandCancelled));
            } else {
                // Which parts went out matters once some did: the rest never will.
                m_messages.error(i == 0 ? text(41)
                                        : text(kTextPartsSent).arg(i).arg(pdus.size()).arg(i + 1));
            }
            return SendOutcome::Failed;
        }
        ++m_partsSent;
    }
    record();
    return SendOutcome::Sent;
}

bool SmsSender::SendSmsPdu(PortLease& lease, const QString& digits, QByteArrayView septets) {
    return SendPdu(lease, BuildSubmitPdu(digits, septets));
}

bool SmsSender::SendPdu(PortLease& lease, const QByteArray& pdu) {
    if (!m_host.CheckLink(lease)) {
        m_messages.error(text(76));
        return false;
    }
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
