#pragma once
// telvora-cli's message commands:
//   sms send NUMBER TEXT [--long]        TEXT "-" reads standard input
//   sms list [--delete | --no-archive] [--csv FILE] [--tsv] [--phonebook FILE]
//   sms archive [--search TEXT] [--contact NUMBER] [--tsv] [--phonebook FILE]

#include <QStringList>

namespace telvora {

struct CliContext;

int RunSms(CliContext& context);
// True for the subcommands that read the message archive only: they need
// no phone.
bool SmsWithoutPhone(const QStringList& args);

}  // namespace telvora
