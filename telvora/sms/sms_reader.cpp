#include "telvora/sms/sms_reader.h"

#include "telvora/core/at_text.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"
#include "telvora/link/timeouts.h"
#include "telvora/sms/message_listing.h"
#include "telvora/sms/phone_identity.h"
#include "telvora/sms/sms_texts.h"

namespace telvora::sms {
namespace {

enum class Answer { Ok, Refused, Lost, Cancelled };

Answer AnswerOf(CollectResult result) {
    switch (result) {
        case CollectResult::Marker:
            return Answer::Ok;
        case CollectResult::PhoneError:
            return Answer::Refused;
        case CollectResult::Cancelled:
            return Answer::Cancelled;
        case CollectResult::Timeout:
        case CollectResult::PortError:
            break;
    }
    return Answer::Lost;
}

// Sends `command` and collects its answer into `buffer` within `bounds`.
// Refused: the phone answered with an error. Lost: no final answer in time,
// or the port failed.
template <typename Bounds>
Answer Run(PortLease& lease, const QByteArray& command, Bounds bounds, QByteArray& buffer) {
    buffer.clear();
    if (lease.cancelled()) {
        return Answer::Cancelled;
    }
    if (!lease.SendCommand(command)) {
        return Answer::Lost;
    }
    return AnswerOf(lease.CollectUntil(buffer, {"OK\r\n"}, bounds));
}

// The phone's final error line, for the message that names the store.
QString ErrorLine(const QByteArray& answer) {
    const std::optional<FinalResult> error = FindPhoneError(answer);
    if (!error || error->code < 0) {
        return QStringLiteral("ERROR");
    }
    const QString prefix = error->kind == FinalKind::CmsError   ? QStringLiteral("+CMS ERROR: ")
                           : error->kind == FinalKind::CmeError ? QStringLiteral("+CME ERROR: ")
                                                                : QStringLiteral("ERROR: ");
    return prefix + QString::number(error->code);
}

QByteArray StoreSelection(const QByteArray& store) {
    const QByteArray other = store == "ME" ? "SM" : "ME";
    return "AT+CPMS=\"" + store + "\",\"" + other + '"';
}

}  // namespace

SmsReader::SmsReader(CommandHost& host)
    : m_host(host),
      m_messages(host.messages()),
      m_language(host.language()),
      m_clock([&link = host.link()] { return link.clock().dateTime(); }) {}

SmsReader::SmsReader(AtLink& link, MessageBoxes& messages, Language language)
    : SmsReader(*new CommandHost(link, messages, language)) {
    m_ownHost.reset(&m_host);
}

SmsReader::~SmsReader() = default;

void SmsReader::setLinkCheck(LinkCheck check) {
    m_host.setLinkCheck(std::move(check));
}

std::optional<QList<MessageRow>> SmsReader::ReadMessages(bool deleteAfterReading,
                                                         const QList<NameAndNumber>& phoneBook) {
    m_complete = false;
    std::optional<PortLease> lease = m_host.begin();
    if (!lease) {
        return std::nullopt;
    }
    m_host.showProgress(text(28));
    if (m_progress) {
        m_progress(text(28));
    }
    m_failedDeletes = 0;
    m_notKept.reset();
    m_deletesRefused = false;
    m_cancelled = false;
    m_complete = true;
    QByteArray answer;
    // PDU mode, whatever another program left the phone in; a phone that
    // knows no other mode may refuse it.
    Run(*lease, "AT+CMGF=0", timeouts::kShortCommandMs, answer);
    m_phone = m_keeper ? PhoneIdentity(*lease) : QString();
    QList<ReadMessage> read;
    for (const char* store : {"ME", "SM"}) {
        const StoreResult result = ReadStore(*lease, store, deleteAfterReading, read);
        if (result == StoreResult::Refused) {
            m_complete = false;  // the other store may still be read
            continue;
        }
        if (result == StoreResult::Stopped) {
            m_complete = false;
            if (lease->cancelled()) {
                m_cancelled = true;
                m_messages.info(text(kTextDownloadCancelled).arg(read.size()));
            } else {
                m_messages.error(text(kTextPhoneTimedOut));
            }
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

void SmsReader::reportRefusedStore(const QByteArray& store, const QByteArray& answer) {
    const QString name = text(store == "ME" ? kTextPhoneMemoryStore : kTextSimStore);
    m_messages.error(text(kTextStoreNotRead).arg(name, ErrorLine(answer)));
}

SmsReader::StoreResult SmsReader::ReadStore(PortLease& lease, const QByteArray& store,
                                            bool deleteAfterReading, QList<ReadMessage>& read) {
    QByteArray answer;
    switch (Run(lease, StoreSelection(store), timeouts::kShortCommandMs, answer)) {
        case Answer::Ok:
            break;
        case Answer::Refused:
            // Nothing of this store was read: the download is not complete.
            reportRefusedStore(store, answer);
            return StoreResult::Refused;
        case Answer::Lost:
        case Answer::Cancelled:
            return StoreResult::Stopped;
    }
    const int stored = StoredMessageCount(answer);
    if (stored == 0) {
        return StoreResult::Done;
    }
    // A listing flows for as long as the phone sends; it ends when the phone
    // falls silent, or at the cap sized from what the store holds.
    const AnswerBounds listingBounds{
        timeouts::kSilenceMs,
        timeouts::LongAnswerCapMs(qint64(qMax(stored, 0)) * timeouts::kListedMessageChars,
                                  timeouts::kMessageListMs)};
    QList<int> listed;
    const qsizetype firstOfStore = read.size();
    // The listed messages that decode; a phone that ignores the status
    // filter lists a message twice, it is kept once.
    const auto keep = [&](const QByteArray& listing) {
        for (const ListedPdu& entry : ParseMessageListing(listing)) {
            std::optional<DeliveredMessage> message = DecodeDeliverPdu(entry.pdu);
            if (message && !listed.contains(entry.index)) {
                read.append(ReadMessage{QString::fromLatin1(store), entry.index, *message});
                listed.append(entry.index);
            }
        }
    };
    StoreResult outcome = StoreResult::Done;
    bool stopped = false;
    for (const char* listing : {"AT+CMGL=1", "AT+CMGL=0"}) {
        const Answer result = Run(lease, listing, listingBounds, answer);
        if (result == Answer::Lost || result == Answer::Cancelled) {
            // The messages that arrived in whole lines are shown (and kept);
            // nothing is deleted after a listing that did not end.
            keep(answer.left(answer.lastIndexOf("\r\n") + 2));
            stopped = true;
            break;
        }
        if (result == Answer::Refused) {
            // What the phone listed before its error is kept (and may be
            // deleted); the download is reported as not complete.
            reportRefusedStore(store, answer);
            outcome = StoreResult::Refused;
        }
        keep(answer);
        if (result == Answer::Refused) {
            break;
        }
    }
    bool mayDelete = deleteAfterReading && !stopped;
    if (m_keeper && read.size() > firstOfStore) {
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
            if (result == Answer::Lost || result == Answer::Cancelled) {
                return StoreResult::Stopped;
            }
            m_failedDeletes += result == Answer::Refused ? 1 : 0;
        }
    }
    return outcome;
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
