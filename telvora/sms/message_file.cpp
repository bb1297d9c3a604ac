#include "telvora/sms/message_file.h"

#include <QFile>

#include "telvora/sms/message_csv.h"

namespace telvora::sms {

bool WriteMessagesCsv(const QString& path, const QList<MessageRow>& rows, CsvSaveMode mode,
                      QString* error) {
    QFile file(path);
    const bool replace = mode == CsvSaveMode::Replace;
    const QIODevice::OpenMode openMode =
        QIODevice::WriteOnly | (replace ? QIODevice::Truncate : QIODevice::Append);
    if (!file.open(openMode)) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    QByteArray bytes = file.size() == 0 ? QByteArray(kCsvByteOrderMark) : QByteArray();
    bytes += MessagesCsv(rows);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

bool AppendMessagesCsv(const QString& path, const QList<MessageRow>& rows, QString* error) {
    return WriteMessagesCsv(path, rows, CsvSaveMode::Append, error);
}

}  // namespace telvora::sms
