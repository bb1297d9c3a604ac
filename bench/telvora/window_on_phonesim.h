#pragma once
// The real main window on telvora-phonesim over a pseudo-terminal, for the
// benchmarks that time what a user of the window would see: the simulator
// process, English settings of the window's own, and message boxes that
// print their text and answer every question with no.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <memory>

#include "telvora/core/message_boxes.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"

namespace telvora::bench {

class PrintedMessageBoxes : public MessageBoxes {
public:
    void show(Kind, const QString& text) override {
        std::printf("message: %s\n", qPrintable(text));
        ++shown;
    }
    bool askYesNo(Kind kind, const QString& text) override {
        show(kind, text);
        return false;
    }
    bool askOkCancel(Kind kind, const QString& text) override {
        show(kind, text);
        return false;
    }
    int shown = 0;
};

// Starts telvora-phonesim with `args`; its device path, or empty (and why
// printed) when it did not start within 10 s.
inline QString StartPhonesim(QProcess& simulator, const QStringList& args) {
    simulator.start(QStringLiteral(TELVORA_PHONESIM_PATH), args);
    if (!simulator.waitForReadyRead(10000)) {
        std::printf("telvora-phonesim did not start\n");
        return {};
    }
    return QString::fromLocal8Bit(simulator.readLine().trimmed());
}

inline void StopPhonesim(QProcess& simulator) {
    simulator.terminate();
    simulator.waitForFinished(5000);
}

// The main window on `device`, its settings and lock in `folder`.
class WindowOnDevice {
public:
    WindowOnDevice(const QString& folder, const QString& device)
        : m_settings(MakeSettings(folder + QStringLiteral("/Telvora.conf"))) {
        ShellSetup setup;
        setup.settings = &m_settings;
        setup.messages = &boxes;
        setup.port = std::make_unique<QtSerialPort>();
        setup.lockPath = folder + QStringLiteral("/telvora.lock");
        setup.deviceOverride = device;
        m_window = std::make_unique<frmMain>(std::move(setup));
    }
    ~WindowOnDevice() { m_window->close(); }
    WindowOnDevice(const WindowOnDevice&) = delete;
    WindowOnDevice& operator=(const WindowOnDevice&) = delete;

    // Starts and shows the window; false (and why printed) when it ended.
    bool start() {
        if (m_window->Startup() != frmMain::StartResult::Running) {
            std::printf("the window did not start\n");
            return false;
        }
        m_window->show();
        return true;
    }
    frmMain& window() { return *m_window; }

    PrintedMessageBoxes boxes;

private:
    static std::unique_ptr<QSettings> MakeSettings(const QString& file) {
        auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
        settings->setValue(QStringLiteral("Conf/port"), QStringLiteral("1"));
        settings->setValue(QStringLiteral("Conf/langver"), QStringLiteral("2"));
        settings->sync();
        return settings;
    }

    SettingsStore m_settings;
    std::unique_ptr<frmMain> m_window;
};

// Lets the window's event loop run for `ms`, waking only for events.
inline void Idle(int ms) {
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, ms);
    }
}

}  // namespace telvora::bench
