#include "telvora/phonebook/upload_phone_book.h"

#include <QStringList>

#include "telvora/phonebook/phone_book_answer.h"
#include "telvora/phonebook/phone_book_texts.h"
#include "telvora/phonebook/upload_plan.h"

namespace telvora {
namespace {

using Status = UploadPhoneBookResult::Status;

UploadPhoneBookResult Outcome(Status status) {
    UploadPhoneBookResult result;
    result.status = status;
    return result;
}

constexpr int kTextUploading = 75;
// "+CME ERROR: 22", not found: how some phones answer a read of an empty memory.
constexpr int kNotFound = 22;

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
    const int highest = std::max<int>(0, ParseHighestPosition(range.text));

    // What the memory holds now, so that only changes are written.
    const int readMs = PhoneBookReadLimitMs(range.text, characterSet.mode(), limits.readBaseMs,
                                            limits.lineCharsPerSecond);
    const PhoneAnswer records =
        highest > 0 ? AskPhone(lease, "AT+CPBR=1," + QByteArray::number(highest), readMs)
                    : PhoneAnswer{CollectResult::Marker, {}};
    const std::optional<FinalResult> readError = records.error();
    if (!records.ok() &&
        !(readError && readError->kind == FinalKind::CmeError && readError->code == kNotFound)) {
        m_setup.messages.error(records.failureText(m_setup.language) + '\n' +
                               m_setup.text(kTextReadFailed));
        return Outcome(Status::Failed);
    }
    const PhoneBookList present = ParsePhoneBookRecords(records.text, characterSet.mode()).entries;

    PhoneBookList wanted;
    for (const UploadEntry& entry : entries) {
        wanted.append(PhoneBookEntry{entry.position, entry.name, entry.number});
    }
    UploadPlan plan = PlanUpload(present, wanted, highest, *sizes, m_cutLongNames);
    if (!plan.longNumbers.isEmpty()) {
        m_setup.messages.error(m_setup.text(kTextNumbersTooLong)
                                   .arg(sizes->maxNumber)
                                   .arg(plan.longNumbers.join(QStringLiteral(", "))));
        return Outcome(Status::TooLong);
    }
    if (!plan.longNames.isEmpty() && !m_cutLongNames) {
        const QString names = plan.longNames.join(QStringLiteral(", "));
        if (!m_setup.confirm) {
            m_setup.messages.error(
                m_setup.text(kTextNamesTooLongCli).arg(sizes->maxName).arg(names));
            return Outcome(Status::TooLong);
        }
        if (!m_setup.messages.askYesNo(
                MessageBoxes::Kind::Info,
                m_setup.text(kTextNamesTooLong).arg(sizes->maxName).arg(names))) {
            return Outcome(Status::TooLong);
        }
        plan = PlanUpload(present, wanted, highest, *sizes, true);
    }

    UploadPhoneBookResult result = Outcome(Status::Done);
    result.beyondMemory = plan.beyondMemory;
    const int changes = static_cast<int>(plan.changes.size());
    for (int i = 0; i < changes; ++i) {
        const PhoneBookChange& change = plan.changes[i];
        // The change being written counts: the last one is "n/n".
        emit progress(progressText(i + 1, changes), i + 1, changes);
        const PhoneAnswer written =
            AskPhone(lease, ChangeCommand(change, characterSet.mode()), limits.shortMs);
        if (written.ok()) {
            ++result.written;
            result.erased += change.erase ? 1 : 0;
        } else if (written.result == CollectResult::Cancelled) {
            // Cancelled by the user: no position after the one in flight is
            // written; each position is written whole or not at all.
            m_setup.messages.info(m_setup.text(kTextCommandCancelled) + QLatin1Char(' ') +
                                  entriesWrittenText(result));
            result.status = Status::Cancelled;
            break;
        } else if (written.result == CollectResult::PhoneError) {
            result.failedPositions.append(change.position);
        } else {
            // Silent or gone: the positions after it would fail the same way.
            // The memory now holds part of the list: say how much of it.
            m_setup.messages.error(written.failureText(m_setup.language) + QLatin1Char('\n') +
                                   entriesWrittenText(result));
            result.status = Status::Failed;
            break;
        }
    }
    return result;
}

QString UploadPhoneBook::entriesWrittenText(const UploadPhoneBookResult& result) const {
    // Only entries the phone confirmed; erased positions are not entries.
    return m_setup.text(kTextEntriesWritten).arg(result.written - result.erased);
}

QString UploadPhoneBook::progressText(int change, int changes) const {
    return m_setup.text(kTextUploading) + QLatin1Char(' ') + QString::number(change) +
           QLatin1Char('/') + QString::number(changes);
}

}  // namespace telvora
