// A whole answer of the message store: the "+CMGL:" listing with its PDU
// lines, an "AT+CMGR=" answer, the "+CPMS:" count and the final result. The
// listing has at most one entry per "+CMGL:" in the answer, each PDU is text
// of the answer, and every PDU decodes or is refused without harm.

#include <QByteArray>
#include <QByteArrayView>

#include "telvora/core/at_text.h"
#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/message_listing.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView answer(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray copy = answer.toByteArray();

    const auto listed = telvora::sms::ParseMessageListing(answer);
    FUZZ_CHECK(listed.size() <= copy.count("+CMGL:"));
    for (const auto& entry : listed) {
        FUZZ_CHECK(!entry.pdu.isEmpty());
        FUZZ_CHECK(copy.contains(entry.pdu));
        FUZZ_CHECK(entry.index >= 0);
        (void)telvora::sms::DecodeDeliverPdu(entry.pdu);
    }

    const QByteArray read = telvora::sms::ReadMessagePdu(answer);
    FUZZ_CHECK(read.isEmpty() || copy.contains(read));
    (void)telvora::sms::DecodeDeliverPdu(read);

    const int stored = telvora::sms::StoredMessageCount(answer);
    FUZZ_CHECK(stored >= -1);

    const auto final = telvora::FindFinalResult(answer);
    const auto error = telvora::FindPhoneError(answer);
    if (telvora::ContainsFinalOk(answer)) {
        FUZZ_CHECK(copy.contains("OK"));
    }
    (void) final;
    (void)error;
    return 0;
}
