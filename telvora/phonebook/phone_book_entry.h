#pragma once
// One entry of the phone book and the list of them that the main window's
// phone-book grid shows, with the sorting and the hand-over of a number.

#include <QByteArray>
#include <QList>
#include <QString>

namespace telvora {

// The name listed for an entry the phone keeps without one.
inline constexpr char kUnnamedEntry[] = "Neuvedeno";

struct PhoneBookEntry {
    qint16 position = 0;  // memory position in the phone, 1 is the first
    QString name;
    QString number;  // as the phone gave it, leading "+" included

    friend bool operator==(const PhoneBookEntry&, const PhoneBookEntry&) = default;
};

// The entries in display order. Any number of them: a phone or a file with
// more than the 250 entries the grid was first sized for keeps them all.
using PhoneBookList = QList<PhoneBookEntry>;

// The memory a phone book is read from or written to.
enum class PhoneBookSource : quint8 { Sim = 0, PhoneMemory = 1, None = 99 };

// "SM" for the SIM card, "ME" for the phone's own memory.
QByteArray MemoryCode(PhoneBookSource source);

enum class PhoneBookSortKind { ByName = 0, ByPosition = 1 };

// By name in Czech order (czech_collation.h); or by position by numeric value.
// Entries with equal keys keep their order.
void SortPhoneBook(PhoneBookList& list, PhoneBookSortKind kind);

// The text that goes into the number field for a chosen entry: the number
// without a leading "+".
QString NumberForNumberField(const QString& number);

// Neither files nor phones can carry a double quote inside a name or number:
// each one becomes an apostrophe. True when something was replaced.
bool ReplaceDoubleQuotes(PhoneBookEntry& entry);
bool ReplaceDoubleQuotes(PhoneBookList& list);

}  // namespace telvora
