// Any text as messages: folding, the choice of encoding, the parts, the
// counter, and the SMS-SUBMIT PDUs read back by the tests' own decoder.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "submit_decoder.h"
#include "telvora/sms/message_csv.h"
#include "telvora/sms/message_file.h"
#include "telvora/sms/message_plan.h"
#include "telvora/sms/submit_pdu.h"
#include "telvora/sms/text_folding.h"

namespace telvora::sms {
namespace {

using test::DecodedSubmit;
using test::DecodeSubmit;

const QString kCzech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");

TEST(FoldDiacritics, CzechAndOtherLettersBecomeTheirBaseLetters) {
    EXPECT_EQ(FoldDiacritics(kCzech), QStringLiteral("Prilis zlutoucky kun upel dabelske ody"));
    EXPECT_EQ(FoldDiacritics(u"ČŘŠŽŮĎŤŇĚ"), QStringLiteral("CRSZUDTNE"));
    EXPECT_EQ(FoldDiacritics(u"Straße Łódź Øre æ"), QStringLiteral("Strasse Lodz Ore ae"));
    EXPECT_EQ(FoldDiacritics(u"„Ahoj“ – já…"), QStringLiteral("\"Ahoj\" - ja..."));
    // Decomposed input (c + combining caron) folds the same.
    EXPECT_EQ(FoldDiacritics(QStringLiteral("c\u030Cesky\u0301")), QStringLiteral("cesky"));
    // Only Latin letters fold; the rest stays for the planner to judge.
    EXPECT_EQ(FoldDiacritics(u"Ωμέγα 😀 €"), QStringLiteral("Ωμέγα 😀 €"));
}

TEST(PlanMessage, EncodingIsChosenPerMessage) {
    EXPECT_EQ(PlanMessage(u"Ahoj [x] {y} ~ | ^ \\ €", false).encoding, TextEncoding::Gsm7Bit);
    const MessagePlan czech = PlanMessage(kCzech, false);
    EXPECT_EQ(czech.encoding, TextEncoding::Ucs2);
    EXPECT_EQ(czech.text, kCzech);
    EXPECT_TRUE(czech.replaced.isEmpty());

    const MessagePlan folded = PlanMessage(kCzech, true);
    EXPECT_EQ(folded.encoding, TextEncoding::Gsm7Bit);
    EXPECT_EQ(folded.text, QStringLiteral("Prilis zlutoucky kun upel dabelske ody"));
    EXPECT_TRUE(folded.replaced.isEmpty());
}

TEST(PlanMessage, WithoutDiacriticsWhatStillDoesNotFitBecomesAQuestionMark) {
    const MessagePlan plan = PlanMessage(u"Čau 😀 ж😀ж", true);
    EXPECT_EQ(plan.encoding, TextEncoding::Gsm7Bit);
    EXPECT_EQ(plan.text, QStringLiteral("Cau ? ???"));
    EXPECT_EQ(plan.replaced, QStringLiteral("😀ж"));  // each once, the pair whole
    EXPECT_EQ(ReplacedCharactersText(plan.replaced), QStringLiteral("„😀“ „ж“"));
}

TEST(PlanMessage, LineBreaksAreKept) {
    const MessagePlan plan = PlanMessage(u"a\r\nb\nc", false);
    EXPECT_EQ(plan.text, QStringLiteral("a\nb\nc"));
    EXPECT_EQ(plan.encoding, TextEncoding::Gsm7Bit);
    EXPECT_EQ(plan.parts.value(0).size(), 5);
}

struct Boundary {
    int length;
    bool ucs2;
    int parts;
    int remaining;
};

TEST(PlanMessage, CounterAtThePartBoundaries) {
    const Boundary cases[] = {
        {0, false, 0, 160}, {1, false, 1, 159},   {160, false, 1, 0},   {161, false, 2, 145},
        {306, false, 2, 0}, {307, false, 3, 152}, {70, true, 1, 0},     {71, true, 2, 63},
        {134, true, 2, 0},  {135, true, 3, 66},   {1530, false, 10, 0}, {1531, false, 11, 152},
        {670, true, 10, 0}, {671, true, 11, 66},
    };
    for (const Boundary& c : cases) {
        // A UCS2 text: one Czech letter among plain ones.
        QString text(c.length, u'a');
        if (c.ucs2 && c.length > 0) {
            text[0] = u'ř';
        }
        const MessagePlan plan = PlanMessage(text, false);
        SCOPED_TRACE(c.length);
        EXPECT_EQ(plan.encoding, c.ucs2 ? TextEncoding::Ucs2 : TextEncoding::Gsm7Bit);
        EXPECT_EQ(plan.partCount(), c.parts);
        EXPECT_EQ(plan.remaining, c.remaining);
        EXPECT_EQ(plan.tooLong(), c.parts > kMaxMessageParts);
    }
}

TEST(PlanMessage, ExtensionCharactersCountTwoAndAnEscapeIsNeverSplit) {
    EXPECT_EQ(PlanMessage(QString(80, u'€'), false).partCount(), 1);  // 160 septets
    EXPECT_EQ(PlanMessage(QString(80, u'€') + u'a', false).partCount(), 2);
    // 152 plain septets, then "[": the escape would be septet 153 of part 1.
    const MessagePlan plan = PlanMessage(QString(152, u'a') + u'[' + QString(10, u'b'), false);
    ASSERT_EQ(plan.partCount(), 2);
    EXPECT_EQ(plan.parts[0].size(), 152);
    EXPECT_EQ(plan.parts[1].left(2), QByteArray("\x1B\x3C", 2));
}

TEST(PlanMessage, ASurrogatePairIsNeverSplitAcrossParts) {
    // 66 units, then a pair that would take units 67 and 68.
    const QString text = QString(66, u'ž') + QStringLiteral("😀") + QString(10, u'a');
    const MessagePlan plan = PlanMessage(text, false);
    ASSERT_EQ(plan.partCount(), 2);
    EXPECT_EQ(plan.parts[0].size(), 66 * 2);
    EXPECT_EQ(plan.parts[1].left(4), QByteArray("\xD8\x3D\xDE\x00", 4));
}

TEST(MessageCounter, SaysWhatIsLeftInBothLanguages) {
    const MessagePlan plan = PlanMessage(QString(86, u'č'), false);
    const CounterLabels czech = MessageCounter(plan, Language::Czech);
    EXPECT_EQ(czech.caption + u' ' + czech.value + u' ' + czech.rest,
              QStringLiteral("Zbývá 48 znaků (Unicode), 2 zprávy"));
    const CounterLabels english = MessageCounter(plan, Language::English);
    EXPECT_EQ(english.caption + u' ' + english.value + u' ' + english.rest,
              QStringLiteral("Remaining 48 chars. (Unicode), 2 messages"));
    const CounterLabels one =
        MessageCounter(PlanMessage(QString(159, u'a'), false), Language::Czech);
    EXPECT_EQ(one.value + u' ' + one.rest, QStringLiteral("1 znak (GSM), 1 zpráva"));
    const CounterLabels few =
        MessageCounter(PlanMessage(QString(157, u'a'), false), Language::Czech);
    EXPECT_EQ(few.rest, QStringLiteral("znaky (GSM), 1 zpráva"));
    EXPECT_EQ(MessageCounter(PlanMessage(u"", false), Language::Czech).rest,
              QStringLiteral("znaků (GSM), 1 zpráva"));
    EXPECT_EQ(MessageCounter(PlanMessage(QString(700, u'a'), false), Language::Czech).rest,
              QStringLiteral("znaků (GSM), 5 zpráv"));
}

TEST(SubmitPdus, OneUcs2MessageReadsBack) {
    const MessagePlan plan = PlanMessage(kCzech, false);
    const QList<QByteArray> pdus = BuildSubmitPdus("420603123456", plan, 7);
    ASSERT_EQ(pdus.size(), 1);
    const DecodedSubmit d = DecodeSubmit(pdus[0]);
    ASSERT_TRUE(d.valid);
    EXPECT_EQ(d.firstOctet, 0x11);
    EXPECT_EQ(d.dataCoding, 0x08);
    EXPECT_EQ(d.addressType, 0x91);
    EXPECT_EQ(d.destination, QStringLiteral("420603123456"));
    EXPECT_EQ(d.userDataLength, kCzech.size() * 2);
    EXPECT_EQ(d.reference, -1);
    EXPECT_EQ(d.text, kCzech);
    // "Ř" is 0158 in UTF-16 big endian, right after the length.
    EXPECT_TRUE(pdus[0].contains("4C00500159"));
}

TEST(SubmitPdus, SevenBitWithExtensionCharactersReadsBack) {
    const QString text = QStringLiteral("Cena 5€ [sleva] {x} ~|^\\\fkonec");
    const QList<QByteArray> pdus = BuildSubmitPdus("12345", PlanMessage(text, false), 1);
    ASSERT_EQ(pdus.size(), 1);
    const DecodedSubmit d = DecodeSubmit(pdus[0]);
    ASSERT_TRUE(d.valid);
    EXPECT_EQ(d.dataCoding, 0x00);
    EXPECT_EQ(d.userDataLength, text.size() + 10);  // ten characters of the extension table
    EXPECT_EQ(d.text, text);
    EXPECT_EQ(d.destination, QStringLiteral("12345"));
}

// Sends `text` in parts and joins what the decoder reads.
void ExpectConcatenated(const QString& text, int reference, int parts, int coding) {
    const MessagePlan plan = PlanMessage(text, false);
    const QList<QByteArray> pdus = BuildSubmitPdus("420777000111", plan, reference);
    ASSERT_EQ(pdus.size(), parts);
    QString joined;
    for (int i = 0; i < pdus.size(); ++i) {
        const DecodedSubmit d = DecodeSubmit(pdus[i]);
        ASSERT_TRUE(d.valid) << i;
        EXPECT_EQ(d.firstOctet, 0x51);  // TP-UDHI
        EXPECT_EQ(d.dataCoding, coding);
        EXPECT_EQ(d.reference, reference & 0xFF);
        EXPECT_EQ(d.total, parts);
        EXPECT_EQ(d.sequence, i + 1);
        EXPECT_LE(pdus[i].size() / 2 - 1, 140 + 12 + 2);  // within one message's TPDU
        joined += d.text;
    }
    EXPECT_EQ(joined, text);
}

TEST(SubmitPdus, ConcatenatedPartsReadBackAsTheWholeText) {
    QString seven;
    for (int i = 0; i < 40; ++i) {
        seven += QStringLiteral("Part [%1] costs 5€; ").arg(i);
    }
    ExpectConcatenated(seven, 200, PlanMessage(seven, false).partCount(), 0x00);
    ExpectConcatenated(QString(161, u'x'), 1, 2, 0x00);
    ExpectConcatenated(QString(152, u'a') + u'[' + QString(10, u'b'), 300, 2, 0x00);
    ExpectConcatenated(kCzech.repeated(5), 255, 3, 0x08);
    ExpectConcatenated(QString(66, u'ž') + QStringLiteral("😀") + QString(10, u'a'), 9, 2, 0x08);
}

TEST(SubmitPdus, TheSevenBitUserDataLengthCountsTheHeaderSeptets) {
    const QList<QByteArray> pdus = BuildSubmitPdus("1", PlanMessage(QString(161, u'x'), false), 5);
    ASSERT_EQ(pdus.size(), 2);
    EXPECT_EQ(DecodeSubmit(pdus[0]).userDataLength, 7 + 153);
    EXPECT_EQ(DecodeSubmit(pdus[1]).userDataLength, 7 + 8);
    // The header right after the length, a zero fill bit after it.
    EXPECT_EQ(pdus[0].mid(pdus[0].size() - 140 * 2, 12), "050003050201");
}

TEST(MessageFile, ANewFileStartsWithTheMarkAndAppendingAddsNone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zpravy.csv"));
    MessageRow row;
    row.time = QStringLiteral("1.2.2026 10:00:00");
    row.sender = QStringLiteral("Jiří");
    row.text = QStringLiteral("Dobrý den");
    QString error;
    ASSERT_TRUE(WriteMessagesCsv(path, {row}, CsvSaveMode::Append, &error)) << error.toStdString();
    ASSERT_TRUE(WriteMessagesCsv(path, {row}, CsvSaveMode::Append, &error));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray line = CsvLine(row.time, row.sender, row.text);
    EXPECT_EQ(file.readAll(), QByteArray(kCsvByteOrderMark) + line + line);
    file.close();

    ASSERT_TRUE(WriteMessagesCsv(path, {row}, CsvSaveMode::Replace, &error));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(kCsvByteOrderMark) + line);
}

}  // namespace
}  // namespace telvora::sms
