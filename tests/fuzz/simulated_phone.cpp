// The simulated phone's command reader: any bytes, in chunks the input
// chooses, to the demo phone. It answers or stays silent; it never crashes,
// and what it sends is bounded by the commands it was given and the state
// it holds (the whole demo phone's listing at most once per command line).

#include <QByteArray>
#include <QByteArrayView>

#include "telvora/demophone/phone_state.h"
#include "telvora/demophone/simulated_phone.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const phonesim::PhoneState demo = phonesim::demoPhoneState();
    const QByteArrayView all(reinterpret_cast<const char*>(data), qsizetype(size));
    phonesim::SimulatedPhone phone(demo);
    phone.options().latencyMs = 0;

    const unsigned seed = size > 0 ? data[0] : 0;
    const qsizetype chunk = 1 + (seed & 0x3F);
    qsizetype sent = 0;
    for (qsizetype at = 0; at < all.size(); at += chunk) {
        const auto outputs = phone.receive(all.sliced(at, std::min(chunk, all.size() - at)));
        for (const auto& output : outputs) {
            FUZZ_CHECK(output.delayMs >= 0);
            sent += output.data.size();
        }
    }
    // Every line may at most echo itself and list everything the phone holds.
    const qsizetype lines = all.toByteArray().count('\r') + 1;
    FUZZ_CHECK(sent <= all.size() + lines * 64 * 1024);
    return 0;
}
