#pragma once
// RingToneMenu: the main window's ring-tone menu item. It takes the port
// for as long as frmMelodie is open, so the signal poll skips its ticks, and
// gives it back when the window closes. A cancel from the host (Exit,
// closing the main window) closes frmMelodie.

#include <QObject>
#include <functional>

#include "telvora/link/command_host.h"
#include "telvora/ringtone/ring_tones.h"

class QAction;
class QWidget;

namespace telvora {

class RingToneMenu : public QObject {
    Q_OBJECT
public:
    RingToneMenu(QAction* mnu_melodie, QWidget* window, CommandHost& host,
                 QObject* parent = nullptr);

    // Shows frmMelodie modally; with the port held by another command it
    // shows text 82 instead.
    void mnu_melodie_Click();

private:
    QWidget* m_window;
    CommandHost& m_host;
};

}  // namespace telvora
