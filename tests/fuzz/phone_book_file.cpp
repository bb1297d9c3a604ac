// The phone-book file (*.tpb) as read at start-up and by the load command:
// any bytes give entries and a count of skipped lines, never more of both
// than the file has lines, and the entries written back read back as the same entries.

#include <QByteArray>

#include "telvora/phonebook/phone_book_file.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto parsed = telvora::ParsePhoneBookFile(bytes);
    const qsizetype lines = bytes.count('\n') + bytes.count('\r') + 1;
    FUZZ_CHECK(parsed.entries.size() + parsed.skippedLines <= lines);
    for (const auto& entry : parsed.entries) {
        FUZZ_CHECK(entry.name.size() + entry.number.size() <= bytes.size());
    }

    // What the program saves reads back as one entry per entry, at the same
    // positions; saved again, it reads back unchanged (a quote in a field
    // becomes an apostrophe on the first save, a line end a blank).
    const QByteArray saved = telvora::PhoneBookFileContent(parsed.entries);
    const auto again = telvora::ParsePhoneBookFile(saved);
    FUZZ_CHECK(again.skippedLines == 0);
    FUZZ_CHECK(again.entries.size() == parsed.entries.size());
    for (qsizetype i = 0; i < again.entries.size(); ++i) {
        FUZZ_CHECK(again.entries[i].position == parsed.entries[i].position);
    }
    const auto third = telvora::ParsePhoneBookFile(telvora::PhoneBookFileContent(again.entries));
    FUZZ_CHECK(third.entries == again.entries);
    return 0;
}
