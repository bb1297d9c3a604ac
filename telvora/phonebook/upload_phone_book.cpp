#include "telvora/phonebook/upload_phone_book.h"

#include <QStringList>

#include "telvora/phonebook/phone_book_answer.h"
#include "telvora/phonebook/phone_book_texts.h"

namespace telvora {
namespace {

using Status = UploadPhoneBookResult::Status;

UploadPhoneBookResult Outcome(Status status) {
    UploadPhoneBookResult result;
    result.status = status;
    return result;
}

constexpr int kTextUploading = 75;

}  // namespace

UploadPhoneBookResult UploadPhoneBook::run(PhoneBookSource memory,
                                           const QList<UploadEntry>& entries) {
    std::optional<PortLease> lease = m_setup.begin();
    if (!lease) {
        // Still held: another command has the port.
        return Outcome(m_setup.link.Busy() ? Status::PortBusy : Status::NotConnected);
    }
    UploadPhoneBookResult result = uploadHeld(*lease, memory, entries);
    lease->release();
    if (result.beyondMemory > 0) {
        m_setup.messages.info(
            m_setup.text(kTextMemoryTooSmall).arg(entries.size() - result.beyondMemory));
    }
    if (!result.failedPositions.isEmpty()) {
        QStringList positions;
        for (int position : result.failedPositions) {
            positions << QString::number(position);
        }
        m_setup.messages.error(m_setup.text(kTextFailedPositions).arg(positions.join(", ")));
    }
    return result;
}

UploadPhoneBookResult UploadPhoneBook::uploadHeld(PortLease& lease, PhoneBookSource memory,
                                                  const QList<UploadEntry>& entries) {
    if (m_setup.confirm && !m_setup.messages.askYesNo(MessageBoxes::Kind::Info,
                                                      m_setup.text(73) + '\n' + m_setup.text(74))) {
        return Outcome(Status::Cancelled);
    }
    const PhoneBookTimeouts& limits = m_setup.timeouts;
    const QByteArray selected =
        lease.Exchange("AT+CPBS=\"" + MemoryCode(memory) + '"', limits.selectMs);
    if (FindPhoneError(selected)) {
        m_setup.messages.error(m_setup.text(kTextNoSuchMemory));
        return Outcome(Status::Failed);
    }

    CharacterSetSession characterSet(lease, limits.shortMs);
    const PhoneAnswer range = AskPhone(lease, "AT+CPBR=?", limits.shortMs);
    const PhoneAnswer lengths =
        range.ok() ? AskPhone(lease, "AT+CPBW=?", limits.shortMs) : PhoneAnswer{};
    if (!range.ok() || !lengths.ok()) {
        m_setup.messages.error((range.ok() ? lengths : range).failureText(m_setup.language));
        return Outcome(Status::Failed);
    }
    const std::optional<WriteLimits> sizes = ParseWriteLimits(lengths.text);
    if (!sizes) {
        m_setup.messages.error(m_setup.text(kTextNoLimits));
        return Outcome(Status::Failed);
    }
    const qsizetype highest = std::max<qsizetype>(0, ParseHighestPosition(range.text));

    UploadPhoneBookResult result = Outcome(Status::Done);
    const qsizetype count = std::min(highest, entries.size());
    result.beyondMemory = static_cast<int>(entries.size() - count);
    emit progress(progressText(0, entries.size()));
    for (int position = 1; position <= count; ++position) {
        emit progress(progressText(position, entries.size()));
        const UploadEntry& entry = entries[position - 1];
        const PhoneAnswer written = AskPhone(
            lease,
            WriteEntryCommand(position, entry.number, entry.name, *sizes, characterSet.mode()),
            limits.shortMs);
        if (written.ok()) {
            ++result.written;
        } else if (written.result == CollectResult::Cancelled) {
            // Cancelled by the user: no position after the one in flight is
            // written; each position is written whole or not at all.
            m_setup.messages.info(m_setup.text(kTextCommandCancelled) + QLatin1Char(' ') +
                                  m_setup.text(kTextEntriesWritten).arg(result.written));
            result.status = Status::Cancelled;
            break;
        } else if (written.result == CollectResult::PhoneError) {
            result.failedPositions.append(position);
        } else {
            // Silent or gone: the positions after it would fail the same way.
            m_setup.messages.error(written.failureText(m_setup.language));
            result.status = Status::Failed;
            break;
        }
    }
    return result;
}

QString UploadPhoneBook::progressText(int position, qsizetype entries) const {
    return m_setup.text(kTextUploading) + QLatin1Char(' ') + QString::number(position) +
           QLatin1Char('/') + QString::number(entries + 1);
}

}  // namespace telvora
