#pragma once
// telvora-cli's message commands:
//   sms send NUMBER TEXT [--long]        TEXT "-" reads standard input
//   sms list [--delete | --no-archive] [--csv FILE] [--tsv] [--phonebook FILE]
//   sms archive [--search TEXT] [--contact NUMBER] [--tsv] [--phonebook FILE]

#include <QStringList>

#include <QList>
#include <QString>
#include <optional>

#include "telvora/sms/message_rows.h"

namespace telvora {

struct CliContext;

int RunSms(CliContext& context);
// True for the subcommands that read the message archive only: they need
// no phone.
bool SmsWithoutPhone(const QStringList& args);

// The names senders and callers are shown by, as in the window: the entries
// of the phone book kept in the default file, or of `path` when one is
// given. A missing default file means no names; a given file that cannot be
// read is an error (printed; nullopt).
std::optional<QList<sms::NameAndNumber>> PhoneBookNames(CliContext& context, const QString& path);

}  // namespace telvora
