#pragma once
// The primitives of the SMS PDU form: hexadecimal text, 7-bit packing of
// septets, the semi-octet swap of phone numbers and the service-centre time
// stamp. PDU data is text of upper-case hexadecimal digits, two per octet
// (reading accepts either case). Septet values are bytes 0..127; mapping
// text to and from them is gsm_alphabet.h's job.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

namespace telvora::sms {

// Binary digits of 0..1024, most significant first ("0" for 0); empty for
// negative values and values above 1024.
QString ToBinaryDigits(int n);
// The value of a text of "0" and "1" (any other character counts as 0), as a
// 16-bit signed integer.
qint16 FromBinaryDigits(QStringView digits);
// The hexadecimal number at the start of `hex` (0 when it does not start with
// a hexadecimal digit). Callers pass two digits.
int HexByteValue(QByteArrayView hex);

// The septet count as at least two hexadecimal digits, then the septets
// packed 7 bits each, least significant first, ceil(7n/8) octets. Each byte
// of `septets` must be 0..127 (higher bits are ignored).
QByteArray PackSeptets(QByteArrayView septets);

// Unpacks every octet of `hexOctets` (no length octet) as 7-bit data and
// gives one byte per septet: a septet 0 in the first seven of each group of
// eight becomes "@", and when the octets hold one septet less than a
// multiple of 8 the fill bits give a final byte 0. The reader uses
// UnpackSeptetValues, which takes the septet count from the PDU instead.
QByteArray UnpackSeptets(QByteArrayView hexOctets);

// Exactly `count` septet values from raw `octets`, the first septet starting
// at bit 0; fewer when the octets run out.
QByteArray UnpackSeptetValues(QByteArrayView octets, int count);

// Swaps each pair of characters; an "F" filler becomes dropped and an odd
// length gets "F" before its last character: 12345 <-> 2143F5.
QByteArray SwapSemiOctets(QByteArrayView digits);

// "d.m.yyyy hh:mm:ss" from the first 12 digits of a time-stamp field (semi-
// octets swapped). Years above 90 are 19yy, the rest 20yy; a month or day out
// of range carries over; the time of day wraps by itself (hour 24 shows 00).
QString FormatTimestamp(QByteArrayView timestamp);
// The same moment as seconds on the clock face (the time zone octet is not
// read), comparable with WallClockSeconds: ages and sorting need no more.
qint64 TimestampSeconds(QByteArrayView timestamp);
// A date and time as seconds on its clock face, on the same scale.
qint64 WallClockSeconds(const QDateTime& moment);

// The value of one hexadecimal digit (either case), or -1.
int HexDigitValue(char c);

}  // namespace telvora::sms
