#pragma once
// telvora-cli's phone-book subcommands:
//   pb read sm|me [--out FILE]   print the entries, or write them to a .tpb file
//   pb write sm|me FILE          upload a .tpb file in its order

namespace telvora {

struct CliContext;

int RunPhoneBook(CliContext& context);

}  // namespace telvora
