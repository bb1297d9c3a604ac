#pragma once
// Appending the message rows to a message file (message_csv.h gives the
// format). An existing file keeps its content; a missing one is created.

#include <QList>
#include <QString>

#include "telvora/sms/message_rows.h"

namespace telvora::sms {

// Appends one line per row to `path`. False, with the reason in `error`,
// when the file cannot be opened or written.
bool AppendMessagesCsv(const QString& path, const QList<MessageRow>& rows, QString* error);

}  // namespace telvora::sms
