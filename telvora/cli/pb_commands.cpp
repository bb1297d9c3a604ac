#include "telvora/cli/pb_commands.h"

#include "telvora/cli/cli.h"
#include "telvora/cli/cli_context.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/phonebook/phone_book_texts.h"
#include "telvora/phonebook/read_phone_book.h"
#include "telvora/phonebook/upload_phone_book.h"

namespace telvora {
namespace {

std::optional<PhoneBookSource> SourceOf(const QString& name) {
    if (name.compare(QLatin1String("sm"), Qt::CaseInsensitive) == 0) {
        return PhoneBookSource::Sim;
    }
    if (name.compare(QLatin1String("me"), Qt::CaseInsensitive) == 0) {
        return PhoneBookSource::PhoneMemory;
    }
    return std::nullopt;
}

PhoneBookCommandSetup SetupFor(CliContext& context) {
    PhoneBookCommandSetup setup(context.host);
    setup.confirm = false;  // asked for on the command line
    return setup;
}

int Usage(CliContext& context) {
    context.err << "telvora-cli: usage: pb read sm|me [--out FILE] | pb write sm|me FILE [--cut]\n";
    return kExitUsage;
}

int Read(CliContext& context, PhoneBookSource source, const QString& file) {
    const ReadPhoneBookResult result = ReadPhoneBook(SetupFor(context)).run(source, file);
    switch (result.status) {
        case ReadPhoneBookResult::Status::Read:
            if (file.isEmpty()) {
                for (const PhoneBookEntry& entry : result.entries) {
                    context.out << entry.position << '\t' << entry.name << '\t' << entry.number
                                << '\n';
                }
                return kExitOk;
            }
            return result.fileWritten ? kExitOk : kExitFailed;
        case ReadPhoneBookResult::Status::Empty:
            return kExitOk;
        default:
            return kExitFailed;
    }
}

int Write(CliContext& context, PhoneBookSource memory, const QString& file, bool cut) {
    const PhoneBookFileLoad load = LoadPhoneBookFile(file);
    if (!load.opened) {
        context.messages.error(context.text(kTextCannotOpen).arg(file));
        return kExitFailed;
    }
    PhoneBookList entries = load.content.entries;
    if (entries.isEmpty() && load.content.skippedLines > 0) {
        // A damaged file (or one that is no phone book at all) would erase
        // every position the upload clears: the phone keeps its book.
        context.messages.error(context.text(kTextNoReadableEntry).arg(file));
        return kExitFailed;
    }
    if (load.content.skippedLines > 0) {
        context.messages.info(context.text(kTextLinesSkipped).arg(load.content.skippedLines));
    }
    if (ReplaceDoubleQuotes(entries)) {
        context.messages.info(context.text(kTextQuotesReplaced));
    }
    QList<UploadEntry> rows;
    for (const PhoneBookEntry& entry : entries) {
        rows.append({entry.name, entry.number, entry.position});
    }
    UploadPhoneBook upload(SetupFor(context));
    upload.setCutLongNames(cut);
    const UploadPhoneBookResult result = upload.run(memory, rows);
    if (result.status == UploadPhoneBookResult::Status::TooLong) {
        return kExitUsage;
    }
    if (result.status != UploadPhoneBookResult::Status::Done) {
        return kExitFailed;
    }
    context.out << context.text(kTextEntriesWritten).arg(result.written - result.erased) << '\n';
    if (result.erased > 0) {
        context.out << context.text(kTextPositionsErased).arg(result.erased) << '\n';
    }
    return result.failedPositions.isEmpty() ? kExitOk : kExitFailed;
}

}  // namespace

int RunPhoneBook(CliContext& context) {
    const QStringList& args = context.args;
    const std::optional<PhoneBookSource> source = SourceOf(args.value(1));
    if (!source) {
        return Usage(context);
    }
    if (args.value(0) == QLatin1String("read")) {
        if (args.size() == 2) {
            return Read(context, *source, {});
        }
        if (args.size() == 4 && args[2] == QLatin1String("--out")) {
            return Read(context, *source, args[3]);
        }
    } else if (args.value(0) == QLatin1String("write") && args.size() == 3) {
        return Write(context, *source, args[2], false);
    } else if (args.value(0) == QLatin1String("write") && args.size() == 4 &&
               args[3] == QLatin1String("--cut")) {
        return Write(context, *source, args[2], true);
    }
    return Usage(context);
}

}  // namespace telvora
