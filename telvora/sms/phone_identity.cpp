#include "telvora/sms/phone_identity.h"

#include <QByteArray>
#include <QList>
#include <algorithm>

namespace telvora::sms {

QString IdentityDigits(QByteArrayView answer) {
    const QList<QByteArray> lines = answer.toByteArray().split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.startsWith("+CGSN:")) {
            line = line.mid(6).trimmed();
        }
        line.replace('"', "");
        const bool digits =
            line.size() >= 6 && line.size() <= 17 &&
            std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (digits) {
            return QString::fromLatin1(line);
        }
    }
    return {};
}

}  // namespace telvora::sms
