#pragma once
// Decoding of a received SMS-DELIVER PDU (3GPP TS 23.040) as the phone lists
// it: service-centre part first, then the message. Every length is taken
// from the PDU itself (service-centre length octet, address length, user-data
// length), so no stray character is added and none is lost.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

namespace telvora::sms {

// How the user data is coded (from the data coding scheme).
enum class DataCoding { Gsm7Bit, EightBit, Ucs2 };

// One part of a concatenated message (user-data header element 0x00 or 0x08).
struct ConcatenatedPart {
    int reference = 0;
    int total = 0;
    int sequence = 0;
};

struct DeliveredMessage {
    // The sender's digits without "+" (type of number aside), or the name of
    // an alphanumeric sender such as a bank.
    QString sender;
    bool alphanumericSender = false;
    QByteArray timestampDigits;  // the 14 hexadecimal digits of the time stamp
    QString time;                // FormatTimestamp
    qint64 stampSeconds = 0;     // TimestampSeconds
    DataCoding coding = DataCoding::Gsm7Bit;
    QString text;
    std::optional<ConcatenatedPart> part;
};

// nullopt when `hex` is not hexadecimal, not an SMS-DELIVER, or too short for
// the fields its length octets announce. User data shorter than announced is
// decoded as far as it goes.
std::optional<DeliveredMessage> DecodeDeliverPdu(QByteArrayView hex);

// True when the sender can be answered: a number of digits only.
bool IsReplyableSender(const DeliveredMessage& message);

}  // namespace telvora::sms
