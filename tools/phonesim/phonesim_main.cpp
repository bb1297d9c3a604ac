// telvora-phonesim: a GSM phone on a pseudo-terminal. Prints the device path
// as its first line, serves until SIGTERM or SIGINT, then saves the state
// (with --save) and removes the --link symlink. Lines on its standard input
// (and appended to the --control file) bring the phone news: a message or a
// ringing call.

#include <sys/socket.h>
#include <unistd.h>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <functional>

#include "telvora/core/version.h"
#include "telvora/demophone/news_control.h"
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

// Runs each line of standard input as a news control line. At its end the
// simulator keeps serving.
class StandardInputLines {
public:
    using Refused = std::function<void(const QString&, const QString&)>;
    StandardInputLines(phonesim::NewsControl& news, Refused refused)
        : m_news(news),
          m_refused(std::move(refused)),
          m_notifier(STDIN_FILENO, QSocketNotifier::Read) {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { read(); });
    }

private:
    void read() {
        char bytes[512];
        const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
        if (count <= 0) {
            m_notifier.setEnabled(false);  // closed: no more control lines
            return;
        }
        m_partial.append(bytes, count);
        qsizetype end = m_partial.indexOf('\n');
        while (end >= 0) {
            const QString line = QString::fromUtf8(m_partial.first(end)).trimmed();
            m_partial.remove(0, end + 1);
            if (!line.isEmpty()) {
                const QString reason = m_news.command(line);
                if (!reason.isEmpty()) {
                    m_refused(line, reason);
                }
            }
            end = m_partial.indexOf('\n');
        }
    }

    phonesim::NewsControl& m_news;
    Refused m_refused;
    QSocketNotifier m_notifier;
    QByteArray m_partial;
};

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
        "Inject a fault: COMMAND=KIND[:ARG], KIND "
        "silent|error|cms|cme|garbage|noise|drop|hangup|late|news (repeatable).",
        "FAULT");
    const QCommandLineOption echoOption("echo", "Echo after power-on: on or off.", "on|off");
    const QCommandLineOption controlOption(
        "control",
        "Run the lines appended to FILE like those on standard input: sms NUMBER TEXT, "
        "ring NUMBER|- [SECONDS], giveup [quiet].",
        "FILE");
    const QCommandLineOption transcriptOption(
        "transcript", "Write what the client sends and what the phone answers to FILE.", "FILE");
    parser.addOptions({stateOption, saveOption, linkOption, latencyOption, baudOption, faultOption,
                       echoOption, controlOption, transcriptOption});
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
    QFile transcript(parser.value(transcriptOption));
    if (parser.isSet(transcriptOption)) {
        if (!transcript.open(QIODevice::WriteOnly | QIODevice::Append)) {
            return fail(
                QStringLiteral("cannot write the transcript %1").arg(transcript.fileName()));
        }
        server.setTranscript(&transcript);
    }
    if (!installSignalHandlers()) {
        return fail("cannot install signal handlers");
    }
    auto refused = [](const QString& line, const QString& reason) {
        std::fprintf(stderr, "telvora-phonesim: %s: %s\n", qPrintable(line), qPrintable(reason));
    };
    phonesim::ControlFile controlFile(server.news());
    QObject::connect(&controlFile, &phonesim::ControlFile::refused, refused);
    if (parser.isSet(controlOption) && !controlFile.watch(parser.value(controlOption), &error)) {
        return fail(error);
    }
    StandardInputLines input(server.news(), refused);

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
