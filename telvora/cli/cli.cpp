#include "telvora/cli/cli.h"

#include <QTextStream>
#include <array>

#include "telvora/cli/calls_commands.h"
#include "telvora/cli/cli_context.h"
#include "telvora/cli/pb_commands.h"
#include "telvora/cli/ringtone_commands.h"
#include "telvora/cli/sms_commands.h"
#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"
#include "telvora/link/device_names.h"
#include "telvora/setup/settings.h"

namespace telvora {
namespace {

int RunCheck(CliContext& context) {
    context.link.CheckLink();
    const bool connected = context.link.Connected();
    context.out << context.text(connected ? 34 : 35) << '\n';
    return connected ? kExitOk : kExitFailed;
}

struct Subcommand {
    const char* name;
    const char* usage;
    const char* summary;
    int minArgs;  // checked before the port is opened
    int maxArgs;
    int (*run)(CliContext& context);
};

// Further subcommands (sms, pb, dial, hangup, status, ringtone) join this table.
constexpr std::array kSubcommands{
    Subcommand{"check", "check", "report whether the phone answers (exit 0 connected, 1 not)", 0, 0,
               &RunCheck},
    Subcommand{"status", "status", "operator and signal bar", 0, 0, &RunStatus},
    Subcommand{"dial", "dial NUMBER", "dial a voice call (it stays up on the phone)", 1, 1,
               &RunDial},
    Subcommand{"hangup", "hangup", "hang up the phone's call, whoever placed it", 0, 0, &RunHangUp},
    Subcommand{"ringtone", "ringtone get|set",
               "the four user melodies; \"set N MELODY\" writes melody N (1..4)", 1, 3,
               &RunRingTone},
    Subcommand{"pb", "pb read|write",
               "read sm|me [--out FILE]: print the phone book or save it as .tpb; "
               "write sm|me FILE: upload a .tpb file in its order",
               2, 4, &RunPhoneBook},
    Subcommand{"sms", "sms send|list",
               "send NUMBER TEXT [--long]; list [--delete] [--csv F] [--tsv] [--phonebook F]"
               " (names from F, else from the default phone book)",
               1, 8, &RunSms},
};

const Subcommand* FindSubcommand(const QString& name) {
    for (const Subcommand& command : kSubcommands) {
        if (name == QLatin1String(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

void PrintHelp(QTextStream& out) {
    out << "usage: telvora-cli [--device PATH | --port N] [--lang cs|en] COMMAND [ARGS...]\n"
           "\n"
           "  --device PATH  serial device, or \"demo\" for the built-in demo phone\n"
           "  --port N       Com N, 1..4 (/dev/ttyS0../dev/ttyS3)\n"
           "  --lang cs|en   language of the messages\n"
           "Without --device or --port the stored settings of telvora choose the port.\n"
           "\n"
           "Commands:\n";
    for (const Subcommand& command : kSubcommands) {
        out << "  " << QString::fromLatin1(command.usage).leftJustified(14) << ' '
            << command.summary << '\n';
    }
    out << "\nExit codes:\n"
           "  0  everything asked was done\n"
           "  1  the phone did not do all of it: no answer, an error, a store it would not\n"
           "     list (sms list prints what it did read first), a message it would not\n"
           "     delete, a phone-book position or ring tone it would not write\n"
           "  2  wrong usage, or the port cannot be opened\n";
}

struct Options {
    QString device;
    bool haveDevice = false;
    int port = 0;
    QString language;  // "cs", "en" or empty
    bool help = false;
    QString command;
    QStringList commandArgs;
};

// Parses the global options up to the command name; an error text on failure.
QString ParseOptions(const QStringList& args, Options& options) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool takesValue = arg == QLatin1String("--device") ||
                                arg == QLatin1String("--port") || arg == QLatin1String("--lang");
        if (takesValue && i + 1 >= args.size()) {
            return arg + QStringLiteral(" needs a value");
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else if (arg == QLatin1String("--device")) {
            options.device = args[++i];
            options.haveDevice = true;
        } else if (arg == QLatin1String("--port")) {
            bool ok = false;
            options.port = args[++i].toInt(&ok);
            if (!ok || options.port < kFirstPortNumber || options.port > kLastPortNumber) {
                return QStringLiteral("--port takes a number from 1 to 4");
            }
        } else if (arg == QLatin1String("--lang")) {
            options.language = args[++i];
            if (options.language != QLatin1String("cs") &&
                options.language != QLatin1String("en")) {
                return QStringLiteral("--lang takes cs or en");
            }
        } else if (arg.startsWith(QLatin1Char('-'))) {
            return QStringLiteral("unknown option ") + arg;
        } else {
            options.command = arg;
            options.commandArgs = args.mid(i + 1);
            break;
        }
    }
    if (options.haveDevice && options.port != 0) {
        return QStringLiteral("give either --device or --port");
    }
    return {};
}

}  // namespace

int RunCli(const QStringList& args, const CliEnvironment& environment) {
    QTextStream& out = *environment.out;
    QTextStream& err = *environment.err;
    Options options;
    const QString problem = ParseOptions(args, options);
    if (!problem.isEmpty()) {
        err << "telvora-cli: " << problem << "\n";
        PrintHelp(err);
        return kExitUsage;
    }
    if (options.help) {
        PrintHelp(out);
        return kExitOk;
    }
    const Subcommand* command = FindSubcommand(options.command);
    if (command == nullptr) {
        err << "telvora-cli: "
            << (options.command.isEmpty() ? QStringLiteral("no command given")
                                          : QStringLiteral("unknown command ") + options.command)
            << "\n";
        PrintHelp(err);
        return kExitUsage;
    }

    if (options.commandArgs.size() < command->minArgs ||
        options.commandArgs.size() > command->maxArgs) {
        err << "telvora-cli: wrong number of arguments for " << command->name << "\n";
        PrintHelp(err);
        return kExitUsage;
    }

    const StoredSettings stored = environment.settings->read();
    Language language = LanguageFromNumber(stored.language);
    if (!options.language.isEmpty()) {
        language = options.language == QLatin1String("en") ? Language::English : Language::Czech;
    }
    QString device = DeviceFor(stored);
    if (options.haveDevice) {
        device = options.device;
    } else if (options.port != 0) {
        device = DeviceForPortNumber(options.port);
    }

    AtLink link(environment.makePort());
    const OpenResult opened = device.isEmpty() ? OpenResult::InvalidPort : link.OpenPort(device);
    if (opened != OpenResult::Ok) {
        const int text = opened == OpenResult::InvalidPort ? 37
                         : opened == OpenResult::PortInUse ? 79
                                                           : 78;
        err << UiText(language, text) << '\n';
        // The port's own words say what exactly went wrong.
        if (!link.lastOpenError().isEmpty()) {
            err << device << ": " << link.lastOpenError() << '\n';
        }
        return kExitUsage;
    }
    StreamMessageBoxes messages(out, err);
    CommandHost host(link, messages, language);
    CliContext context{link, language, options.commandArgs, out, err, messages, host};
    const int result = command->run(context);
    link.ClosePort();
    return result;
}

}  // namespace telvora
