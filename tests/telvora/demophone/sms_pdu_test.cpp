// The phone-side PDU codec: SMS-DELIVER encoding checked against PDUs worked
// out by hand, and SMS-SUBMIT decoding of what a client sends.

#include <gtest/gtest.h>

#include <QTimeZone>

#include "telvora/demophone/sms_pdu.h"

namespace phonesim {
namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s, int offsetMinutes) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone(offsetMinutes * 60));
}

TEST(SmsDeliverEncoder, ShortTextByHand) {
    DeliverMessage message{"+420603052000", "+420603123456", at(2026, 12, 7, 14, 5, 9, 60), "Hi!"};
    const QByteArray expected = QByteArray() + "07" +  // service-centre length: type + 6 octets
                                "91" +                 // international, ISDN plan
                                "246030500200" +       // 420603052000, semi-octets swapped
                                "04" +                 // SMS-DELIVER, no more messages waiting
                                "0C" +                 // sender: 12 digits
                                "91" +                 // international, ISDN plan
                                "246030214365" +       // 420603123456
                                "00" +                 // protocol identifier
                                "00" +                 // data coding: GSM 7-bit
                                "62"
                                "21"
                                "70" +  // 26-12-07, each pair swapped
                                "41"
                                "50"
                                "90" +  // 14:05:09
                                "40" +  // +4 quarter hours (UTC+1)
                                "03" +  // 3 septets
                                // H=1001000 i=1101001 !=0100001, packed LSB first:
                                // 1|1001000=C8, 01|110100=74, 0001000=08
                                "C87408";
    QString error;
    EXPECT_EQ(encodeDeliver(message, &error), expected) << qPrintable(error);
}

TEST(SmsDeliverEncoder, NumberKindsAndTimeZones) {
    QString error;
    // National sender (type A1), odd digit count filled with F; UTC-8 is 32
    // quarters, digits "32" swapped with the sign bit 0x08 set: 2B.
    const auto national =
        encodeDeliver({"", "603123456", at(2001, 12, 3, 14, 5, 0, -480), "a"}, &error);
    EXPECT_EQ(national,
              "00"
              "04"
              "09A1"
              "06133254F6"
              "0000"
              "102130415000"
              "2B"
              "01"
              "61");
    // Alphanumeric sender "Info": 4 septets in 28 bits = 7 semi-octets, type D0.
    const auto alpha = encodeDeliver({"", "Info", at(2020, 1, 2, 3, 4, 5, 0), ""}, &error);
    EXPECT_EQ(alpha,
              "00"
              "04"
              "07D0"
              "49B7F90D"
              "0000"
              "021020304050"
              "00"
              "00");
    // The same message as a captured PDU: SMSC +12345678901, sender +12345678901.
    const auto hello = encodeDeliver(
        {"+12345678901", "+12345678901", at(2001, 12, 3, 14, 5, 0, 0), "hello"}, &error);
    EXPECT_EQ(hello, "07912143658709F1040B912143658709F100001021304150000005E8329BFD06");
}

TEST(SmsDeliverEncoder, RejectsWhatItCannotEncode) {
    QString error;
    const QDateTime time = at(2026, 1, 1, 0, 0, 0, 0);
    EXPECT_FALSE(encodeDeliver({"", "+4206x", time, "x"}, &error));
    EXPECT_FALSE(encodeDeliver({"", "+420", time, QString::fromUtf8("\u0159")}, &error));  // ř
    EXPECT_FALSE(encodeDeliver({"", "+420", time, QString(161, 'a')}, &error));
    EXPECT_FALSE(encodeDeliver({"", "+420", QDateTime(), "a"}, &error));
    EXPECT_TRUE(encodeDeliver({"", "+420", time, QString(160, 'a')}, &error));
}

TEST(GsmAlphabet, DefaultAndExtensionCharacters) {
    EXPECT_EQ(toGsmSeptets("@$_"), QByteArray("\x00\x02\x11", 3));
    EXPECT_EQ(toGsmSeptets(QString::fromUtf8("\u20AC[")), QByteArray("\x1b\x65\x1b\x3c"));
    EXPECT_EQ(fromGsmSeptets(QByteArray("\x1b\x65\x00\x61", 4)), QString::fromUtf8("\u20AC@a"));
    // Sixteen characters: the second group of eight packs like the first.
    const QByteArray packed = packSeptets("abcdefghabcdefgh");
    EXPECT_EQ(packed.toHex().toUpper(), "61F1985C369FD161F1985C369FD1");
    EXPECT_EQ(unpackSeptets(packed, 16), "abcdefghabcdefgh");
}

TEST(SmsSubmitDecoder, AcceptsWellFormedSubmits) {
    const auto hi = decodeSubmit("0011000C912143658709210000AD02E834");
    ASSERT_TRUE(hi);
    EXPECT_EQ(hi->number, "+123456789012");
    EXPECT_EQ(hi->text, "hi");
    EXPECT_EQ(hi->tpduOctets, 16);
    // Odd number of digits, no validity period, a service-centre address.
    const auto odd = decodeSubmit(
        "07912143658709F1"
        "0100"
        "0581"
        "2143F5"
        "0000"
        "01"
        "61");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->number, "12345");
    EXPECT_EQ(odd->text, "a");
    // UCS2 user data.
    const auto ucs2 = decodeSubmit(
        "000100"
        "0381"
        "21F3"
        "0008"
        "04"
        "01590065");
    ASSERT_TRUE(ucs2);
    EXPECT_EQ(ucs2->text, QString::fromUtf8("\u0159e"));
}

TEST(SmsSubmitDecoder, RejectsMalformedPdus) {
    EXPECT_FALSE(decodeSubmit(""));
    EXPECT_FALSE(decodeSubmit("0011000C91214365870921000AD02E834"));     // odd digit count
    EXPECT_FALSE(decodeSubmit("0004000C912143658709210000AD02E834"));    // a DELIVER
    EXPECT_FALSE(decodeSubmit("0011000C912143658709210000AD03E834"));    // user data too short
    EXPECT_FALSE(decodeSubmit("0011000C912143658709210000AD02E83400"));  // too long
    EXPECT_FALSE(decodeSubmit("0911000C91"));  // service-centre part longer than the PDU
    EXPECT_EQ(tpduLength("07912143658709F1040B9121"), 4);
    EXPECT_EQ(tpduLength("0G"), -1);
}

}  // namespace
}  // namespace phonesim
