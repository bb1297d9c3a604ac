#include "telvora/calls/network_status.h"

#include "telvora/core/at_text.h"

namespace telvora {

QString ParseOperatorName(const QByteArray& answer) {
    const qsizetype open = answer.indexOf('"');
    const qsizetype close = open < 0 ? -1 : answer.indexOf('"', open + 1);
    if (close < 0) {
        return QString::fromUtf16(kNoOperator);
    }
    // The line carries 8-bit characters; Latin-1 keeps each one as it came.
    return QString::fromLatin1(answer.mid(open + 1, close - open - 1));
}

int ParseSignalValue(const QByteArray& answer) {
    const QByteArray value = SkipFields(answer, ":", 1);
    qsizetype at = 0;
    while (at < value.size() && value[at] == ' ') {
        ++at;
    }
    int signal = 0;
    // Three digits are enough for any value the phone gives (0..31, 99);
    // stopping there keeps a run of digits from overflowing.
    for (int digits = 0; at < value.size() && digits < 3; ++at, ++digits) {
        const char c = value[at];
        if (c < '0' || c > '9') {
            break;
        }
        signal = signal * 10 + (c - '0');
    }
    return signal;
}

QString SignalBar(int signal) {
    if (signal < 0 || signal > kMaxSignal) {
        return QString::fromLatin1(kNoSignal);
    }
    return QString(signal, QLatin1Char('|')) + QString(kMaxSignal - signal, QLatin1Char('\''));
}

QString SignalCaption(const NetworkStatus& status) {
    return status.operatorName + QLatin1Char('\n') + QStringLiteral("| ") +
           SignalBar(status.signal) + QStringLiteral(" |");
}

}  // namespace telvora
