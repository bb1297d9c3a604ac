#pragma once
// The message file: one line per message row, three fields (time, sender,
// text) each in double quotes, separated by "," and ended by CR LF, in
// UTF-8. A double quote inside a field is doubled, so the file reads back
// exactly in a spreadsheet program; line breaks stay inside the quotes.

#include <QByteArray>
#include <QList>
#include <QString>

#include "telvora/sms/message_rows.h"

namespace telvora::sms {

// The UTF-8 byte-order mark a new message file starts with.
inline constexpr char kCsvByteOrderMark[] = "\xEF\xBB\xBF";

// One line of the file, CR LF included.
QByteArray CsvLine(const QString& time, const QString& sender, const QString& text);

// The lines of every row, in order.
QByteArray MessagesCsv(const QList<MessageRow>& rows);

// The file a chosen path names: unchanged when it contains ".csv" anywhere
// (in any letter case), else with ".csv" added.
QString CsvFilePath(const QString& chosenPath);

}  // namespace telvora::sms
