#include "telvora/cli/watch_command.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QDateTime>
#include <QEventLoop>
#include <QSocketNotifier>
#include <csignal>

#include "telvora/calls/incoming_call.h"
#include "telvora/cli/cli.h"
#include "telvora/cli/cli_context.h"
#include "telvora/cli/sms_commands.h"
#include "telvora/link/at_link.h"
#include "telvora/sms/new_messages.h"

namespace telvora {
namespace {

constexpr char kUsage[] = "usage: telvora-cli watch [--tsv] [--phonebook FILE]\n";

int g_stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_stopPipe[0], &byte, 1);
}

// SIGINT and SIGTERM end the watch through the event loop (self-pipe); the
// previous handlers come back when it ends.
class StopSignals {
public:
    StopSignals() {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_stopPipe) != 0) {
            return;
        }
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        m_installed = sigaction(SIGINT, &action, &m_oldInt) == 0 &&
                      sigaction(SIGTERM, &action, &m_oldTerm) == 0;
    }
    ~StopSignals() {
        if (m_installed) {
            sigaction(SIGINT, &m_oldInt, nullptr);
            sigaction(SIGTERM, &m_oldTerm, nullptr);
        }
        for (int& fd : g_stopPipe) {
            if (fd >= 0) {
                ::close(fd);
                fd = -1;
            }
        }
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool installed() const { return m_installed; }
    int readEnd() const { return g_stopPipe[1]; }

private:
    bool m_installed = false;
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

// The phone-book name of `number`, as a message's sender is named; empty
// when the phone book does not hold it.
QString NameOf(const QString& number, const QList<sms::NameAndNumber>& names) {
    if (number.isEmpty()) {
        return {};
    }
    QList<sms::MessageRow> rows{sms::MessageRow{}};
    rows[0].sender = rows[0].number = number;
    sms::ResolveSenderNames(rows, names);
    return rows[0].sender == number ? QString() : rows[0].sender;
}

}  // namespace

int RunWatch(CliContext& context) {
    bool tsv = false;
    QString phoneBookPath;
    for (qsizetype i = 0; i < context.args.size(); ++i) {
        if (context.args[i] == QLatin1String("--tsv")) {
            tsv = true;
        } else if (context.args[i] == QLatin1String("--phonebook") && i + 1 < context.args.size()) {
            phoneBookPath = context.args[++i];
        } else {
            context.err << kUsage;
            return kExitUsage;
        }
    }
    const std::optional<QList<sms::NameAndNumber>> names = PhoneBookNames(context, phoneBookPath);
    if (!names) {
        return kExitUsage;
    }

    sms::NewMessages messages(context.link);
    IncomingCall call(context.link);
    {
        std::optional<PortLease> lease = context.link.tryAcquire();
        if (!lease || lease->CheckLink() != LinkState::Connected) {
            context.messages.error(context.text(38));
            return kExitFailed;
        }
        const bool messagesOn = sms::NewMessages::Enable(*lease).has_value();
        const bool callerIdOn = IncomingCall::EnableCallerId(*lease);
        if (!messagesOn) {
            context.err << context.text(sms::kTextNoMessageNotices) << '\n';
        }
        if (!callerIdOn) {
            context.err << context.text(kTextNoCallerId) << '\n';
        }
        context.err.flush();
    }

    auto print = [&](const QString& line) { context.out << line << '\n' << Qt::flush; };
    QObject::connect(&messages, &sms::NewMessages::arrived, [&](const sms::ReadMessage& read) {
        QList<sms::MessageRow> rows = sms::BuildMessageRows({read}, QDateTime::currentDateTime());
        sms::ResolveSenderNames(rows, *names);
        for (const sms::MessageRow& row : rows) {
            if (tsv) {
                print(QStringLiteral("sms\t%1\t%2\t%3\t%4\t%5")
                          .arg(read.store, row.indexText(), sms::TsvField(row.time),
                               sms::TsvField(row.sender), sms::TsvField(row.text)));
            } else {
                QString text = row.text;
                text.replace(u'\r', u' ').replace(u'\n', u' ');
                print(row.time + QStringLiteral("  ") + row.sender + QStringLiteral("  ") + text);
            }
        }
    });
    QObject::connect(&messages, &sms::NewMessages::unreadable,
                     [&](const QByteArray& store, int index) {
                         context.err << context.text(sms::kTextNewMessageUnread)
                                            .arg(QString::fromLatin1(store))
                                            .arg(index)
                                     << '\n'
                                     << Qt::flush;
                     });
    QObject::connect(&call, &IncomingCall::ringing, [&](const QString& number) {
        const QString name = NameOf(number, *names);
        if (tsv) {
            print(QStringLiteral("ring\t%1\t%2").arg(number, sms::TsvField(name)));
        } else {
            const QString caller = number.isEmpty() ? context.text(kTextUnknownNumber) : number;
            print(context.text(kTextCalling)
                      .arg(name.isEmpty() ? caller : name + QStringLiteral(" (") + caller + u')'));
        }
    });
    QObject::connect(&call, &IncomingCall::ended, [&](const QString& number) {
        if (tsv) {
            print(QStringLiteral("ended\t%1").arg(number));
        } else {
            print(context.text(kTextMissedCall)
                      .arg(number.isEmpty() ? context.text(kTextUnknownNumber) : number));
        }
    });

    StopSignals stopSignals;
    if (!stopSignals.installed()) {
        context.err << "telvora-cli: cannot install signal handlers\n";
        return kExitFailed;
    }
    context.err << context.text(sms::kTextWaitingForNews) << '\n' << Qt::flush;
    QEventLoop loop;
    QSocketNotifier stop(stopSignals.readEnd(), QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    // A phone that goes away ends the watch with a failure.
    int result = kExitOk;
    QObject::connect(&context.link, &AtLink::connectedChanged, &loop, [&](bool connected) {
        if (!connected) {
            context.messages.error(context.text(38));
            result = kExitFailed;
            loop.quit();
        }
    });
    loop.exec();
    return result;
}

}  // namespace telvora
