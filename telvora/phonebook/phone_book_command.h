#pragma once
// What the phone-book commands share: how they are set up, the character set
// they select for names while they run, and the texts for a phone that
// failed them.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

#include "telvora/core/at_text.h"
#include "telvora/core/message_boxes.h"
#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"
#include "telvora/link/timeouts.h"
#include "telvora/phonebook/phone_text.h"

namespace telvora {

struct PhoneBookTimeouts {
    int selectMs = timeouts::kPhoneBookSelectMs;  // "AT+CPBS=" (a pause, ends early on the answer)
    int shortMs = timeouts::kShortCommandMs;      // limits, character set, one entry written
    // "AT+CPBR=1,n", the whole memory: this much for the phone's own work,
    // plus twice the time a full memory takes on the line.
    int readBaseMs = timeouts::kShortCommandMs;
    int lineCharsPerSecond = 960;  // 9600 baud, 10 bits a character
    // The read ends when the phone has sent nothing for this long.
    int silenceMs = timeouts::kSilenceMs;
};

struct PhoneBookCommandSetup {
    // On the window's or the command line's host.
    explicit PhoneBookCommandSetup(CommandHost& host);
    // On a plain host of its own.
    PhoneBookCommandSetup(AtLink& link, MessageBoxes& messages, Language language);

    AtLink& link;
    MessageBoxes& messages;
    Language language;
    // The link check under the command's lease; true when the phone answered.
    // Empty: the host's (the window's also shows the state in its title).
    std::function<bool(PortLease&)> checkLink;
    // Ask the user before a long read or an upload (the command line does not).
    bool confirm = true;
    PhoneBookTimeouts timeouts;

    QString text(int n) const { return UiText(language, n); }
    // The opening of the command: the port and the link check (texts 82, 38).
    std::optional<PortLease> begin() const;
    CommandHost& host() const { return *m_host; }

private:
    std::shared_ptr<CommandHost> m_ownHost;
    CommandHost* m_host;
};

// The answer to one command, and how the wait for it ended.
struct PhoneAnswer {
    CollectResult result = CollectResult::PortError;
    QByteArray text;

    bool ok() const { return result == CollectResult::Marker; }
    // Why the phone did not do it: time-out, its error (with the code), or
    // a port that failed (the phone must be connected).
    QString failureText(Language language) const;
    // The phone's final error line, if it sent one.
    std::optional<FinalResult> error() const;
};

// Sends `command` and waits up to `timeoutMs` for "OK" or an error.
PhoneAnswer AskPhone(PortLease& lease, const QByteArray& command, int timeoutMs);
// The same for a long answer: ends when the phone falls silent (AnswerBounds).
PhoneAnswer AskPhone(PortLease& lease, const QByteArray& command, AnswerBounds bounds);

// Selects the character set for names while a command runs and selects the
// phone's own one again afterwards (at the latest when destroyed). A phone
// that knows nothing of character sets keeps its own, taken as Windows-1250.
class CharacterSetSession {
public:
    CharacterSetSession(PortLease& lease, int timeoutMs);
    ~CharacterSetSession();
    CharacterSetSession(const CharacterSetSession&) = delete;
    CharacterSetSession& operator=(const CharacterSetSession&) = delete;

    PhoneTextMode mode() const { return m_mode; }
    void restore();

private:
    PortLease& m_lease;
    int m_timeoutMs;
    PhoneTextMode m_mode = PhoneTextMode::Bytes;
    QString m_previous;  // to select again; empty when nothing was changed
};

}  // namespace telvora
