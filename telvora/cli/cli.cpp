#include "telvora/cli/cli.h"

#include <QFileInfo>
#include <QTextStream>
#include <array>

#include "telvora/cli/calls_commands.h"
#include "telvora/cli/cli_context.h"
#include "telvora/cli/pb_commands.h"
#include "telvora/cli/ringtone_commands.h"
#include "telvora/cli/sms_commands.h"
#include "telvora/cli/watch_command.h"
#include "telvora/core/ui_texts.h"
#include "telvora/core/version.h"
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
    // The arguments and options in full, for "COMMAND --help"; empty when
    // usage and summary say it all.
    const char* details = "";
    // The files the command line reads: each must exist before the port is
    // opened, else it is a usage error.
    QStringList (*inputFiles)(const QStringList& args) = nullptr;
    // Given, and true for the arguments: the command runs without the port.
    bool (*withoutPhone)(const QStringList& args) = nullptr;
};

// The value after `option` in `args`, as a one-element list; empty without it.
QStringList OptionValue(const QStringList& args, const QString& option) {
    const qsizetype at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? QStringList{args[at + 1]} : QStringList{};
}

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
               &RunRingTone,
               "ringtone get           print the four user melodies\n"
               "ringtone set N MELODY  check MELODY's notation and write it as melody N (1..4)\n"},
    Subcommand{"pb", "pb read|write",
               "read sm|me [--out FILE]: print the phone book or save it as .tpb; "
               "write sm|me FILE: upload a .tpb file in its order",
               2, 4, &RunPhoneBook,
               "pb read sm|me [--out FILE]  read the SIM (sm) or phone (me) book; print it, or\n"
               "                            save it as a .tpb file\n"
               "pb write sm|me FILE         upload the .tpb file FILE in its order\n",
               [](const QStringList& args) {
                   return args.value(0) == QLatin1String("write") ? args.mid(2, 1) : QStringList{};
               }},
    Subcommand{
        "sms", "sms send|list|archive",
        "send NUMBER TEXT [--long] [--ascii]; list [--delete | --no-archive] [--csv F] [--tsv]"
        " [--phonebook F] (names from F, else from the default phone book; what is read"
        " is kept in the message archive); archive [--search TEXT] [--contact NUMBER]"
        " [--tsv] [--phonebook F]",
        1, 8, &RunSms,
        "sms send NUMBER TEXT [--long] [--ascii]\n"
        "    send TEXT to NUMBER (TEXT - reads standard input); a text that needs more than\n"
        "    one message is refused unless --long sends it as one message in parts;\n"
        "    --ascii turns letters with diacritics into their base letters, so that the\n"
        "    text stays in the 7-bit alphabet (characters it cannot carry become \"?\")\n"
        "sms list [--delete | --no-archive] [--csv FILE] [--tsv] [--phonebook FILE]\n"
        "    download the received messages, newest first, and keep them in the message\n"
        "    archive; --delete deletes each on the phone once the archive holds it,\n"
        "    --no-archive skips the archive (and refuses --delete), --csv appends them to\n"
        "    FILE, --tsv prints tab-separated lines; senders are named from --phonebook\n"
        "    FILE, else the default phone book\n"
        "sms archive [--search TEXT] [--contact NUMBER] [--tsv] [--phonebook FILE]\n"
        "    the archived messages, newest first, without the phone; --search finds words\n"
        "    whatever their case and diacritics; --tsv as sms list, the index column\n"
        "    holding the archive's number and a sixth column in or out\n",
        [](const QStringList& args) { return OptionValue(args, QStringLiteral("--phonebook")); },
        &SmsWithoutPhone},
    Subcommand{
        "watch", "watch [--tsv]",
        "print new messages and incoming calls as they come, until SIGINT or SIGTERM"
        " (exit 0); [--phonebook F] names them",
        0, 3, &RunWatch,
        "watch [--tsv] [--phonebook FILE]\n"
        "    print new messages and incoming calls as they come, until SIGINT or\n"
        "    SIGTERM (exit 0); a phone that stops answering ends it with exit 1;\n"
        "    callers and senders are named from --phonebook FILE, else the default\n"
        "    phone book\n",
        [](const QStringList& args) { return OptionValue(args, QStringLiteral("--phonebook")); }},
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
           "       telvora-cli [COMMAND] --help | --version\n"
           "\n"
           "  --device PATH  serial device, or \"demo\" for the built-in demo phone\n"
           "  --port N       Com N, 1..4 (/dev/ttyS0../dev/ttyS3)\n"
           "  --lang cs|en   language of the messages\n"
           "  -h, --help     this help; after a command, that command's usage\n"
           "  -v, --version  the version\n"
           "Without --device or --port the stored settings of telvora choose the port.\n"
           "\n"
           "Commands:\n";
    for (const Subcommand& command : kSubcommands) {
        out << "  " << QString::fromLatin1(command.usage).leftJustified(14) << ' '
            << command.summary << '\n';
    }
    out << "\nLines of \"watch --tsv\", one per event (fields as in \"sms list --tsv\"; tab, line\n"
           "feed, carriage return and backslash written as \\t, \\n, \\r, \\\\):\n"
           "  sms<TAB>store<TAB>index<TAB>time<TAB>sender<TAB>text   a new message\n"
           "  ring<TAB>number<TAB>name    an incoming call, once (name empty when unknown)\n"
           "  ended<TAB>number            the caller gave up (NO CARRIER, or no RING for 12 s)\n"
           "\nExit codes:\n"
           "  0  everything asked was done\n"
           "  1  the phone did not do all of it: no answer, an error, a store it would not\n"
           "     list (sms list prints what it did read first), a message it would not\n"
           "     delete, a phone-book position or ring tone it would not write\n"
           "  2  wrong usage, or the port cannot be opened\n"
           "telvora-cli COMMAND --help prints the usage of one command.\n";
}

// "usage: telvora-cli [OPTIONS] dial NUMBER", what it does, and its details.
void PrintCommandHelp(const Subcommand& command, QTextStream& out) {
    out << "usage: telvora-cli [--device PATH | --port N] [--lang cs|en] " << command.usage
        << "\n\n";
    // The details, where given, say all that the one-line summary says.
    if (*command.details != '\0') {
        out << command.details;
    } else {
        out << command.summary << '\n';
    }
    out << "\nExit codes: 0 success, 1 the phone did not do it, 2 usage or port error.\n";
}

bool AsksForHelp(const QStringList& args) {
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

struct Options {
    QString device;
    bool haveDevice = false;
    int port = 0;
    QString language;  // "cs", "en" or empty
    bool help = false;
    bool version = false;
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
        } else if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            options.version = true;
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
    if (options.version) {
        out << "telvora-cli " << kVersion << '\n';
        return kExitOk;
    }
    const Subcommand* command = FindSubcommand(options.command);
    if (command != nullptr && (options.help || AsksForHelp(options.commandArgs))) {
        PrintCommandHelp(*command, out);
        return kExitOk;
    }
    if (options.help) {
        PrintHelp(out);
        return kExitOk;
    }
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
        PrintCommandHelp(*command, err);
        return kExitUsage;
    }

    if (command->inputFiles != nullptr) {
        for (const QString& file : command->inputFiles(options.commandArgs)) {
            const QFileInfo info(file);
            if (!info.isFile()) {
                err << "telvora-cli: " << file << ": "
                    << (info.exists() ? "not a file" : "no such file") << "\n";
                return kExitUsage;
            }
        }
    }

    const StoredSettings stored = environment.settings->read();
    if (!environment.settings->readable()) {
        err << "telvora-cli: " << environment.settings->fileName()
            << ": the settings cannot be read; the defaults apply\n";
    }
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

    AtLink link(environment.makePort(), environment.clock ? *environment.clock : SystemClock());
    const bool withoutPhone = command->withoutPhone && command->withoutPhone(options.commandArgs);
    const OpenResult opened = withoutPhone       ? OpenResult::Ok
                              : device.isEmpty() ? OpenResult::InvalidPort
                                                 : link.OpenPort(device);
    if (opened == OpenResult::NotSerialPort) {
        err << "telvora-cli: " << device << ": " << link.lastOpenError() << '\n';
        return kExitUsage;
    }
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
