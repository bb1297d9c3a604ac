// The phone book's answers: "AT+CPBR=1,n" records in each character set and
// the "=?" limit answers of AT+CPBR and AT+CPBW. At most one entry per
// "+CPBR:" line, limits that are usable numbers, and a bounded read limit.

#include <QByteArray>

#include "telvora/phonebook/phone_book_answer.h"
#include "tests/fuzz/fuzz_check.h"

using telvora::PhoneTextMode;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray answer(reinterpret_cast<const char*>(data), qsizetype(size));

    for (PhoneTextMode mode :
         {PhoneTextMode::Bytes, PhoneTextMode::Ucs2Hex, PhoneTextMode::HexBytes}) {
        const auto parsed = telvora::ParsePhoneBookRecords(answer, mode);
        FUZZ_CHECK(parsed.entries.size() + parsed.broken <= answer.count("+CPBR:"));
        for (const auto& entry : parsed.entries) {
            // A name or number never has more characters than the answer bytes.
            FUZZ_CHECK(entry.name.size() <= answer.size() ||
                       entry.name == QStringLiteral("Neuvedeno"));
            FUZZ_CHECK(entry.number.size() <= answer.size());
        }
        const int limitMs = telvora::PhoneBookReadLimitMs(answer, mode, 2000, 960);
        FUZZ_CHECK(limitMs >= 2000);
    }

    const qint16 highest = telvora::ParseHighestPosition(answer);
    (void)highest;
    (void)telvora::LeadingInteger(answer);

    if (const auto limits = telvora::ParseWriteLimits(answer)) {
        FUZZ_CHECK(limits->maxNumber > 0 && limits->maxName > 0);
        const QByteArray command = telvora::WriteEntryCommand(1, QStringLiteral("+420603123456"),
                                                              QStringLiteral("Jiří Novák"), *limits,
                                                              PhoneTextMode::Ucs2Hex);
        FUZZ_CHECK(command.startsWith("AT+CPBW=1,"));
    }
    return 0;
}
