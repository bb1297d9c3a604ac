#include "telvora/sms/deliver_pdu.h"

#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/pdu_codec.h"

namespace telvora::sms {
namespace {

constexpr int kTimestampOctets = 7;
constexpr int kMaxAddressDigits = 20;

// Reads octets one after another from the binary PDU.
class OctetReader {
public:
    explicit OctetReader(const QByteArray& octets) : m_octets(octets) {}
    bool has(qsizetype count) const { return m_at + count <= m_octets.size(); }
    int next() { return static_cast<unsigned char>(m_octets[m_at++]); }
    QByteArray take(qsizetype count) {
        const QByteArray part = m_octets.mid(m_at, count);
        m_at += part.size();
        return part;
    }
    void skip(qsizetype count) { m_at += count; }

private:
    const QByteArray& m_octets;
    qsizetype m_at = 0;
};

// The octets of an even-length hexadecimal text; nullopt for anything else.
std::optional<QByteArray> OctetsOf(QByteArrayView hex) {
    if (hex.isEmpty() || hex.size() % 2 != 0) {
        return std::nullopt;
    }
    QByteArray octets(hex.size() / 2, Qt::Uninitialized);
    char* out = octets.data();
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        const int high = HexDigitValue(hex[i]);
        const int low = HexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out[i / 2] = static_cast<char>(high << 4 | low);
    }
    return octets;
}

// Semi-octet digits, the first digit in the low half of each octet; 0xA..0xE
// are "*", "#", "a", "b", "c" and 0xF the filler.
QString AddressDigits(const QByteArray& octets, int digitCount) {
    static constexpr char kDigits[] = "0123456789*#abc";
    QString digits;
    digits.reserve(digitCount);
    for (int i = 0; i < digitCount; ++i) {
        const int octet = static_cast<unsigned char>(octets[i / 2]);
        const int digit = i % 2 == 0 ? (octet & 0x0F) : (octet >> 4);
        if (digit != 0x0F) {
            digits.append(QChar::fromLatin1(kDigits[digit]));
        }
    }
    return digits;
}

DataCoding CodingOf(int scheme) {
    const int group = scheme >> 4;
    if (group <= 0x07) {  // general data coding (bit 5 "compressed" is not supported)
        const int alphabet = (scheme >> 2) & 0x03;
        return alphabet == 1 ? DataCoding::EightBit
                             : (alphabet == 2 ? DataCoding::Ucs2 : DataCoding::Gsm7Bit);
    }
    if (group == 0x0E) {
        return DataCoding::Ucs2;  // message waiting indication, UCS2 text
    }
    if (group == 0x0F) {
        return (scheme & 0x04) ? DataCoding::EightBit : DataCoding::Gsm7Bit;
    }
    return DataCoding::Gsm7Bit;
}

// The concatenation element of a user-data header, if any.
std::optional<ConcatenatedPart> ConcatenationOf(const QByteArray& header) {
    qsizetype at = 0;
    while (at + 2 <= header.size()) {
        const int id = static_cast<unsigned char>(header[at]);
        const int length = static_cast<unsigned char>(header[at + 1]);
        const QByteArray value = header.mid(at + 2, length);
        if (value.size() < length) {
            break;
        }
        auto octet = [&](int i) { return static_cast<unsigned char>(value[i]); };
        if (id == 0x00 && length == 3) {
            return ConcatenatedPart{octet(0), octet(1), octet(2)};
        }
        if (id == 0x08 && length == 4) {
            return ConcatenatedPart{octet(0) << 8 | octet(1), octet(2), octet(3)};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

QString Ucs2Text(const QByteArray& octets) {
    QString text(octets.size() / 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i + 1 < octets.size(); i += 2) {
        out[i / 2] = QChar(static_cast<char16_t>(static_cast<unsigned char>(octets[i]) << 8 |
                                                 static_cast<unsigned char>(octets[i + 1])));
    }
    return text;
}

// 8-bit data as text when it is plain printable ASCII, otherwise as hex.
QString EightBitText(const QByteArray& octets) {
    for (char c : octets) {
        const auto value = static_cast<unsigned char>(c);
        if ((value < 0x20 && c != '\r' && c != '\n' && c != '\t') || value > 0x7E) {
            return QStringLiteral("[8-bit] ") + QString::fromLatin1(octets.toHex(' ').toUpper());
        }
    }
    return QString::fromLatin1(octets);
}

bool ReadSender(OctetReader& reader, DeliveredMessage& message) {
    if (!reader.has(2)) {
        return false;
    }
    const int digitCount = reader.next();
    const int type = reader.next();
    const int octetCount = (digitCount + 1) / 2;
    if (digitCount > kMaxAddressDigits || !reader.has(octetCount)) {
        return false;
    }
    const QByteArray value = reader.take(octetCount);
    if ((type & 0x70) == 0x50) {
        // Alphanumeric: GSM septets packed into the semi-octets the length counts.
        message.alphanumericSender = true;
        message.sender = FromGsmSeptets(UnpackSeptetValues(value, digitCount * 4 / 7));
    } else {
        message.sender = AddressDigits(value, digitCount);
    }
    return true;
}

void ReadUserData(OctetReader& reader, bool hasHeader, DeliveredMessage& message) {
    const int length = reader.has(1) ? reader.next() : 0;
    const qsizetype octetCount =
        message.coding == DataCoding::Gsm7Bit ? (qsizetype(length) * 7 + 7) / 8 : length;
    const QByteArray data = reader.take(octetCount);
    int headerOctets = 0;
    if (hasHeader && !data.isEmpty()) {
        headerOctets = qMin<int>(1 + static_cast<unsigned char>(data[0]), int(data.size()));
        message.part = ConcatenationOf(data.mid(1, headerOctets - 1));
    }
    switch (message.coding) {
        case DataCoding::Gsm7Bit: {
            // The text starts at the first septet boundary after the header.
            const int headerSeptets = (headerOctets * 8 + 6) / 7;
            const QByteArray septets = UnpackSeptetValues(data, length);
            message.text = FromGsmSeptets(
                QByteArrayView(septets).sliced(qMin<qsizetype>(headerSeptets, septets.size())));
            break;
        }
        case DataCoding::Ucs2:
            message.text = Ucs2Text(data.mid(headerOctets));
            break;
        case DataCoding::EightBit:
            message.text = EightBitText(data.mid(headerOctets));
            break;
    }
}

}  // namespace

std::optional<DeliveredMessage> DecodeDeliverPdu(QByteArrayView hex) {
    const std::optional<QByteArray> octets = OctetsOf(hex);
    if (!octets) {
        return std::nullopt;
    }
    OctetReader reader(*octets);
    const int centreLength = reader.next();
    if (!reader.has(centreLength + 1)) {
        return std::nullopt;
    }
    reader.skip(centreLength);
    const int first = reader.next();
    if ((first & 0x03) != 0x00) {
        return std::nullopt;  // not an SMS-DELIVER
    }
    DeliveredMessage message;
    if (!ReadSender(reader, message) || !reader.has(2 + kTimestampOctets)) {
        return std::nullopt;
    }
    reader.skip(1);  // protocol identifier
    message.coding = CodingOf(reader.next());
    message.timestampDigits = reader.take(kTimestampOctets).toHex().toUpper();
    message.time = FormatTimestamp(message.timestampDigits);
    message.stampSeconds = TimestampSeconds(message.timestampDigits);
    ReadUserData(reader, (first & 0x40) != 0, message);
    return message;
}

bool IsReplyableSender(const DeliveredMessage& message) {
    if (message.alphanumericSender || message.sender.isEmpty()) {
        return false;
    }
    for (QChar c : message.sender) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

}  // namespace telvora::sms
