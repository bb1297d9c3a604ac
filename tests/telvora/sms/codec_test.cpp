// The PDU primitives with their fixed results, and the GSM alphabet.

#include <gtest/gtest.h>

#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/pdu_codec.h"

namespace telvora::sms {
namespace {

QByteArray Ascii(const char* text) {
    return QByteArray(text);
}

TEST(PackSeptetsTest, KnownTexts) {
    EXPECT_EQ(PackSeptets(Ascii("hellohello")), "0AE8329BFD4697D9EC37");
    EXPECT_EQ(PackSeptets(Ascii("Test 123")), "08D4F29C0E8AC966");
    EXPECT_EQ(PackSeptets(Ascii("a")), "0161");
    EXPECT_EQ(PackSeptets(Ascii("")), "00");
    EXPECT_EQ(PackSeptets(Ascii("abcdefg")), "0761F1985C369F01");
}

TEST(PackSeptetsTest, SecondGroupOfEightPacksLikeTheFirst) {
    const QByteArray eight = PackSeptets(Ascii("Test 123")).mid(2);
    const QByteArray sixteen = PackSeptets(Ascii("Test 123Test 123"));
    EXPECT_EQ(sixteen.left(2), "10");
    EXPECT_EQ(sixteen.mid(2), eight + eight);
}

TEST(PackSeptetsTest, OctetCountIsSevenEighthsRoundedUp) {
    for (int n = 0; n <= 160; ++n) {
        const QByteArray packed = PackSeptets(QByteArray(n, 'x'));
        EXPECT_EQ(packed.size() - 2, (7 * n + 7) / 8 * 2) << n;
        EXPECT_EQ(HexByteValue(packed.left(2)), n);
    }
}

TEST(UnpackSeptetsTest, KnownOctets) {
    EXPECT_EQ(UnpackSeptets("61F1985C369F01"), QByteArray("abcdefg") + '\0');
    EXPECT_EQ(UnpackSeptets("00"), "@");
    EXPECT_EQ(UnpackSeptets("E8329BFD4697D9EC37"), "hellohello");
    EXPECT_EQ(UnpackSeptets("e8329bfd4697d9ec37"), "hellohello");  // either case
}

TEST(UnpackSeptetValuesTest, TakesExactlyTheCount) {
    const QByteArray octets = QByteArray::fromHex("61F1985C369F01");
    EXPECT_EQ(UnpackSeptetValues(octets, 7), "abcdefg");
    const QByteArray at = QByteArray::fromHex(PackSeptets(QByteArray("abcdef") + '\0').mid(2));
    EXPECT_EQ(UnpackSeptetValues(at, 7), QByteArray("abcdef") + '\0');
    EXPECT_EQ(UnpackSeptetValues(octets, 100).size(), 8);  // only what the octets hold
}

TEST(SwapSemiOctetsTest, PairsAndFiller) {
    EXPECT_EQ(SwapSemiOctets(""), "");
    EXPECT_EQ(SwapSemiOctets("5"), "F5");
    EXPECT_EQ(SwapSemiOctets("12345"), "2143F5");
    EXPECT_EQ(SwapSemiOctets("2143F5"), "12345");
    EXPECT_EQ(SwapSemiOctets("f1"), "1f");  // lower-case f is not the filler
    EXPECT_EQ(SwapSemiOctets("123456789012"), "214365870921");
}

TEST(FormatTimestampTest, DatesAndCarries) {
    EXPECT_EQ(FormatTimestamp("30208041500000"), "8.2.2003 14:05:00");
    EXPECT_EQ(FormatTimestamp("99211332959500"), "31.12.1999 23:59:59");
    EXPECT_EQ(FormatTimestamp("09101000000000").section(' ', 0, 0), "1.1.2090");
    EXPECT_EQ(FormatTimestamp("19101000000000").section(' ', 0, 0), "1.1.1991");
    EXPECT_EQ(FormatTimestamp("10311000000000").section(' ', 0, 0), "1.1.2002");  // month 13
    EXPECT_EQ(FormatTimestamp("10102300000000").section(' ', 0, 0), "1.2.2001");  // day 32
    EXPECT_EQ(FormatTimestamp("10101042000000"), "1.1.2001 00:00:00");            // hour 24
    EXPECT_EQ(TimestampSeconds("30208041500000"),
              WallClockSeconds(QDateTime(QDate(2003, 2, 8), QTime(14, 5))));
    EXPECT_EQ(TimestampSeconds("30208041500100") - TimestampSeconds("30208041500000"), 10);
}

TEST(BinaryDigitsTest, BothWays) {
    EXPECT_EQ(ToBinaryDigits(0), "0");
    EXPECT_EQ(ToBinaryDigits(1), "1");
    EXPECT_EQ(ToBinaryDigits(5), "101");
    EXPECT_EQ(ToBinaryDigits(255), "11111111");
    EXPECT_EQ(ToBinaryDigits(1024), "10000000000");
    EXPECT_EQ(ToBinaryDigits(1025), "");
    EXPECT_EQ(ToBinaryDigits(-3), "");
    EXPECT_EQ(FromBinaryDigits(u"101"), 5);
    EXPECT_EQ(FromBinaryDigits(u""), 0);
    EXPECT_EQ(FromBinaryDigits(u"1x1"), 5);
    EXPECT_EQ(FromBinaryDigits(u"1111111111111111"), -1);  // 16 digits overflow
    for (int n = 0; n <= 1024; ++n) {
        EXPECT_EQ(FromBinaryDigits(ToBinaryDigits(n)), n);
    }
}

TEST(HexByteValueTest, ReadsLeadingDigits) {
    EXPECT_EQ(HexByteValue("1F"), 31);
    EXPECT_EQ(HexByteValue("ff"), 255);
    EXPECT_EQ(HexByteValue("A"), 10);
    EXPECT_EQ(HexByteValue("Ag"), 10);
    EXPECT_EQ(HexByteValue("zz"), 0);
    EXPECT_EQ(HexByteValue(""), 0);
}

TEST(GsmAlphabetTest, EveryCharacterOfBothTablesRoundTrips) {
    for (int septet = 0; septet < 128; ++septet) {
        if (septet == kGsmEscape) {
            continue;
        }
        const QString text = FromGsmSeptets(QByteArray(1, char(septet)));
        ASSERT_EQ(text.size(), 1) << septet;
        EXPECT_EQ(ToGsmSeptets(text), QByteArray(1, char(septet))) << septet;
        EXPECT_EQ(GsmSeptetCount(text), 1);
    }
    const QString extension = QStringLiteral("\f^{}\\[~]|\u20AC");
    const QByteArray codes("\x0A\x14\x28\x29\x2F\x3C\x3D\x3E\x40\x65");
    for (qsizetype i = 0; i < extension.size(); ++i) {
        const QByteArray septets = QByteArray(1, kGsmEscape) + codes[i];
        EXPECT_EQ(ToGsmSeptets(extension.mid(i, 1)), septets) << i;
        EXPECT_EQ(FromGsmSeptets(septets), extension.mid(i, 1)) << i;
        EXPECT_EQ(GsmSeptetCount(extension.mid(i, 1)), 2);
    }
}

TEST(GsmAlphabetTest, AsciiSignsThatDifferFromTheirCodes) {
    EXPECT_EQ(ToGsmSeptets(u"@$_"), QByteArray("\x00\x02\x11", 3));
    EXPECT_EQ(FromGsmSeptets(QByteArray("\x40\x24\x5F", 3)), QStringLiteral("¡¤§"));
    EXPECT_EQ(ToGsmSeptets(u"`"), "?");
    EXPECT_EQ(ToGsmSeptets(u"řŽ"), "??");
    EXPECT_EQ(ToGsmSeptets(QStringLiteral("a\U0001F600b")), "a?b");  // one "?" per emoji
    EXPECT_EQ(FromGsmSeptets(QByteArray("\x1B\x41", 2)), "A");       // unknown extension code
    EXPECT_EQ(FromGsmSeptets(QByteArray("ab\x1B", 3)), "ab");        // escape at the end
}

TEST(GsmAlphabetTest, PrintableCharacters) {
    for (char16_t c = 0x20; c < 0x7F; ++c) {
        EXPECT_EQ(IsGsmPrintable(QChar(c)), c != u'`') << char(c);
    }
    for (char16_t c : {u'é', u'è', u'ñ', u'ü', u'Ä', u'Δ', u'€'}) {
        EXPECT_TRUE(IsGsmPrintable(QChar(c)));
    }
    for (char16_t c : {u'ř', u'š', u'\n', u'\r', u'\x1B', u'\f'}) {
        EXPECT_FALSE(IsGsmPrintable(QChar(c)));
    }
}

}  // namespace
}  // namespace telvora::sms
