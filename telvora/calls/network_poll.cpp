#include "telvora/calls/network_poll.h"

#include "telvora/link/timeouts.h"

namespace telvora {

std::optional<NetworkStatus> PollNetworkStatus(AtLink& link, const LinkCheck& check) {
    std::optional<PortLease> lease = link.tryAcquire();
    if (!lease || !(check ? check(*lease) : PlainLinkCheck()(*lease))) {
        return std::nullopt;
    }
    NetworkStatus status;
    status.operatorName = ParseOperatorName(lease->Exchange("AT+COPS?", timeouts::kStatusMs));
    status.signal = ParseSignalValue(lease->Exchange("AT+CSQ", timeouts::kStatusMs));
    return status;
}

}  // namespace telvora
