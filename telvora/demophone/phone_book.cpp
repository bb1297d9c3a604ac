// The phone-book commands of the simulated phone and the character set
// (AT+CSCS) that names travel in.

#include "telvora/demophone/at_syntax.h"
#include "telvora/demophone/simulated_phone.h"
#include "telvora/phonebook/phone_text.h"

namespace phonesim {

using namespace at;

namespace {

// A name as the phone sends it in character set `set`.
QByteArray encodeName(const QString& name, const QString& set) {
    if (set == QLatin1String("UCS2")) {
        return telvora::EncodeUcs2Hex(name);
    }
    const QByteArray bytes = telvora::EncodeWindows1250(name);
    return set == QLatin1String("HEX") ? bytes.toHex().toUpper() : bytes;
}

// A name as received in `set`; nullopt when it is not valid there.
std::optional<QString> decodeName(const QByteArray& text, const QString& set) {
    if (set == QLatin1String("UCS2")) {
        return telvora::DecodeUcs2Hex(text);
    }
    if (set == QLatin1String("HEX")) {
        if (text.size() % 2 != 0 || QByteArray::fromHex(text).toHex().toUpper() != text.toUpper()) {
            return std::nullopt;
        }
        return telvora::DecodeWindows1250(QByteArray::fromHex(text));
    }
    return telvora::DecodeWindows1250(text);
}
}  // namespace

void SimulatedPhone::addPhoneBookHandlers() {
    addHandlers({
        {"+CSCS", &SimulatedPhone::cscs},
        {"+CPBS", &SimulatedPhone::cpbs},
        {"+CPBR", &SimulatedPhone::cpbr},
        {"+CPBW", &SimulatedPhone::cpbw},
    });
}

Answer SimulatedPhone::cpbs(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Test:
            return ok({"+CPBS: (\"SM\",\"ME\")"});
        case Form::Read: {
            const PhoneBook& book = m_state.phoneBooks[m_phoneBook];
            return ok({"+CPBS: " + quoted(m_phoneBook) + ',' +
                       QByteArray::number(book.entries.size()) + ',' +
                       QByteArray::number(book.size)});
        }
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const QString name = QString::fromLatin1(args.value(0).text).toUpper();
    if (args.size() != 1 || !m_state.phoneBooks.contains(name)) {
        return cmeError(4);
    }
    m_phoneBook = name;
    return ok();
}

Answer SimulatedPhone::cpbr(Form form, const QList<Arg>& args) {
    const PhoneBook& book = m_state.phoneBooks[m_phoneBook];
    if (form == Form::Test) {
        return ok({"+CPBR: (1-" + QByteArray::number(book.size) + ")," +
                   QByteArray::number(book.numberLength) + ',' +
                   QByteArray::number(book.nameLength)});
    }
    const auto first = toInt(args.value(0));
    const auto last = args.size() > 1 ? toInt(args.at(1)) : first;
    if (form != Form::Set || !first || !last || args.size() > 2) {
        return syntaxError();
    }
    if (*first < 1 || *last > book.size || *first > *last) {
        return cmeError(21);
    }
    Answer answer = ok();
    for (auto it = book.entries.lowerBound(*first); it != book.entries.end() && it.key() <= *last;
         ++it) {
        answer.lines.append("+CPBR: " + QByteArray::number(it.key()) + ',' + quoted(it->number) +
                            ',' + QByteArray::number(it->type) + ",\"" +
                            encodeName(it->name, m_state.characterSet) + '"');
    }
    // Empty positions, a single one too, give no line: clients that read
    // position by position until they have found every entry go on past a gap.
    return answer;
}

Answer SimulatedPhone::cpbw(Form form, const QList<Arg>& args) {
    PhoneBook& book = m_state.phoneBooks[m_phoneBook];
    if (form == Form::Test) {
        // The types as a range, not a list "(129,145)": clients that find the
        // name length by counting commas expect it after the third one.
        return ok({"+CPBW: (1-" + QByteArray::number(book.size) + ")," +
                   QByteArray::number(book.numberLength) + ",(128-255)," +
                   QByteArray::number(book.nameLength)});
    }
    if (form != Form::Set || args.size() > 4) {
        return syntaxError();
    }
    int position = 0;
    if (args.at(0).isEmpty()) {
        // No position: the first free one.
        for (position = 1; position <= book.size && book.entries.contains(position); ++position) {
        }
        if (position > book.size) {
            return cmeError(20);
        }
    } else {
        const auto index = toInt(args.at(0));
        if (!index) {
            return syntaxError();
        }
        position = *index;
    }
    if (position < 1 || position > book.size) {
        return cmeError(21);
    }
    QString number = QString::fromLatin1(args.value(1).text);
    const std::optional<QString> decodedName = decodeName(args.value(3).text, m_state.characterSet);
    if (!decodedName) {
        return cmeError(25);
    }
    const QString name = *decodedName;
    if (number.isEmpty() && name.isEmpty()) {
        // Writing nothing erases the position.
        book.entries.remove(position);
        return ok();
    }
    // 0 when no type was given; a given type must be a valid address type.
    int type = 0;
    if (!args.value(2).isEmpty()) {
        const std::optional<int> given = toInt(args.at(2));
        if (!given || *given < 128 || *given > 255) {
            return syntaxError();
        }
        type = *given;
    }
    if (!validDialChars(number)) {
        return cmeError(27);
    }
    if (digitsOnly(number).size() > book.numberLength) {
        return cmeError(26);
    }
    if (name.size() > book.nameLength) {
        return cmeError(24);
    }
    if (type == 145 && !number.startsWith('+')) {
        number.prepend('+');
    }
    book.entries.insert(position, PhoneBookEntry{number, number.startsWith('+') ? 145 : 129, name});
    return ok();
}

Answer SimulatedPhone::cscs(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Test: {
            QList<QByteArray> sets;
            for (const QString& set : m_state.characterSets) {
                sets.append(quoted(set));
            }
            return ok({"+CSCS: (" + sets.join(',') + ')'});
        }
        case Form::Read:
            return ok({"+CSCS: " + quoted(m_state.characterSet)});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const QString set = QString::fromLatin1(args.value(0).text).toUpper();
    if (args.size() != 1 || !m_state.characterSets.contains(set)) {
        return cmeError(4);
    }
    m_state.characterSet = set;
    return ok();
}

}  // namespace phonesim
