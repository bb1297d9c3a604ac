// Timing of the short messages:
//  - decoding one received PDU with a 160-character text (target 2 us);
//  - downloading 49 messages of 160 characters from telvora-phonesim that
//    emulates a 9600 baud line, against the line time (every character
//    written and read, at 960 characters a second; target 1.05 times), and
//    the CPU the process uses meanwhile (target under 5 %).
// Prints each figure with its target and the ratio figure / target.

#include <sys/resource.h>
#include <time.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/telvora/sms_state.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/pdu_codec.h"
#include "telvora/sms/sms_reader.h"

namespace {

using namespace telvora;
using bench::DownloadState;
using bench::kMessages;
using bench::LongText;

constexpr double kDecodeTargetUs = 2.0;
constexpr double kLineTimeTarget = 1.05;
constexpr double kCpuShareTarget = 0.05;
constexpr double kCharactersPerSecond = 960.0;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU time of this thread: the decode figure must not depend on how busy
// the shared machine is.
double ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e9 + now.tv_nsec;
}

void Report(const char* name, double value, const char* unit, double target) {
    std::printf("%-42s %9.4f %-3s target %7.3f %-3s ratio %.4f\n", name, value, unit, target, unit,
                value / target);
}

// A received PDU with an 8-octet service centre, a 12-digit sender and 160 characters.
QByteArray SamplePdu() {
    const QByteArray septets = sms::ToGsmSeptets(LongText(1));
    return "07912443600350F0"
           "040C91" +
           sms::SwapSemiOctets("420603123456") + "0000" + "62211170511180" +
           sms::PackSeptets(septets);
}

void BenchDecode() {
    const QByteArray pdu = SamplePdu();
    const auto check = sms::DecodeDeliverPdu(pdu);
    if (!check || check->text != LongText(1)) {
        std::printf("sample PDU does not decode\n");
        std::exit(EXIT_FAILURE);
    }
    constexpr int kRounds = 200000;
    QList<double> perDecodeUs;
    QList<double> wallUs;
    for (int repetition = 0; repetition < 5; ++repetition) {
        QElapsedTimer clock;
        clock.start();
        const double cpuStart = ThreadCpuNs();
        qsizetype sink = 0;
        for (int i = 0; i < kRounds; ++i) {
            sink += sms::DecodeDeliverPdu(pdu)->text.size();
        }
        perDecodeUs << (ThreadCpuNs() - cpuStart) / 1e3 / kRounds;
        wallUs << clock.nsecsElapsed() / 1e3 / kRounds;
        if (sink != qsizetype(kRounds) * 160) {
            std::exit(EXIT_FAILURE);
        }
    }
    std::sort(perDecodeUs.begin(), perDecodeUs.end());
    std::sort(wallUs.begin(), wallUs.end());
    std::printf("Decoding a 160-character PDU (%lld hex digits), median of 5 x %d\n",
                static_cast<long long>(pdu.size()), kRounds);
    Report("decode per PDU (thread CPU time)", perDecodeUs[2], "us", kDecodeTargetUs);
    Report("decode per PDU (wall time)", wallUs[2], "us", kDecodeTargetUs);
}

// The port that counts every character crossing the line.
class CountingPort : public SerialPort {
public:
    CountingPort() {
        connect(&m_port, &SerialPort::readyRead, this, &SerialPort::readyRead);
        connect(&m_port, &SerialPort::failed, this, &SerialPort::failed);
    }
    OpenResult open(const QString& device) override { return m_port.open(device); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    bool write(const QByteArray& data) override {
        written += data.size();
        return m_port.write(data);
    }
    QByteArray readAll() override {
        const QByteArray data = m_port.readAll();
        read += data.size();
        return data;
    }
    void discardInput() override { read += m_port.readAll().size(); }

    qint64 written = 0;
    qint64 read = 0;

private:
    QtSerialPort m_port;
};

class SilentBoxes : public MessageBoxes {
public:
    void show(Kind, const QString& text) override {
        std::printf("message: %s\n", qPrintable(text));
    }
    bool askYesNo(Kind, const QString&) override { return true; }
    bool askOkCancel(Kind, const QString&) override { return true; }
};

bool BenchDownload() {
    QTemporaryDir dir;
    QFile state(dir.filePath("state.json"));
    state.open(QIODevice::WriteOnly);
    state.write(QJsonDocument(DownloadState()).toJson());
    state.close();
    QProcess simulator;
    simulator.start(QStringLiteral(TELVORA_PHONESIM_PATH),
                    {"--state", state.fileName(), "--baud", "9600", "--latency", "0"});
    if (!simulator.waitForReadyRead(10000)) {
        simulator.waitForFinished(5000);
        std::printf("telvora-phonesim did not start: %s\n",
                    simulator.readAllStandardError().constData());
        return false;
    }
    const QString device = QString::fromLocal8Bit(simulator.readLine().trimmed());
    auto port = std::make_unique<CountingPort>();
    CountingPort& counter = *port;
    AtLink link(std::move(port));
    if (link.OpenPort(device) != OpenResult::Ok) {
        std::printf("cannot open %s\n", qPrintable(device));
        return false;
    }
    SilentBoxes boxes;
    sms::SmsReader reader(link, boxes, Language::English);
    const double cpuBefore = CpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const auto rows = reader.ReadMessages(false, {});
    const double wall = clock.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuBefore;
    simulator.terminate();
    simulator.waitForFinished(5000);
    if (!rows || rows->size() != kMessages) {
        std::printf("download listed %lld messages\n",
                    rows ? static_cast<long long>(rows->size()) : -1LL);
        return false;
    }
    const double lineTime = (counter.written + counter.read) / kCharactersPerSecond;
    std::printf(
        "Download of %d messages at 9600 baud: %.3f s; %lld characters written, %lld read\n",
        kMessages, wall, static_cast<long long>(counter.written),
        static_cast<long long>(counter.read));
    std::printf("line time (written + read) / 960: %.3f s; read only: %.3f s\n", lineTime,
                counter.read / kCharactersPerSecond);
    Report("download time / line time", wall / lineTime, "x", kLineTimeTarget);
    Report("download time / line time of the answers", wall / (counter.read / kCharactersPerSecond),
           "x", kLineTimeTarget);
    Report("CPU share during the download", cpu / wall, "", kCpuShareTarget);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BenchDecode();
    return BenchDownload() ? EXIT_SUCCESS : EXIT_FAILURE;
}
