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

NetworkPoller::NetworkPoller(AtLink& link, QObject* parent) : QObject(parent), m_link(link) {}

NetworkPoller::~NetworkPoller() = default;

bool NetworkPoller::start(Done done) {
    if (m_lease) {
        return false;
    }
    m_lease = m_link.tryAcquireInBackground();
    if (!m_lease) {
        return false;
    }
    m_done = std::move(done);
    m_status = {};
    m_lease->CheckLinkLater(this, [this](LinkState state) {
        if (ended(state == LinkState::Connected)) {
            return;
        }
        m_lease->ExchangeLater("AT+COPS?", timeouts::kStatusMs, this, [this](const QByteArray& op) {
            m_status.operatorName = ParseOperatorName(op);
            if (ended(true)) {
                return;
            }
            m_lease->ExchangeLater("AT+CSQ", timeouts::kStatusMs, this,
                                   [this](const QByteArray& s) {
                                       m_status.signal = ParseSignalValue(s);
                                       const Done done = std::move(m_done);
                                       finish();
                                       if (done) {
                                           done(m_status);
                                       }
                                   });
        });
    });
    return true;
}

bool NetworkPoller::ended(bool answered) {
    if (answered && m_lease->holds() && !m_lease->cancelled() && !m_lease->yieldRequested()) {
        return false;
    }
    finish();
    return true;
}

void NetworkPoller::finish() {
    m_done = nullptr;
    m_lease.reset();  // the port goes back; a command waiting for it takes it
}

}  // namespace telvora
