// Building what is sent, and the editor's rules.

#include <gtest/gtest.h>

#include "telvora/sms/composer_rules.h"
#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/submit_pdu.h"

namespace telvora::sms {
namespace {

TEST(SubmitPduTest, TheWorkedExamples) {
    const QByteArray pdu = BuildSubmitPdu("123456789012", "hi");
    EXPECT_EQ(pdu,
              "0011000C91214365870921"
              "0000AD"
              "02E834");
    EXPECT_EQ(pdu.size(), 34);
    EXPECT_EQ(SubmitLength(pdu), 16);
    EXPECT_EQ(BuildSubmitPdu("12345", "a").mid(6, 10), "05912143F5");
}

TEST(SubmitPduTest, RecipientNumberIsCleanedOrRefused) {
    EXPECT_EQ(CleanRecipientNumber(" +420 603-123/456 "), "420603123456");
    EXPECT_EQ(CleanRecipientNumber("(0042) 0603"), "00420603");
    EXPECT_EQ(CleanRecipientNumber("123456789012"), "123456789012");
    EXPECT_FALSE(CleanRecipientNumber(""));
    EXPECT_FALSE(CleanRecipientNumber(" + - "));
    EXPECT_FALSE(CleanRecipientNumber("12a34"));
    EXPECT_FALSE(CleanRecipientNumber("123+4"));
    EXPECT_FALSE(CleanRecipientNumber("++123"));
    EXPECT_FALSE(CleanRecipientNumber("Petr"));
    EXPECT_TRUE(CleanRecipientNumber(QString(20, u'1')));
    EXPECT_FALSE(CleanRecipientNumber(QString(21, u'1')));
}

TEST(ComposerRulesTest, KeyFilterDropsOnlyEnter) {
    EXPECT_FALSE(KeepTypedCharacter(u'\r'));
    EXPECT_FALSE(KeepTypedCharacter(u'\n'));
    for (const QChar c : QStringLiteral("\ba@€é`ř\u0416")) {
        EXPECT_TRUE(KeepTypedCharacter(c)) << int(c.unicode());
    }
}

TEST(ComposerRulesTest, WhatFitsFollowsTheEncoding) {
    EXPECT_TRUE(FitsEditor(QString(160, u'x'), false, false));
    EXPECT_FALSE(FitsEditor(QString(161, u'x'), false, false));
    EXPECT_TRUE(FitsEditor(QString(70, u'ř'), false, false));
    EXPECT_FALSE(FitsEditor(QString(71, u'ř'), false, false));
    EXPECT_TRUE(FitsEditor(QString(160, u'ř'), false, true));  // folded to 7-bit
    EXPECT_TRUE(FitsEditor(QString(1530, u'x'), true, false));
    EXPECT_FALSE(FitsEditor(QString(1531, u'x'), true, false));
    EXPECT_TRUE(FitsEditor(QString(670, u'ř'), true, false));
    EXPECT_FALSE(FitsEditor(QString(671, u'ř'), true, false));
}

TEST(ComposerRulesTest, AnEditThatDoesNotFitKeepsWhatFits) {
    const QString full(160, u'x');
    EXPECT_EQ(FitEdit(full, 0, 0, false, false), full);
    QString typed = full;
    typed.insert(10, u'y');
    EXPECT_EQ(FitEdit(typed, 10, 1, false, false), full);
    const QString pasted = QString(150, u'x') + QString(20, u'p');
    EXPECT_EQ(FitEdit(pasted, 150, 20, false, false), QString(150, u'x') + QString(10, u'p'));
    // One Czech letter turns the text into UCS2: 70 characters then.
    const QString czech = QString(60, u'x') + QStringLiteral("řeka je dlouhá");
    EXPECT_EQ(FitEdit(czech, 60, 14, false, false),
              QString(60, u'x') + QStringLiteral("řeka je dl"));
    // A pasted pair of units is not cut in half.
    const QString emoji = QString(69, u'x') + QStringLiteral("😀");
    EXPECT_EQ(FitEdit(emoji, 69, 2, false, false), QString(69, u'x'));
    // Long mode switched off: the end is cut.
    EXPECT_EQ(FitEdit(QString(300, u'x'), 0, 0, false, false), QString(160, u'x'));
}

TEST(ComposerRulesTest, ReplyQuotesTheStartOfTheText) {
    const QString received = QString(200, u'm');
    EXPECT_EQ(ReplyText(received), "Re: " + QString(150, u'm') + " ...");
    EXPECT_EQ(ReplyText("ok"), "Re: ok ...");
    EXPECT_EQ(ReplyText(QStringLiteral("Dobrý den")), QStringLiteral("Re: Dobrý den ..."));
}

}  // namespace
}  // namespace telvora::sms
