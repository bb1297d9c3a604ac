#include "telvora/phonebook/key_filters.h"

#include <QChar>
#include <QList>

namespace telvora {

bool AcceptNameKey(char32_t code) {
    if (code < 32) {
        return code != kEnterKey;
    }
    if (code == U'"' || code == 127) {
        return false;
    }
    return code < 127 || QChar::isPrint(code);
}

bool AcceptNumberKey(char32_t code) {
    return code < 32 || (code >= U'0' && code <= U'9');
}

bool AcceptNumberKeyAt(char32_t code, const QString& text, qsizetype position) {
    if (code == U'+') {
        return position == 0 && !text.startsWith(QLatin1Char('+'));
    }
    return AcceptNumberKey(code);
}

namespace {

template <typename Accept>
QString FilterPrintable(const QString& text, Accept accept) {
    QString kept;
    for (char32_t code : text.toUcs4()) {
        if (code >= 32 && accept(code)) {
            kept.append(QString::fromUcs4(&code, 1));
        }
    }
    return kept;
}

}  // namespace

QString FilterNameText(const QString& text) {
    return FilterPrintable(text, AcceptNameKey);
}

QString FilterNumberText(const QString& text) {
    const QString digits = FilterPrintable(text, AcceptNumberKey);
    return text.trimmed().startsWith(QLatin1Char('+')) ? QLatin1Char('+') + digits : digits;
}

}  // namespace telvora
