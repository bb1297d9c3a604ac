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
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "bench/telvora/loop_probe.h"
#include "bench/telvora/sms_state.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "telvora/sms/message_archive.h"

namespace {

constexpr double kTargetMs = 30.0;
constexpr int kIdleMs = 5000;

class PrintedBoxes : public telvora::MessageBoxes {
public:
    void show(Kind, const QString& text) override {
        std::printf("message: %s\n", qPrintable(text));
    }
    bool askYesNo(Kind kind, const QString& text) override {
        show(kind, text);
        return false;
    }
    bool askOkCancel(Kind kind, const QString& text) override {
        show(kind, text);
        return false;
    }
};

void Idle(int ms) {
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, ms);
    }
}

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
    simulator.start(QStringLiteral(TELVORA_PHONESIM_PATH),
                    {"--state", state.fileName(), "--baud", "9600", "--latency", "0"});
    if (!simulator.waitForReadyRead(10000)) {
        std::printf("telvora-phonesim did not start\n");
        return EXIT_FAILURE;
    }
    const QString device = QString::fromLocal8Bit(simulator.readLine().trimmed());

    const QString settingsFile = dir.filePath(QStringLiteral("Telvora.conf"));
    {
        QSettings file(settingsFile, QSettings::IniFormat);
        file.setValue(QStringLiteral("Conf/port"), QStringLiteral("1"));
        file.setValue(QStringLiteral("Conf/langver"), QStringLiteral("2"));
    }
    telvora::SettingsStore settings(
        std::make_unique<QSettings>(settingsFile, QSettings::IniFormat));
    PrintedBoxes boxes;
    telvora::ShellSetup setup;
    setup.settings = &settings;
    setup.messages = &boxes;
    setup.port = std::make_unique<telvora::QtSerialPort>();
    setup.lockPath = dir.filePath(QStringLiteral("telvora.lock"));
    setup.deviceOverride = device;
    telvora::frmMain window(std::move(setup));
    if (window.Startup() != telvora::frmMain::StartResult::Running) {
        std::printf("the window did not start\n");
        return EXIT_FAILURE;
    }
    window.show();
    window.ui().TimerSignal->stop();  // no poll in the idle reference
    Idle(500);                        // the start-up poll's answers

    // The archive exists, as for every download after the first; creating
    // it (the schema and the full-text index) adds some 20 ms once.
    { telvora::sms::MessageArchive made(telvora::sms::MessageArchive::defaultPath()); }
    telvora::bench::LoopProbe probe;
    probe.start();
    Idle(kIdleMs);
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
    window.close();
    simulator.terminate();
    simulator.waitForFinished(5000);
    return listed == telvora::bench::kMessages ? EXIT_SUCCESS : EXIT_FAILURE;
}
