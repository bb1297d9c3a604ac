#include "telvora/phonebook/read_phone_book.h"

#include "telvora/phonebook/phone_book_answer.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/phonebook/phone_book_texts.h"

namespace telvora {
namespace {

using Status = ReadPhoneBookResult::Status;

ReadPhoneBookResult Outcome(Status status) {
    ReadPhoneBookResult result;
    result.status = status;
    return result;
}

// "+CME ERROR: 22", not found: how some phones answer a read of an empty memory.
constexpr int kNotFound = 22;

constexpr int kTextNoNumbers = 50;

}  // namespace

ReadPhoneBookResult ReadPhoneBook::run(PhoneBookSource source, const QString& file) {
    std::optional<PortLease> lease = m_setup.begin();
    if (!lease) {
        // Still held: another command has the port.
        return Outcome(m_setup.link.Busy() ? Status::PortBusy : Status::NotConnected);
    }
    ReadPhoneBookResult result = readHeld(*lease, source);
    lease->release();
    if (result.status != Status::Read) {
        return result;
    }
    if (!file.isEmpty()) {
        QString error;
        result.fileWritten = SavePhoneBookFile(file, result.entries, &error);
        if (!result.fileWritten) {
            m_setup.messages.error(m_setup.text(kTextCannotWrite).arg(file) + '\n' + error);
        }
    }
    return result;
}

ReadPhoneBookResult ReadPhoneBook::readHeld(PortLease& lease, PhoneBookSource source) {
    if (m_setup.confirm &&
        !m_setup.messages.askOkCancel(MessageBoxes::Kind::Info, m_setup.text(49))) {
        return Outcome(Status::Cancelled);
    }
    const PhoneBookTimeouts& limits = m_setup.timeouts;
    const QByteArray selected =
        lease.Exchange("AT+CPBS=\"" + MemoryCode(source) + '"', limits.selectMs);
    if (FindPhoneError(selected)) {
        m_setup.messages.error(m_setup.text(kTextNoSuchMemory));
        return Outcome(Status::Failed);
    }

    CharacterSetSession characterSet(lease, limits.shortMs);
    const PhoneAnswer range = AskPhone(lease, "AT+CPBR=?", limits.shortMs);
    if (!range.ok()) {
        reportFailure(range.failureText(m_setup.language));
        return Outcome(Status::Failed);
    }
    const qint16 highest = ParseHighestPosition(range.text);
    const int readMs = PhoneBookReadLimitMs(range.text, characterSet.mode(), limits.readBaseMs,
                                            limits.lineCharsPerSecond);
    const PhoneAnswer records = AskPhone(lease, "AT+CPBR=1," + QByteArray::number(highest),
                                         AnswerBounds{limits.silenceMs, readMs});
    characterSet.restore();

    const std::optional<FinalResult> error = records.error();
    const bool notFound = error && error->kind == FinalKind::CmeError && error->code == kNotFound;
    if (!records.ok() && !notFound) {
        reportFailure(records.failureText(m_setup.language));
        return Outcome(Status::Failed);
    }
    ParsedRecords parsed = ParsePhoneBookRecords(records.text, characterSet.mode());
    if (parsed.entries.isEmpty()) {
        m_setup.messages.info(m_setup.text(kTextNoNumbers));
        return Outcome(Status::Empty);
    }
    if (parsed.quotesReplaced) {
        m_setup.messages.info(m_setup.text(kTextQuotesReplaced));
    }
    ReadPhoneBookResult result = Outcome(Status::Read);
    result.entries = std::move(parsed.entries);
    result.brokenRecords = parsed.broken;
    return result;
}

void ReadPhoneBook::reportFailure(const QString& reason) {
    m_setup.messages.error(reason + '\n' + m_setup.text(kTextReadFailed));
}

}  // namespace telvora
