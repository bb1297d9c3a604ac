// The practice mode's outside input: the learner's typed answer judged
// against a right form (the input split at its first NUL byte), and the
// progress file. A book that reads is written back and reads the same; one
// that does not read leaves the book empty.

#include <sstream>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_check.h"
#include "vervia/practice/answer_judge.h"
#include "vervia/practice/review_book.h"

using namespace vervia::practice;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);

    const std::size_t split = all.find('\0');
    const std::string_view typed = all.substr(0, split);
    const std::string_view right =
        split == std::string_view::npos ? std::string_view() : all.substr(split + 1);
    FUZZ_CHECK(ApplyAccentShortcuts(typed).size() <= typed.size());
    const Verdict verdict = JudgeAnswer(typed, right);
    FUZZ_CHECK(verdict == Verdict::kRight || verdict == Verdict::kAccent ||
               verdict == Verdict::kWrong);
    // A right form as the engine gives it (valid UTF-8, no shortcut marks)
    // typed exactly is always right.
    if (ApplyAccentShortcuts(right) == right) {
        FUZZ_CHECK(JudgeAnswer(right, right) == Verdict::kRight);
    }

    ReviewBook book;
    std::istringstream in{std::string(all)};
    const ReadResult result = ReadReviewBook(in, book);
    if (!result.ok) {
        FUZZ_CHECK(book.cards().empty());
        FUZZ_CHECK(result.badLine >= 1);
        return 0;
    }
    FUZZ_CHECK(book.cards().size() <= size);
    std::ostringstream out;
    WriteReviewBook(out, book);
    ReviewBook again;
    std::istringstream back(out.str());
    FUZZ_CHECK(ReadReviewBook(back, again).ok);
    FUZZ_CHECK(again == book);
    return 0;
}
