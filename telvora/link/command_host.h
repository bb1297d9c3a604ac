#pragma once
// CommandHost: what every command that talks to the phone shares, and the
// one place where a command starts. It holds the link, the message boxes,
// the language, the link check (the window's also shows the state in its
// title) and the progress window. begin() does the opening of every command:
// the port, or text 82 and nothing written; then the link check, or text 38.
//
// The window and the command line each make one host. While a command runs
// the window keeps handling input, so that Cancel in the progress window,
// Exit or closing the window can end it; a second command finds the port
// held (text 82), and anything that must wait for the running command to
// end (closing the port, quitting) goes to afterCommand().

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "telvora/core/message_boxes.h"
#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"

namespace telvora {

// The progress window as commands see it (frmWorking in the window).
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Shows `text`; with a Cancel button when the command can be cancelled,
    // and with a bar at step `done` of `total` when the count is known
    // (`total` 0: unknown, no bar).
    virtual void showProgress(const QString& text, bool cancellable, int done, int total) = 0;
    virtual void closeProgress() = 0;
};

class CommandHost : public QObject {
    Q_OBJECT
public:
    // The link check a command runs first, under the lease it holds; true
    // when the phone answered.
    using LinkCheck = std::function<bool(PortLease&)>;

    CommandHost(AtLink& link, MessageBoxes& messages, Language language, QObject* parent = nullptr);
    ~CommandHost() override;

    AtLink& link() const { return m_link; }
    // The message boxes commands report through. While the program closes
    // after cancelling a command, what that command still reports is dropped.
    MessageBoxes& messages() const;
    Language language() const { return m_language; }
    void setLanguage(Language language) { m_language = language; }
    QString text(int n) const { return UiText(m_language, n); }
    // True while the built-in demo phone is the link's device: nothing
    // reaches a real network.
    bool simulated() const;

    // Empty: the plain check ("AT" answered with "OK").
    void setLinkCheck(LinkCheck check) { m_linkCheck = std::move(check); }
    bool CheckLink(PortLease& lease) const;
    LinkCheck linkCheck() const;

    // Not owned; null: no progress is shown (the command line).
    void setProgressWindow(ProgressWindow* window) { m_progress = window; }
    // Locks (true) and unlocks the window's menus around a long command.
    void setMenuLock(std::function<void(bool locked)> lock) { m_menuLock = std::move(lock); }

    // The opening of every command: the port (else text 82), then the link
    // check (else `notConnectedText`). Nothing when either failed; the link
    // is then still Busy only when another command holds the port.
    // `check`, when given, replaces the host's link check for this command.
    std::optional<PortLease> begin(int notConnectedText = 38, const LinkCheck& check = {});
    // The first half of begin(): the port, or text 82; for a window that
    // holds the port while it is open and checks the link before each action.
    std::optional<PortLease> acquire();
    // The second half: the link check, for a command that holds the port
    // already (a call in progress).
    bool beginHeld(PortLease& lease, int notConnectedText = 38, const LinkCheck& check = {});

    // Text only: the count is unknown.
    void showProgress(const QString& text, bool cancellable = true);
    // The same with the count known: the step being done, 1 to `total`.
    void showProgress(const QString& text, int done, int total, bool cancellable = true);
    void closeProgress();
    // For a command that spans several handlers (a call that is up).
    void lockMenus(bool locked);

    // A long command as the window runs it: menus locked for its life, the
    // progress window closed and the menus unlocked at its end. Nested
    // scopes count as one.
    class Scope {
    public:
        explicit Scope(CommandHost& host);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        QPointer<CommandHost> m_host;
    };
    // True while a Scope lives or a command holds the port.
    bool running() const { return m_scopes > 0 || m_link.Busy(); }

    // Cancels the running command: its waits end at once.
    void cancel() { m_link.cancel(); }
    // Runs `action` once no command runs: at once (from the event loop)
    // when none does; else the running command is cancelled first and
    // `action` runs after it ended. Messages the cancelled command still
    // reports are dropped when `quietly`.
    void afterCommand(std::function<void()> action, bool quietly = false);

signals:
    // A command began (it holds the port and the phone answered).
    void commandBegan();

private:
    class QuietMessages;
    void runPending();

    AtLink& m_link;
    MessageBoxes& m_messages;
    std::unique_ptr<QuietMessages> m_quiet;
    Language m_language;
    LinkCheck m_linkCheck;
    ProgressWindow* m_progress = nullptr;
    std::function<void(bool)> m_menuLock;
    int m_scopes = 0;
    bool m_quietly = false;
    QList<std::function<void()>> m_pending;
};

}  // namespace telvora
