#include "telvora/phonebook/phone_book_file.h"

#include <QStringList>

#include "telvora/phonebook/phone_text.h"

namespace telvora {
namespace {

// Splits one line into its fields as the file's reader takes them.
QStringList SplitFields(QStringView line) {
    QStringList fields;
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (i <= size) {
        while (i < size && line[i] == QLatin1Char(' ')) {
            ++i;
        }
        QString field;
        if (i < size && line[i] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? size : close;
            field = line.sliced(i + 1, end - i - 1).toString();
            i = close < 0 ? size : close + 1;
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            i = comma < 0 ? size : comma;
        } else {
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            const qsizetype end = comma < 0 ? size : comma;
            field = line.sliced(i, end - i).trimmed().toString();
            i = end;
        }
        fields.append(field);
        if (i >= size) {
            break;
        }
        ++i;  // the comma
        if (i == size) {
            fields.append(QString());  // a comma at the end of the line
            break;
        }
    }
    return fields;
}

// A field as the file can hold it: nothing is escaped, so a double quote
// (which would end the field early) becomes an apostrophe, as in names read
// from the phone, and a line end (which would split the entry) a blank. A
// file saved from any list then reads back as the same entries.
QByteArray FieldText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('"', '\'');
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

std::optional<qint16> ParsePosition(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min() ||
        value > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<qint16>(value);
}

}  // namespace

QByteArray PhoneBookLine(const PhoneBookEntry& entry) {
    return '"' + FieldText(entry.number) + "\",\"" + FieldText(entry.name) + "\"," +
           QByteArray::number(entry.position) + "\r\n";
}

QByteArray PhoneBookFileContent(const PhoneBookList& list) {
    QByteArray content;
    content.reserve(list.size() * 48);
    for (const PhoneBookEntry& entry : list) {
        content += PhoneBookLine(entry);
    }
    return content;
}

PhoneBookFileParse ParsePhoneBookFile(const QByteArray& bytes) {
    const QString text = IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : DecodeWindows1250(bytes);
    PhoneBookFileParse parse;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\r') &&
               text[end] != QLatin1Char('\n')) {
            ++end;
        }
        const QStringView line = QStringView(text).sliced(start, end - start);
        start = end + 1;
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = SplitFields(line);
        const std::optional<qint16> position =
            fields.size() >= 3 ? ParsePosition(fields[2]) : std::nullopt;
        if (!position) {
            ++parse.skippedLines;
            continue;
        }
        parse.entries.append(PhoneBookEntry{*position, fields[1], fields[0]});
    }
    return parse;
}

QString PhoneBookSavePath(const QString& path) {
    const QString trimmed = path.trimmed();
    if (trimmed.contains(QLatin1String(".tpb"), Qt::CaseInsensitive)) {
        return trimmed;
    }
    return trimmed + QLatin1String(".tpb");
}

}  // namespace telvora
