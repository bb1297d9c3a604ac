#pragma once
// Sending a message: the text is mapped to the GSM alphabet, cut into
// numbered parts when long text is allowed, and each part goes to the phone
// as an SMS-SUBMIT PDU after "AT+CMGS=". The window's send button and
// "telvora-cli sms send" both run Send(). Failures are shown through the
// message boxes in the given language; the caller gets the outcome.

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>

#include "telvora/core/ui_texts.h"

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
    InvalidInput,  // bad number, empty or too long text; nothing was written
};

class SmsSender {
public:
    // Runs the link check under the command's lease; true when the phone answered.
    using LinkCheck = std::function<bool(PortLease&)>;
    // Receives the progress text, e.g. "Odesílám 2/3".
    using Progress = std::function<void(const QString&)>;

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

    // Sends `text` to `number`. Without `longText` a text over 160 septets is
    // refused; with it the text goes in parts "1/n" ... "n/n" of 157 septets.
    SendOutcome Send(const QString& number, const QString& text, bool longText);

    // One message of at most 160 septets to `digits` over a held port; shows
    // text 76 when the phone does not answer the link check and text 77 when
    // it does not answer the message in time. True when the phone accepted it.
    bool SendSmsPdu(PortLease& lease, const QString& digits, QByteArrayView septets);

private:
    SmsSender(CommandHost& host, std::unique_ptr<CommandHost> own);
    QString text(int n) const { return UiText(m_language, n); }

    std::unique_ptr<CommandHost> m_ownHost;
    CommandHost& m_host;
    MessageBoxes& m_messages;
    Language m_language;
    Progress m_progress;
};

}  // namespace sms
}  // namespace telvora
