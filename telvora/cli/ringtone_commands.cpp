#include "telvora/cli/ringtone_commands.h"

#include "telvora/cli/cli.h"
#include "telvora/cli/cli_context.h"
#include "telvora/link/at_link.h"
#include "telvora/ringtone/ring_tones.h"

namespace telvora {
namespace {

constexpr int kTextBadMelodyNumber = 172;

int GetMelodies(CliContext& context, RingTones& tones, PortLease& lease) {
    const MelodiesRead read = tones.ReadMelodies(lease);
    if (read.result != RingToneResult::Ok) {
        return kExitFailed;
    }
    for (int n = 1; n <= kMelodyCount; ++n) {
        context.out << MelodyLabel(context.language, n) << ": " << read.list.melodies[n - 1]
                    << '\n';
    }
    return kExitOk;
}

int SetMelody(CliContext& context, RingTones& tones, PortLease& lease) {
    bool ok = false;
    const int number = context.args.value(1).toInt(&ok);
    if (!ok || number < 1 || number > kMelodyCount) {
        context.messages.error(context.text(kTextBadMelodyNumber));
        return kExitUsage;
    }
    switch (tones.Upload(lease, number, context.args.value(2))) {
        case RingToneResult::Ok:
            return kExitOk;
        case RingToneResult::Refused:
            return kExitUsage;
        default:
            return kExitFailed;
    }
}

}  // namespace

int RunRingTone(CliContext& context) {
    const QString action = context.args.value(0);
    const bool get = action == QLatin1String("get") && context.args.size() == 1;
    const bool set = action == QLatin1String("set") && context.args.size() == 3;
    if (!get && !set) {
        context.err << "telvora-cli: ringtone takes \"get\" or \"set N MELODY\"\n";
        return kExitUsage;
    }
    std::optional<PortLease> lease = context.link.tryAcquire();
    if (!lease) {
        context.messages.error(context.text(kTextCommandRunning));
        return kExitFailed;
    }
    RingTones tones(context.messages, context.language);
    return get ? GetMelodies(context, tones, *lease) : SetMelody(context, tones, *lease);
}

}  // namespace telvora
