#include "telvora/cli/sms_commands.h"

#include <QFile>

#include "telvora/cli/cli.h"
#include "telvora/cli/cli_context.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/sms/composer_rules.h"
#include "telvora/sms/message_csv.h"
#include "telvora/sms/message_file.h"
#include "telvora/sms/sms_reader.h"
#include "telvora/sms/sms_sender.h"
#include "telvora/sms/sms_texts.h"

namespace telvora {
namespace {

constexpr char kSendUsage[] =
    "usage: telvora-cli sms send NUMBER TEXT [--long]  (TEXT - reads standard input)\n";
constexpr char kListUsage[] =
    "usage: telvora-cli sms list [--delete] [--csv FILE] [--tsv] [--phonebook FILE]\n";

QString ReadStandardInput() {
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromUtf8(input.readAll());
    while (text.endsWith(u'\n') || text.endsWith(u'\r')) {
        text.chop(1);
    }
    return text;
}

int RunSend(CliContext& context, QStringList args) {
    const bool longText = args.removeAll(QStringLiteral("--long")) > 0;
    if (args.size() != 2) {
        context.err << kSendUsage;
        return kExitUsage;
    }
    const QString text =
        sms::CarriableText(args[1] == QLatin1String("-") ? ReadStandardInput() : args[1]);
    sms::SmsSender sender(context.host);
    switch (sender.Send(args[0], text, longText)) {
        case sms::SendOutcome::Sent:
            context.out << context.withSimulatedNote(context.text(sms::kTextMessageSent)) << '\n';
            return kExitOk;
        case sms::SendOutcome::InvalidInput:
            return kExitUsage;
        default:
            return kExitFailed;
    }
}

// One line of the plain listing: time, sender and the text on one line.
QString PlainLine(const sms::MessageRow& row) {
    QString text = row.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
    return row.time + QStringLiteral("  ") + row.sender + QStringLiteral("  ") + text;
}

// The names senders are shown by, as in the window: the entries of the
// phone book kept in the default file, or of `path` when one is given. A
// missing default file means no names; a given file that cannot be read is
// an error.
std::optional<QList<sms::NameAndNumber>> SenderNames(CliContext& context, const QString& path) {
    const QString file = path.isEmpty() ? DefaultPhoneBookFile() : path;
    if (path.isEmpty() && !QFile::exists(file)) {
        return QList<sms::NameAndNumber>();
    }
    const PhoneBookFileLoad load = LoadPhoneBookFile(file);
    if (!load.opened) {
        context.err << file << ": " << load.error << '\n';
        return std::nullopt;
    }
    QList<sms::NameAndNumber> names;
    for (const PhoneBookEntry& entry : load.content.entries) {
        names.append({entry.name, entry.number});
    }
    return names;
}

int RunList(CliContext& context, const QStringList& args) {
    bool deleteAfter = false;
    bool tsv = false;
    QString csvPath;
    QString phoneBookPath;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--delete")) {
            deleteAfter = true;
        } else if (args[i] == QLatin1String("--tsv")) {
            tsv = true;
        } else if (args[i] == QLatin1String("--csv") && i + 1 < args.size()) {
            csvPath = sms::CsvFilePath(args[++i]);
        } else if (args[i] == QLatin1String("--phonebook") && i + 1 < args.size()) {
            phoneBookPath = args[++i];
        } else {
            context.err << kListUsage;
            return kExitUsage;
        }
    }
    const std::optional<QList<sms::NameAndNumber>> names = SenderNames(context, phoneBookPath);
    if (!names) {
        return kExitUsage;
    }
    sms::SmsReader reader(context.host);
    const std::optional<QList<sms::MessageRow>> rows = reader.ReadMessages(deleteAfter, *names);
    if (!rows) {
        return kExitFailed;
    }
    for (const sms::MessageRow& row : *rows) {
        context.out << (tsv ? sms::TsvLine(row) : PlainLine(row)) << '\n';
    }
    QString error;
    if (!csvPath.isEmpty() && !sms::AppendMessagesCsv(csvPath, *rows, &error)) {
        context.messages.error(context.text(sms::kTextCsvNotWritten).arg(csvPath) + u' ' + error);
        return kExitFailed;
    }
    // A cut download, a refused store or a message left undeleted is no success.
    return reader.allDone() ? kExitOk : kExitFailed;
}

}  // namespace

int RunSms(CliContext& context) {
    const QString action = context.args.value(0);
    if (action == QLatin1String("send")) {
        return RunSend(context, context.args.mid(1));
    }
    if (action == QLatin1String("list")) {
        return RunList(context, context.args.mid(1));
    }
    context.err << kSendUsage << kListUsage;
    return kExitUsage;
}

}  // namespace telvora
