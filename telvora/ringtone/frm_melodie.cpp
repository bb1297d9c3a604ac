#include "telvora/ringtone/frm_melodie.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace telvora {
namespace {

template <typename T>
T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

frmMelodie::frmMelodie(PortLease& lease, RingTones& tones, Language language, QWidget* parent)
    : QDialog(parent),
      m_lease(lease),
      m_tones(tones),
      m_lblinfo(Named(new QLabel(this), QStringLiteral("lblinfo"))),
      m_cmbexit(Named(new QPushButton(this), QStringLiteral("cmbexit"))) {
    setObjectName(QStringLiteral("frmMelodie"));
    setWindowTitle(QStringLiteral("Telvora SMS " TELVORA_VERSION));
    // Out of sight, as the window's cancel button: Escape closes the window.
    m_cmbexit->setAutoDefault(false);
    m_cmbexit->move(-2000, 0);
    connect(m_cmbexit, &QPushButton::clicked, this, &frmMelodie::reject);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(10);
    rows->setColumnStretch(1, 1);
    for (int n = 1; n <= kMelodyCount; ++n) {
        const QString index = QString::number(n);
        auto* label = Named(new QLabel(MelodyLabel(language, n), this), "lblMelodie" + index);
        auto* field = Named(new QLineEdit(this), "txtMelodie" + index);
        auto* button = Named(new QPushButton(UiText(language, 54), this), "cmbMelodie" + index);
        field->setMaxLength(kMaxMelodyLength);
        field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 48);
        label->setBuddy(field);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, n] { cmbMelodie_Click(n); });
        rows->addWidget(label, n - 1, 0);
        rows->addWidget(field, n - 1, 1);
        rows->addWidget(button, n - 1, 2);
        m_lblMelodie[n - 1] = label;
        m_txtMelodie[n - 1] = field;
        m_cmbMelodie[n - 1] = button;
    }
    m_lblinfo->setText(MelodyNotationInfo(language));
    m_lblinfo->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->addLayout(rows);
    layout->addWidget(m_lblinfo);
}

void frmMelodie::setAsking(bool asking) {
    m_asking = asking;
    for (QPushButton* button : m_cmbMelodie) {
        button->setEnabled(!asking && !m_uploadsOff);
    }
    if (asking) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void frmMelodie::ReadMelodies() {
    setAsking(true);
    const MelodiesRead read = m_tones.ReadMelodies(m_lease);
    if (read.result == RingToneResult::Ok) {
        for (int i = 0; i < kMelodyCount; ++i) {
            m_txtMelodie[i]->setText(read.list.melodies[i]);
        }
    } else if (read.result != RingToneResult::NotConnected) {
        // Writing over melodies that could not be read would lose them.
        m_uploadsOff = true;
    }
    setAsking(false);
}

void frmMelodie::cmbMelodie_Click(int n) {
    if (m_asking || m_uploadsOff) {
        return;
    }
    setAsking(true);
    const RingToneResult result = m_tones.Upload(m_lease, n, txtMelodie(n)->text());
    setAsking(false);
    if (result == RingToneResult::Refused) {
        txtMelodie(n)->setFocus(Qt::OtherFocusReason);
    } else if (result == RingToneResult::Ok || result == RingToneResult::PhoneError) {
        ReadMelodies();  // show what the phone holds now
    }
}

void frmMelodie::reject() {
    if (!m_asking) {
        QDialog::reject();
    }
}

}  // namespace telvora
