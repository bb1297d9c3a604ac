#include "telvora/phonebook/phone_book_entry.h"

#include <algorithm>

#include "telvora/phonebook/czech_collation.h"

namespace telvora {

QByteArray MemoryCode(PhoneBookSource source) {
    return source == PhoneBookSource::PhoneMemory ? QByteArrayLiteral("ME")
                                                  : QByteArrayLiteral("SM");
}

void SortPhoneBook(PhoneBookList& list, PhoneBookSortKind kind) {
    if (kind == PhoneBookSortKind::ByName) {
        std::stable_sort(list.begin(), list.end(),
                         [](const PhoneBookEntry& a, const PhoneBookEntry& b) {
                             return CzechLess(a.name, b.name);
                         });
    } else {
        std::stable_sort(list.begin(), list.end(),
                         [](const PhoneBookEntry& a, const PhoneBookEntry& b) {
                             return a.position < b.position;
                         });
    }
}

QString NumberForNumberField(const QString& number) {
    return number.startsWith(QLatin1Char('+')) ? number.mid(1) : number;
}

bool ReplaceDoubleQuotes(PhoneBookEntry& entry) {
    bool replaced = false;
    for (QString* field : {&entry.name, &entry.number}) {
        if (field->contains(QLatin1Char('"'))) {
            field->replace(QLatin1Char('"'), QLatin1Char('\''));
            replaced = true;
        }
    }
    return replaced;
}

bool ReplaceDoubleQuotes(PhoneBookList& list) {
    bool replaced = false;
    for (PhoneBookEntry& entry : list) {
        replaced = ReplaceDoubleQuotes(entry) || replaced;
    }
    return replaced;
}

}  // namespace telvora
