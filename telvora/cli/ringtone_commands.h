#pragma once
// telvora-cli subcommand of the ring tones:
//   ringtone get             the phone's four user melodies, one a line
//   ringtone set N MELODY    checks MELODY as the ring-tone window does and
//                            writes it as melody N (1..4)

namespace telvora {

struct CliContext;

int RunRingTone(CliContext& context);

}  // namespace telvora
