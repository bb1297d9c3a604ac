#include "telvora/calls/call_controls.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "telvora/calls/network_poll.h"
#include "telvora/calls/number_field.h"

namespace telvora {

CallControls::CallControls(CallWindow window, CommandHost& host, QObject* parent)
    : QObject(parent),
      m_window(std::move(window)),
      m_host(host),
      m_link(host.link()),
      m_call(host),
      m_poller(host.link()) {
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
    connect(&m_call, &PhoneCall::dialing, this, [this] { m_host.lockMenus(true); });
    updateDialButton();
}

void CallControls::updateDialButton() {
    m_window.cmbVytocit->setEnabled(IsDialEnabled(m_window.txtNumber->text()) &&
                                    !m_link.commandRunning());
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
    m_call.setLanguage(m_host.language());
    const QString number = m_window.txtNumber->text().trimmed();
    m_window.txtNumber->setText(number);
    switch (m_call.Dial(number)) {
        case PhoneCall::DialResult::CallUp: {
            // The demo phone says that no real call was made.
            const QString dialing = m_host.text(44);
            m_host.showProgress(m_host.simulated()
                                    ? dialing + QLatin1Char('\n') + m_host.text(kTextOnlySimulated)
                                    : dialing,
                                false);
            break;
        }
        case PhoneCall::DialResult::PortBusy:
            break;  // the menus belong to the command that holds the port
        case PhoneCall::DialResult::BadNumber:
            break;  // refused before anything was locked or sent
        case PhoneCall::DialResult::HungUp:
            break;  // the hang-up has freed the window already
        case PhoneCall::DialResult::NotConnected:
        case PhoneCall::DialResult::Failed:
            if (!m_call.callUp()) {
                m_host.lockMenus(false);
            }
            break;
    }
}

void CallControls::cmbZavesit_Click() {
    m_call.setLanguage(m_host.language());
    if (m_call.HangUp() == PhoneCall::HangUpResult::PortBusy) {
        return;
    }
    m_host.closeProgress();
    m_host.lockMenus(false);
}

void CallControls::PollNetworkStatus() {
    m_poller.start([label = QPointer<QLabel>(m_window.lblSignal)](const NetworkStatus& status) {
        if (label) {
            label->setText(SignalCaption(status));
        }
    });
}

}  // namespace telvora
