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
#include <memory>
#include <optional>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/message_rows.h"

namespace telvora {

class AtLink;
class CommandHost;
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

    // Runs on the window's or the command line's host.
    explicit SmsReader(CommandHost& host);
    // On a plain host of its own.
    SmsReader(AtLink& link, MessageBoxes& messages, Language language);
    ~SmsReader();

    // The host's link check.
    void setLinkCheck(LinkCheck check);
    // Also receives the progress the host's progress window shows.
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // The current date and time the ages are counted against; the link's
    // clock gives it unless set.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setKeeper(Keeper keeper) { m_keeper = std::move(keeper); }

    // The rows of every message read, or nullopt when nothing could be read
    // (port held: text 82; phone not connected: text 38). A phone that stops
    // answering part-way gives text 80 and the rows read until then; a store
    // the phone refuses to select or list is named in an error and the
    // other one is still read; a cancelled download says how many messages
    // it read. Only messages that were listed are ever deleted.
    std::optional<QList<MessageRow>> ReadMessages(bool deleteAfterReading,
                                                  const QList<NameAndNumber>& phoneBook);
    // False when the last ReadMessages did not read everything: stopped
    // part-way, cancelled, or a store refused.
    bool complete() const { return m_complete; }
    bool cancelled() const { return m_cancelled; }
    // Listed messages the phone refused to delete in the last ReadMessages.
    int failedDeletes() const { return m_failedDeletes; }
    // Everything asked was done: all read, and deleted when asked.
    bool allDone() const { return m_complete && m_failedDeletes == 0 && !m_deletesRefused; }

    // True when the last ReadMessages left messages on the phone that were
    // to be deleted, because the keeper could not keep them.
    bool deletesRefused() const { return m_deletesRefused; }

    // Which phone the messages come through, as the archive keeps it:
    // "IMSI ..." ("AT+CIMI"), else "IMEI ..." ("AT+CGSN"), else empty.
    static QString PhoneIdentity(PortLease& lease);

private:
    // Refused: the phone answered the store's selection or listing with an
    // error; Stopped: it fell silent, the port failed or the user cancelled.
    enum class StoreResult { Done, Refused, Stopped };
    void reportRefusedStore(const QByteArray& store, const QByteArray& answer);
    StoreResult ReadStore(PortLease& lease, const QByteArray& store, bool deleteAfterReading,
                          QList<ReadMessage>& read);
    QString text(int n) const { return UiText(m_language, n); }

    std::unique_ptr<CommandHost> m_ownHost;
    CommandHost& m_host;
    MessageBoxes& m_messages;
    Language m_language;
    Progress m_progress;
    Clock m_clock;
    Keeper m_keeper;
    QString m_phone;
    std::optional<QString> m_notKept;  // why the keeper could not keep them
    bool m_deletesRefused = false;
    int m_failedDeletes = 0;
    bool m_complete = false;
    bool m_cancelled = false;
};

}  // namespace sms
}  // namespace telvora
