#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "telvora/cli/cli.h"
#include "telvora/setup/device_port.h"
#include "telvora/setup/settings.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Telvora"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    telvora::SettingsStore settings;
    telvora::CliEnvironment environment;
    environment.settings = &settings;
    environment.makePort = &telvora::MakeDevicePort;
    environment.out = &out;
    environment.err = &err;
    return telvora::RunCli(app.arguments().mid(1), environment);
}
