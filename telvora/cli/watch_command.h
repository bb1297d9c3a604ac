#pragma once
// telvora-cli watch [--tsv] [--phonebook FILE]: asks the phone to announce
// new messages and incoming calls, then prints one line per event until
// SIGINT or SIGTERM (exit 0). With --tsv the lines are
//   sms<TAB>store<TAB>index<TAB>time<TAB>sender<TAB>text
//   ring<TAB>number<TAB>name
//   ended<TAB>number
// with time, sender and text as "sms list --tsv" gives them.

namespace telvora {

struct CliContext;
int RunWatch(CliContext& context);

}  // namespace telvora
