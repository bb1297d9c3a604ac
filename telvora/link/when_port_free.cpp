#include "telvora/link/when_port_free.h"

namespace telvora {
namespace {

// One waiting job; deletes itself once it ran.
class WaitingJob : public QObject {
public:
    WaitingJob(AtLink& link, QObject* context, std::function<void(PortLease&)> job)
        : QObject(context), m_link(link), m_job(std::move(job)) {
        connect(&m_link, &AtLink::busyChanged, this, [this](bool busy) {
            if (!busy) {
                tryLater();
            }
        });
        tryLater();
    }

private:
    void tryLater() {
        // Never from inside the release of another command's lease.
        m_link.clock().callAfter(0, this, [this] { tryNow(); });
    }
    void tryNow() {
        if (m_done || m_link.Busy()) {
            return;  // not even a background poll is asked to give way
        }
        std::optional<PortLease> lease = m_link.tryAcquire();
        if (!lease) {
            return;  // busyChanged(false) brings the next try
        }
        m_done = true;
        m_job(*lease);
        lease.reset();
        deleteLater();
    }

    AtLink& m_link;
    std::function<void(PortLease&)> m_job;
    bool m_done = false;
};

}  // namespace

void RunWhenPortFree(AtLink& link, QObject* context, std::function<void(PortLease&)> job) {
    new WaitingJob(link, context, std::move(job));
}

}  // namespace telvora
