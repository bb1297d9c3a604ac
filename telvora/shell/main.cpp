// telvora: manages a GSM phone on a serial port (messages, phone book, calls,
// ring tones). `--device PATH` (or `--device demo` for the built-in demo
// phone) uses that device for this run instead of the stored settings.

#include <QApplication>
#include <QCommandLineParser>

#include "telvora/setup/device_port.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_about.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/widget_message_boxes.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Telvora"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(telvora::kVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Manager for a GSM phone on a serial port."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("Serial device to use for this run (e.g. /dev/ttyUSB0), or \"demo\" for "
                       "the built-in demo phone. Overrides the stored settings."),
        QStringLiteral("path"));
    parser.addOption(device);
    parser.process(app);

    telvora::SettingsStore settings;
    telvora::WidgetMessageBoxes messages;
    telvora::ShellSetup setup;
    setup.settings = &settings;
    setup.messages = &messages;
    setup.port = telvora::MakeDevicePort();
    setup.deviceOverride = parser.value(device);

    telvora::frmMain window(std::move(setup));
    messages.setParent(&window);
    if (window.Startup() == telvora::frmMain::StartResult::Ended) {
        return 0;
    }
    window.show();
    return app.exec();
}
