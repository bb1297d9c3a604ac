#pragma once
// PhoneCall: dialing a voice call and hanging up. A call that is up keeps
// the port (its lease), so Busy stays set and the signal poll skips its
// ticks until the call is hung up.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"

namespace telvora {

class MessageBoxes;

// The link check a command runs first, under the lease it holds; true when
// the phone answered. The window passes one that also updates its title.
using LinkCheck = std::function<bool(PortLease&)>;
LinkCheck PlainLinkCheck();

class PhoneCall : public QObject {
    Q_OBJECT
public:
    enum class DialResult {
        CallUp,        // the phone accepted the dial line; the call keeps the port
        NotConnected,  // text 38 shown
        PortBusy,      // another command holds the port; text 82 shown
        Failed,        // no "OK" (error, busy, no carrier, time-out); text 45 shown
        HungUp,        // hung up while the phone was still being dialed
        BadNumber,     // not digits with an optional leading "+"; text 170 shown, nothing sent
    };
    enum class HangUpResult {
        HungUp,        // "ATH" sent; any call of ours is over
        NotConnected,  // text 38 shown; any call of ours is given up all the same
        PortBusy,      // another command holds the port; text 82 shown
    };

    // On a plain host of its own, with `check` as its link check.
    PhoneCall(AtLink& link, MessageBoxes& messages, Language language, LinkCheck check = {});
    // On the window's host. A call that is up is hung up when the host
    // cancels the command (Exit, closing the window).
    explicit PhoneCall(CommandHost& host, QObject* parent = nullptr);
    ~PhoneCall() override;

    void setLanguage(Language language) { m_language = language; }

    // Dials `number` (digits, optionally after a leading "+") as a voice call.
    DialResult Dial(const QString& number);
    // Ends the call: ours, or one the phone has from elsewhere (incoming,
    // dialed on the phone). While a dial still waits for its answer, the
    // dial is hung up.
    HangUpResult HangUp();
    // True while a call placed here is up.
    bool callUp() const { return m_call.has_value(); }

signals:
    // The dial holds the port and is about to check the link.
    void dialing();

private:
    // The call's lease, or a new one from the host (with the link check run
    // on it); null when the port is held or the phone does not answer.
    PortLease* leaseFor(std::optional<PortLease>& own);
    void endCallOnCancel();

    std::unique_ptr<CommandHost> m_ownHost;
    CommandHost& m_host;
    AtLink& m_link;
    MessageBoxes& m_messages;
    Language m_language;
    std::optional<PortLease> m_call;  // held while a call is up
    PortLease* m_dialWait = nullptr;  // the lease of a dial waiting for its answer
    bool m_hangUpRequested = false;   // HangUp came during that wait
};

}  // namespace telvora
