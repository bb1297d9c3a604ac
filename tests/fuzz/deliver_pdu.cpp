// A single received PDU as hexadecimal text: any bytes decode to a message
// or to nothing, and a message never holds more than its PDU can carry.

#include <QByteArrayView>

#include "telvora/sms/deliver_pdu.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView hex(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto message = telvora::sms::DecodeDeliverPdu(hex);
    if (!message) {
        return 0;
    }
    // Two hex digits an octet; 7-bit text packs 8 characters in 7 octets (an
    // escape of the extension table never adds a character), UCS2 takes two
    // octets a character, and 8-bit data is shown as a label and three
    // characters an octet ("[8-bit] 41 42").
    const qsizetype octets = hex.size() / 2;
    using telvora::sms::DataCoding;
    switch (message->coding) {
        case DataCoding::Gsm7Bit:
            FUZZ_CHECK(message->text.size() <= octets * 8 / 7 + 1);
            break;
        case DataCoding::Ucs2:
            FUZZ_CHECK(message->text.size() <= octets / 2);
            break;
        case DataCoding::EightBit:
            FUZZ_CHECK(message->text.size() <= octets * 3 + 16);
            break;
    }
    FUZZ_CHECK(message->sender.size() <= 2 * octets);
    FUZZ_CHECK(message->timestampDigits.size() <= hex.size());
    if (message->part) {
        FUZZ_CHECK(message->part->total >= 0 && message->part->total <= 255);
        FUZZ_CHECK(message->part->sequence >= 0 && message->part->sequence <= 255);
        FUZZ_CHECK(message->part->reference >= 0 && message->part->reference <= 0xFFFF);
    }
    (void)telvora::sms::IsReplyableSender(*message);
    return 0;
}
