#include "telvora/ringtone/ring_tones.h"

#include "telvora/core/message_boxes.h"
#include "telvora/link/timeouts.h"

namespace telvora {

RingTones::RingTones(MessageBoxes& messages, Language language, LinkCheck check)
    : m_messages(messages), m_language(language), m_check(std::move(check)) {
    if (!m_check) {
        m_check = [](PortLease& lease) { return lease.CheckLink() == LinkState::Connected; };
    }
}

RingToneResult RingTones::Run(PortLease& lease, const QByteArray& command, QByteArray& answer) {
    answer.clear();
    lease.SendCommand(command);
    const CollectResult result =
        lease.CollectUntil(answer, {"OK\r\n", "ERROR"}, timeouts::kRingToneMs);
    if (result == CollectResult::PortError) {
        m_messages.error(UiText(m_language, 38));
        return RingToneResult::NotConnected;
    }
    if (result == CollectResult::Timeout) {
        m_messages.error(UiText(m_language, kTextPhoneTimedOut));
        return RingToneResult::TimedOut;
    }
    if (result == CollectResult::Cancelled) {
        m_messages.info(UiText(m_language, kTextCommandCancelled));
        return RingToneResult::TimedOut;
    }
    if (answer.contains("ERROR")) {
        m_messages.error(UiText(m_language, 61));
        return RingToneResult::PhoneError;
    }
    return RingToneResult::Ok;
}

MelodiesRead RingTones::ReadMelodies(PortLease& lease) {
    MelodiesRead read;
    if (!m_check(lease)) {
        m_messages.error(UiText(m_language, 38));
        read.result = RingToneResult::NotConnected;
        return read;
    }
    QByteArray answer;
    read.result = Run(lease, "AT*ESOM?", answer);
    if (read.result == RingToneResult::Ok) {
        read.list = ParseMelodies(answer);
    }
    return read;
}

RingToneResult RingTones::Upload(PortLease& lease, int number, const QString& melody) {
    if (!m_check(lease)) {
        m_messages.error(UiText(m_language, 38));
        return RingToneResult::NotConnected;
    }
    const QString text = melody.trimmed();
    const MelodyCheck check = CheckMelody(text);
    if (check != MelodyCheck::Ok) {
        m_messages.error(MelodyCheckMessage(m_language, check, number));
        return RingToneResult::Refused;
    }
    QByteArray answer;
    const RingToneResult result = Run(lease, MelodyUploadCommand(number, text), answer);
    if (result == RingToneResult::Ok) {
        m_messages.info(MelodyUploadedMessage(m_language, number));
    }
    return result;
}

}  // namespace telvora
