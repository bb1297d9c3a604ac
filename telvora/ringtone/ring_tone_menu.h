#pragma once
// RingToneMenu: the main window's ring-tone menu item. It takes the port
// for as long as frmMelodie is open, so the signal poll skips its ticks, and
// gives it back when the window closes.

#include <QObject>
#include <functional>

#include "telvora/ringtone/ring_tones.h"

class QAction;
class QWidget;

namespace telvora {

class RingToneMenu : public QObject {
    Q_OBJECT
public:
    RingToneMenu(QAction* mnu_melodie, QWidget* window, AtLink& link, MessageBoxes& messages,
                 std::function<Language()> language, RingTones::LinkCheck checkLink,
                 QObject* parent = nullptr);

    // Shows frmMelodie modally; with the port held by another command it
    // shows text 82 instead.
    void mnu_melodie_Click();

private:
    QWidget* m_window;
    AtLink& m_link;
    MessageBoxes& m_messages;
    std::function<Language()> m_language;
    RingTones::LinkCheck m_checkLink;
};

}  // namespace telvora
