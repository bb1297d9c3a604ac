#include "telvora/phonebook/frm_odkud.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "telvora/core/version.h"

namespace telvora {

QString PhoneBookWindowTitle() {
    return QStringLiteral("Telvora SMS ") + QLatin1String(kVersion);
}

frmodkud::frmodkud(Language language, QWidget* parent)
    : QDialog(parent),
      m_sim(new QPushButton(UiText(language, 47), this)),
      m_phone(new QPushButton(UiText(language, 48), this)),
      m_cancel(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setObjectName(QStringLiteral("frmodkud"));
    setWindowTitle(PhoneBookWindowTitle());
    m_sim->setObjectName(QStringLiteral("cmbSimka"));
    m_phone->setObjectName(QStringLiteral("cmbphone"));
    m_cancel->setObjectName(QStringLiteral("cmbcancel"));
    auto* label = new QLabel(UiText(language, 46), this);
    label->setObjectName(QStringLiteral("Label1"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_sim, m_phone, m_cancel}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(14);
    layout->addWidget(label);
    layout->addLayout(buttons);

    connect(m_sim, &QPushButton::clicked, this, [this] { choose(PhoneBookSource::Sim); });
    connect(m_phone, &QPushButton::clicked, this, [this] { choose(PhoneBookSource::PhoneMemory); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { choose(PhoneBookSource::None); });
}

void frmodkud::choose(PhoneBookSource source) {
    m_source = source;
    if (source == PhoneBookSource::None) {
        reject();
    } else {
        accept();
    }
}

}  // namespace telvora
