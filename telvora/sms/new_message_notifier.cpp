#include "telvora/sms/new_message_notifier.h"

#include <QDateTime>

#include "telvora/link/at_link.h"
#include "telvora/link/when_port_free.h"

namespace telvora::sms {

NewMessageNotifier::NewMessageNotifier(NewMessageWindow window, AtLink& link, QObject* parent)
    : QObject(parent), m_window(std::move(window)), m_link(link), m_messages(link) {
    m_messages.setIdentifyPhone(bool(m_window.keep));
    // A phone switched off and on again forgets what it was asked.
    connect(&m_link, &AtLink::connectedChanged, this, [this](bool connected) {
        if (connected) {
            enable();
        }
    });
    if (m_link.Connected()) {
        enable();
    }
    connect(&m_messages, &NewMessages::arrived, this, &NewMessageNotifier::show);
    connect(
        &m_messages, &NewMessages::unreadable, this, [this](const QByteArray& store, int index) {
            m_window.notify(text(kTextNewMessageUnread).arg(QString::fromLatin1(store)).arg(index));
        });
}

void NewMessageNotifier::enable() {
    if (m_enabling) {
        return;  // one request waits for the port already
    }
    m_enabling = true;
    RunWhenPortFree(m_link, this, [this](PortLease& lease) {
        m_enabling = false;
        NewMessages::Enable(lease);
    });
}

void NewMessageNotifier::show(const ReadMessage& read) {
    if (m_window.keep) {
        const SmsReader::KeepResult kept = m_window.keep(m_messages.phone(), {read});
        if (!kept.kept) {
            m_window.notify(kept.problem);  // the message stays on the phone
        }
    }
    QList<MessageRow> rows = BuildMessageRows({read}, QDateTime::currentDateTime());
    ResolveSenderNames(rows, m_window.phoneBook());
    for (const MessageRow& row : rows) {
        m_window.addMessage(row);
        m_window.notify(text(kTextNewMessage).arg(row.sender));
    }
}

}  // namespace telvora::sms
