#include "telvora/ringtone/ring_tone_menu.h"

#include <QAction>
#include <QTimer>

#include "telvora/core/message_boxes.h"
#include "telvora/ringtone/frm_melodie.h"

namespace telvora {

RingToneMenu::RingToneMenu(QAction* mnu_melodie, QWidget* window, CommandHost& host,
                           QObject* parent)
    : QObject(parent), m_window(window), m_host(host) {
    connect(mnu_melodie, &QAction::triggered, this, &RingToneMenu::mnu_melodie_Click);
}

void RingToneMenu::mnu_melodie_Click() {
    const Language language = m_host.language();
    // The window checks the link itself before each read and write.
    std::optional<PortLease> lease = m_host.acquire();
    if (!lease) {
        return;
    }
    RingTones tones(m_host.messages(), language, m_host.linkCheck());
    frmMelodie window(*lease, tones, language, m_window);
    connect(&m_host.link(), &AtLink::cancelRequested, &window, &QDialog::reject);
    // The melodies are read once the window is up, so it is seen waiting.
    QTimer::singleShot(0, &window, &frmMelodie::ReadMelodies);
    window.exec();
}

}  // namespace telvora
