#include "telvora/shell/news_notice.h"

#include <QApplication>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>

#include "telvora/calls/frm_incoming_call.h"
#include "telvora/calls/incoming_call_window.h"
#include "telvora/shell/frm_main.h"
#include "telvora/sms/new_message_notifier.h"
#include "telvora/sms/sms_panel.h"

namespace telvora {

NewsNotice::NewsNotice(QMainWindow& window) : QObject(&window), m_window(window) {}

void NewsNotice::show(const QString& text) {
    m_window.statusBar()->showMessage(text, kStatusMs);
    QApplication::alert(&m_window);
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !QSystemTrayIcon::supportsMessages()) {
        return;
    }
    if (m_tray == nullptr) {
        QIcon icon = m_window.windowIcon();
        if (icon.isNull()) {
            icon = m_window.style()->standardIcon(QStyle::SP_MessageBoxInformation);
        }
        m_tray = new QSystemTrayIcon(icon, this);
        m_tray->setToolTip(m_window.windowTitle());
        // A click on the message brings the window up.
        connect(m_tray, &QSystemTrayIcon::messageClicked, &m_window, [this] {
            m_window.showNormal();
            m_window.raise();
            m_window.activateWindow();
        });
        m_tray->show();
    }
    m_tray->showMessage(QStringLiteral("Telvora"), text);
}

void InstallNews(frmMain& window, sms::SmsPanel& messages, sms::SmsReader::Keeper keep,
                 std::function<QList<sms::NameAndNumber>()> phoneBook) {
    auto* notice = new NewsNotice(window);
    const auto notify = [notice](const QString& text) { notice->show(text); };
    const auto language = [&window] { return window.language(); };

    sms::NewMessageWindow newMessages{
        language, phoneBook,
        [&messages](const sms::MessageRow& row) { messages.addNewMessage(row); }, notify,
        std::move(keep)};
    new sms::NewMessageNotifier(std::move(newMessages), window.link(), &window);

    IncomingCallHooks calls;
    calls.parent = &window;
    calls.language = language;
    calls.notify = notify;
    // A caller is named as a message's sender is.
    calls.nameOf = [phoneBook](const QString& number) {
        QList<sms::MessageRow> rows{sms::MessageRow{}};
        rows[0].sender = rows[0].number = number;
        sms::ResolveSenderNames(rows, phoneBook());
        return rows[0].sender == number ? QString() : rows[0].sender;
    };
    auto* callWindow =
        new IncomingCallWindow(std::move(calls), window.link(), window.messages(), &window);
    QObject::connect(&window, &frmMain::languageApplied, callWindow,
                     &IncomingCallWindow::ApplyLanguage);
    // Hang up ends a ringing call as well (after its own ATH went out).
    QObject::connect(window.ui().cmbZavesit, &QPushButton::clicked, callWindow,
                     &IncomingCallWindow::HungUpHere);
}

}  // namespace telvora
