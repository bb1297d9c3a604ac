// The message codec: decoding received PDUs (7-bit, UCS2, a part of a
// concatenated message) and encoding a text into its SUBMIT PDUs (one 7-bit
// part, one UCS2 part, a three-part long message). Reference in the same run:
// turning the same hexadecimal text into octets (QByteArray::fromHex), the
// least any decoder has to do.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>

#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/message_plan.h"
#include "telvora/sms/submit_pdu.h"

namespace {

using namespace telvora::sms;

QByteArray Hex(int octet) {
    return QByteArray::number(octet | 0x100, 16).right(2).toUpper();
}

// A DELIVER from +420603123456 with the given coding, header and user data.
QByteArray Deliver(int coding, const QByteArray& header, int dataLength, const QByteArray& data) {
    QByteArray pdu = "07912143658709F1";
    pdu += header.isEmpty() ? "04" : "44";
    pdu += "0C91240630214365";
    pdu += "00" + Hex(coding) + "62211170511100";
    pdu += Hex(dataLength);
    if (!header.isEmpty()) {
        pdu += Hex(int(header.size())) + header.toHex().toUpper();
    }
    return pdu + data.toHex().toUpper();
}

QByteArray SevenBitPdu() {
    // 160 septets of "a" (0x61) packed: the octets repeat every 7.
    QByteArray packed;
    const QByteArray seven = QByteArray::fromHex("E170381C0E87C3");
    for (int i = 0; i < 20; ++i) {
        packed += seven;
    }
    return Deliver(0x00, {}, 160, packed);
}

QByteArray Ucs2Pdu() {
    const QString text =
        QString(QStringLiteral("Zítra v půl sedmé u kašny. ")).repeated(3).left(70);
    QByteArray octets;
    for (QChar c : text) {
        octets += char(c.unicode() >> 8);
        octets += char(c.unicode() & 0xFF);
    }
    return Deliver(0x08, {}, int(octets.size()), octets);
}

QByteArray ConcatenatedPartPdu() {
    const QByteArray header = QByteArray::fromHex("00034A0302");
    const QString text = QString(QStringLiteral("Díky, přijdu. ")).repeated(5).left(67);
    QByteArray octets;
    for (QChar c : text) {
        octets += char(c.unicode() >> 8);
        octets += char(c.unicode() & 0xFF);
    }
    return Deliver(0x08, header, 1 + int(header.size()) + int(octets.size()), octets);
}

void Decode(benchmark::State& state, const QByteArray& pdu) {
    if (!DecodeDeliverPdu(pdu)) {
        state.SkipWithError("sample PDU does not decode");
        return;
    }
    for (auto _ : state) {
        auto message = DecodeDeliverPdu(pdu);
        benchmark::DoNotOptimize(message);
    }
}

void HexOnly(benchmark::State& state, const QByteArray& pdu) {
    for (auto _ : state) {
        QByteArray octets = QByteArray::fromHex(pdu);
        benchmark::DoNotOptimize(octets);
    }
}

void Encode(benchmark::State& state, const QString& text) {
    const QString number = QStringLiteral("+420603123456");
    int parts = 0;
    for (auto _ : state) {
        const MessagePlan plan = PlanMessage(text, false);
        const QList<QByteArray> pdus = BuildSubmitPdus(number, plan, 42);
        parts = int(pdus.size());
        benchmark::DoNotOptimize(pdus);
    }
    state.counters["parts"] = parts;
}

const QString kPlain =
    QString(QStringLiteral("Prijdu v sedm, vezmi klice. ")).repeated(6).left(160);
const QString kCzech = QString(QStringLiteral("Přijdu v sedm, vezmi klíče. ")).repeated(3).left(70);
const QString kLong =
    QString(QStringLiteral("Zítra v půl sedmé u kašny, pak kino. ")).repeated(6).left(200);

}  // namespace

BENCHMARK_CAPTURE(Decode, gsm7_160, SevenBitPdu());
BENCHMARK_CAPTURE(Decode, ucs2_70, Ucs2Pdu());
BENCHMARK_CAPTURE(Decode, concatenated_part_ucs2, ConcatenatedPartPdu());
BENCHMARK_CAPTURE(HexOnly, reference_gsm7_160, SevenBitPdu());
BENCHMARK_CAPTURE(HexOnly, reference_ucs2_70, Ucs2Pdu());
BENCHMARK_CAPTURE(HexOnly, reference_concatenated_part_ucs2, ConcatenatedPartPdu());
BENCHMARK_CAPTURE(Encode, gsm7_160, kPlain);
BENCHMARK_CAPTURE(Encode, ucs2_70, kCzech);
BENCHMARK_CAPTURE(Encode, concatenated_ucs2_200, kLong);

BENCHMARK_MAIN();
