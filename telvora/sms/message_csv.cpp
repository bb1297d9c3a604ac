#include "telvora/sms/message_csv.h"

namespace telvora::sms {
namespace {

QByteArray QuotedField(const QString& field) {
    QByteArray text = field.toUtf8();
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

}  // namespace

QByteArray CsvLine(const QString& time, const QString& sender, const QString& text) {
    return QuotedField(time) + ',' + QuotedField(sender) + ',' + QuotedField(text) + "\r\n";
}

QByteArray MessagesCsv(const QList<MessageRow>& rows) {
    QByteArray lines;
    for (const MessageRow& row : rows) {
        lines += CsvLine(row.time, row.sender, row.text);
    }
    return lines;
}

QString CsvFilePath(const QString& chosenPath) {
    if (chosenPath.contains(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        return chosenPath;
    }
    return chosenPath + QStringLiteral(".csv");
}

}  // namespace telvora::sms
