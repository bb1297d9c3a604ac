// telvora: manages a GSM phone on a serial port (messages, phone book, calls,
// ring tones). `--device PATH` (or `--device demo` for the built-in demo
// phone) uses that device for this run instead of the stored settings; while
// no phone is configured at all, the demo phone is used. A second start asks
// the running program to come to the front and ends.

#include <QApplication>
#include <QCommandLineParser>

#include "telvora/setup/device_port.h"
#include "telvora/setup/instance_channel.h"
#include "telvora/setup/settings.h"
#include "telvora/setup/single_instance.h"
#include "telvora/shell/frm_about.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/qt_translations.h"
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
    QCoreApplication::setApplicationName(QStringLiteral("telvora"));  // "telvora 1.2.3"
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

void BringToFront(QWidget& window) {
    if (window.isMinimized()) {
        window.showNormal();
    }
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

int main(int argc, char* argv[]) {
    const QString givenDevice = ParseCommandLine(argc, argv);
    const QString channelPath =
        telvora::InstanceChannel::PathForLock(telvora::SingleInstance::DefaultLockPath());
    if (telvora::InstanceChannel::AskToRaise(channelPath)) {
        return 0;  // the running program came to the front
    }
    QApplication app(argc, argv);
    SetApplicationNames();
    telvora::InstallStartupProbe(app);

    telvora::SettingsStore settings;
    // Qt's own buttons of the first messages follow the stored language too.
    telvora::ApplyQtTranslations(telvora::LanguageFromNumber(settings.read().language));
    telvora::WidgetMessageBoxes messages;
    telvora::ShellSetup setup;
    setup.settings = &settings;
    setup.messages = &messages;
    setup.port = telvora::MakeDevicePort();
    setup.deviceOverride = telvora::DeviceForThisRun(settings.read(), givenDevice);

    telvora::frmMain window(std::move(setup));
    messages.setParent(&window);
    // Listening as soon as this is the one telvora, before the start-up's
    // questions and notices, so that a second start meanwhile finds it.
    telvora::InstanceChannel channel;
    QObject::connect(&channel, &telvora::InstanceChannel::raiseRequested, &window,
                     [&window] { BringToFront(window); });
    window.setOnlyInstanceAction([&channel, &channelPath] { channel.listen(channelPath); });
    if (window.Startup() == telvora::frmMain::StartResult::Ended) {
        return 0;
    }
    window.show();
    return app.exec();
}
