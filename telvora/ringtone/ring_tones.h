#pragma once
// RingTones: reading the phone's four user melodies and writing one back.
// Both run under a lease the caller holds (the ring-tone window keeps the
// port for as long as it is open) and report every outcome in a message box.

#include <functional>

#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"
#include "telvora/ringtone/melody_text.h"

namespace telvora {

class MessageBoxes;

enum class RingToneResult {
    Ok,
    NotConnected,  // text 38: nothing was sent
    Refused,       // the melody failed the notation check: nothing was sent
    PhoneError,    // the phone answered "ERROR": text 61
    TimedOut,      // no answer within timeouts::kRingToneMs: text 80
};

struct MelodiesRead {
    RingToneResult result = RingToneResult::Ok;
    MelodyList list;  // filled when result is Ok
};

class RingTones {
public:
    // The link check run first, under the caller's lease; true when the
    // phone answered. Empty: the plain check.
    using LinkCheck = std::function<bool(PortLease&)>;

    RingTones(MessageBoxes& messages, Language language, LinkCheck check = {});

    void setLanguage(Language language) { m_language = language; }

    // "AT*ESOM?": the melodies as the phone holds them.
    MelodiesRead ReadMelodies(PortLease& lease);
    // Checks `melody` (surrounding blanks removed) and writes it as melody
    // `number` (1..4). Success is reported with texts 57 and 58.
    RingToneResult Upload(PortLease& lease, int number, const QString& melody);

private:
    // Sends `command` and waits for "OK" CR LF or "ERROR"; reports failures.
    RingToneResult Run(PortLease& lease, const QByteArray& command, QByteArray& answer);

    MessageBoxes& m_messages;
    Language m_language;
    LinkCheck m_check;
};

}  // namespace telvora
