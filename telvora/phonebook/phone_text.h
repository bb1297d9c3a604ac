#pragma once
// The character sets names travel in. A phone that offers UCS2 sends and
// takes names as UTF-16 in hexadecimal digits ("004A0061006E" is "Jan");
// one in HEX sends the bytes of its own 8-bit set as hexadecimal digits;
// any other set sends the bytes themselves, which telvora takes as
// Windows-1250 (the 8-bit set of Czech installations). Files written by
// older installations use the same 8-bit set.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace telvora {

QString DecodeWindows1250(const QByteArray& bytes);
// Characters that Windows-1250 lacks become '?'.
QByteArray EncodeWindows1250(const QString& text);

// UTF-16 code units as four upper-case hexadecimal digits each.
QByteArray EncodeUcs2Hex(const QString& text);
// nullopt when `hex` is not a whole number of four-digit groups.
std::optional<QString> DecodeUcs2Hex(const QByteArray& hex);

bool IsValidUtf8(const QByteArray& bytes);

// How names are written on the line while a phone-book command runs.
enum class PhoneTextMode {
    Bytes,    // 8-bit bytes, taken as Windows-1250
    Ucs2Hex,  // "UCS2": UTF-16 as hexadecimal digits
    HexBytes  // "HEX": the 8-bit bytes as hexadecimal digits
};

QString DecodePhoneText(const QByteArray& text, PhoneTextMode mode);
QByteArray EncodePhoneText(const QString& text, PhoneTextMode mode);

// The quoted names in an answer to "AT+CSCS=?" (+CSCS: ("GSM","IRA","UCS2")),
// or the one in an answer to "AT+CSCS?" (+CSCS: "GSM"); upper case.
QStringList QuotedNames(const QByteArray& answer);

// What a phone-book command does about the character set: which set to
// select for the command (empty: leave the phone's as it is) and how names
// are written meanwhile.
struct CharacterSetPlan {
    QString select;
    PhoneTextMode mode = PhoneTextMode::Bytes;
};

// `offered`: the sets the phone offers (empty when it did not say);
// `current`: the set selected now (empty when unknown). UCS2 when offered;
// otherwise a phone left in UCS2 or HEX is moved to a plain 8-bit set, or,
// when it offers none, its hexadecimal digits are decoded.
CharacterSetPlan PlanCharacterSet(const QStringList& offered, const QString& current);

}  // namespace telvora
