#pragma once
// One poll of the operator and the signal strength, for the signal label.

#include <optional>

#include "telvora/calls/network_status.h"
#include "telvora/calls/phone_call.h"

namespace telvora {

// Asks the phone for its operator ("AT+COPS?") and signal ("AT+CSQ"), each
// answer taken within timeouts::kStatusMs (sooner when it ends early).
// Nothing is written while another command holds the port, and nothing
// beyond the link check when the phone does not answer: both give nullopt.
std::optional<NetworkStatus> PollNetworkStatus(AtLink& link, const LinkCheck& check);

}  // namespace telvora
