#pragma once
// telvora-cli subcommands of calls and network status:
//   status       the operator and the signal bar, two lines
//   dial NUMBER  dials a voice call; the call stays up on the phone
//   hangup       hangs up whatever call the phone has
// Each run of telvora-cli is a process of its own and gives the port back
// when it ends, so a call dialed by one run is hung up by a later "hangup"
// run, which ends the phone's call whoever placed it.

namespace telvora {

struct CliContext;

int RunStatus(CliContext& context);
int RunDial(CliContext& context);
int RunHangUp(CliContext& context);

}  // namespace telvora
