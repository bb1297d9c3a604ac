#pragma once
// CallControls: the main window's number field, Dial and Hang up buttons
// and the signal label, connected to the call and poll commands. The window
// passes its controls and its CommandHost (menu lock, progress window, link
// check); this class holds no logic of its own beyond which command a
// control runs and what is shown afterwards.

#include <QObject>
#include <functional>

#include "telvora/calls/network_poll.h"
#include "telvora/calls/phone_call.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace telvora {

// The main window's part in calls and network status.
struct CallWindow {
    QLineEdit* txtNumber = nullptr;
    QPushButton* cmbVytocit = nullptr;  // Dial
    QPushButton* cmbZavesit = nullptr;  // Hang up
    QLabel* lblSignal = nullptr;        // operator and signal bar
};

class CallControls : public QObject {
    Q_OBJECT
public:
    CallControls(CallWindow window, CommandHost& host, QObject* parent = nullptr);

    // TimerSignal_Timer: operator and signal into lblSignal once the phone
    // answered; returns at once, the window is not blocked meanwhile. Nothing
    // is sent while another command holds the port; the label keeps its text
    // when the phone does not answer.
    void PollNetworkStatus();
    void cmbVytocit_Click();
    void cmbZavesit_Click();

    const PhoneCall& call() const { return m_call; }

protected:
    // txtnumber_KeyPress (digits and control keys only) and txtNumber_Click
    // (selects the whole number).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Dial is enabled while the field holds a number and no command holds
    // the port.
    void updateDialButton();

    CallWindow m_window;
    CommandHost& m_host;
    AtLink& m_link;
    PhoneCall m_call;
    NetworkPoller m_poller;
};

}  // namespace telvora
