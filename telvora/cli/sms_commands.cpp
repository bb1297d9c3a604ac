#include "telvora/cli/sms_commands.h"

#include <QFile>

#include "telvora/cli/cli.h"
#include "telvora/cli/cli_context.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/sms/message_archive.h"
#include "telvora/sms/message_csv.h"
#include "telvora/sms/message_file.h"
#include "telvora/sms/message_plan.h"
#include "telvora/sms/sms_reader.h"
#include "telvora/sms/sms_sender.h"
#include "telvora/sms/sms_texts.h"

namespace telvora {
namespace {

constexpr char kSendUsage[] =
    "usage: telvora-cli sms send NUMBER TEXT [--long] [--ascii]  (TEXT - reads standard input)\n";
constexpr char kListUsage[] =
    "usage: telvora-cli sms list [--delete | --no-archive] [--csv FILE] [--tsv] [--phonebook "
    "FILE]\n";
constexpr char kArchiveUsage[] =
    "usage: telvora-cli sms archive [--search TEXT] [--contact NUMBER] [--tsv] [--phonebook "
    "FILE]\n";

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
    const bool ascii = args.removeAll(QStringLiteral("--ascii")) > 0;
    if (args.size() != 2) {
        context.err << kSendUsage;
        return kExitUsage;
    }
    const QString text = args[1] == QLatin1String("-") ? ReadStandardInput() : args[1];
    const sms::MessagePlan plan = sms::PlanMessage(text, ascii);
    if (!longText && plan.partCount() > 1 && !plan.tooLong()) {
        context.err << context.text(sms::kTextNeedsLong).arg(plan.partCount()) << '\n';
        return kExitUsage;
    }
    if (!plan.replaced.isEmpty()) {
        context.err << context.text(sms::kTextReplacedByQuestion)
                           .arg(sms::ReplacedCharactersText(plan.replaced))
                    << '\n';
    }
    sms::SmsSender sender(context.host);
    sender.setAskAboutReplaced(false);
    // What went to the phone is kept in the archive, whether or not it was accepted.
    sender.setRecord([&context](const QString& digits, const QString& sent, sms::DataCoding coding,
                                const QList<bool>& accepted) {
        sms::MessageArchive archive(sms::MessageArchive::defaultPath());
        if (!archive.store(
                {sms::SentMessage(digits, sent, coding, accepted, QDateTime::currentDateTime())})) {
            context.messages.error(archive.problem().describe(context.language));
        }
    });
    switch (sender.Send(args[0], text, longText, ascii)) {
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

// Keeps what the reader read in the archive before anything is deleted.
sms::SmsReader::Keeper KeeperFor(sms::MessageArchive& archive, Language language) {
    return [&archive, language](const QString& phone, const QList<sms::ReadMessage>& read) {
        const bool kept = archive.store(sms::ReceivedMessages(read, phone));
        return sms::SmsReader::KeepResult{kept, archive.problem().describe(language)};
    };
}

int RunList(CliContext& context, const QStringList& args) {
    bool deleteAfter = false;
    bool tsv = false;
    bool archived = true;
    QString csvPath;
    QString phoneBookPath;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--delete")) {
            deleteAfter = true;
        } else if (args[i] == QLatin1String("--no-archive")) {
            archived = false;
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
    if (deleteAfter && !archived) {
        context.err << kListUsage;  // a message deleted unarchived would live nowhere
        return kExitUsage;
    }
    const std::optional<QList<sms::NameAndNumber>> names = PhoneBookNames(context, phoneBookPath);
    if (!names) {
        return kExitUsage;
    }
    sms::SmsReader reader(context.host);
    std::optional<sms::MessageArchive> archive;
    if (archived) {
        archive.emplace(sms::MessageArchive::defaultPath());
        reader.setKeeper(KeeperFor(*archive, context.language));
    }
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
    // A cut download, or deletes left undone, is no success.
    // A cut download, a refused store or a message left undeleted is no success.
    return reader.allDone() ? kExitOk : kExitFailed;
}

int RunArchive(CliContext& context, const QStringList& args) {
    sms::ArchiveQuery query;
    bool tsv = false;
    QString phoneBookPath;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--tsv")) {
            tsv = true;
        } else if (args[i] == QLatin1String("--search") && i + 1 < args.size()) {
            query.search = args[++i];
        } else if (args[i] == QLatin1String("--contact") && i + 1 < args.size()) {
            query.contact = args[++i];
        } else if (args[i] == QLatin1String("--phonebook") && i + 1 < args.size()) {
            phoneBookPath = args[++i];
        } else {
            context.err << kArchiveUsage;
            return kExitUsage;
        }
    }
    const std::optional<QList<sms::NameAndNumber>> names = PhoneBookNames(context, phoneBookPath);
    if (!names) {
        return kExitUsage;
    }
    const sms::MessageArchive archive(sms::MessageArchive::defaultPath());
    if (!archive.usable()) {
        context.messages.error(archive.problem().describe(context.language));
        return kExitFailed;
    }
    for (const sms::ArchivedMessage& message : archive.find(query)) {
        QList<sms::MessageRow> row{sms::ArchiveRow(message)};
        sms::ResolveSenderNames(row, *names);
        const bool out = message.direction == sms::Direction::Out;
        if (tsv) {
            context.out << sms::TsvLine(row[0]) << (out ? "\tout\n" : "\tin\n");
        } else {
            // Received messages point in, sent ones out.
            context.out << row[0].time << (out ? "  >  " : "  <  ")
                        << PlainLine(row[0]).mid(row[0].time.size() + 2) << '\n';
        }
    }
    return kExitOk;
}

}  // namespace

bool SmsWithoutPhone(const QStringList& args) {
    return args.value(0) == QLatin1String("archive");
}

std::optional<QList<sms::NameAndNumber>> PhoneBookNames(CliContext& context, const QString& path) {
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

int RunSms(CliContext& context) {
    const QString action = context.args.value(0);
    if (action == QLatin1String("send")) {
        return RunSend(context, context.args.mid(1));
    }
    if (action == QLatin1String("list")) {
        return RunList(context, context.args.mid(1));
    }
    if (action == QLatin1String("archive")) {
        return RunArchive(context, context.args.mid(1));
    }
    context.err << kSendUsage << kListUsage << kArchiveUsage;
    return kExitUsage;
}

}  // namespace telvora
