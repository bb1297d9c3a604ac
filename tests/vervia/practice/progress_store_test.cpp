#include "vervia/practice/progress_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vervia::practice {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

ReviewBook SampleBook() {
    ReviewBook book;
    book.record({"tener", 12, 4}, true, 1'800'000'000);
    book.record({"tener", 12, 4}, true, 1'800'100'000);
    book.record({"añadir", 10, 3}, false, 1'800'000'000);
    book.record({"levantarse", 11, 1}, true, 1'800'000'000);
    book.record({"ser", 25, 2}, true, 1'800'000'000);  // a tense this build may not offer
    return book;
}

class ProgressStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vervia-progress-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        file = folder / "sub" / "practice-progress.txt";
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    fs::path file;
};

TEST(ReviewBookText, RoundTrip) {
    const ReviewBook book = SampleBook();
    std::stringstream text;
    WriteReviewBook(text, book);
    ReviewBook read;
    read.record({"stale", 12, 1}, true, 0);  // replaced by what is read
    EXPECT_TRUE(ReadReviewBook(text, read).ok);
    EXPECT_EQ(read, book);
    EXPECT_EQ(read.cards().size(), 4u);
}

TEST(ReviewBookText, DamagedTextIsRejectedWithItsLine) {
    const std::string header = "vervia practice 1\n";
    const std::string good = "tener\t12\t4\t2\t1800000000\t2\t0\n";
    struct Case {
        std::string text;
        int badLine;
    };
    const Case cases[] = {
        {"", 1},
        {"something else\n" + good, 1},
        {"vervia practice 2\n" + good, 1},
        {header + good + "tener\t12\t4\t2\t1800000000\t2\n", 3},     // a field short
        {header + good + "tener\t12\t7\t2\t1800000000\t2\t0\n", 3},  // person 7
        {header + "tener\t12\t4\t6\t1800000000\t2\t0\n", 2},         // box above the top
        {header + "tener\tx\t4\t2\t1800000000\t2\t0\n", 2},
        {header + "tener\t12\t4\t2\t-5\t2\t0\n", 2},
        {header + "\t12\t4\t2\t0\t2\t0\n", 2},
        {header.substr(0, 10), 1},  // cut off
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        ReviewBook book = SampleBook();
        const ReadResult result = ReadReviewBook(in, book);
        EXPECT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.badLine, c.badLine) << c.text;
        EXPECT_TRUE(book.cards().empty()) << c.text;
    }
    // Windows line ends and blank lines are fine.
    std::istringstream crlf("vervia practice 1\r\n\r\ntener\t12\t4\t2\t1800000000\t2\t0\r\n");
    ReviewBook book;
    EXPECT_TRUE(ReadReviewBook(crlf, book).ok);
    EXPECT_EQ(book.cards().size(), 1u);
}

TEST_F(ProgressStoreTest, MissingFileIsAnEmptyBookAndASaveCreatesIt) {
    ProgressStore store(file);
    ReviewBook book = SampleBook();
    EXPECT_EQ(store.load(book), "");
    EXPECT_TRUE(book.cards().empty());
    EXPECT_TRUE(store.canSave());
    EXPECT_EQ(store.save(SampleBook()), "");
    ReviewBook read;
    EXPECT_EQ(ProgressStore(file).load(read), "");
    EXPECT_EQ(read, SampleBook());
    EXPECT_FALSE(fs::exists(file.string() + ".new"));
}

TEST_F(ProgressStoreTest, SaveKeepsThePreviousVersion) {
    ProgressStore store(file);
    ReviewBook book = SampleBook();
    ASSERT_EQ(store.save(book), "");
    const std::string first = ReadAll(file);
    book.record({"ir", 14, 1}, true, 1'800'000'000);
    ASSERT_EQ(store.save(book), "");
    EXPECT_EQ(ReadAll(file.string() + ".bak"), first);
    EXPECT_NE(ReadAll(file), first);
}

TEST_F(ProgressStoreTest, DamagedFileIsKeptAsideAndNeverOverwritten) {
    fs::create_directories(file.parent_path());
    const std::string damaged = "vervia practice 1\ntener\t12\t4\tgarbage\n";
    WriteAll(file, damaged);
    ProgressStore store(file);
    ReviewBook book = SampleBook();
    const std::string message = store.load(book);
    EXPECT_NE(message.find("poškozený (řádek 2)"), std::string::npos) << message;
    EXPECT_NE(message.find(file.string() + ".damaged"), std::string::npos) << message;
    EXPECT_TRUE(book.cards().empty());
    EXPECT_EQ(ReadAll(file.string() + ".damaged"), damaged);
    EXPECT_FALSE(fs::exists(file));

    // New progress goes into a new file; the damaged one stays as it was.
    ASSERT_EQ(store.save(SampleBook()), "");
    EXPECT_EQ(ReadAll(file.string() + ".damaged"), damaged);

    // A second damaged file does not replace the first one kept aside.
    WriteAll(file, "rubbish");
    EXPECT_NE(ProgressStore(file).load(book).find(".damaged-2"), std::string::npos);
    EXPECT_EQ(ReadAll(file.string() + ".damaged"), damaged);
    EXPECT_EQ(ReadAll(file.string() + ".damaged-2"), "rubbish");
}

TEST_F(ProgressStoreTest, UnmovableDamagedFileStopsSaving) {
    fs::create_directories(file.parent_path());
    WriteAll(file, "rubbish");
    // In a read-only folder the damaged file cannot be moved aside.
    fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    ProgressStore store(file);
    ReviewBook book;
    const std::string message = store.load(book);
    fs::permissions(file.parent_path(), fs::perms::owner_all);
    if (store.canSave()) {
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    EXPECT_NE(message.find("neukládá"), std::string::npos) << message;
    EXPECT_NE(store.save(SampleBook()), "");
    EXPECT_EQ(ReadAll(file), "rubbish");
}

TEST_F(ProgressStoreTest, UnwritableFolderReportsTheFailure) {
    WriteAll(folder.string(), "a file where the folder should be");
    ProgressStore store(file);
    ReviewBook book;
    EXPECT_EQ(store.load(book), "");
    EXPECT_NE(store.save(SampleBook()), "");
    EXPECT_EQ(ReadAll(folder), "a file where the folder should be");
    fs::remove(folder);
}

TEST_F(ProgressStoreTest, FolderWhereTheFileShouldBeIsReportedAndLeftAlone) {
    fs::create_directories(file);
    WriteAll(file / "kept.txt", "the learner's own file");
    ProgressStore store(file);
    ReviewBook book = SampleBook();
    const std::string message = store.load(book);
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_TRUE(book.cards().empty());
    EXPECT_FALSE(store.canSave());
    EXPECT_NE(store.save(SampleBook()), "");
    // The folder stays where it was, with what it holds.
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(ReadAll(file / "kept.txt"), "the learner's own file");
    EXPECT_FALSE(fs::exists(file.string() + ".damaged"));
}

}  // namespace
}  // namespace vervia::practice
