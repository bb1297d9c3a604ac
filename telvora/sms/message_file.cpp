#include "telvora/sms/message_file.h"

#include <QFile>

#include "telvora/sms/message_csv.h"

namespace telvora::sms {

bool AppendMessagesCsv(const QString& path, const QList<MessageRow>& rows, QString* error) {
    QFile file(path);
    const QByteArray lines = MessagesCsv(rows);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(lines) != lines.size() ||
        !file.flush()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

}  // namespace telvora::sms
