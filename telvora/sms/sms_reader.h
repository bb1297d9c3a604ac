#pragma once
// Downloading the received messages: the phone memory "ME" and then the SIM
// "SM" are listed (read messages, then unread ones), each PDU is decoded,
// the parts of long messages are joined, senders get their phone-book names
// and the rows come out newest first. With deleting asked for, every message
// that was decoded and listed is deleted from its store after the listing.
// The window's download button and "telvora-cli sms list" both run it.
//
// With a keeper set, the messages of each store are handed to it before any
// of them is deleted, and they are deleted only when it says it has kept
// them (the message archive's transaction is committed); otherwise they stay
// on the phone and a message box says why. A keeper that fails while
// nothing is to be deleted is reported too, once per download.

#include <QDateTime>
#include <QList>
#include <functional>
#include <optional>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/message_rows.h"

namespace telvora {

class AtLink;
class MessageBoxes;
class PortLease;

namespace sms {

class SmsReader {
public:
    using LinkCheck = std::function<bool(PortLease&)>;
    using Progress = std::function<void(const QString&)>;
    using Clock = std::function<QDateTime()>;
    struct KeepResult {
        bool kept = false;
        QString problem;  // why not, for the message box
    };
    // `phone` is "IMSI <digits>", "IMEI <digits>" or empty.
    using Keeper = std::function<KeepResult(const QString& phone, const QList<ReadMessage>&)>;

    SmsReader(AtLink& link, MessageBoxes& messages, Language language);

    void setLinkCheck(LinkCheck check) { m_linkCheck = std::move(check); }
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // The current date and time the ages are counted against.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setKeeper(Keeper keeper) { m_keeper = std::move(keeper); }

    // The rows of every message read, or nullopt when nothing could be read
    // (port held: text 82; phone not connected: text 38). A phone that stops
    // answering part-way gives text 80 and the rows read until then.
    std::optional<QList<MessageRow>> ReadMessages(bool deleteAfterReading,
                                                  const QList<NameAndNumber>& phoneBook);
    // False when the last ReadMessages stopped part-way (text 80).
    bool complete() const { return m_complete; }
    // True when the last ReadMessages left messages on the phone that were
    // to be deleted, because the keeper could not keep them.
    bool deletesRefused() const { return m_deletesRefused; }

    // Which phone the messages come through, as the archive keeps it:
    // "IMSI ..." ("AT+CIMI"), else "IMEI ..." ("AT+CGSN"), else empty.
    static QString PhoneIdentity(PortLease& lease);

private:
    enum class StoreResult { Done, Stopped };
    StoreResult ReadStore(PortLease& lease, const QByteArray& store, bool deleteAfterReading,
                          QList<ReadMessage>& read);
    QString text(int n) const { return UiText(m_language, n); }

    AtLink& m_link;
    MessageBoxes& m_messages;
    Language m_language;
    LinkCheck m_linkCheck;
    Progress m_progress;
    Clock m_clock;
    Keeper m_keeper;
    QString m_phone;
    std::optional<QString> m_notKept;  // why the keeper could not keep them
    bool m_deletesRefused = false;
    int m_failedDeletes = 0;
    bool m_complete = false;
};

}  // namespace sms
}  // namespace telvora
