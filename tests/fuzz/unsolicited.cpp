// Lines the phone sends unasked: the line parsers (+CMTI, RING, +CLIP, the
// offered values of "=?" answers) and the link's filter that takes them out
// of the byte stream, fed in chunks whose sizes the input chooses. The
// filter never makes bytes up: once a line end has come, what it passed on
// and what it reported as news add up to at most what it was given.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "telvora/core/unsolicited_text.h"
#include "telvora/link/unsolicited_filter.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView all(reinterpret_cast<const char*>(data), qsizetype(size));

    // Each line alone.
    qsizetype start = 0;
    while (start <= all.size()) {
        qsizetype end = start;
        while (end < all.size() && all[end] != '\n' && all[end] != '\r') {
            ++end;
        }
        const QByteArrayView line = all.sliced(start, end - start);
        (void)telvora::ClassifyUnsolicited(line, false);
        (void)telvora::ClassifyUnsolicited(line, true);
        (void)telvora::MayBeUnsolicited(line);
        if (const auto notice = telvora::ParseNewMessageNotice(line)) {
            FUZZ_CHECK(notice->store.size() <= line.size());
        }
        if (const auto caller = telvora::ParseCallerId(line)) {
            FUZZ_CHECK(caller->number.size() <= line.size());
        }
        start = end + 1;
    }
    const auto offered = telvora::ParseOfferedValues(all, "+CNMI:");
    // A range such as "0-39" names up to 64 values; a field has at most as
    // many items as characters.
    for (const auto& values : offered) {
        FUZZ_CHECK(values.size() <= 64 * (all.size() + 1));
    }
    if (const auto chosen = telvora::ChooseNewMessageIndication(all)) {
        FUZZ_CHECK(chosen->startsWith("AT+CNMI="));
    }

    // The stream through the filter; the first byte picks the chunk sizes and
    // whether a dial was sent first.
    telvora::UnsolicitedFilter filter;
    const unsigned seed = size > 0 ? data[0] : 0;
    if (seed & 0x80) {
        filter.commandSent("ATD123;");
    }
    const qsizetype chunk = 1 + (seed & 0x1F);
    qsizetype passed = 0;
    qsizetype newsBytes = 0;
    QList<QByteArray> news;
    for (qsizetype at = 0; at < all.size(); at += chunk) {
        const QByteArrayView piece = all.sliced(at, std::min(chunk, all.size() - at));
        passed += filter.take(piece, news).size();
        FUZZ_CHECK(filter.held().size() <= telvora::UnsolicitedFilter::kMaxHeldLine + 1);
    }
    // A line end lets out whatever is still held.
    passed += filter.take("\r\n", news).size();
    FUZZ_CHECK(filter.held().isEmpty());
    for (const QByteArray& line : news) {
        newsBytes += line.size();
        FUZZ_CHECK(all.toByteArray().contains(line));
    }
    FUZZ_CHECK(passed + newsBytes <= all.size() + 2);
    return 0;
}
