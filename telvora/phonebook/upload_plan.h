#pragma once
// What an upload writes. After it the chosen memory holds exactly the
// editor's entries: an entry read from the phone keeps its position, an
// entry without a usable position (added, or from a file line without one,
// or a second claim on a position) takes the lowest free one, and every
// other position that held something is erased. Only what differs from the
// phone's present content is written, so uploading what was just read
// writes nothing. A name or number longer than the phone takes is never cut
// silently: the plan lists them, and names are cut only when asked.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "telvora/phonebook/phone_book_answer.h"
#include "telvora/phonebook/phone_book_entry.h"

namespace telvora {

// Type of number of an entry: 145 (international) when it begins with "+",
// else 129.
int NumberType(const QString& number);

// One change of a position: an entry written, or the position erased.
struct PhoneBookChange {
    int position = 0;
    bool erase = false;
    QString name;
    QString number;

    friend bool operator==(const PhoneBookChange&, const PhoneBookChange&) = default;
};

struct UploadPlan {
    QList<PhoneBookChange> changes;  // in position order
    PhoneBookList result;            // what the memory holds afterwards, by position
    QStringList longNames;           // names over the limit (cut when asked)
    QStringList longNumbers;         // numbers over the limit (never cut)
    int beyondMemory = 0;            // entries for which no position was left

    // Nothing may be written: a name over the limit that was not to be
    // cut, or a number over the limit.
    bool blocked(bool cutNames) const {
        return !longNumbers.isEmpty() || (!cutNames && !longNames.isEmpty());
    }
};

// `phone`: what the memory holds now; `editor`: the entries it is to hold
// (position 0 or below, or above `highest`: none yet). Rows with neither
// name nor number are deleted entries. `cutNames`: names over the limit are
// cut to it (and still listed).
UploadPlan PlanUpload(const PhoneBookList& phone, const PhoneBookList& editor, int highest,
                      const WriteLimits& limits, bool cutNames);

// The line of one change: AT+CPBW=3,"+420603123456",145,"Jan" or, to
// erase, AT+CPBW=3. The name is written in `mode`.
QByteArray ChangeCommand(const PhoneBookChange& change, PhoneTextMode mode);

}  // namespace telvora
