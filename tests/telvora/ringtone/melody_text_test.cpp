// The melody notation check, the answer to "AT*ESOM?" and the texts.

#include <gtest/gtest.h>

#include "telvora/ringtone/melody_text.h"

namespace telvora {
namespace {

TEST(MelodyCheck, NotationAndDoubledSigns) {
    const struct {
        const char* melody;
        MelodyCheck expected;
    } cases[] = {
        {"d#e#f", MelodyCheck::Ok},
        {"d##e", MelodyCheck::DoubledSign},
        {"c++d", MelodyCheck::DoubledSign},
        {"dx", MelodyCheck::InvalidChar},
        {"x##d", MelodyCheck::InvalidChar},  // the first character decides
        {"d##x", MelodyCheck::DoubledSign},
        {"b", MelodyCheck::Ok},
        {"B", MelodyCheck::Ok},
        {"i", MelodyCheck::InvalidChar},
        {"P", MelodyCheck::InvalidChar},
        {"c d", MelodyCheck::InvalidChar},  // blanks only around a melody
        {"p#b+cdefgahCDEFGAHB", MelodyCheck::Ok},
        {"#+#+", MelodyCheck::Ok},
        {"", MelodyCheck::Ok},  // sent as an empty melody
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckMelody(QString::fromLatin1(c.melody)), c.expected) << c.melody;
    }
    EXPECT_EQ(CheckMelody(QStringLiteral("c\u00e9")), MelodyCheck::InvalidChar);
    EXPECT_EQ(CheckMelody(QString(QChar(0)) + QLatin1Char('c')), MelodyCheck::InvalidChar);
}

TEST(MelodyCheck, AtMostOneHundredTwentyCharacters) {
    EXPECT_EQ(CheckMelody(QString(120, QLatin1Char('c'))), MelodyCheck::Ok);
    EXPECT_EQ(CheckMelody(QString(121, QLatin1Char('c'))), MelodyCheck::TooLong);
    EXPECT_EQ(CheckMelody(QString(121, QLatin1Char('x'))), MelodyCheck::InvalidChar);
}

TEST(MelodyList, QuotedTextsInOrder) {
    const MelodyList four = ParseMelodies(
        "AT*ESOM?\r\r\n*ESOM: 1,\"cdefgpg\"\r\n*ESOM: 2,\"e#de#d\"\r\n*ESOM: 3,\"\"\r\n"
        "*ESOM: 4,\"ccgg\"\r\n\r\nOK\r\n");
    EXPECT_EQ(four.found, 4);
    EXPECT_EQ(four.melodies[0], QStringLiteral("cdefgpg"));
    EXPECT_EQ(four.melodies[1], QStringLiteral("e#de#d"));
    EXPECT_EQ(four.melodies[2], QString());
    EXPECT_EQ(four.melodies[3], QStringLiteral("ccgg"));

    // Fewer than four: what is there, the rest empty; an unpaired quote ends it.
    const MelodyList two = ParseMelodies("*ESOM: 1,\"ab\"\r\n*ESOM: 2,\"cd\"\r\n*ESOM: 3,\"e");
    EXPECT_EQ(two.found, 2);
    EXPECT_EQ(two.melodies[1], QStringLiteral("cd"));
    EXPECT_TRUE(two.melodies[2].isEmpty());
    EXPECT_TRUE(two.melodies[3].isEmpty());
    EXPECT_EQ(ParseMelodies("\r\nOK\r\n").found, 0);

    // More than four: the first four.
    EXPECT_EQ(ParseMelodies("\"a\"\"b\"\"c\"\"d\"\"e\"").melodies[3], QStringLiteral("d"));
}

TEST(MelodyText, CommandAndMessages) {
    EXPECT_EQ(MelodyUploadCommand(2, QStringLiteral("cdefgahC")), "AT*ESOM=2,\"cdefgahC\"");
    EXPECT_EQ(MelodyUploadCommand(4, QString()), "AT*ESOM=4,\"\"");

    EXPECT_EQ(MelodyCheckMessage(Language::Czech, MelodyCheck::InvalidChar, 2),
              QStringLiteral("Nepovolené znaky v textu melodie číslo 2."));
    EXPECT_EQ(MelodyCheckMessage(Language::English, MelodyCheck::DoubledSign, 3),
              QStringLiteral("You can't use 2 chars(#,+) subsequently in ring tone number 3."));
    EXPECT_EQ(MelodyCheckMessage(Language::English, MelodyCheck::TooLong, 1),
              QStringLiteral("Max. lenght of ring tone is 120 chars."));
    EXPECT_EQ(MelodyUploadedMessage(Language::English, 2),
              QStringLiteral("New ring tone number 2 was uploaded to the phone."));
    EXPECT_EQ(MelodyLabel(Language::Czech, 4), QStringLiteral("Melodie 4"));
    EXPECT_EQ(MelodyNotationInfo(Language::English),
              QStringLiteral("You can use only these chars: p,#,b,B,+,c,d,e,f,g,a,h,C,D,E,F,G,A,H"
                             "\nMax. lenght of ring tone is 120 chars."));
}

}  // namespace
}  // namespace telvora
