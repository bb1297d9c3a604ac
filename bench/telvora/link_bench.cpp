// Timing of the phone link over a pseudo-terminal:
//  - how long CheckLink takes against a phone that answers after 5 ms
//    (the simulator program when it is built, else a pty answered here);
//  - how much CPU a command uses while it waits 10 s for an answer that
//    never comes (the wait must sleep, not poll).
// Prints each figure with its target and the ratio figure / target.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "telvora/link/at_link.h"
#include "telvora/link/qt_serial_port.h"

namespace {

using telvora::AtLink;
using telvora::LinkState;

constexpr int kChecks = 100;
constexpr double kCheckTargetMs = 20.0;
constexpr int kSilentWaitMs = 10000;
constexpr double kCpuTargetS = 0.1;
constexpr int kLatencyMs = 5;

// A pty whose master side answers "AT" after kLatencyMs, or never.
class PtyPhone {
public:
    explicit PtyPhone(bool answers) : m_answers(answers) {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        grantpt(m_master);
        unlockpt(m_master);
        m_device = QString::fromLocal8Bit(ptsname(m_master));
        m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [this] { onInput(); });
    }
    ~PtyPhone() {
        delete m_notifier;
        close(m_master);
    }
    const QString& device() const { return m_device; }

private:
    void onInput() {
        char bytes[256];
        const ssize_t got = read(m_master, bytes, sizeof bytes);
        if (got <= 0) {
            return;
        }
        m_received.append(bytes, got);
        if (m_answers && m_received.contains('\r')) {
            m_received.clear();
            QTimer::singleShot(kLatencyMs, Qt::PreciseTimer,
                               [this] { (void)!write(m_master, "AT\r\r\nOK\r\n", 9); });
        }
    }

    bool m_answers;
    int m_master = -1;
    QString m_device;
    QByteArray m_received;
    QSocketNotifier* m_notifier = nullptr;
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Report(const char* name, double value, const char* unit, double target) {
    std::printf("%-34s %9.4f %-3s target %7.3f %-3s ratio %.4f\n", name, value, unit, target, unit,
                value / target);
}

// Starts the simulator program and returns its device path, or nothing.
QString StartSimulator(QProcess& simulator, const QString& program) {
    simulator.start(program, {"--latency", QString::number(kLatencyMs)});
    if (!simulator.waitForReadyRead(10000)) {
        return {};
    }
    return QString::fromLocal8Bit(simulator.readLine().trimmed());
}

bool BenchCheckLink(const QString& device, const char* against) {
    AtLink link(std::make_unique<telvora::QtSerialPort>());
    if (link.OpenPort(device) != telvora::OpenResult::Ok) {
        std::printf("cannot open %s\n", qPrintable(device));
        return false;
    }
    if (link.CheckLink() != LinkState::Connected) {
        std::printf("phone on %s does not answer\n", qPrintable(device));
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    int connected = 0;
    for (int i = 0; i < kChecks; ++i) {
        connected += link.CheckLink() == LinkState::Connected ? 1 : 0;
    }
    const double perCheck = clock.nsecsElapsed() / 1e6 / kChecks;
    std::printf("CheckLink against %s, %d ms latency: %d of %d connected\n", against, kLatencyMs,
                connected, kChecks);
    Report("CheckLink per check", perCheck, "ms", kCheckTargetMs);
    return connected == kChecks;
}

void BenchSilentWait(int waitMs) {
    PtyPhone phone(false);
    AtLink link(std::make_unique<telvora::QtSerialPort>());
    link.OpenPort(phone.device());
    link.tryAcquire()->SendCommand("AT+CMGL=1");
    QByteArray buffer;
    const double cpuBefore = CpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const auto result = link.tryAcquire()->CollectUntil(buffer, {"OK\r\n"}, waitMs);
    const double wall = clock.elapsed() / 1000.0;
    const double cpu = CpuSeconds() - cpuBefore;
    std::printf("Silent wait: %s after %.3f s\n",
                result == telvora::CollectResult::Timeout ? "time-out" : "unexpected end", wall);
    Report("CPU during a 10 s silent wait", cpu * kSilentWaitMs / waitMs, "s", kCpuTargetS);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // --quick: a 1 s silent wait, scaled to 10 s, for a smoke run.
    const bool quick = argc > 1 && QByteArray(argv[1]) == "--quick";
    bool ok = true;
#ifdef TELVORA_PHONESIM_PATH
    QProcess simulator;
    const QString device = StartSimulator(simulator, QStringLiteral(TELVORA_PHONESIM_PATH));
    ok = !device.isEmpty() && BenchCheckLink(device, "telvora-phonesim");
    simulator.terminate();
    simulator.waitForFinished(5000);
#else
    PtyPhone phone(true);
    ok = BenchCheckLink(phone.device(), "a pty answered in-process");
#endif
    BenchSilentWait(quick ? 1000 : kSilentWaitMs);
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
