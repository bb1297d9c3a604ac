// Decoding of received PDUs built independently from the field layout.

#include <gtest/gtest.h>

#include "telvora/sms/deliver_pdu.h"
#include "tests/telvora/sms/pdu_builder.h"

namespace telvora::sms {
namespace {

using test::AsciiSeptets;
using test::BuildDeliver;
using test::DeliverFields;
using test::NumberField;

TEST(DeliverPduTest, TheWorkedExample) {
    const auto message =
        DecodeDeliverPdu("07912143658709F1040B912143658709F100001021304150000005E8329BFD06");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->sender, "12345678901");
    EXPECT_FALSE(message->alphanumericSender);
    EXPECT_EQ(message->time, "3.12.2001 14:05:00");
    EXPECT_EQ(message->text, "hello");
    EXPECT_TRUE(IsReplyableSender(*message));
}

TEST(DeliverPduTest, ServiceCentreOfAnyLength) {
    for (const QByteArray& centre :
         {QByteArray("00"), QByteArray("0491214365"), QByteArray("07912143658709F1"),
          QByteArray("0891214365870921F3")}) {
        DeliverFields fields;
        fields.centre = centre;
        fields.senderField = NumberField("420603123456");
        fields.septets = AsciiSeptets("Ahoj");
        const auto message = DecodeDeliverPdu(BuildDeliver(fields));
        ASSERT_TRUE(message) << centre.constData();
        EXPECT_EQ(message->sender, "420603123456");
        EXPECT_EQ(message->text, "Ahoj");
        EXPECT_EQ(message->time, "11.12.2026 07:15:11");
    }
}

TEST(DeliverPduTest, TextsEndingInAtSignKeepExactlyTheirCharacters) {
    for (int length : {7, 8, 15, 16}) {
        QByteArray text(length - 1, 'x');
        text += '@';
        DeliverFields fields;
        fields.senderField = NumberField("12345");
        fields.septets = AsciiSeptets(text.constData());
        const auto message = DecodeDeliverPdu(BuildDeliver(fields));
        ASSERT_TRUE(message);
        EXPECT_EQ(message->text, QString::fromLatin1(text)) << length;
        EXPECT_EQ(message->sender, "12345");
    }
}

TEST(DeliverPduTest, GsmSignsAreReadThroughTheAlphabet) {
    DeliverFields fields;
    fields.senderField = NumberField("12345");
    fields.septets = {0x00, 0x02, 0x11, 0x1B, 0x65, 0x1B, 0x3C, 0x05};  // @ $ _ € [ é
    EXPECT_EQ(DecodeDeliverPdu(BuildDeliver(fields))->text, QStringLiteral("@$_€[é"));
}

TEST(DeliverPduTest, Ucs2Text) {
    DeliverFields fields;
    fields.senderField = NumberField("420777888999");
    fields.dataCoding = 0x08;
    const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
    fields.octets = test::Ucs2Octets(czech);
    const auto message = DecodeDeliverPdu(BuildDeliver(fields));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->coding, DataCoding::Ucs2);
    EXPECT_EQ(message->text, czech);
}

TEST(DeliverPduTest, AlphanumericSender) {
    DeliverFields fields;
    fields.senderField = test::AlphanumericField(AsciiSeptets("MojeBanka"));
    fields.septets = AsciiSeptets("Zustatek 1200 Kc");
    const auto message = DecodeDeliverPdu(BuildDeliver(fields));
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->alphanumericSender);
    EXPECT_EQ(message->sender, "MojeBanka");
    EXPECT_EQ(message->text, "Zustatek 1200 Kc");
    EXPECT_FALSE(IsReplyableSender(*message));
}

TEST(DeliverPduTest, HeaderIsSkippedAndPartsAreRecognised) {
    DeliverFields fields;
    fields.senderField = NumberField("420603123456");
    fields.header = QByteArray::fromHex("00034A0302");  // 8-bit reference 0x4A, part 2 of 3
    fields.septets = AsciiSeptets("second part@");
    auto message = DecodeDeliverPdu(BuildDeliver(fields));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "second part@");
    ASSERT_TRUE(message->part);
    EXPECT_EQ(message->part->reference, 0x4A);
    EXPECT_EQ(message->part->total, 3);
    EXPECT_EQ(message->part->sequence, 2);

    fields.header = QByteArray::fromHex("0804123402010A0100");  // 16-bit reference, another element
    fields.dataCoding = 0x08;
    fields.octets = test::Ucs2Octets(QStringLiteral("část"));
    message = DecodeDeliverPdu(BuildDeliver(fields));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, QStringLiteral("část"));
    EXPECT_EQ(message->part->reference, 0x1234);
    EXPECT_EQ(message->part->sequence, 1);
}

TEST(DeliverPduTest, EightBitDataIsShownSensibly) {
    DeliverFields fields;
    fields.senderField = NumberField("12345");
    fields.dataCoding = 0x04;
    fields.octets = "plain";
    EXPECT_EQ(DecodeDeliverPdu(BuildDeliver(fields))->text, "plain");
    fields.octets = QByteArray::fromHex("0001FF");
    EXPECT_EQ(DecodeDeliverPdu(BuildDeliver(fields))->text, "[8-bit] 00 01 FF");
}

TEST(DeliverPduTest, MalformedInputIsRefused) {
    EXPECT_FALSE(DecodeDeliverPdu(""));
    EXPECT_FALSE(DecodeDeliverPdu("0Z"));
    EXPECT_FALSE(DecodeDeliverPdu("123"));
    EXPECT_FALSE(DecodeDeliverPdu("0791214365"));              // centre longer than the PDU
    EXPECT_FALSE(DecodeDeliverPdu("0011000C91214365870921"));  // an SMS-SUBMIT
    // Cut inside the time stamp.
    EXPECT_FALSE(DecodeDeliverPdu("07912143658709F1040B912143658709F1000010213041"));
    // User data shorter than announced: what is there is decoded.
    const auto cut = DecodeDeliverPdu("07912143658709F1040B912143658709F100001021304150000005E832");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->text, "he");
}

TEST(DeliverPduTest, NumberWithOtherSymbolsIsNotReplyable) {
    DeliverFields fields;
    fields.senderField = "04A1" + QByteArray("213A");  // "12*3"
    fields.septets = AsciiSeptets("x");
    const auto message = DecodeDeliverPdu(BuildDeliver(fields));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->sender, "12*3");
    EXPECT_FALSE(IsReplyableSender(*message));
}

}  // namespace
}  // namespace telvora::sms
