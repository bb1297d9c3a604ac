// Listing answers, message rows, names, order and the file formats.

#include <gtest/gtest.h>

#include "telvora/sms/message_csv.h"
#include "telvora/sms/message_listing.h"
#include "telvora/sms/message_rows.h"
#include "tests/telvora/sms/pdu_builder.h"

namespace telvora::sms {
namespace {

constexpr char kHello[] = "07912143658709F1040B912143658709F100001021304150000005E8329BFD06";

TEST(MessageListingTest, EntriesWithAndWithoutEcho) {
    const QByteArray body = QByteArray("\r\n+CMGL: 7,1,,23\r\n") + kHello +
                            "\r\n+CMGL: 123,0,,23\r\n" + kHello + "\r\n\r\nOK\r\n";
    for (const QByteArray& answer : {"AT+CMGL=1\r" + body, body}) {
        const QList<ListedPdu> entries = ParseMessageListing(answer);
        ASSERT_EQ(entries.size(), 2);
        EXPECT_EQ(entries[0].index, 7);
        EXPECT_EQ(entries[0].status, 1);
        EXPECT_EQ(entries[0].pdu, kHello);
        EXPECT_EQ(entries[1].index, 123);
        EXPECT_EQ(entries[1].status, 0);
    }
    EXPECT_TRUE(ParseMessageListing("AT+CMGL=0\r\r\nOK\r\n").isEmpty());
    // An entry without its PDU line is left out, the next is still read.
    const QByteArray cut = QByteArray("+CMGL: 1,1,,23\r\n+CMGL: 2,1,,23\r\n") + kHello + "\r\n";
    const QList<ListedPdu> entries = ParseMessageListing(cut);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].index, 2);
}

TEST(MessageListingTest, StoredCount) {
    EXPECT_EQ(StoredMessageCount("AT+CPMS=\"ME\",\"SM\"\r\r\n+CPMS: 3,100,2,30\r\n\r\nOK\r\n"), 3);
    EXPECT_EQ(StoredMessageCount("\r\n+CPMS: 0,30,0,30\r\n"), 0);
    EXPECT_EQ(StoredMessageCount("\r\nOK\r\n"), -1);
    // A count too large for an int is no count, never a negative or small one.
    EXPECT_EQ(StoredMessageCount("\r\n+CPMS: 2200100046221117010241,30\r\n"), -1);
    EXPECT_EQ(StoredMessageCount("\r\n+CPMS: 2147483647,30\r\n"), 2147483647);
}

TEST(MessageListingTest, IndexTooLargeForAnIntIsLeftOut) {
    // 4294967297 would wrap round to 1: the entry must not stand for message 1,
    // which a download with deletes would then delete.
    const QByteArray answer = QByteArray("+CMGL: 4294967297,1,,23\r\n") + kHello +
                              "\r\n+CMGL: 3,1,,23\r\n" + kHello + "\r\n\r\nOK\r\n";
    const QList<ListedPdu> entries = ParseMessageListing(answer);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].index, 3);
    const QList<ListedPdu> status =
        ParseMessageListing(QByteArray("+CMGL: 5,99999999999,,23\r\n") + kHello + "\r\n");
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status[0].status, -1);
}

ReadMessage Read(const QString& store, int index, const QByteArray& pdu) {
    return ReadMessage{store, index, *DecodeDeliverPdu(pdu)};
}

QByteArray Part(int reference, int total, int sequence, const char* text,
                const QByteArray& sender = "420603123456") {
    test::DeliverFields fields;
    fields.senderField = test::NumberField(sender);
    fields.header = QByteArray::fromHex("0003") + char(reference) + char(total) + char(sequence);
    fields.septets = test::AsciiSeptets(text);
    return test::BuildDeliver(fields);
}

TEST(MessageRowsTest, PartsAreJoinedInOrderWithAllIndexes) {
    const QDateTime now(QDate(2026, 12, 11), QTime(8, 15, 11));
    const QList<ReadMessage> read{
        Read("ME", 4, Part(9, 3, 3, "three")),       Read("ME", 2, kHello),
        Read("ME", 5, Part(9, 3, 1, "one ")),        Read("ME", 12, Part(9, 3, 2, "two ")),
        Read("SM", 5, Part(9, 3, 1, "other store")),
    };
    const QList<MessageRow> rows = BuildMessageRows(read, now);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].text, "one two three");
    EXPECT_EQ(rows[0].indexes, (QList<int>{5, 12, 4}));
    EXPECT_EQ(rows[0].indexText(), "5,12,4");
    EXPECT_EQ(rows[0].ageSeconds, 3600);
    EXPECT_EQ(rows[0].number, "420603123456");
    EXPECT_EQ(rows[1].text, "hello");
    EXPECT_EQ(rows[2].text, "other store");
    EXPECT_EQ(rows[2].store, "SM");
}

TEST(MessageRowsTest, NamesNewestFirstAndReplies) {
    const QDateTime now(QDate(2026, 12, 11), QTime(12, 0));
    QList<MessageRow> rows{
        {"1.1.2026 10:00:00", "420603123456", "a", "420603123456", 500, {1}, "ME"},
        {"1.1.2026 11:00:00", "777", "b", "777", 100, {2}, "ME"},
        {"1.1.2026 11:00:00", "MojeBanka", "c", "", 100, {3}, "SM"},
        {"1.1.2026 09:00:00", "12345", "d", "12345", 900, {4}, "SM"},
    };
    const QList<NameAndNumber> book{{"Nobody", ""},
                                    {"Martina", "+420603123456"},
                                    {"Second Martina", "420603123456"},
                                    {"Bank", "MojeBanka"},
                                    {"Kratky", "+777"}};
    ResolveSenderNames(rows, book);
    EXPECT_EQ(rows[0].sender, "Martina");
    EXPECT_EQ(rows[0].number, "420603123456");
    EXPECT_EQ(rows[1].sender, "Kratky");
    EXPECT_EQ(rows[2].sender, "MojeBanka");  // no number, no name
    EXPECT_EQ(rows[3].sender, "12345");
    SortNewestFirst(rows);
    EXPECT_EQ(rows[0].text, "b");
    EXPECT_EQ(rows[1].text, "c");  // equal age keeps the read order
    EXPECT_EQ(rows[2].text, "a");
    EXPECT_EQ(rows[3].text, "d");
    EXPECT_FALSE(rows[1].canReply());
}

TEST(MessageRowsTest, TsvLineEscapes) {
    const MessageRow row{"8.2.2003 14:05:00", "Jana", "a\tb\nc\\d", "420777", 0, {3, 14}, "ME"};
    EXPECT_EQ(TsvLine(row), "8.2.2003 14:05:00\tJana\t420777\t3,14\ta\\tb\\nc\\\\d");
}

TEST(MessageCsvTest, LinesAndFileNames) {
    EXPECT_EQ(CsvLine("3.12.2001 14:05:00", "Jana", "hello"),
              "\"3.12.2001 14:05:00\",\"Jana\",\"hello\"\r\n");
    EXPECT_EQ(CsvLine("", "", ""), "\"\",\"\",\"\"\r\n");
    EXPECT_EQ(CsvLine("t", "s", "say \"hi\"\r\nbye"), "\"t\",\"s\",\"say \"\"hi\"\"\r\nbye\"\r\n");
    EXPECT_EQ(CsvLine("t", QStringLiteral("Jiří"), QStringLiteral("€")),
              QByteArray("\"t\",\"Ji\xC5\x99\xC3\xAD\",\"\xE2\x82\xAC\"\r\n"));
    EXPECT_EQ(CsvFilePath("/tmp/Report.CSV"), "/tmp/Report.CSV");
    EXPECT_EQ(CsvFilePath("/tmp/report"), "/tmp/report.csv");
    EXPECT_EQ(CsvFilePath("/tmp/old.csv.d/report"), "/tmp/old.csv.d/report");
}

}  // namespace
}  // namespace telvora::sms
