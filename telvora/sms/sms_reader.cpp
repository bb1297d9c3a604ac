#include "telvora/sms/sms_reader.h"

#include "telvora/core/message_boxes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/timeouts.h"
#include "telvora/sms/message_listing.h"
#include "telvora/sms/phone_identity.h"
#include "telvora/sms/sms_texts.h"

namespace telvora::sms {
namespace {

enum class Answer { Ok, Refused, Lost };

// Sends `command` and collects its answer into `buffer` within `timeoutMs`.
// Refused: the phone answered with an error. Lost: no final answer in time,
// or the port failed.
Answer Run(PortLease& lease, const QByteArray& command, int timeoutMs, QByteArray& buffer) {
    buffer.clear();
    if (!lease.SendCommand(command)) {
        return Answer::Lost;
    }
    switch (lease.CollectUntil(buffer, {"OK\r\n"}, timeoutMs)) {
        case CollectResult::Marker:
            return Answer::Ok;
        case CollectResult::PhoneError:
            return Answer::Refused;
        case CollectResult::Timeout:
        case CollectResult::PortError:
            break;
    }
    return Answer::Lost;
}

QByteArray StoreSelection(const QByteArray& store) {
    const QByteArray other = store == "ME" ? "SM" : "ME";
    return "AT+CPMS=\"" + store + "\",\"" + other + '"';
}

}  // namespace

SmsReader::SmsReader(AtLink& link, MessageBoxes& messages, Language language)
    : m_link(link),
      m_messages(messages),
      m_language(language),
      m_linkCheck([](PortLease& lease) { return lease.CheckLink() == LinkState::Connected; }),
      m_clock([] { return QDateTime::currentDateTime(); }) {}

std::optional<QList<MessageRow>> SmsReader::ReadMessages(bool deleteAfterReading,
                                                         const QList<NameAndNumber>& phoneBook) {
    std::optional<PortLease> lease = m_link.tryAcquire();
    m_complete = false;
    if (!lease) {
        m_messages.error(text(kTextCommandRunning));
        return std::nullopt;
    }
    if (!m_linkCheck(*lease)) {
        m_messages.error(text(38));
        return std::nullopt;
    }
    if (m_progress) {
        m_progress(text(28));
    }
    m_failedDeletes = 0;
    m_notKept.reset();
    m_deletesRefused = false;
    m_complete = true;
    QByteArray answer;
    // PDU mode, whatever another program left the phone in; a phone that
    // knows no other mode may refuse it.
    Run(*lease, "AT+CMGF=0", timeouts::kShortCommandMs, answer);
    m_phone = m_keeper ? PhoneIdentity(*lease) : QString();
    QList<ReadMessage> read;
    for (const char* store : {"ME", "SM"}) {
        if (ReadStore(*lease, store, deleteAfterReading, read) == StoreResult::Stopped) {
            m_messages.error(text(kTextPhoneTimedOut));
            m_complete = false;
            break;
        }
    }
    lease->release();
    if (m_notKept) {
        m_messages.error(m_deletesRefused ? text(kTextDeletesRefused).arg(*m_notKept).trimmed()
                                          : *m_notKept);
    }
    if (m_failedDeletes > 0) {
        m_messages.error(text(kTextNotAllDeleted));
    }
    QList<MessageRow> rows = BuildMessageRows(read, m_clock());
    ResolveSenderNames(rows, phoneBook);
    SortNewestFirst(rows);
    return rows;
}

SmsReader::StoreResult SmsReader::ReadStore(PortLease& lease, const QByteArray& store,
                                            bool deleteAfterReading, QList<ReadMessage>& read) {
    QByteArray answer;
    switch (Run(lease, StoreSelection(store), timeouts::kShortCommandMs, answer)) {
        case Answer::Ok:
            break;
        case Answer::Refused:
            return StoreResult::Done;  // the phone has no such store
        case Answer::Lost:
            return StoreResult::Stopped;
    }
    if (StoredMessageCount(answer) == 0) {
        return StoreResult::Done;
    }
    QList<int> listed;
    const qsizetype firstOfStore = read.size();
    bool stopped = false;
    for (const char* listing : {"AT+CMGL=1", "AT+CMGL=0"}) {
        const Answer result = Run(lease, listing, timeouts::kMessageListMs, answer);
        if (result == Answer::Lost) {
            stopped = true;
            break;
        }
        for (const ListedPdu& entry : ParseMessageListing(answer)) {
            std::optional<DeliveredMessage> message = DecodeDeliverPdu(entry.pdu);
            if (message && !listed.contains(entry.index)) {
                read.append(ReadMessage{QString::fromLatin1(store), entry.index, *message});
                listed.append(entry.index);
            }
        }
    }
    bool mayDelete = deleteAfterReading && !stopped;
    if (m_keeper && !listed.isEmpty()) {
        // Kept first, deleted after: a message is always on the phone, in
        // the keeper's store, or both.
        const KeepResult kept = m_keeper(m_phone, read.mid(firstOfStore));
        if (!kept.kept) {
            m_notKept = kept.problem;
            m_deletesRefused = m_deletesRefused || mayDelete;
            mayDelete = false;
        }
    }
    if (stopped) {
        return StoreResult::Stopped;
    }
    if (mayDelete) {
        for (int index : listed) {
            const Answer result = Run(lease, "AT+CMGD=" + QByteArray::number(index),
                                      timeouts::kShortCommandMs, answer);
            if (result == Answer::Lost) {
                return StoreResult::Stopped;
            }
            m_failedDeletes += result == Answer::Refused ? 1 : 0;
        }
    }
    return StoreResult::Done;
}

QString SmsReader::PhoneIdentity(PortLease& lease) {
    QByteArray answer;
    if (Run(lease, "AT+CIMI", timeouts::kShortCommandMs, answer) == Answer::Ok) {
        const QString imsi = IdentityDigits(answer);
        if (!imsi.isEmpty()) {
            return QStringLiteral("IMSI ") + imsi;
        }
    }
    if (Run(lease, "AT+CGSN", timeouts::kShortCommandMs, answer) == Answer::Ok) {
        const QString imei = IdentityDigits(answer);
        if (!imei.isEmpty()) {
            return QStringLiteral("IMEI ") + imei;
        }
    }
    return {};
}

}  // namespace telvora::sms
