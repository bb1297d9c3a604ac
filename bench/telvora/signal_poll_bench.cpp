// How long the main window stays blocked by its signal poll: the real
// frmMain on telvora-phonesim (5 ms answer latency) over a pseudo-terminal,
// TimerSignal fired again and again. A poll runs the link check, "AT+COPS?"
// and "AT+CSQ". A tick blocks the window for the longer of the time its
// handler takes (user input waits for it) and the longest stall of the event
// loop until the label shows the answer (a 1 ms probe timer). Reference in
// the same run: the same probe over 20 ms of the idle window before each
// tick. Prints the longest time and percentiles with the target and the
// ratio figure / target.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/telvora/loop_probe.h"
#include "bench/telvora/window_on_phonesim.h"

namespace {

constexpr int kPolls = 200;
constexpr int kLatencyMs = 5;
constexpr double kTargetMs = 30.0;
// What the fixed pauses of the design would block per tick: two 150 ms
// exchanges (plus a 150 ms link check not counted here).
constexpr double kFixedPausesMs = 300.0;

void Report(const char* name, double value, double target) {
    std::printf("%-40s %8.3f ms  target %6.1f ms  ratio %.3f\n", name, value, target,
                value / target);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    QProcess simulator;
    const QString device =
        telvora::bench::StartPhonesim(simulator, {"--latency", QString::number(kLatencyMs)});
    if (device.isEmpty()) {
        return EXIT_FAILURE;
    }
    QTemporaryDir dir;
    telvora::bench::WindowOnDevice rig(dir.path(), device);
    if (!rig.start()) {
        return EXIT_FAILURE;
    }
    telvora::frmMain& window = rig.window();
    window.ui().TimerSignal->stop();  // the ticks come from here

    std::vector<double> blocked;
    std::vector<double> idle;
    std::vector<double> handler;
    telvora::bench::LoopProbe probe;
    QLabel* label = window.ui().lblSignal;
    int shown = 0;
    for (int i = 0; i < kPolls; ++i) {
        // A placeholder of the same shape, laid out while idle, shows when
        // the tick wrote the label.
        label->setText(QStringLiteral("-\n| - |"));
        probe.start();
        telvora::bench::Idle(20);
        idle.push_back(probe.stopMs());
        probe.start();
        QElapsedTimer tick;
        tick.start();
        QMetaObject::invokeMethod(window.ui().TimerSignal, "timeout", Qt::DirectConnection);
        handler.push_back(tick.nsecsElapsed() / 1e6);
        while (!label->text().startsWith(QStringLiteral("T-Mobile CZ")) && tick.elapsed() < 2000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        blocked.push_back(std::max(handler.back(), probe.stopMs()));
        shown += label->text().startsWith(QStringLiteral("T-Mobile CZ")) ? 1 : 0;
    }
    std::sort(blocked.begin(), blocked.end());
    std::sort(idle.begin(), idle.end());
    std::sort(handler.begin(), handler.end());
    std::printf(
        "Signal polls of frmMain against telvora-phonesim, %d ms latency: %d of %d "
        "showed operator and signal; %d message boxes\n",
        kLatencyMs, shown, kPolls, rig.boxes.shown);
    Report("longest block of the window per tick", blocked.back(), kTargetMs);
    Report("99th percentile", blocked[blocked.size() * 99 / 100], kTargetMs);
    Report("90th percentile", blocked[blocked.size() * 9 / 10], kTargetMs);
    Report("median", blocked[blocked.size() / 2], kTargetMs);
    std::printf("longest time in the tick handler: %.3f ms\n", handler.back());
    std::printf("idle window, longest stall of the probe: %.3f ms, median %.3f ms\n", idle.back(),
                idle[idle.size() / 2]);
    std::printf("the design's fixed pauses: %.0f ms per tick, %.1f times the longest block\n",
                kFixedPausesMs, kFixedPausesMs / blocked.back());

    telvora::bench::StopPhonesim(simulator);
    return shown == kPolls ? EXIT_SUCCESS : EXIT_FAILURE;
}
