#pragma once
// The operator and signal display: reading the answers to "AT+COPS?" and
// "AT+CSQ" and building the two lines of the signal label.

#include <QByteArray>
#include <QString>

namespace telvora {

// What one poll of the network found.
struct NetworkStatus {
    QString operatorName;
    int signal = 0;  // received signal strength indication, 0..31, 99 unknown
};

// Shown for the operator when its answer holds no quoted name (no operator,
// or no answer in time).
inline constexpr char16_t kNoOperator[] = u"\u2014";  // an em dash
// The bar for a signal value outside 0..31 (99 is "not known").
inline constexpr char kNoSignal[] = "No signal";
inline constexpr int kMaxSignal = 31;

// The operator name from an answer such as +COPS: 0,0,"T-Mobile CZ": the text
// between the first pair of double quotes, else kNoOperator.
QString ParseOperatorName(const QByteArray& answer);

// The signal value from an answer such as +CSQ: 15,99: the number at the
// start of the text after the first colon, blanks skipped. No colon or no
// digits (the answer did not come in time) give 0.
int ParseSignalValue(const QByteArray& answer);

// v "|" and 31 - v "'" for v from 0 to 31, always 31 characters; kNoSignal
// for any other value.
QString SignalBar(int signal);

// The signal label: the operator, a line break, then "| " bar " |".
QString SignalCaption(const NetworkStatus& status);

}  // namespace telvora
