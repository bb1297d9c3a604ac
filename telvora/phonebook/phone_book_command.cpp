#include "telvora/phonebook/phone_book_command.h"

#include "telvora/core/at_text.h"

namespace telvora {
namespace {

const QList<QByteArray> kOkMarker{QByteArrayLiteral("OK\r\n")};

PhoneTextMode ModeOfSet(const QString& set) {
    if (set == QLatin1String("UCS2")) {
        return PhoneTextMode::Ucs2Hex;
    }
    return set == QLatin1String("HEX") ? PhoneTextMode::HexBytes : PhoneTextMode::Bytes;
}

QByteArray SelectSetCommand(const QString& set) {
    return "AT+CSCS=\"" + set.toLatin1() + '"';
}

}  // namespace

PhoneBookCommandSetup::PhoneBookCommandSetup(CommandHost& host)
    : link(host.link()), messages(host.messages()), language(host.language()), m_host(&host) {}

PhoneBookCommandSetup::PhoneBookCommandSetup(AtLink& link, MessageBoxes& messages,
                                             Language language)
    : link(link),
      messages(messages),
      language(language),
      m_ownHost(std::make_shared<CommandHost>(link, messages, language)),
      m_host(m_ownHost.get()) {}

std::optional<PortLease> PhoneBookCommandSetup::begin() const {
    return m_host->begin(38, checkLink);
}

QString PhoneAnswer::failureText(Language language) const {
    switch (result) {
        case CollectResult::Marker:
            return {};
        case CollectResult::PhoneError: {
            const std::optional<FinalResult> final = error();
            return final && final->code >= 0
                       ? UiText(language, kTextPhoneErrorCode).arg(final->code)
                       : UiText(language, kTextPhoneError);
        }
        case CollectResult::Timeout:
            return UiText(language, kTextPhoneTimedOut);
        case CollectResult::Cancelled:
            return UiText(language, kTextCommandCancelled);
        case CollectResult::PortError:
            break;
    }
    return UiText(language, 38);
}

std::optional<FinalResult> PhoneAnswer::error() const {
    return FindPhoneError(text);
}

PhoneAnswer AskPhone(PortLease& lease, const QByteArray& command, int timeoutMs) {
    PhoneAnswer answer;
    if (lease.SendCommand(command)) {
        answer.result = lease.CollectUntil(answer.text, kOkMarker, timeoutMs);
    }
    return answer;
}

PhoneAnswer AskPhone(PortLease& lease, const QByteArray& command, AnswerBounds bounds) {
    PhoneAnswer answer;
    if (lease.SendCommand(command)) {
        answer.result = lease.CollectUntil(answer.text, kOkMarker, bounds);
    }
    return answer;
}

CharacterSetSession::CharacterSetSession(PortLease& lease, int timeoutMs)
    : m_lease(lease), m_timeoutMs(timeoutMs) {
    const PhoneAnswer offered = AskPhone(m_lease, "AT+CSCS=?", m_timeoutMs);
    if (!offered.ok()) {
        return;  // no character sets on this phone: its bytes as they come
    }
    const PhoneAnswer selected = AskPhone(m_lease, "AT+CSCS?", m_timeoutMs);
    const QString current = selected.ok() ? QuotedNames(selected.text).value(0) : QString();
    m_mode = ModeOfSet(current);
    const CharacterSetPlan plan = PlanCharacterSet(QuotedNames(offered.text), current);
    if (plan.select.isEmpty()) {
        m_mode = plan.mode;
        return;
    }
    if (AskPhone(m_lease, SelectSetCommand(plan.select), m_timeoutMs).ok()) {
        m_mode = plan.mode;
        // A phone that did not say which set it had gets the standard one back.
        m_previous = current.isEmpty() ? QStringLiteral("GSM") : current;
    }
}

CharacterSetSession::~CharacterSetSession() {
    restore();
}

void CharacterSetSession::restore() {
    if (!m_previous.isEmpty()) {
        AskPhone(m_lease, SelectSetCommand(m_previous), m_timeoutMs);
        m_previous.clear();
    }
}

}  // namespace telvora
