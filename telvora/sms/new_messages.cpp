#include "telvora/sms/new_messages.h"

#include "telvora/link/at_link.h"
#include "telvora/link/timeouts.h"
#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/message_listing.h"
#include "telvora/sms/sms_reader.h"

namespace telvora::sms {
namespace {

// Sends `command`; true when the phone answered "OK" within the short limit.
bool Accepted(PortLease& lease, const QByteArray& command, QByteArray* answer = nullptr) {
    QByteArray buffer;
    const bool accepted =
        lease.SendCommand(command) &&
        lease.CollectUntil(buffer, {"OK\r\n"}, timeouts::kShortCommandMs) == CollectResult::Marker;
    if (answer) {
        *answer = buffer;
    }
    return accepted;
}

}  // namespace

NewMessages::NewMessages(AtLink& link, QObject* parent) : QObject(parent), m_link(link) {
    connect(&m_link, &AtLink::unsolicited, this, &NewMessages::onUnsolicited);
    connect(&m_link, &AtLink::busyChanged, this, [this](bool busy) {
        if (!busy) {
            scheduleReading();
        }
    });
}

std::optional<QByteArray> NewMessages::Enable(PortLease& lease) {
    Accepted(lease, "AT+CMGF=0");  // a phone that knows only PDU mode may refuse it
    QByteArray offered;
    QList<QByteArray> candidates;
    if (Accepted(lease, "AT+CNMI=?", &offered)) {
        if (const std::optional<QByteArray> chosen = ChooseNewMessageIndication(offered)) {
            candidates.append(*chosen);
        }
    } else {
        candidates = {"AT+CNMI=2,1", "AT+CNMI=1,1"};
    }
    for (const QByteArray& candidate : candidates) {
        if (Accepted(lease, candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<ReadMessage> NewMessages::Read(PortLease& lease, const NewMessageNotice& notice) {
    // The store name goes to the line only when it is one a phone names.
    for (char c : notice.store) {
        if (!(c >= 'A' && c <= 'Z')) {
            return std::nullopt;
        }
    }
    if (!Accepted(lease, "AT+CPMS=\"" + notice.store + '"')) {
        return std::nullopt;
    }
    QByteArray answer;
    if (!Accepted(lease, "AT+CMGR=" + QByteArray::number(notice.index), &answer)) {
        return std::nullopt;
    }
    const std::optional<DeliveredMessage> message = DecodeDeliverPdu(ReadMessagePdu(answer));
    if (!message) {
        return std::nullopt;
    }
    return ReadMessage{QString::fromLatin1(notice.store), notice.index, *message};
}

void NewMessages::onUnsolicited(const QByteArray& line) {
    const std::optional<NewMessageNotice> notice = ParseNewMessageNotice(line);
    if (!notice || m_queue.size() >= kMaxQueued) {
        return;
    }
    for (const NewMessageNotice& waiting : m_queue) {
        if (waiting.store == notice->store && waiting.index == notice->index) {
            return;
        }
    }
    m_queue.append(*notice);
    scheduleReading();
}

void NewMessages::scheduleReading() {
    // From the event loop, not from inside whatever released the port.
    if (m_queue.isEmpty() || m_scheduled || m_reading) {
        return;
    }
    m_scheduled = true;
    m_link.clock().callAfter(0, this, [this] { readQueued(); });
}

void NewMessages::readQueued() {
    m_scheduled = false;
    if (m_reading) {
        return;
    }
    std::optional<PortLease> lease = m_link.tryAcquire();
    if (!lease) {
        return;  // read when the port is given back (busyChanged)
    }
    m_reading = true;
    if (m_identifyPhone && !m_queue.isEmpty()) {
        m_phone = SmsReader::PhoneIdentity(*lease);
    }
    while (!m_queue.isEmpty() && lease->holds()) {
        const NewMessageNotice notice = m_queue.takeFirst();
        std::optional<ReadMessage> message = Read(*lease, notice);
        if (message) {
            emit arrived(*message);
        } else {
            emit unreadable(notice.store, notice.index);
        }
    }
    lease.reset();
    m_reading = false;
    scheduleReading();
}

}  // namespace telvora::sms
