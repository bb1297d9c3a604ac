#include "telvora/cli/calls_commands.h"

#include "telvora/calls/network_poll.h"
#include "telvora/calls/number_field.h"
#include "telvora/calls/phone_call.h"
#include "telvora/cli/cli.h"
#include "telvora/cli/cli_context.h"

namespace telvora {
namespace {

constexpr int kTextNotADialNumber = 170;
constexpr int kTextHungUp = 171;

}  // namespace

int RunStatus(CliContext& context) {
    const std::optional<NetworkStatus> status = PollNetworkStatus(context.link, PlainLinkCheck());
    if (!status) {
        context.messages.error(context.text(38));
        return kExitFailed;
    }
    context.out << SignalCaption(*status) << '\n';
    return kExitOk;
}

int RunDial(CliContext& context) {
    const QString number = context.args.value(0).trimmed();
    if (!IsDialableNumber(number)) {
        context.messages.error(context.text(kTextNotADialNumber));
        return kExitUsage;
    }
    PhoneCall call(context.host);
    if (call.Dial(number) != PhoneCall::DialResult::CallUp) {
        return kExitFailed;
    }
    context.out << context.withSimulatedNote(context.text(44)) << '\n';
    return kExitOk;
}

int RunHangUp(CliContext& context) {
    PhoneCall call(context.host);
    if (call.HangUp() != PhoneCall::HangUpResult::HungUp) {
        return kExitFailed;
    }
    context.out << context.text(kTextHungUp) << '\n';
    return kExitOk;
}

}  // namespace telvora
