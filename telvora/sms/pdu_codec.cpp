#include "telvora/sms/pdu_codec.h"

namespace telvora::sms {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHexOctet(QByteArray& hex, int value) {
    hex.append(kHexDigits[(value >> 4) & 0x0F]);
    hex.append(kHexDigits[value & 0x0F]);
}

// The time-stamp fields: year, month, day, hour, minute, second as written.
struct StampFields {
    int year, month, day, hour, minute, second;
};

int SwappedPairValue(QByteArrayView stamp, int pair) {
    const qsizetype at = 2 * pair;
    if (at + 1 >= stamp.size()) {
        return 0;
    }
    const char high = stamp[at + 1];
    const char low = stamp[at];
    if (high < '0' || high > '9' || low < '0' || low > '9') {
        return 0;  // not a decimal digit pair: read as 0
    }
    return (high - '0') * 10 + (low - '0');
}

StampFields ReadStamp(QByteArrayView stamp) {
    const int yy = SwappedPairValue(stamp, 0);
    return {yy > 90 ? 1900 + yy : 2000 + yy, SwappedPairValue(stamp, 1),
            SwappedPairValue(stamp, 2),      SwappedPairValue(stamp, 3),
            SwappedPairValue(stamp, 4),      SwappedPairValue(stamp, 5)};
}

// The calendar date with months and days beyond their range carried over.
QDate CarriedDate(const StampFields& f) {
    return QDate(f.year, 1, 1).addMonths(f.month - 1).addDays(f.day - 1);
}

void AppendTwoDigits(QString& text, int value) {
    text.append(QChar(u'0' + value / 10));
    text.append(QChar(u'0' + value % 10));
}

}  // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

QString ToBinaryDigits(int n) {
    if (n < 0 || n > 1024) {
        return {};
    }
    if (n == 0) {
        return QStringLiteral("0");
    }
    QString digits;
    for (int bit = 10; bit >= 0; --bit) {
        if (!digits.isEmpty() || (n >> bit) != 0) {
            digits.append((n >> bit) & 1 ? u'1' : u'0');
        }
    }
    return digits;
}

qint16 FromBinaryDigits(QStringView digits) {
    quint16 value = 0;
    for (QChar c : digits) {
        value = static_cast<quint16>((value << 1) | (c == u'1' ? 1 : 0));
    }
    return static_cast<qint16>(value);
}

int HexByteValue(QByteArrayView hex) {
    int value = 0;
    for (qsizetype i = 0; i < hex.size() && i < 7; ++i) {
        const int digit = HexDigitValue(hex[i]);
        if (digit < 0) {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

QByteArray PackSeptets(QByteArrayView septets) {
    QByteArray hex;
    const qsizetype count = septets.size();
    hex.reserve(4 + (count * 7 + 7) / 8 * 2);
    if (count > 255) {
        hex = QByteArray::number(count, 16).toUpper();
    } else {
        AppendHexOctet(hex, static_cast<int>(count));
    }
    unsigned bits = 0;  // pending bits, least significant first
    int pending = 0;
    for (char septet : septets) {
        bits |= static_cast<unsigned>(septet & 0x7F) << pending;
        pending += 7;
        if (pending >= 8) {
            AppendHexOctet(hex, static_cast<int>(bits & 0xFF));
            bits >>= 8;
            pending -= 8;
        }
    }
    if (pending > 0) {
        AppendHexOctet(hex, static_cast<int>(bits & 0xFF));
    }
    return hex;
}

QByteArray UnpackSeptets(QByteArrayView hexOctets) {
    QByteArray text;
    text.reserve(hexOctets.size() / 2 * 8 / 7 + 1);
    int k = 1;
    unsigned carry = 0;
    for (qsizetype at = 0; at < hexOctets.size(); at += 2) {
        const int octet =
            HexByteValue(hexOctets.sliced(at, qMin<qsizetype>(2, hexOctets.size() - at)));
        const unsigned b = (static_cast<unsigned>(octet) << (k - 1)) | carry;
        const int septet = static_cast<int>(b & 0x7F);
        text.append(septet == 0 ? '@' : static_cast<char>(septet));
        carry = b >> 7;
        ++k;
        if (k == 8) {
            text.append(static_cast<char>(carry));  // a whole septet; 0 stays 0
            carry = 0;
            k = 1;
        }
    }
    return text;
}

QByteArray UnpackSeptetValues(QByteArrayView octets, int count) {
    const qsizetype available = qMin<qsizetype>(qMax(count, 0), octets.size() * 8 / 7);
    QByteArray septets(available, Qt::Uninitialized);
    char* out = septets.data();
    unsigned bits = 0;
    int pending = 0;
    qsizetype next = 0;
    for (qsizetype i = 0; i < available; ++i) {
        if (pending < 7) {
            bits |= static_cast<unsigned>(static_cast<unsigned char>(octets[next++])) << pending;
            pending += 8;
        }
        out[i] = static_cast<char>(bits & 0x7F);
        bits >>= 7;
        pending -= 7;
    }
    return septets;
}

QByteArray SwapSemiOctets(QByteArrayView digits) {
    QByteArray swapped;
    const qsizetype length = digits.size();
    swapped.reserve(length + 1);
    for (qsizetype p = 0; p + 1 < length; p += 2) {
        swapped.append(digits[p + 1]);
        if (digits[p] != 'F') {
            swapped.append(digits[p]);
        }
    }
    if (length % 2 != 0) {
        swapped.append('F');
        swapped.append(digits[length - 1]);
    }
    return swapped;
}

QString FormatTimestamp(QByteArrayView timestamp) {
    const StampFields f = ReadStamp(timestamp);
    const QDate date = CarriedDate(f);
    const int seconds = (f.hour * 3600 + f.minute * 60 + f.second) % 86400;
    QString text = QString::number(date.day()) + u'.' + QString::number(date.month()) + u'.' +
                   QString::number(date.year()) + u' ';
    AppendTwoDigits(text, seconds / 3600);
    text.append(u':');
    AppendTwoDigits(text, seconds / 60 % 60);
    text.append(u':');
    AppendTwoDigits(text, seconds % 60);
    return text;
}

qint64 TimestampSeconds(QByteArrayView timestamp) {
    const StampFields f = ReadStamp(timestamp);
    return CarriedDate(f).toJulianDay() * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
}

qint64 WallClockSeconds(const QDateTime& moment) {
    return moment.date().toJulianDay() * 86400 + moment.time().msecsSinceStartOfDay() / 1000;
}

}  // namespace telvora::sms
