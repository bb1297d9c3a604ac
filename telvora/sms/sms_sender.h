#pragma once
// Sending a message: the text is planned (message_plan.h: 7-bit or UCS2,
// one message or a concatenated one of up to 10 parts) and each part goes
// to the phone as an SMS-SUBMIT PDU after "AT+CMGS=", the next only after
// the phone accepted the previous one. The window's send button and
// "telvora-cli sms send" both run Send(). Failures are shown through the
// message boxes in the given language; the caller gets the outcome.

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/deliver_pdu.h"

namespace telvora {

class AtLink;
class CommandHost;
class MessageBoxes;
class PortLease;

namespace sms {

enum class SendOutcome {
    Sent,          // every part was accepted
    Failed,        // the phone refused or did not answer; later parts were not sent
    NotConnected,  // the link check failed before anything was sent
    PortBusy,      // another command holds the port; nothing was written
    InvalidInput,  // bad number, empty or too long text, or "?" for some characters
                   // the user did not accept; nothing was written
};

class SmsSender {
public:
    // Runs the link check under the command's lease; true when the phone answered.
    using LinkCheck = std::function<bool(PortLease&)>;
    // Receives the progress text, e.g. "Odesílám 2/3".
    using Progress = std::function<void(const QString&)>;
    // Told of a message once its parts went to the phone: the number, the
    // text as sent, its coding, and for each part sent whether the phone
    // accepted it.
    using Record = std::function<void(const QString& digits, const QString& text, DataCoding coding,
                                      const QList<bool>& accepted)>;

    // Runs on the window's or the command line's host: its link check, its
    // progress window, its message boxes.
    explicit SmsSender(CommandHost& host);
    // On a plain host of its own.
    SmsSender(AtLink& link, MessageBoxes& messages, Language language);
    ~SmsSender();

    // The host's link check.
    void setLinkCheck(LinkCheck check);
    // Also receives the progress the host's progress window shows.
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    void setRecord(Record record) { m_record = std::move(record); }

    // Whether characters that become "?" are asked about before sending
    // (the window) or only named (the command line names them itself).
    void setAskAboutReplaced(bool ask) { m_askAboutReplaced = ask; }

    // Sends `text` to `number`. Without `longText` a text that needs more
    // than one message is refused; with it the text goes as one concatenated
    // message. `withoutDiacritics` folds letters to their base letters.
    SendOutcome Send(const QString& number, const QString& text, bool longText,
                     bool withoutDiacritics = false);
    // Parts the phone accepted in the last Send.
    int partsSent() const { return m_partsSent; }

    // One message of at most 160 septets to `digits` over a held port; shows
    // text 76 when the phone does not answer the link check and text 77 when
    // it does not answer the message in time. True when the phone accepted it.
    bool SendSmsPdu(PortLease& lease, const QString& digits, QByteArrayView septets);
    // One ready SMS-SUBMIT PDU over a held port, with the same reports.
    bool SendPdu(PortLease& lease, const QByteArray& pdu);

private:
    SmsSender(CommandHost& host, std::unique_ptr<CommandHost> own);
    QString text(int n) const { return UiText(m_language, n); }

    std::unique_ptr<CommandHost> m_ownHost;
    CommandHost& m_host;
    MessageBoxes& m_messages;
    Language m_language;
    Progress m_progress;
    bool m_askAboutReplaced = true;
    int m_partsSent = 0;
    Record m_record;
};

// The reference of the next concatenated message: a new one each time,
// starting at a random value so that two runs of the program differ.
int NextConcatenationReference();

}  // namespace sms
}  // namespace telvora
