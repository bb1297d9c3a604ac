// The short status answers: "+CSQ:" signal, "+COPS:" operator name and the
// melodies of "AT*ESOM?". A signal reads as a number, an operator name and
// the melodies are never longer than the answer (a missing name aside), and at most four melodies
// are filled.

#include <QByteArray>

#include "telvora/calls/network_status.h"
#include "telvora/ringtone/melody_text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray answer(reinterpret_cast<const char*>(data), qsizetype(size));

    const int signal = telvora::ParseSignalValue(answer);
    const QString bar = telvora::SignalBar(signal);
    FUZZ_CHECK(bar.size() <= 64);

    const QString name = telvora::ParseOperatorName(answer);
    // The quoted name, or the fixed text shown when the answer holds none.
    FUZZ_CHECK(name.size() <= answer.size() || !answer.contains('"'));
    FUZZ_CHECK(name.size() <= answer.size() + 64);
    telvora::NetworkStatus status;
    status.signal = signal;
    status.operatorName = name;
    FUZZ_CHECK(telvora::SignalCaption(status).size() <= name.size() + 256);

    const auto melodies = telvora::ParseMelodies(answer);
    FUZZ_CHECK(melodies.found >= 0 && melodies.found <= telvora::kMelodyCount);
    qsizetype total = 0;
    for (const QString& melody : melodies.melodies) {
        total += melody.size();
        (void)telvora::CheckMelody(melody);
    }
    FUZZ_CHECK(total <= answer.size());
    return 0;
}
