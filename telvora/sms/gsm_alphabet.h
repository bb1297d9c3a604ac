#pragma once
// The GSM 7-bit default alphabet (3GPP TS 23.038) and its extension table.
// A phone reads the septets of a 7-bit message through these tables, so text
// is mapped here before packing and after unpacking. Septet values are bytes
// 0..127; a character of the extension table is the escape 0x1B followed by
// its code, two septets.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace telvora::sms {

inline constexpr char kGsmEscape = 0x1B;
inline constexpr char kGsmQuestionMark = 0x3F;

// The septets of `text`. A character the alphabet cannot carry becomes "?"
// (a surrogate pair becomes one "?").
QByteArray ToGsmSeptets(QStringView text);

// The text of `septets`. An escape followed by a code the extension table
// does not hold shows the default-table character of that code; an escape
// at the very end shows nothing.
QString FromGsmSeptets(QByteArrayView septets);

// True for a printable character that the alphabet can carry (the printable
// ASCII characters but the backquote, and letters such as é, Ä, Δ, €).
bool IsGsmPrintable(QChar c);

// Number of septets `text` takes once mapped (extension characters count 2).
int GsmSeptetCount(QStringView text);

// Septets of one character: 0 when it cannot be carried, else 1 or 2.
int GsmSeptetsOf(QChar c);

}  // namespace telvora::sms
