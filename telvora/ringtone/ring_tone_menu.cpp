#include "telvora/ringtone/ring_tone_menu.h"

#include <QAction>
#include <QTimer>

#include "telvora/core/message_boxes.h"
#include "telvora/ringtone/frm_melodie.h"

namespace telvora {

RingToneMenu::RingToneMenu(QAction* mnu_melodie, QWidget* window, AtLink& link,
                           MessageBoxes& messages, std::function<Language()> language,
                           RingTones::LinkCheck checkLink, QObject* parent)
    : QObject(parent),
      m_window(window),
      m_link(link),
      m_messages(messages),
      m_language(std::move(language)),
      m_checkLink(std::move(checkLink)) {
    connect(mnu_melodie, &QAction::triggered, this, &RingToneMenu::mnu_melodie_Click);
}

void RingToneMenu::mnu_melodie_Click() {
    const Language language = m_language();
    std::optional<PortLease> lease = m_link.tryAcquire();
    if (!lease) {
        m_messages.error(UiText(language, kTextCommandRunning));
        return;
    }
    RingTones tones(m_messages, language, m_checkLink);
    frmMelodie window(*lease, tones, language, m_window);
    // The melodies are read once the window is up, so it is seen waiting.
    QTimer::singleShot(0, &window, &frmMelodie::ReadMelodies);
    window.exec();
}

}  // namespace telvora
