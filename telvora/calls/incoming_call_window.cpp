#include "telvora/calls/incoming_call_window.h"

#include <QPushButton>

#include "telvora/calls/frm_incoming_call.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/when_port_free.h"

namespace telvora {

IncomingCallWindow::IncomingCallWindow(IncomingCallHooks hooks, AtLink& link,
                                       MessageBoxes& messages, QObject* parent)
    : QObject(parent),
      m_hooks(std::move(hooks)),
      m_link(link),
      m_messages(messages),
      m_call(link),
      m_dialog(new frmIncomingCall(m_hooks.parent)) {
    m_dialog->ApplyLanguage(m_hooks.language());
    connect(m_dialog->cmbPrijmout, &QPushButton::clicked, this,
            &IncomingCallWindow::cmbPrijmout_Click);
    connect(m_dialog->cmbOdmitnout, &QPushButton::clicked, this,
            &IncomingCallWindow::cmbOdmitnout_Click);
    connect(&m_call, &IncomingCall::ringing, this, &IncomingCallWindow::ringing);
    connect(&m_call, &IncomingCall::ended, this, &IncomingCallWindow::ended);
    // A phone switched off and on again forgets what it was asked.
    connect(&m_link, &AtLink::connectedChanged, this, [this](bool connected) {
        if (connected) {
            enableCallerId();
        }
    });
    if (m_link.Connected()) {
        enableCallerId();
    }
}

IncomingCallWindow::~IncomingCallWindow() {
    delete m_dialog;  // unless its parent window went first
}

void IncomingCallWindow::enableCallerId() {
    if (m_enabling) {
        return;
    }
    m_enabling = true;
    RunWhenPortFree(m_link, this, [this](PortLease& lease) {
        m_enabling = false;
        IncomingCall::EnableCallerId(lease);
    });
}

QString IncomingCallWindow::caller(const QString& number) const {
    if (number.isEmpty()) {
        return text(kTextUnknownNumber);
    }
    const QString name = m_hooks.nameOf ? m_hooks.nameOf(number) : QString();
    return name.isEmpty() ? number : name + QStringLiteral(" (") + number + u')';
}

void IncomingCallWindow::ringing(const QString& number) {
    const QString shown = caller(number);
    m_dialog->showCaller(m_hooks.language(), shown);
    m_dialog->setBusy(false);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
    m_hooks.notify(text(kTextCalling).arg(shown));
}

void IncomingCallWindow::ended(const QString& number) {
    m_dialog->hide();
    m_hooks.notify(text(kTextMissedCall).arg(caller(number)));
}

void IncomingCallWindow::cmbPrijmout_Click() {
    const QString number = m_call.number();
    m_dialog->setBusy(true);
    const IncomingCall::Result result = m_call.Answer();
    if (result == IncomingCall::Result::Done) {
        m_hooks.notify(text(kTextCallAnswered).arg(caller(number)));
    }
    finish(result, 0, kTextNotAnswered);
}

void IncomingCallWindow::cmbOdmitnout_Click() {
    m_dialog->setBusy(true);
    finish(m_call.Reject(), kTextCallRejected, kTextNotRejected);
}

void IncomingCallWindow::HungUpHere() {
    if (m_call.state() == IncomingCall::State::Ringing) {
        m_call.endedHere();
        m_dialog->hide();
    }
}

void IncomingCallWindow::finish(IncomingCall::Result result, int doneText, int failedText) {
    m_dialog->setBusy(false);
    switch (result) {
        case IncomingCall::Result::Done:
            if (doneText != 0) {
                m_hooks.notify(text(doneText));
            }
            m_dialog->hide();
            break;
        case IncomingCall::Result::Gone:
            m_dialog->hide();
            break;
        case IncomingCall::Result::PortBusy:
            m_messages.error(text(kTextCommandRunning));
            break;
        case IncomingCall::Result::Failed:
            m_messages.error(text(failedText));
            break;
    }
}

void IncomingCallWindow::ApplyLanguage() {
    m_dialog->ApplyLanguage(m_hooks.language());
}

}  // namespace telvora
