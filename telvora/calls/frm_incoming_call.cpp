#include "telvora/calls/frm_incoming_call.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "telvora/calls/incoming_call.h"

namespace telvora {

frmIncomingCall::frmIncomingCall(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmIncomingCall"));
    setModal(false);
    lblCaller = new QLabel(this);
    lblCaller->setObjectName(QStringLiteral("lblCaller"));
    QFont large = lblCaller->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    large.setBold(true);
    lblCaller->setFont(large);
    lblCaller->setAlignment(Qt::AlignCenter);
    lblCaller->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmbPrijmout = new QPushButton(this);
    cmbPrijmout->setObjectName(QStringLiteral("cmbPrijmout"));
    cmbPrijmout->setDefault(true);
    cmbOdmitnout = new QPushButton(this);
    cmbOdmitnout->setObjectName(QStringLiteral("cmbOdmitnout"));
    cmbOdmitnout->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmbPrijmout);
    buttons->addWidget(cmbOdmitnout);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCaller);
    layout->addSpacing(lblCaller->fontMetrics().height() / 2);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    ApplyLanguage(Language::Czech);
}

void frmIncomingCall::showCaller(Language language, const QString& caller) {
    m_caller = caller;
    ApplyLanguage(language);
}

void frmIncomingCall::ApplyLanguage(Language language) {
    setWindowTitle(UiText(language, kTextIncomingCall));
    lblCaller->setText(UiText(language, kTextCalling).arg(m_caller));
    cmbPrijmout->setText(UiText(language, kTextAnswer));
    cmbOdmitnout->setText(UiText(language, kTextReject));
}

void frmIncomingCall::setBusy(bool busy) {
    cmbPrijmout->setEnabled(!busy);
    cmbOdmitnout->setEnabled(!busy);
}

}  // namespace telvora
