#pragma once
// The phone side of SMS PDUs (3GPP TS 23.040 / 23.038): it encodes the
// SMS-DELIVER PDUs that the phone stores and decodes the SMS-SUBMIT PDUs that
// AT+CMGS hands it. Independent of the program's own codec on purpose, so that
// the two can check each other.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace phonesim {

// Text in the GSM 7-bit default alphabet as septet values (escape 0x1B before
// characters of the extension table). nullopt when a character has no code.
std::optional<QByteArray> toGsmSeptets(const QString& text);
QString fromGsmSeptets(const QByteArray& septets);

// Packs septets into octets, least significant bits first, starting
// `fillBits` bits into the first octet.
QByteArray packSeptets(const QByteArray& septets, int fillBits = 0);
QByteArray unpackSeptets(const QByteArray& octets, int count, int fillBits = 0);

// Address value: digits with their semi-octets swapped and "F" filling an odd
// count ("12345" -> "2143F5").
QByteArray swapDigits(const QByteArray& digits);

struct DeliverMessage {
    QString serviceCentre;  // "+420603052000"; empty: no service-centre address
    QString sender;         // "+420..." international, digits national, else alphanumeric
    QDateTime time;         // service-centre time stamp; its UTC offset becomes the time zone
    QString text;           // at most 160 characters of the GSM default alphabet
    bool ucs2 = false;      // UCS2 coding instead: any text of up to 70 characters
    // One part of a concatenated message (8-bit reference); total 0: not a part.
    int partReference = 0;
    int partTotal = 0;
    int partSequence = 0;
};

// Builds the SMS-DELIVER PDU as upper-case hex, service-centre part first.
std::optional<QByteArray> encodeDeliver(const DeliverMessage& message, QString* error);

struct SubmitInfo {
    QString number;  // destination, "+" before an international number
    QString text;    // decoded user data when the coding is 7-bit or UCS2
    int tpduOctets = 0;
};

// Checks an SMS-SUBMIT PDU in hex (with its service-centre part) and decodes
// it. nullopt when it is not hex or its fields do not fit its length.
std::optional<SubmitInfo> decodeSubmit(const QByteArray& hex);

// The SMS-DELIVER PDU a recipient gets for an SMS-SUBMIT PDU (hex, with its
// service-centre part): the destination becomes the originating address,
// protocol identifier, data coding, user-data header and user data are
// kept, and `time` is the service-centre time stamp. nullopt when the
// SUBMIT is malformed.
std::optional<QByteArray> deliverFromSubmit(const QByteArray& submitHex,
                                            const QString& serviceCentre, const QDateTime& time);

// Octets of a PDU after its service-centre part, as AT+CMGS and AT+CMGL count
// them; -1 when the hex text is malformed.
int tpduLength(const QByteArray& hex);

}  // namespace phonesim
