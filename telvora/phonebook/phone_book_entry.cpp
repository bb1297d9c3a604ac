#include "telvora/phonebook/phone_book_entry.h"

#include <algorithm>
#include <vector>

#include "telvora/phonebook/czech_collation.h"

namespace telvora {

QByteArray MemoryCode(PhoneBookSource source) {
    return source == PhoneBookSource::PhoneMemory ? QByteArrayLiteral("ME")
                                                  : QByteArrayLiteral("SM");
}

void SortPhoneBook(PhoneBookList& list, PhoneBookSortKind kind) {
    if (kind == PhoneBookSortKind::ByName) {
        // Each name's sort key is worked out once, not at every comparison:
        // a 10,000-entry file needs some 260,000 comparisons.
        struct Keyed {
            QList<quint32> key;
            qsizetype at;
        };
        std::vector<Keyed> keyed;
        keyed.reserve(std::size_t(list.size()));
        for (qsizetype i = 0; i < list.size(); ++i) {
            keyed.push_back({CzechSortKey(list[i].name), i});
        }
        std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            return std::lexicographical_compare(a.key.begin(), a.key.end(), b.key.begin(),
                                                b.key.end());
        });
        PhoneBookList sorted;
        sorted.reserve(list.size());
        for (const Keyed& entry : keyed) {
            sorted.append(std::move(list[entry.at]));
        }
        list = std::move(sorted);
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
