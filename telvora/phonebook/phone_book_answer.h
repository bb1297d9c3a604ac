#pragma once
// The phone-book commands' answers and command lines: "AT+CPBR=?",
// "AT+CPBR=1,n", "AT+CPBW=?" and "AT+CPBW=".

#include <QByteArray>
#include <QString>
#include <optional>

#include "telvora/phonebook/phone_book_entry.h"
#include "telvora/phonebook/phone_text.h"

namespace telvora {

// The number at the start of `text`: blanks before it are skipped, reading
// stops at the first character that cannot continue it; 0 when there is none.
qint64 LeadingInteger(const QByteArray& text);

// The highest position of the memory from "+CPBR: (1-250),20,18": the
// number after the first "-" (0 when there is none), within 16 bits.
qint16 ParseHighestPosition(const QByteArray& answer);

// How long the answer to "AT+CPBR=1,highest" may take: `baseMs` for the
// phone's own work plus twice the line time of a full memory, from the
// lengths in the answer to "AT+CPBR=?" (+CPBR: (1-250),20,18) and the set
// names travel in (UCS2 sends four digits a letter). A SIM of 250 entries
// with UCS2 names is about 30,000 characters, half a minute at 9600 baud.
int PhoneBookReadLimitMs(const QByteArray& rangeAnswer, PhoneTextMode mode, int baseMs,
                         int lineCharsPerSecond);

struct WriteLimits {
    int maxNumber = 0;  // longest number the memory takes
    int maxName = 0;    // longest name
};

// The limits from "+CPBW: (1-250),20,(128-255),18": the second and the
// fourth field (a list of types in parentheses counts as one field).
// nullopt when the answer does not hold both as numbers above 0, since
// cutting to 0 would blank every entry.
std::optional<WriteLimits> ParseWriteLimits(const QByteArray& answer);

struct ParsedRecords {
    PhoneBookList entries;
    int broken = 0;               // "+CPBR:" lines without four quotes, left out
    bool quotesReplaced = false;  // a name held a double quote
};

// The entries in an answer to "AT+CPBR=1,n", one per "+CPBR: i,"number",
// type,"name"" line. The name runs from the third quote of the line to its
// last one, so a comma or a quote in it cannot cut it short; a quote in it
// becomes an apostrophe. An empty name reads as "Neuvedeno". Names are
// decoded from `mode`; numbers sent as UCS2 digits are decoded too.
ParsedRecords ParsePhoneBookRecords(const QByteArray& answer, PhoneTextMode mode);

// "AT+CPBW=3,"5550123",,"Jan"": the entry for `position`, number and name
// cut to `limits` (characters), the name written in `mode`.
QByteArray WriteEntryCommand(int position, const QString& number, const QString& name,
                             const WriteLimits& limits, PhoneTextMode mode);

}  // namespace telvora
