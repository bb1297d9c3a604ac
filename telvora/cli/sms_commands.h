#pragma once
// telvora-cli's message commands:
//   sms send NUMBER TEXT [--long]        TEXT "-" reads standard input
//   sms list [--delete] [--csv FILE] [--tsv]

#include <QList>
#include <QString>
#include <optional>

#include "telvora/sms/message_rows.h"

namespace telvora {

struct CliContext;

int RunSms(CliContext& context);

// The names senders and callers are shown by, as in the window: the entries
// of the phone book kept in the default file, or of `path` when one is
// given. A missing default file means no names; a given file that cannot be
// read is an error (printed; nullopt).
std::optional<QList<sms::NameAndNumber>> PhoneBookNames(CliContext& context, const QString& path);

}  // namespace telvora
