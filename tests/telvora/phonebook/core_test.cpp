// The phone book's pure parts: the phone's answers, the file, sorting, the
// editor's working copy, key filters and character sets.

#include <gtest/gtest.h>

#include "telvora/phonebook/key_filters.h"
#include "telvora/phonebook/phone_book_answer.h"
#include "telvora/phonebook/phone_book_file.h"
#include "telvora/phonebook/phone_text.h"
#include "telvora/phonebook/upload_editor.h"

namespace telvora {

void PrintTo(const PhoneBookEntry& e, std::ostream* os) {
    *os << e.position << " \"" << e.name.toStdString() << "\" " << e.number.toStdString();
}

namespace {

PhoneBookEntry Entry(int position, const char* name, const char* number) {
    return {static_cast<qint16>(position), QString::fromUtf8(name), QString::fromUtf8(number)};
}

QStringList Names(const PhoneBookList& list) {
    QStringList names;
    for (const PhoneBookEntry& entry : list) {
        names << entry.name;
    }
    return names;
}

// ---- answers ----

TEST(PhoneBookAnswer, ReadsTheExampleAnswer) {
    const QByteArray answer =
        "AT+CPBR=1,250\r\r\n+CPBR: 1,\"+12025550123\",145,\"Jan\"\r\n"
        "+CPBR: 2,\"5550123\",129,\"\"\r\n\r\nOK\r\n";
    const ParsedRecords parsed = ParsePhoneBookRecords(answer, PhoneTextMode::Bytes);
    EXPECT_EQ(parsed.entries,
              (PhoneBookList{Entry(1, "Jan", "+12025550123"), Entry(2, "Neuvedeno", "5550123")}));
    EXPECT_EQ(parsed.broken, 0);
}

TEST(PhoneBookAnswer, KeepsCommasBlanksAndQuotesInNames) {
    const QByteArray answer =
        "+CPBR: 12,\"777\",129,\"Novak, Jan\"\r\n"
        "+CPBR:7 ,\"1\",129,\"  spaced  \"\r\n"
        "+CPBR: 3,\"2\",129,\"Say \"Hi\"\"\r\n"
        "+CPBR: 4,\"3\",129\r\nOK\r\n";
    const ParsedRecords parsed = ParsePhoneBookRecords(answer, PhoneTextMode::Bytes);
    EXPECT_EQ(parsed.entries,
              (PhoneBookList{Entry(12, "Novak, Jan", "777"), Entry(7, "  spaced  ", "1"),
                             Entry(3, "Say 'Hi'", "2")}));
    EXPECT_TRUE(parsed.quotesReplaced);
    EXPECT_EQ(parsed.broken, 1);
}

TEST(PhoneBookAnswer, DecodesNamesInTheSelectedSet) {
    // "Jiří" as UTF-16 digits; the number of this phone comes as UCS2 too.
    const QByteArray ucs2 =
        "+CPBR: 1,\"002B003400320030\",145,\"004A0069015900ED\"\r\n"
        "+CPBR: 2,\"603\",129,\"Eva\"\r\n";
    const ParsedRecords parsed = ParsePhoneBookRecords(ucs2, PhoneTextMode::Ucs2Hex);
    EXPECT_EQ(parsed.entries, (PhoneBookList{Entry(1, "Jiří", "+420"), Entry(2, "Eva", "603")}));

    const QByteArray cp1250 = "+CPBR: 1,\"603\",129,\"\x8Akoda \xE8\x61j\"\r\n";
    EXPECT_EQ(ParsePhoneBookRecords(cp1250, PhoneTextMode::Bytes).entries.value(0).name,
              QString::fromUtf8("Škoda čaj"));
    EXPECT_EQ(ParsePhoneBookRecords("+CPBR: 1,\"6\",129,\"8A6F\"", PhoneTextMode::HexBytes)
                  .entries.value(0)
                  .name,
              QString::fromUtf8("Šo"));
}

TEST(PhoneBookAnswer, ReadsTheMemoryLimits) {
    EXPECT_EQ(ParseHighestPosition("+CPBR: (1-250),20,18\r\nOK\r\n"), 250);
    EXPECT_EQ(ParseHighestPosition("+CPBR: (1- 99)"), 99);
    EXPECT_EQ(ParseHighestPosition("+CPBR: (1),20,18"), 0);
    EXPECT_EQ(ParseHighestPosition("+CPBR: (1-99999)"), 32767);

    const std::optional<WriteLimits> limits =
        ParseWriteLimits("+CPBW: (1-250),20,(128-255),18\r\n\r\nOK\r\n");
    ASSERT_TRUE(limits);
    EXPECT_EQ(limits->maxNumber, 20);
    EXPECT_EQ(limits->maxName, 18);
    // A list of types with commas inside is one field.
    EXPECT_EQ(ParseWriteLimits("+CPBW: (1-250),20,(129,145),18\r\n")->maxName, 18);
    EXPECT_FALSE(ParseWriteLimits("+CPBW: (1-250),20,(129,145),x"));
    EXPECT_FALSE(ParseWriteLimits("+CPBW: (1-250)\r\nOK\r\n"));
    EXPECT_FALSE(ParseWriteLimits("ERROR"));
}

TEST(PhoneBookAnswer, ReadWaitCoversAFullMemoryOnTheLine) {
    const QByteArray range = "+CPBR: (1-250),20,18\r\n\r\nOK\r\n";
    // 250 records of 32 + 20 + 18 characters at 960 a second, twice, plus 1 s.
    EXPECT_EQ(PhoneBookReadLimitMs(range, PhoneTextMode::Bytes, 1000, 960), 1000 + 2 * 18229);
    EXPECT_GT(PhoneBookReadLimitMs(range, PhoneTextMode::Ucs2Hex, 1000, 960),
              2 * 250 * (32 + 20 + 72) * 1000 / 960);
    EXPECT_EQ(PhoneBookReadLimitMs("+CPBR: (1-0)", PhoneTextMode::Bytes, 700, 960), 700);
    EXPECT_GT(PhoneBookReadLimitMs("+CPBR: (1-100)", PhoneTextMode::Bytes, 0, 960), 20000);
}

TEST(PhoneBookAnswer, WritesEntriesWithinTheLimits) {
    const WriteLimits limits{5, 18};
    EXPECT_EQ(WriteEntryCommand(3, "5550123", "Jan", {20, 18}, PhoneTextMode::Bytes),
              "AT+CPBW=3,\"5550123\",,\"Jan\"");
    EXPECT_EQ(WriteEntryCommand(1, "+12025550123", "Bartholomew Fitzgerald", limits,
                                PhoneTextMode::Bytes),
              "AT+CPBW=1,\"+1202\",,\"Bartholomew Fitzge\"");
    EXPECT_EQ(WriteEntryCommand(2, "", "", limits, PhoneTextMode::Bytes), "AT+CPBW=2,\"\",,\"\"");
    EXPECT_EQ(WriteEntryCommand(4, "1", QString::fromUtf8("Jiří"), limits, PhoneTextMode::Ucs2Hex),
              "AT+CPBW=4,\"1\",,\"004A0069015900ED\"");
    EXPECT_EQ(WriteEntryCommand(5, "1", QString::fromUtf8("Čáp"), limits, PhoneTextMode::Bytes),
              QByteArray("AT+CPBW=5,\"1\",,\"\xC8\xE1p\""));
}

// ---- character sets ----

TEST(PhoneText, CodecsRoundTripCzechLetters) {
    const QString czech = QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy ĚŠČŘŽÝÁÍÉŮŤĎŇ");
    EXPECT_EQ(DecodeWindows1250(EncodeWindows1250(czech)), czech);
    EXPECT_EQ(DecodeUcs2Hex(EncodeUcs2Hex(czech)), czech);
    EXPECT_EQ(EncodeWindows1250(QString::fromUtf8("€ ✓")), QByteArray("\x80 ?"));
    EXPECT_EQ(EncodeUcs2Hex("A"), "0041");
    EXPECT_FALSE(DecodeUcs2Hex("004"));
    EXPECT_FALSE(DecodeUcs2Hex("00G1"));
    EXPECT_TRUE(IsValidUtf8(QString::fromUtf8("Jiří").toUtf8()));
    EXPECT_FALSE(IsValidUtf8("Ji\xF8\xED"));
}

TEST(PhoneText, PlansTheCharacterSet) {
    const QStringList withUcs2 = QuotedNames("+CSCS: (\"GSM\",\"IRA\",\"ucs2\")\r\nOK\r\n");
    EXPECT_EQ(withUcs2, (QStringList{"GSM", "IRA", "UCS2"}));
    EXPECT_EQ(QuotedNames("+CSCS: \"HEX\""), QStringList{"HEX"});

    CharacterSetPlan plan = PlanCharacterSet(withUcs2, "GSM");
    EXPECT_EQ(plan.select, "UCS2");
    EXPECT_EQ(plan.mode, PhoneTextMode::Ucs2Hex);
    EXPECT_EQ(PlanCharacterSet(withUcs2, "UCS2").select, QString());

    plan = PlanCharacterSet({"GSM", "HEX"}, "GSM");  // no UCS2: keep the phone's set
    EXPECT_TRUE(plan.select.isEmpty());
    EXPECT_EQ(plan.mode, PhoneTextMode::Bytes);

    plan = PlanCharacterSet({"GSM", "IRA", "HEX"}, "HEX");  // left in HEX by another program
    EXPECT_EQ(plan.select, "IRA");
    EXPECT_EQ(plan.mode, PhoneTextMode::Bytes);

    plan = PlanCharacterSet({}, "HEX");  // nothing else offered: decode the digits
    EXPECT_TRUE(plan.select.isEmpty());
    EXPECT_EQ(plan.mode, PhoneTextMode::HexBytes);
    EXPECT_EQ(PlanCharacterSet({}, "").mode, PhoneTextMode::Bytes);
}

// ---- files ----

TEST(PhoneBookFile, RoundTripsEntriesWithCommasAndEmptyFields) {
    const PhoneBookList list{Entry(3, "Novák, Jan", "+420603123456"), Entry(1, "", ""),
                             Entry(-2, "Žofie", "5550123")};
    const QByteArray bytes = PhoneBookFileContent(list);
    EXPECT_TRUE(bytes.startsWith("\"+420603123456\",\"Nov\xC3\xA1k, Jan\",3\r\n\"\",\"\",1\r\n"));
    const PhoneBookFileParse parse = ParsePhoneBookFile(bytes);
    EXPECT_EQ(parse.entries, list);
    EXPECT_EQ(parse.skippedLines, 0);
}

TEST(PhoneBookFile, QuotesAndLineEndsInAFieldCannotBreakTheSavedFile) {
    // An unquoted field of an odd file may hold a quote; the entry saved from
    // it must read back as one entry, not as a shifted or lost one.
    const PhoneBookFileParse odd = ParsePhoneBookFile("603\",Jan \"Honza\",1\r\n");
    ASSERT_EQ(odd.entries.size(), 1);
    const PhoneBookList list{odd.entries[0], Entry(2, "Dva\nradky\r", "604")};
    const QByteArray bytes = PhoneBookFileContent(list);
    EXPECT_EQ(bytes, "\"603'\",\"Jan 'Honza'\",1\r\n\"604\",\"Dva radky \",2\r\n");
    const PhoneBookFileParse saved = ParsePhoneBookFile(bytes);
    EXPECT_EQ(saved.skippedLines, 0);
    EXPECT_EQ(saved.entries,
              (PhoneBookList{Entry(1, "Jan 'Honza'", "603'"), Entry(2, "Dva radky ", "604")}));
    EXPECT_EQ(ParsePhoneBookFile(PhoneBookFileContent(saved.entries)).entries, saved.entries);
}

TEST(PhoneBookFile, SortedByMemorySavedThenLoadedByName) {
    PhoneBookList list{Entry(10, "bob", "1"), Entry(9, "Alice", "2"), Entry(1, "carl", "3")};
    SortPhoneBook(list, PhoneBookSortKind::ByPosition);
    EXPECT_EQ(Names(list), (QStringList{"carl", "Alice", "bob"}));  // 10 after 9
    PhoneBookList loaded = ParsePhoneBookFile(PhoneBookFileContent(list)).entries;
    EXPECT_EQ(loaded, list);  // the file keeps the order it was saved in
    SortPhoneBook(loaded, PhoneBookSortKind::ByName);
    EXPECT_EQ(Names(loaded), (QStringList{"Alice", "bob", "carl"}));
}

TEST(PhoneBookFile, SortByNameIgnoresCaseAndKeepsEqualNamesInOrder) {
    PhoneBookList list{Entry(1, "jan", "1"), Entry(2, "JAN", "2"), Entry(3, "Adam", "3")};
    SortPhoneBook(list, PhoneBookSortKind::ByName);
    EXPECT_EQ(list,
              (PhoneBookList{Entry(3, "Adam", "3"), Entry(1, "jan", "1"), Entry(2, "JAN", "2")}));
}

TEST(PhoneBookFile, OddFilesKeepWhatTheyCan) {
    const QByteArray bytes =
        "\"1\",\"Short\"\r\n"            // two fields: skipped
        "\r\n"                           // blank: ignored
        "\"2\",\"Ok\",5\n"               // LF only
        "3, Unquoted Name ,6\r"          // CR only, unquoted fields
        "\"4\",\"NaN\",x\r\n"            // position not a number: skipped
        "\"5\",\"Cut\"tail,7,extra\r\n"  // text after a quote is dropped
        "\"6\",\"Last\",8";              // no line end at the end of the file
    const PhoneBookFileParse parse = ParsePhoneBookFile(bytes);
    EXPECT_EQ(parse.entries, (PhoneBookList{Entry(5, "Ok", "2"), Entry(6, "Unquoted Name", "3"),
                                            Entry(7, "Cut", "5"), Entry(8, "Last", "6")}));
    EXPECT_EQ(parse.skippedLines, 2);
    EXPECT_TRUE(ParsePhoneBookFile("").entries.isEmpty());
}

TEST(PhoneBookFile, ReadsOldWindows1250FilesAndKeepsMoreThan250Entries) {
    const QByteArray old = "\"603\",\"\x8Akoda \xC8\x65n\xECk\",1\r\n";
    EXPECT_EQ(ParsePhoneBookFile(old).entries.value(0).name, QString::fromUtf8("Škoda Čeněk"));

    PhoneBookList many;
    for (int i = 1; i <= 300; ++i) {
        many.append(Entry(i, "Name", "1"));
    }
    EXPECT_EQ(ParsePhoneBookFile(PhoneBookFileContent(many)).entries.size(), 300);
}

TEST(PhoneBookFile, SavePathGetsTheExtensionOnlyWhenItHasNone) {
    EXPECT_EQ(PhoneBookSavePath("  /home/a/friends "), "/home/a/friends.tpb");
    EXPECT_EQ(PhoneBookSavePath("/home/a/FRIENDS.TPB"), "/home/a/FRIENDS.TPB");
    EXPECT_EQ(PhoneBookSavePath("/home/a/list.tpb.old"), "/home/a/list.tpb.old");
    EXPECT_EQ(PhoneBookSavePath("/home/a.tpb/list"), "/home/a.tpb/list");
}

TEST(PhoneBookEntry, HandsTheNumberOverWithoutItsPlus) {
    EXPECT_EQ(NumberForNumberField("+12025550123"), "12025550123");
    EXPECT_EQ(NumberForNumberField("5550123"), "5550123");
    PhoneBookList list{Entry(1, "A \"B\"", "1\"2")};
    EXPECT_TRUE(ReplaceDoubleQuotes(list));
    EXPECT_EQ(list[0], Entry(1, "A 'B'", "1'2"));
    EXPECT_FALSE(ReplaceDoubleQuotes(list));
}

// ---- editor ----

class UploadEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor.Fill({Entry(7, "Ann", "1"), Entry(2, "Ben", "2"), Entry(5, "Cid", "3")});
    }
    QStringList names() const {
        QStringList names;
        for (const EditorRow& row : editor.rows()) {
            names << row.name;
        }
        return names;
    }
    UploadEditor editor;
};

TEST_F(UploadEditorTest, MovesExchangeNamesAndNumbersOnly) {
    EXPECT_EQ(editor.MoveEntry(1, +1), 0);
    EXPECT_EQ(editor.rows()[0], (EditorRow{1, "Ben", "2", 7}));
    EXPECT_EQ(editor.rows()[1], (EditorRow{2, "Ann", "1", 2}));
    EXPECT_EQ(editor.MoveEntry(0, +1), 0);  // first row: nothing happens
    EXPECT_EQ(editor.MoveEntry(2, -1), 2);  // last row
    EXPECT_EQ(editor.MoveEntry(1, -1), 2);
    EXPECT_EQ(names(), (QStringList{"Ben", "Cid", "Ann"}));
}

TEST_F(UploadEditorTest, SortsRestoreFillOrderAfterMoves) {
    editor.MoveEntry(2, +1);  // Cid up
    editor.SortByPosition();  // positions stay with the rows, not the moved names
    EXPECT_EQ(names(), (QStringList{"Cid", "Ben", "Ann"}));  // positions 2, 5, 7
    EXPECT_EQ(editor.rows()[0].fill, 2);
    editor.SortByFill();
    EXPECT_EQ(names(), (QStringList{"Ann", "Cid", "Ben"}));
    EXPECT_EQ(FillText(editor.rows()[2].fill), "3.");
}

TEST_F(UploadEditorTest, ClearsEntriesAndStoresTrimmedEdits) {
    EXPECT_EQ(editor.ClearEntry(0), 1);
    EXPECT_EQ(editor.ClearEntry(2), 2);
    EXPECT_EQ(editor.rows()[0], (EditorRow{1, "", "", 7}));
    editor.SetEntry(1, "  Bob ", " +420 ");
    EXPECT_EQ(editor.rows()[1], (EditorRow{2, "Bob", "+420", 2}));
    editor.ClearAll();
    EXPECT_EQ(editor.size(), 3);
    EXPECT_EQ(names(), (QStringList{"", "", ""}));
}

// ---- key filters ----

TEST(KeyFilters, NameAndNumberBoxesAcceptTheirKeys) {
    EXPECT_TRUE(AcceptNameKey(8));  // Backspace
    EXPECT_FALSE(AcceptNameKey(13));
    EXPECT_TRUE(AcceptNameKey(U'a'));
    EXPECT_TRUE(AcceptNameKey(U' '));
    EXPECT_TRUE(AcceptNameKey(U'~'));
    EXPECT_TRUE(AcceptNameKey(U'ř'));
    EXPECT_FALSE(AcceptNameKey(U'"'));
    EXPECT_FALSE(AcceptNameKey(127));

    EXPECT_TRUE(AcceptNumberKey(8));
    EXPECT_TRUE(AcceptNumberKey(13));
    EXPECT_TRUE(AcceptNumberKey(U'0'));
    EXPECT_TRUE(AcceptNumberKey(U'9'));
    EXPECT_FALSE(AcceptNumberKey(U'+'));
    EXPECT_FALSE(AcceptNumberKey(U'a'));

    EXPECT_TRUE(AcceptNumberKeyAt(U'+', "420", 0));
    EXPECT_FALSE(AcceptNumberKeyAt(U'+', "420", 1));
    EXPECT_FALSE(AcceptNumberKeyAt(U'+', "+420", 0));
    EXPECT_TRUE(AcceptNumberKeyAt(U'7', "+420", 4));
    EXPECT_EQ(FilterNumberText("+420 603-12"), "+42060312");
    EXPECT_EQ(FilterNumberText(" +420+1"), "+4201");
    EXPECT_EQ(FilterNumberText("420+1"), "4201");
    EXPECT_EQ(FilterNameText(QString::fromUtf8("Jiří \"Jirka\"\tX")),
              QString::fromUtf8("Jiří JirkaX"));
}

}  // namespace
}  // namespace telvora
