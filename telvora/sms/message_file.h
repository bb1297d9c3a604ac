#pragma once
// Writing the message rows to a message file (message_csv.h gives the
// format). A file that is created or replaced starts with the UTF-8
// byte-order mark, so spreadsheet programs show Czech letters; lines added
// to an existing file follow its content without a second mark.

#include <QList>
#include <QString>

#include "telvora/sms/message_rows.h"

namespace telvora::sms {

enum class CsvSaveMode { Append, Replace };

// Writes one line per row to `path`: after its content (`Append`; a missing
// or empty file is created with the mark) or in place of it (`Replace`).
// False, with the reason in `error`, when the file cannot be opened or
// written.
bool WriteMessagesCsv(const QString& path, const QList<MessageRow>& rows, CsvSaveMode mode,
                      QString* error);

// WriteMessagesCsv with `Append`.
bool AppendMessagesCsv(const QString& path, const QList<MessageRow>& rows, QString* error);

}  // namespace telvora::sms
