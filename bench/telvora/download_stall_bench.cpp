// The main window during a download: the real frmMain on telvora-phonesim
// emulating a 9600 baud line with 49 messages over a pseudo-terminal, the
// download started by its button, the message archive already created. A
// 1 ms probe timer notes the longest time the window's event loop did not
// run meanwhile (target: at most 30 ms, as for a signal poll). Reference in
// the same run: the same probe over 5 s of the idle window. Prints each
// figure with its target and the ratio.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "bench/telvora/loop_probe.h"
#include "bench/telvora/sms_state.h"
#include "bench/telvora/window_on_phonesim.h"
#include "telvora/sms/message_archive.h"

namespace {

constexpr double kTargetMs = 30.0;
constexpr int kIdleMs = 5000;

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    // The archive the download fills is one of its own.
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    QFile state(dir.filePath(QStringLiteral("state.json")));
    state.open(QIODevice::WriteOnly);
    state.write(QJsonDocument(telvora::bench::DownloadState()).toJson());
    state.close();
    QProcess simulator;
    const QString device = telvora::bench::StartPhonesim(
        simulator, {"--state", state.fileName(), "--baud", "9600", "--latency", "0"});
    if (device.isEmpty()) {
        return EXIT_FAILURE;
    }
    telvora::bench::WindowOnDevice rig(dir.path(), device);
    if (!rig.start()) {
        return EXIT_FAILURE;
    }
    telvora::frmMain& window = rig.window();
    window.ui().TimerSignal->stop();  // no poll in the idle reference
    telvora::bench::Idle(500);        // the start-up poll's answers

    // The archive exists, as for every download after the first; creating
    // it (the schema and the full-text index) adds some 20 ms once.
    { telvora::sms::MessageArchive made(telvora::sms::MessageArchive::defaultPath()); }
    telvora::bench::LoopProbe probe;
    probe.start();
    telvora::bench::Idle(kIdleMs);
    const double idle = probe.stopMs();

    probe.start();
    QElapsedTimer clock;
    clock.start();
    window.ui().cmbNactiSMS->click();
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double stall = probe.stopMs();
    const int listed = window.ui().flexSMS->rowCount();

    std::printf("Download of %d messages at 9600 baud in the window: %.3f s, %d listed\n",
                telvora::bench::kMessages, seconds, listed);
    std::printf("%-48s %8.3f ms  target %6.1f ms  ratio %.3f\n",
                "longest stall of the window during the download", stall, kTargetMs,
                stall / kTargetMs);
    std::printf("idle window, longest stall of the probe over %d s: %.3f ms\n", kIdleMs / 1000,
                idle);
    telvora::bench::StopPhonesim(simulator);
    return listed == telvora::bench::kMessages ? EXIT_SUCCESS : EXIT_FAILURE;
}
