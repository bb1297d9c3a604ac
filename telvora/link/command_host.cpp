#include "telvora/link/command_host.h"

#include <QTimer>

#include "telvora/link/device_names.h"

namespace telvora {

// The host's message boxes: the window's, silent while the program closes
// after cancelling a command (a question is then answered No).
class CommandHost::QuietMessages : public MessageBoxes {
public:
    QuietMessages(MessageBoxes& boxes, const bool& quiet) : m_boxes(boxes), m_quiet(quiet) {}

    void show(Kind kind, const QString& text) override {
        if (!m_quiet) {
            m_boxes.show(kind, text);
        }
    }
    bool askYesNo(Kind kind, const QString& text) override {
        return !m_quiet && m_boxes.askYesNo(kind, text);
    }
    bool askOkCancel(Kind kind, const QString& text) override {
        return !m_quiet && m_boxes.askOkCancel(kind, text);
    }

private:
    MessageBoxes& m_boxes;
    const bool& m_quiet;
};

CommandHost::CommandHost(AtLink& link, MessageBoxes& messages, Language language, QObject* parent)
    : QObject(parent),
      m_link(link),
      m_messages(messages),
      m_quiet(std::make_unique<QuietMessages>(messages, m_quietly)),
      m_language(language) {
    // The command that held the port gave it back: what waited for it runs.
    connect(&m_link, &AtLink::busyChanged, this, [this](bool busy) {
        if (!busy) {
            runPending();
        }
    });
}

CommandHost::~CommandHost() = default;

bool CommandHost::simulated() const {
    return m_link.device() == QLatin1String(kDemoDevice);
}

MessageBoxes& CommandHost::messages() const {
    return *m_quiet;
}

bool CommandHost::CheckLink(PortLease& lease) const {
    if (m_linkCheck) {
        return m_linkCheck(lease);
    }
    return lease.CheckLink() == LinkState::Connected;
}

CommandHost::LinkCheck CommandHost::linkCheck() const {
    return [this](PortLease& lease) { return CheckLink(lease); };
}

std::optional<PortLease> CommandHost::acquire() {
    std::optional<PortLease> lease = m_link.tryAcquire();
    if (!lease) {
        messages().error(text(kTextCommandRunning));
    }
    return lease;
}

std::optional<PortLease> CommandHost::begin(int notConnectedText, const LinkCheck& check) {
    std::optional<PortLease> lease = acquire();
    if (!lease) {
        return std::nullopt;
    }
    if (!beginHeld(*lease, notConnectedText, check)) {
        return std::nullopt;
    }
    return lease;
}

bool CommandHost::beginHeld(PortLease& lease, int notConnectedText, const LinkCheck& check) {
    if (!(check ? check(lease) : CheckLink(lease))) {
        messages().error(text(notConnectedText));
        return false;
    }
    emit commandBegan();
    return true;
}

void CommandHost::showProgress(const QString& text, bool cancellable) {
    if (m_progress) {
        m_progress->showProgress(text, cancellable, 0, 0);
    }
}

void CommandHost::showProgress(const QString& text, int done, int total, bool cancellable) {
    if (m_progress) {
        m_progress->showProgress(text, cancellable, done, total);
    }
}

void CommandHost::closeProgress() {
    if (m_progress) {
        m_progress->closeProgress();
    }
}

void CommandHost::lockMenus(bool locked) {
    if (m_menuLock) {
        m_menuLock(locked);
    }
}

CommandHost::Scope::Scope(CommandHost& host) : m_host(&host) {
    if (host.m_scopes++ == 0 && host.m_menuLock) {
        host.m_menuLock(true);
    }
}

CommandHost::Scope::~Scope() {
    if (!m_host) {
        return;
    }
    if (--m_host->m_scopes == 0) {
        m_host->closeProgress();
        if (m_host->m_menuLock) {
            m_host->m_menuLock(false);
        }
        m_host->runPending();
    }
}

void CommandHost::afterCommand(std::function<void()> action, bool quietly) {
    m_pending.append(std::move(action));
    if (quietly) {
        m_quietly = true;
    }
    if (running()) {
        cancel();
    } else {
        runPending();
    }
}

void CommandHost::runPending() {
    if (running() || m_pending.isEmpty()) {
        return;
    }
    // From the event loop, once the command's own handlers have returned.
    QTimer::singleShot(0, this, [this] {
        if (running()) {
            return;  // another command began meanwhile; its end runs them
        }
        m_quietly = false;
        const QList<std::function<void()>> actions = std::exchange(m_pending, {});
        for (const auto& action : actions) {
            action();
        }
    });
}

}  // namespace telvora
