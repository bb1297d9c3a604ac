#include "telvora/sms/message_rows.h"

#include <QHash>
#include <algorithm>

#include "telvora/sms/pdu_codec.h"

namespace telvora::sms {
namespace {

QStringView WithoutPlus(const QString& number) {
    return number.startsWith(u'+') ? QStringView(number).sliced(1) : QStringView(number);
}

MessageRow RowOf(const ReadMessage& read, const QDateTime& now) {
    MessageRow row;
    row.time = read.message.time;
    row.sender = read.message.sender;
    row.text = read.message.text;
    row.number = IsReplyableSender(read.message) ? read.message.sender : QString();
    row.ageSeconds = WallClockSeconds(now) - read.message.stampSeconds;
    row.indexes = {read.index};
    row.store = read.store;
    return row;
}

}  // namespace

QString TsvField(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
            case u'\t':
                escaped += QStringLiteral("\\t");
                break;
            case u'\n':
                escaped += QStringLiteral("\\n");
                break;
            case u'\r':
                escaped += QStringLiteral("\\r");
                break;
            case u'\\':
                escaped += QStringLiteral("\\\\");
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

QString MessageRow::indexText() const {
    QStringList texts;
    for (int index : indexes) {
        texts.append(QString::number(index));
    }
    return texts.join(u',');
}

QList<MessageRow> BuildMessageRows(const QList<ReadMessage>& messages, const QDateTime& now) {
    QList<MessageRow> rows;
    // Parts of a message by their key; each holds the parts in read order.
    QHash<QString, QList<const ReadMessage*>> parts;
    QList<QString> partKeys;  // in the order the first part of each was read
    QList<qsizetype> partRowAt;
    for (const ReadMessage& read : messages) {
        const std::optional<ConcatenatedPart>& part = read.message.part;
        if (!part || part->total < 2) {
            rows.append(RowOf(read, now));
            continue;
        }
        const QString key = read.store + u'\n' + read.message.sender + u'\n' +
                            QString::number(part->reference) + u'/' + QString::number(part->total);
        if (!parts.contains(key)) {
            partKeys.append(key);
            partRowAt.append(rows.size());
            rows.append(MessageRow{});  // filled below, keeping the read order
        }
        parts[key].append(&read);
    }
    for (qsizetype k = 0; k < partKeys.size(); ++k) {
        QList<const ReadMessage*> list = parts.value(partKeys[k]);
        std::stable_sort(list.begin(), list.end(), [](const ReadMessage* a, const ReadMessage* b) {
            return a->message.part->sequence < b->message.part->sequence;
        });
        MessageRow row = RowOf(*list.first(), now);
        for (qsizetype i = 1; i < list.size(); ++i) {
            row.text += list[i]->message.text;
            row.indexes.append(list[i]->index);
        }
        rows[partRowAt[k]] = row;
    }
    return rows;
}

void ResolveSenderNames(QList<MessageRow>& rows, const QList<NameAndNumber>& phoneBook) {
    for (MessageRow& row : rows) {
        if (row.number.isEmpty()) {
            continue;
        }
        const QStringView number = WithoutPlus(row.number);
        for (const NameAndNumber& entry : phoneBook) {
            if (!entry.number.isEmpty() && WithoutPlus(entry.number) == number) {
                row.sender = entry.name;
                break;
            }
        }
    }
}

void SortNewestFirst(QList<MessageRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const MessageRow& a, const MessageRow& b) {
        return a.ageSeconds < b.ageSeconds;
    });
}

QString TsvLine(const MessageRow& row) {
    return TsvField(row.time) + u'\t' + TsvField(row.sender) + u'\t' + TsvField(row.number) +
           u'\t' + row.indexText() + u'\t' + TsvField(row.text);
}

}  // namespace telvora::sms
