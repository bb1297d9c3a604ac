#pragma once
// One poll of the operator and the signal strength, for the signal label.

#include <QObject>
#include <functional>
#include <optional>

#include "telvora/calls/network_status.h"
#include "telvora/calls/phone_call.h"

namespace telvora {

// Asks the phone for its operator ("AT+COPS?") and signal ("AT+CSQ"), each
// answer taken within timeouts::kStatusMs (sooner when it ends early).
// Nothing is written while another command holds the port, and nothing
// beyond the link check when the phone does not answer: both give nullopt.
std::optional<NetworkStatus> PollNetworkStatus(AtLink& link, const LinkCheck& check);

// The same poll for a window, without blocking it: the link check, then
// "AT+COPS?" and "AT+CSQ", each step started when the answer before it is
// in, under a background lease. A command that wants the port meanwhile
// gets it after the step in flight, and the poll then ends without a result.
class NetworkPoller : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const NetworkStatus&)>;
    explicit NetworkPoller(AtLink& link, QObject* parent = nullptr);
    ~NetworkPoller() override;

    // Starts one poll; `done` gets the status once it is complete. False
    // (nothing written) while anything holds the port.
    bool start(Done done);
    bool running() const { return m_lease.has_value(); }

private:
    // True when the poll must end after its step: the phone did not answer,
    // the command was cancelled, or a command waits for the port.
    bool ended(bool answered);
    void finish();

    AtLink& m_link;
    std::optional<PortLease> m_lease;
    NetworkStatus m_status;
    Done m_done;
};

}  // namespace telvora
