#pragma once
// NewMessages: the phone announces a new message with "+CMTI: <store>,
// <index>" once it is told to (AT+CNMI); this class reads each announced
// message (AT+CMGR) and hands it on. A message is read only under the
// port's lease: while another command holds the port, the announcement
// waits in a bounded queue and is read as soon as the port is free.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <optional>

#include "telvora/core/unsolicited_text.h"
#include "telvora/sms/message_rows.h"

namespace telvora {

class AtLink;
class PortLease;

namespace sms {

inline constexpr int kTextNewMessage = 220;        // "New message from %1."
inline constexpr int kTextNewMessageUnread = 221;  // "... (%1, position %2) could not be read."
inline constexpr int kTextNoMessageNotices = 222;  // "The phone cannot announce new messages."
inline constexpr int kTextWaitingForNews = 223;    // "Waiting for messages and calls ..."

class NewMessages : public QObject {
    Q_OBJECT
public:
    // Announcements kept while the port is busy; more are dropped (the
    // messages stay on the phone for the next download).
    static constexpr qsizetype kMaxQueued = 32;

    explicit NewMessages(AtLink& link, QObject* parent = nullptr);

    // Sets PDU mode and asks the phone to announce stored messages: the
    // "AT+CNMI=" line chosen from "AT+CNMI=?" (or, when the phone does not
    // answer that, the first of "AT+CNMI=2,1" and "AT+CNMI=1,1" it takes).
    // The line the phone accepted, or nullopt when it took none.
    static std::optional<QByteArray> Enable(PortLease& lease);

    // Reads the message at `notice` (selects its store, then "AT+CMGR=");
    // nullopt when the phone refuses or the PDU is not a received message.
    static std::optional<ReadMessage> Read(PortLease& lease, const NewMessageNotice& notice);

    // Announcements waiting for the port.
    qsizetype queued() const { return m_queue.size(); }

    // Whether the phone's identity is read with each batch of announced
    // messages (for the archive, which keeps it with every message).
    void setIdentifyPhone(bool identify) { m_identifyPhone = identify; }
    // The identity read with the message last emitted (empty when not asked).
    QString phone() const { return m_phone; }

signals:
    // A new message, read from the phone.
    void arrived(const telvora::sms::ReadMessage& message);
    // An announced message that could not be read.
    void unreadable(const QByteArray& store, int index);

private:
    void onUnsolicited(const QByteArray& line);
    void scheduleReading();
    void readQueued();

    AtLink& m_link;
    QList<NewMessageNotice> m_queue;
    bool m_reading = false;
    bool m_scheduled = false;
    bool m_identifyPhone = false;
    QString m_phone;
};

}  // namespace sms
}  // namespace telvora
