#pragma once
// telvora-cli's message commands:
//   sms send NUMBER TEXT [--long]        TEXT "-" reads standard input
//   sms list [--delete] [--csv FILE] [--tsv]

namespace telvora {

struct CliContext;

int RunSms(CliContext& context);

}  // namespace telvora
