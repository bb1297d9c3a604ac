#include "telvora/calls/number_field.h"

namespace telvora {
namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

bool IsNumberKeyAccepted(QStringView typed) {
    for (QChar c : typed) {
        if (c.unicode() >= 32 && !IsDigit(c)) {
            return false;
        }
    }
    return true;
}

bool IsDialableNumber(QStringView number) {
    QStringView digits = number.trimmed();
    if (digits.startsWith(QLatin1Char('+'))) {
        digits = digits.sliced(1);
    }
    if (digits.isEmpty()) {
        return false;
    }
    for (QChar c : digits) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace telvora
