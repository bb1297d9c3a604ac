// telvora-phonesim: a GSM phone on a pseudo-terminal. Prints the device path
// as its first line, serves until SIGTERM or SIGINT, then saves the state
// (with --save) and removes the --link symlink.

#include <sys/socket.h>
#include <unistd.h>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>

#include "telvora/core/version.h"
#include "telvora/demophone/phone_state.h"
#include "telvora/demophone/simulated_phone.h"
#include "tools/phonesim/pty_server.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_signalPipe[0], &byte, 1);
}

// Turns SIGTERM and SIGINT into an event on the Qt loop (self-pipe).
bool installSignalHandlers() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        return false;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

int fail(const QString& message) {
    std::fprintf(stderr, "telvora-phonesim: %s\n", qPrintable(message));
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("telvora-phonesim");
    QCoreApplication::setApplicationVersion(QString::fromLatin1(telvora::kVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A GSM phone simulated on a pseudo-terminal. Prints the device path first.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption stateOption(
        "state", "Load the phone state from FILE (default: demo phone).", "FILE");
    const QCommandLineOption saveOption("save", "Save the state to FILE when stopped.", "FILE");
    const QCommandLineOption linkOption("link", "Also make PATH a symlink to the device.", "PATH");
    const QCommandLineOption latencyOption("latency", "Delay each answer by MS milliseconds.",
                                           "MS");
    const QCommandLineOption baudOption("baud", "Emulate a line of N baud (0 = off).", "N");
    const QCommandLineOption faultOption(
        "fault",
        "Inject a fault: COMMAND=KIND[:ARG], KIND silent|error|garbage|drop|late (repeatable).",
        "FAULT");
    const QCommandLineOption echoOption("echo", "Echo after power-on: on or off.", "on|off");
    parser.addOptions(
        {stateOption, saveOption, linkOption, latencyOption, baudOption, faultOption, echoOption});
    parser.process(app);

    QString error;
    std::optional<phonesim::PhoneState> state =
        parser.isSet(stateOption) ? phonesim::loadStateFile(parser.value(stateOption), &error)
                                  : phonesim::demoPhoneState();
    if (!state) {
        return fail(error);
    }
    phonesim::SimOptions& options = state->options;
    bool ok = true;
    if (parser.isSet(latencyOption) &&
        ((options.latencyMs = parser.value(latencyOption).toInt(&ok)) < 0 || !ok)) {
        return fail("--latency needs a number of milliseconds");
    }
    if (parser.isSet(baudOption) &&
        ((options.baud = parser.value(baudOption).toInt(&ok)) < 0 || !ok)) {
        return fail("--baud needs a number");
    }
    if (parser.isSet(echoOption)) {
        const QString echo = parser.value(echoOption);
        if (echo != "on" && echo != "off") {
            return fail("--echo takes on or off");
        }
        options.echo = echo == "on";
    }
    for (const QString& faultText : parser.values(faultOption)) {
        const auto fault = phonesim::parseFault(faultText, &error);
        if (!fault) {
            return fail(error);
        }
        options.faults.append(*fault);
    }

    phonesim::SimulatedPhone phone(std::move(*state));
    phonesim::PtyServer server(phone);
    if (!server.open(&error)) {
        return fail(error);
    }
    const QString linkPath = parser.value(linkOption);
    if (!linkPath.isEmpty()) {
        if (QFileInfo(linkPath).isSymLink()) {
            QFile::remove(linkPath);
        }
        if (!QFile::link(server.slavePath(), linkPath)) {
            return fail(QStringLiteral("cannot create the link %1").arg(linkPath));
        }
    }
    if (!installSignalHandlers()) {
        return fail("cannot install signal handlers");
    }
    QSocketNotifier stopNotifier(g_signalPipe[1], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    std::printf("%s\n", qPrintable(server.slavePath()));
    std::fflush(stdout);
    app.exec();

    int status = 0;
    if (parser.isSet(saveOption) &&
        !phonesim::saveStateFile(phone.state(), parser.value(saveOption), &error)) {
        status = fail(error);
    }
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
    }
    return status;
}
