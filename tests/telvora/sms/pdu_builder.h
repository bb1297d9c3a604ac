#pragma once
// Builds SMS-DELIVER PDUs for the tests straight from the field layout of
// 3GPP TS 23.040, bit by bit, sharing no code with the program's codec.

#include <QByteArray>
#include <QList>
#include <QString>

namespace telvora::sms::test {

struct DeliverFields {
    QByteArray centre = "07912143658709F1";  // service-centre part as hex, length octet first
    QByteArray senderField;                  // length, type and value as hex
    int dataCoding = 0x00;
    QByteArray stamp = "62211170511100";  // 2026-12-11 07:15:11
    QByteArray header;                    // user-data header without its length octet
    QList<int> septets;                   // 7-bit user data (after the header)
    QByteArray octets;                    // 8-bit or UCS2 user data (after the header)
};

inline QByteArray Hex(int octet) {
    return QByteArray::number(octet | 0x100, 16).right(2).toUpper();
}

// Sender field of an international number "+digits" or national "digits".
inline QByteArray NumberField(const QByteArray& digits, int type = 0x91) {
    QByteArray swapped;
    for (int i = 0; i < digits.size(); i += 2) {
        swapped += i + 1 < digits.size() ? digits[i + 1] : 'F';
        swapped += digits[i];
    }
    return Hex(digits.size()) + Hex(type) + swapped;
}

// Packs 7-bit values after `fillBits` zero bits, one bit at a time.
inline QByteArray PackBits(const QList<int>& septets, int fillBits) {
    QList<int> bits(fillBits, 0);
    for (int septet : septets) {
        for (int b = 0; b < 7; ++b) {
            bits.append((septet >> b) & 1);
        }
    }
    QByteArray hex;
    for (int at = 0; at < bits.size(); at += 8) {
        int octet = 0;
        for (int b = 0; b < 8 && at + b < bits.size(); ++b) {
            octet |= bits[at + b] << b;
        }
        hex += Hex(octet);
    }
    return hex;
}

inline QByteArray AlphanumericField(const QList<int>& septets) {
    const int semiOctets = (int(septets.size()) * 7 + 3) / 4;
    return Hex(semiOctets) + "D0" + PackBits(septets, 0);
}

inline QByteArray BuildDeliver(const DeliverFields& f) {
    const bool hasHeader = !f.header.isEmpty();
    QByteArray pdu = f.centre + Hex(hasHeader ? 0x44 : 0x04) + f.senderField + "00" +
                     Hex(f.dataCoding) + f.stamp;
    const int headerOctets = hasHeader ? 1 + int(f.header.size()) : 0;
    QByteArray header = hasHeader ? Hex(int(f.header.size())) + f.header.toHex().toUpper() : "";
    const bool sevenBit = (f.dataCoding & 0x0C) == 0;
    if (sevenBit) {
        const int headerSeptets = (headerOctets * 8 + 6) / 7;
        const int fill = headerSeptets * 7 - headerOctets * 8;
        // The fill bits lead the first octet after the header.
        const QByteArray data = PackBits(f.septets, fill);
        pdu += Hex(headerSeptets + int(f.septets.size())) + header + data;
    } else {
        pdu += Hex(headerOctets + int(f.octets.size())) + header + f.octets.toHex().toUpper();
    }
    return pdu;
}

inline QList<int> AsciiSeptets(const char* text) {
    QList<int> septets;
    for (const char* c = text; *c; ++c) {
        septets.append(*c == '@' ? 0 : *c);
    }
    return septets;
}

inline QByteArray Ucs2Octets(const QString& text) {
    QByteArray octets;
    for (QChar c : text) {
        octets += char(c.unicode() >> 8);
        octets += char(c.unicode() & 0xFF);
    }
    return octets;
}

}  // namespace telvora::sms::test
