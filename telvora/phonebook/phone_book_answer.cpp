#include "telvora/phonebook/phone_book_answer.h"

#include <QList>
#include <algorithm>
#include <limits>

#include "telvora/core/at_text.h"

namespace telvora {
namespace {

qint16 ToInt16(qint64 value) {
    return static_cast<qint16>(std::clamp<qint64>(value, std::numeric_limits<qint16>::min(),
                                                  std::numeric_limits<qint16>::max()));
}

bool IsDialText(const QString& text) {
    for (QChar c : text) {
        if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('*') &&
            c != QLatin1Char('#')) {
            return false;
        }
    }
    return !text.isEmpty();
}

// Some phones send the number in the selected set as well.
QString DecodeNumber(const QByteArray& number, PhoneTextMode mode) {
    if (mode == PhoneTextMode::Ucs2Hex && number.size() >= 8) {
        const std::optional<QString> decoded = DecodeUcs2Hex(number);
        if (decoded && IsDialText(*decoded)) {
            return *decoded;
        }
    }
    return QString::fromLatin1(number);
}

std::optional<PhoneBookEntry> ParseRecord(const QByteArray& line, PhoneTextMode mode) {
    const QByteArray rest = SkipFields(line, ":", 1);
    const qsizetype q1 = rest.indexOf('"');
    const qsizetype q2 = q1 < 0 ? -1 : rest.indexOf('"', q1 + 1);
    const qsizetype q3 = q2 < 0 ? -1 : rest.indexOf('"', q2 + 1);
    const qsizetype q4 = rest.lastIndexOf('"');
    if (q3 < 0 || q4 <= q3) {
        return std::nullopt;
    }
    PhoneBookEntry entry;
    entry.position = ToInt16(LeadingInteger(rest));
    entry.number = DecodeNumber(rest.mid(q1 + 1, q2 - q1 - 1), mode);
    entry.name = DecodePhoneText(rest.mid(q3 + 1, q4 - q3 - 1), mode);
    if (entry.name.isEmpty()) {
        entry.name = QString::fromLatin1(kUnnamedEntry);
    }
    return entry;
}

}  // namespace

qint64 LeadingInteger(const QByteArray& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<qint64>(value * 10 + (text[i] - '0'), std::numeric_limits<qint32>::max());
    }
    return negative ? -value : value;
}

qint16 ParseHighestPosition(const QByteArray& answer) {
    return ToInt16(LeadingInteger(SkipFields(answer, "-", 1)));
}

int PhoneBookReadLimitMs(const QByteArray& rangeAnswer, PhoneTextMode mode, int baseMs,
                         int lineCharsPerSecond) {
    // "+CPBR: " index "," quoted number "," type "," quoted name CR LF.
    constexpr qint64 kRecordFrame = 32;
    constexpr qint64 kDefaultLength = 40;
    const qint64 highest = std::max<qint64>(0, ParseHighestPosition(rangeAnswer));
    const QByteArray afterRange = SkipFields(SkipFields(rangeAnswer, ")", 1), ",", 1);
    const qint64 numberLength = LeadingInteger(afterRange);
    const qint64 nameLength = LeadingInteger(SkipFields(afterRange, ",", 1));
    const qint64 perLetter = mode == PhoneTextMode::Ucs2Hex    ? 4
                             : mode == PhoneTextMode::HexBytes ? 2
                                                               : 1;
    const qint64 record = kRecordFrame + (numberLength > 0 ? numberLength : kDefaultLength) +
                          (nameLength > 0 ? nameLength : kDefaultLength) * perLetter;
    const qint64 lineMs = highest * record * 1000 / std::max(1, lineCharsPerSecond);
    return static_cast<int>(std::min<qint64>(baseMs + 2 * lineMs, std::numeric_limits<int>::max()));
}

std::optional<WriteLimits> ParseWriteLimits(const QByteArray& answer) {
    // Fields of the information line, split at commas outside parentheses,
    // so that a list of types such as (129,145) stays one field.
    const qsizetype start = answer.indexOf("+CPBW:");
    if (start < 0) {
        return std::nullopt;
    }
    const qsizetype end = answer.indexOf('\r', start);
    const QByteArray line = answer.mid(start + 6, end < 0 ? -1 : end - start - 6);
    QList<QByteArray> fields(1);
    int depth = 0;
    for (char c : line) {
        if (c == ',' && depth == 0) {
            fields.append(QByteArray());
            continue;
        }
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        fields.last().append(c);
    }
    if (fields.size() < 4) {
        return std::nullopt;
    }
    bool numberOk = false;
    bool nameOk = false;
    const int maxNumber = fields[1].trimmed().toInt(&numberOk);
    const int maxName = fields[3].trimmed().toInt(&nameOk);
    if (!numberOk || !nameOk || maxNumber <= 0 || maxName <= 0) {
        return std::nullopt;
    }
    // The limits are single bytes on the phone.
    return WriteLimits{std::min(maxNumber, 255), std::min(maxName, 255)};
}

ParsedRecords ParsePhoneBookRecords(const QByteArray& answer, PhoneTextMode mode) {
    ParsedRecords parsed;
    QByteArray normalized = answer;
    normalized.replace('\r', '\n');
    for (const QByteArray& line : normalized.split('\n')) {
        if (!line.trimmed().startsWith("+CPBR:")) {
            continue;
        }
        std::optional<PhoneBookEntry> entry = ParseRecord(line.trimmed(), mode);
        if (!entry) {
            ++parsed.broken;
            continue;
        }
        parsed.quotesReplaced = ReplaceDoubleQuotes(*entry) || parsed.quotesReplaced;
        parsed.entries.append(*entry);
    }
    return parsed;
}

QByteArray WriteEntryCommand(int position, const QString& number, const QString& name,
                             const WriteLimits& limits, PhoneTextMode mode) {
    QString cleanNumber = number.left(limits.maxNumber);
    QString cleanName = name.left(limits.maxName);
    // A quote would end the field on the line early.
    cleanNumber.replace(QLatin1Char('"'), QLatin1Char('\''));
    cleanName.replace(QLatin1Char('"'), QLatin1Char('\''));
    return "AT+CPBW=" + QByteArray::number(position) + ",\"" + cleanNumber.toLatin1() + "\",,\"" +
           EncodePhoneText(cleanName, mode) + '"';
}

}  // namespace telvora
