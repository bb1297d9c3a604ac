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

TEST(SplitIntoPartsTest, PartsOf157WithTheirCounter) {
    EXPECT_TRUE(SplitIntoParts("").isEmpty());
    EXPECT_EQ(SplitIntoParts("short"), QList<QByteArray>{"1/1short"});
    const QByteArray exact(157, 'a');
    EXPECT_EQ(SplitIntoParts(exact), QList<QByteArray>{"1/1" + exact});
    const QByteArray two = QByteArray(157, 'a') + 'b';
    EXPECT_EQ(SplitIntoParts(two), (QList<QByteArray>{"1/2" + QByteArray(157, 'a'), "2/2b"}));
    const QList<QByteArray> nine = SplitIntoParts(QByteArray(kLongTextSeptets, 'c'));
    ASSERT_EQ(nine.size(), 9);
    EXPECT_EQ(nine.last(), "9/9" + QByteArray(157, 'c'));
    for (const QByteArray& part : nine) {
        EXPECT_EQ(part.size(), kMessageSeptets);
    }
}

TEST(SplitIntoPartsTest, EscapeAndItsCodeStayInOnePart) {
    // 156 letters, then "€" (escape + code) would straddle the boundary.
    const QByteArray septets = QByteArray(156, 'a') + ToGsmSeptets(u"€") + "z";
    const QList<QByteArray> parts = SplitIntoParts(septets);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0], "1/2" + QByteArray(156, 'a'));
    EXPECT_EQ(parts[1], "2/2" + ToGsmSeptets(u"€") + "z");
    EXPECT_EQ(PartCount(septets), 2);
}

TEST(ComposerRulesTest, KeyFilter) {
    EXPECT_FALSE(KeepTypedCharacter(u'\r'));
    EXPECT_FALSE(KeepTypedCharacter(u'\n'));
    EXPECT_TRUE(KeepTypedCharacter(u'\b'));
    EXPECT_TRUE(KeepTypedCharacter(u'a'));
    EXPECT_TRUE(KeepTypedCharacter(u'@'));
    EXPECT_TRUE(KeepTypedCharacter(u'€'));
    EXPECT_TRUE(KeepTypedCharacter(u'é'));
    EXPECT_FALSE(KeepTypedCharacter(u'`'));
    EXPECT_FALSE(KeepTypedCharacter(u'ř'));
}

TEST(ComposerRulesTest, PastedText) {
    EXPECT_EQ(CarriableText(u"Dobrý den,\r\nřekl`a"), QStringLiteral("Dobr? den, ?ekl?a"));
}

TEST(ComposerRulesTest, CounterCountsSeptets) {
    CounterView view = EditorCounter(u"", false);
    EXPECT_EQ(view.value, 160);
    EXPECT_FALSE(view.canSend);
    EXPECT_EQ(view.captionText, 23);
    view = EditorCounter(u"a€", false);
    EXPECT_EQ(view.value, 157);
    EXPECT_TRUE(view.canSend);
    view = EditorCounter(u"", true);
    EXPECT_EQ(view.value, 1);
    EXPECT_EQ(view.captionText, 25);
    EXPECT_FALSE(view.showChars);
    EXPECT_EQ(EditorCounter(QString(158, u'x'), true).value, 2);
}

TEST(ComposerRulesTest, EditsThatDoNotFitAreRefused) {
    const QString full(160, u'x');
    EXPECT_EQ(FitEdit(full, 0, 0, false), full);
    // A 161st character typed in the middle is taken out again.
    const QString typed = full.left(10) + u'Y' + full.mid(10);
    EXPECT_EQ(FitEdit(typed, 10, 1, false), full);
    // A paste keeps what fits.
    const QString pasted = QString(150, u'x') + QString(20, u'p');
    EXPECT_EQ(FitEdit(pasted, 150, 20, false), QString(150, u'x') + QString(10, u'p'));
    // "€" takes two septets: at 159 it does not fit.
    EXPECT_EQ(FitEdit(QString(159, u'x') + u'€', 159, 1, false), QString(159, u'x'));
    EXPECT_EQ(FitEdit(QString(1500, u'x'), 0, 0, true), QString(kLongTextSeptets, u'x'));
    EXPECT_EQ(CutToSeptets(QString(158, u'x') + QStringLiteral("€€"), 160),
              QString(158, u'x') + u'€');
}

TEST(ComposerRulesTest, ReplyQuotesTheStart) {
    const QString received(200, u'm');
    EXPECT_EQ(ReplyText(received), "Re: " + QString(150, u'm') + " ...");
    EXPECT_EQ(ReplyText("ok"), "Re: ok ...");
    const QString wide(150, u'€');
    EXPECT_EQ(ReplyText(wide), "Re: " + QString(75, u'€') + " ...");
}

}  // namespace
}  // namespace telvora::sms
