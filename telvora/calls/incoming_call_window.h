#pragma once
// IncomingCallWindow: the window's part in incoming calls. Whenever the
// phone answers (again), it asks the phone to name callers (AT+CLIP=1). A
// ringing call shows frmIncomingCall with the caller by phone-book name when
// known; Answer and Reject run IncomingCall's commands; a caller who gives
// up closes the window and leaves a "missed call" notice. The window gives
// what it owns through IncomingCallHooks.

#include <QObject>
#include <QPointer>
#include <functional>

#include "telvora/calls/incoming_call.h"
#include "telvora/core/ui_texts.h"

class QWidget;

namespace telvora {

class MessageBoxes;
class frmIncomingCall;

struct IncomingCallHooks {
    QWidget* parent = nullptr;  // the call window's parent
    std::function<Language()> language;
    // The phone-book name of a number; empty when unknown.
    std::function<QString(const QString& number)> nameOf;
    std::function<void(const QString&)> notify;  // status line, attention, tray
};

class IncomingCallWindow : public QObject {
    Q_OBJECT
public:
    IncomingCallWindow(IncomingCallHooks hooks, AtLink& link, MessageBoxes& messages,
                       QObject* parent = nullptr);
    ~IncomingCallWindow() override;

    frmIncomingCall& dialog() { return *m_dialog; }
    const IncomingCall& call() const { return m_call; }

    void cmbPrijmout_Click();
    void cmbOdmitnout_Click();
    // The main window's Hang up was pressed: it ended a ringing call too.
    void HungUpHere();
    void ApplyLanguage();

private:
    void enableCallerId();
    void ringing(const QString& number);
    void ended(const QString& number);
    // The caller as shown: "name (number)", the number, or text 194.
    QString caller(const QString& number) const;
    // Ends a click: closes the window or says why the call is still there.
    void finish(IncomingCall::Result result, int doneText, int failedText);
    QString text(int n) const { return UiText(m_hooks.language(), n); }

    IncomingCallHooks m_hooks;
    AtLink& m_link;
    MessageBoxes& m_messages;
    IncomingCall m_call;
    QPointer<frmIncomingCall> m_dialog;  // owned; also a child of the parent window
    bool m_enabling = false;
};

}  // namespace telvora
