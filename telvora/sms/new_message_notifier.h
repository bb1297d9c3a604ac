#pragma once
// NewMessageNotifier: the window's part in new messages. Whenever the phone
// answers (again), it asks the phone to announce new messages; each one the
// phone announces is read (NewMessages, under the port's lease, after any
// command that holds the port), put on top of the message list with its
// sender's phone-book name, and told to the user. The window gives what it
// owns through NewMessageWindow.

#include <QList>
#include <QObject>
#include <functional>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/message_rows.h"
#include "telvora/sms/new_messages.h"
#include "telvora/sms/sms_reader.h"

namespace telvora {

class AtLink;

namespace sms {

struct NewMessageWindow {
    std::function<Language()> language;
    std::function<QList<NameAndNumber>()> phoneBook;  // the names senders are shown by
    std::function<void(const MessageRow&)> addMessage;
    std::function<void(const QString&)> notify;  // status line, attention, tray
    // Keeps a new message (the archive); empty: not kept.
    std::function<SmsReader::KeepResult(const QString& phone, const QList<ReadMessage>&)> keep;
};

class NewMessageNotifier : public QObject {
    Q_OBJECT
public:
    NewMessageNotifier(NewMessageWindow window, AtLink& link, QObject* parent = nullptr);

    const NewMessages& messages() const { return m_messages; }

private:
    void enable();
    void show(const ReadMessage& read);
    QString text(int n) const { return UiText(m_window.language(), n); }

    NewMessageWindow m_window;
    AtLink& m_link;
    NewMessages m_messages;
    bool m_enabling = false;
};

}  // namespace sms
}  // namespace telvora
