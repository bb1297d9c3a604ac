#include "telvora/phonebook/phone_text.h"

#include <QStringDecoder>
#include <array>

namespace telvora {
namespace {

// Unicode of the Windows-1250 bytes 0x80..0xFF; U+FFFD for the five unused ones.
constexpr std::array<char16_t, 128> kWindows1250High{
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

char EncodeWindows1250Char(char16_t unit) {
    if (unit < 0x80) {
        return static_cast<char>(unit);
    }
    for (size_t i = 0; i < kWindows1250High.size(); ++i) {
        if (kWindows1250High[i] == unit && unit != 0xFFFD) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

bool IsHexDigits(const QByteArray& text) {
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

const QString kUcs2 = QStringLiteral("UCS2");
const QString kHex = QStringLiteral("HEX");

}  // namespace

QString DecodeWindows1250(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte < 0x80 ? QChar(byte) : QChar(kWindows1250High[byte - 0x80]));
    }
    return text;
}

QByteArray EncodeWindows1250(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        bytes.append(EncodeWindows1250Char(c.unicode()));
    }
    return bytes;
}

QByteArray EncodeUcs2Hex(const QString& text) {
    QByteArray hex;
    hex.reserve(text.size() * 4);
    for (QChar c : text) {
        hex.append(QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper());
    }
    return hex;
}

std::optional<QString> DecodeUcs2Hex(const QByteArray& hex) {
    if (hex.size() % 4 != 0 || !IsHexDigits(hex)) {
        return std::nullopt;
    }
    QString text;
    text.reserve(hex.size() / 4);
    for (qsizetype i = 0; i < hex.size(); i += 4) {
        text.append(QChar(static_cast<char16_t>(hex.mid(i, 4).toUShort(nullptr, 16))));
    }
    return text;
}

bool IsValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // Decoding happens when the result is taken as a string.
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

QString DecodePhoneText(const QByteArray& text, PhoneTextMode mode) {
    switch (mode) {
        case PhoneTextMode::Ucs2Hex:
            // A phone that sends a name in plain text after all keeps it readable.
            return DecodeUcs2Hex(text).value_or(DecodeWindows1250(text));
        case PhoneTextMode::HexBytes:
            if (text.size() % 2 == 0 && IsHexDigits(text)) {
                return DecodeWindows1250(QByteArray::fromHex(text));
            }
            return DecodeWindows1250(text);
        case PhoneTextMode::Bytes:
            break;
    }
    return DecodeWindows1250(text);
}

QByteArray EncodePhoneText(const QString& text, PhoneTextMode mode) {
    switch (mode) {
        case PhoneTextMode::Ucs2Hex:
            return EncodeUcs2Hex(text);
        case PhoneTextMode::HexBytes:
            return EncodeWindows1250(text).toHex().toUpper();
        case PhoneTextMode::Bytes:
            break;
    }
    return EncodeWindows1250(text);
}

QStringList QuotedNames(const QByteArray& answer) {
    QStringList names;
    qsizetype open = answer.indexOf('"');
    while (open >= 0) {
        const qsizetype close = answer.indexOf('"', open + 1);
        if (close < 0) {
            break;
        }
        names.append(QString::fromLatin1(answer.mid(open + 1, close - open - 1)).toUpper());
        open = answer.indexOf('"', close + 1);
    }
    return names;
}

CharacterSetPlan PlanCharacterSet(const QStringList& offered, const QString& current) {
    if (offered.contains(kUcs2)) {
        return {current == kUcs2 ? QString() : kUcs2, PhoneTextMode::Ucs2Hex};
    }
    if (current != kUcs2 && current != kHex) {
        return {};
    }
    for (const QString& plain : {QStringLiteral("IRA"), QStringLiteral("8859-1"),
                                 QStringLiteral("GSM"), QStringLiteral("PCCP437")}) {
        if (offered.contains(plain)) {
            return {plain, PhoneTextMode::Bytes};
        }
    }
    return {{}, current == kUcs2 ? PhoneTextMode::Ucs2Hex : PhoneTextMode::HexBytes};
}

}  // namespace telvora
