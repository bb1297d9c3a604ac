// Records that arrive damaged and file lines written by hand: a record cut
// off inside its name is broken, not read with the rest of its line as the
// name; blanks after the commas of a .tpb line do not put quotes into a field.

#include <gtest/gtest.h>

#include "telvora/phonebook/phone_book_answer.h"
#include "telvora/phonebook/phone_book_file.h"

namespace telvora {
namespace {

TEST(PhoneBookDamage, RecordCutInsideItsNameIsBroken) {
    const QByteArray answer =
        "+CPBR: 1,\"555\",129,\"Jan\"\r\n"
        "+CPBR: 2,\"556\",129,\"Petr Nov\r\n"  // the line ends inside the name
        "+CPBR: 3,\"557\",129,\"Eva\"\r\n\r\nOK\r\n";
    const ParsedRecords parsed = ParsePhoneBookRecords(answer, PhoneTextMode::Bytes);
    ASSERT_EQ(parsed.entries.size(), 2);
    EXPECT_EQ(parsed.entries[0].name, QStringLiteral("Jan"));
    EXPECT_EQ(parsed.entries[1].name, QStringLiteral("Eva"));
    EXPECT_EQ(parsed.broken, 1);
    EXPECT_FALSE(parsed.quotesReplaced);
}

TEST(PhoneBookDamage, BlanksAfterTheCommasOfAFileLine) {
    const PhoneBookFileParse parse =
        ParsePhoneBookFile("\"555\", \"Jan\", 3\r\n\"556\",  \"Eva Nová\" ,4\r\n");
    ASSERT_EQ(parse.entries.size(), 2);
    EXPECT_EQ(parse.entries[0].number, QStringLiteral("555"));
    EXPECT_EQ(parse.entries[0].name, QStringLiteral("Jan"));
    EXPECT_EQ(parse.entries[0].position, 3);
    EXPECT_EQ(parse.entries[1].name, QStringLiteral("Eva Nová"));
    EXPECT_EQ(parse.entries[1].position, 4);
    EXPECT_EQ(parse.skippedLines, 0);
}

}  // namespace
}  // namespace telvora
