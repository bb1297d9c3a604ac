#include "telvora/calls/call_controls.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "telvora/calls/network_poll.h"
#include "telvora/calls/number_field.h"

namespace telvora {

CallControls::CallControls(CallWindow window, AtLink& link, MessageBoxes& messages, QObject* parent)
    : QObject(parent),
      m_window(std::move(window)),
      m_link(link),
      m_call(link, messages, m_window.language(), m_window.checkLink) {
    // The bar lines up only in a fixed-pitch font; it keeps the size of the
    // window's text, so a larger font setting enlarges it too.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(QApplication::font().pointSizeF());
    m_window.lblSignal->setFont(fixed);
    m_window.lblSignal->setMinimumHeight(2 * QFontMetrics(fixed).lineSpacing());
    m_window.txtNumber->installEventFilter(this);
    connect(m_window.txtNumber, &QLineEdit::textChanged, this, &CallControls::updateDialButton);
    connect(&m_link, &AtLink::busyChanged, this, &CallControls::updateDialButton);
    connect(m_window.cmbVytocit, &QPushButton::clicked, this, &CallControls::cmbVytocit_Click);
    connect(m_window.cmbZavesit, &QPushButton::clicked, this, &CallControls::cmbZavesit_Click);
    connect(&m_call, &PhoneCall::dialing, this, [this] { m_window.lockMenus(); });
    updateDialButton();
}

void CallControls::updateDialButton() {
    m_window.cmbVytocit->setEnabled(IsDialEnabled(m_window.txtNumber->text()) && !m_link.Busy());
}

bool CallControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window.txtNumber) {
        if (event->type() == QEvent::KeyPress &&
            !IsNumberKeyAccepted(static_cast<QKeyEvent*>(event)->text())) {
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            // After the field has placed its cursor for the click.
            QTimer::singleShot(0, m_window.txtNumber, [field = m_window.txtNumber] {
                field->setFocus(Qt::MouseFocusReason);
                field->selectAll();
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void CallControls::cmbVytocit_Click() {
    m_call.setLanguage(m_window.language());
    const QString number = m_window.txtNumber->text().trimmed();
    m_window.txtNumber->setText(number);
    switch (m_call.Dial(number)) {
        case PhoneCall::DialResult::CallUp:
            m_window.showProgress(UiText(m_window.language(), 44));
            break;
        case PhoneCall::DialResult::PortBusy:
            break;  // the menus belong to the command that holds the port
        case PhoneCall::DialResult::BadNumber:
            break;  // refused before anything was locked or sent
        case PhoneCall::DialResult::HungUp:
            break;  // the hang-up has freed the window already
        case PhoneCall::DialResult::NotConnected:
        case PhoneCall::DialResult::Failed:
            if (!m_call.callUp()) {
                m_window.unlockMenus();
            }
            break;
    }
}

void CallControls::cmbZavesit_Click() {
    m_call.setLanguage(m_window.language());
    if (m_call.HangUp() == PhoneCall::HangUpResult::PortBusy) {
        return;
    }
    m_window.closeProgress();
    m_window.unlockMenus();
}

void CallControls::PollNetworkStatus() {
    const std::optional<NetworkStatus> status =
        telvora::PollNetworkStatus(m_link, m_window.checkLink);
    if (status) {
        m_window.lblSignal->setText(SignalCaption(*status));
    }
}

}  // namespace telvora
