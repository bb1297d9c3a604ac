// telvora: manages a GSM phone on a serial port (messages, phone book, calls,
// ring tones). `--device PATH` (or `--device demo` for the built-in demo
// phone) uses that device for this run instead of the stored settings; while
// no phone is configured at all, the demo phone is used.

#include <QApplication>
#include <QCommandLineParser>

#include "telvora/setup/device_port.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_about.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/startup_probe.h"
#include "telvora/shell/widget_message_boxes.h"

namespace {

void SetApplicationNames() {
    QCoreApplication::setOrganizationName(QStringLiteral("Telvora"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(telvora::kVersion));
}

// The device given with --device, or empty. --help, --version and wrong
// options are answered here, on the terminal, before any window system is
// needed, and end the program.
QString ParseCommandLine(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    SetApplicationNames();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Manager for a GSM phone on a serial port."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("Serial device to use for this run (e.g. /dev/ttyUSB0), or \"demo\" for "
                       "the built-in demo phone. Overrides the stored settings. While no phone "
                       "is configured, the demo phone is used."),
        QStringLiteral("path"));
    parser.addOption(device);
    parser.process(app);
    return parser.value(device);
}

}  // namespace

int main(int argc, char* argv[]) {
    const QString givenDevice = ParseCommandLine(argc, argv);
    QApplication app(argc, argv);
    SetApplicationNames();
    telvora::InstallStartupProbe(app);

    telvora::SettingsStore settings;
    telvora::WidgetMessageBoxes messages;
    telvora::ShellSetup setup;
    setup.settings = &settings;
    setup.messages = &messages;
    setup.port = telvora::MakeDevicePort();
    setup.deviceOverride = telvora::DeviceForThisRun(settings.read(), givenDevice);

    telvora::frmMain window(std::move(setup));
    messages.setParent(&window);
    if (window.Startup() == telvora::frmMain::StartResult::Ended) {
        return 0;
    }
    window.show();
    return app.exec();
}
