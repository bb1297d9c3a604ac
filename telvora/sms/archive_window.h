#pragma once
// ArchiveWindow: the message archive on screen. Newest first, a search box
// (words, regardless of case and diacritics), a choice of contact, the
// conversation with that contact (received and sent, in time order), a reply
// to the chosen message and "Save as" CSV of the rows shown. It knows the
// main window only through ArchiveWindowHooks.
//
// ArchiveMenu puts the window's item into the "Zprávy" menu, owns the
// archive and gives the download its keeper.

#include <QDialog>
#include <QList>
#include <functional>
#include <memory>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/message_archive.h"
#include "telvora/sms/sms_reader.h"
#include "telvora/sms/sms_sender.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace telvora {

class MessageBoxes;

namespace sms {

struct ArchiveWindowHooks {
    std::function<Language()> language;
    std::function<QList<NameAndNumber>()> names;  // the phone book, for senders' names
    // Puts the number into the main window's number field and the cursor
    // into its message editor.
    std::function<void(const QString& number)> reply;
    // Asks for the file to save to; empty when cancelled.
    std::function<QString(const QString& title, const QString& filter)> saveDialog;
};

class ArchiveWindow : public QDialog {
    Q_OBJECT
public:
    // At most this many rows are shown; the title says how many match.
    static constexpr int kShownMost = 1000;

    ArchiveWindow(std::shared_ptr<MessageArchive> archive, MessageBoxes& messages,
                  ArchiveWindowHooks hooks, QWidget* parent = nullptr);

    // Reads the archive again with the current search, contact and view.
    void refresh();
    // The contacts too: after new messages were stored.
    void reload();
    void ApplyLanguage();
    void cmbReply_Click();
    void cmbSave_Click();

    // The rows shown, as the message file writes them.
    const QList<ArchivedMessage>& shown() const { return m_shown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillContacts();
    void showCurrent();
    QString nameOf(const QString& contact) const;
    QString text(int n) const { return UiText(m_hooks.language(), n); }

    std::shared_ptr<MessageArchive> m_archive;
    MessageBoxes& m_messages;
    ArchiveWindowHooks m_hooks;
    QList<NameAndNumber> m_names;
    QList<ArchivedMessage> m_shown;
    int m_matching = 0;

    QLabel* m_searchLabel;
    QLineEdit* m_search;
    QLabel* m_contactLabel;
    QComboBox* m_contact;
    QCheckBox* m_conversation;
    QTableWidget* m_grid;
    QPlainTextEdit* m_message;
    QPushButton* m_reply;
    QPushButton* m_save;
};

// The archive's item in the messages menu, its window, and the keeper that
// stores each download before the phone deletes anything.
class ArchiveMenu : public QObject {
    Q_OBJECT
public:
    ArchiveMenu(QMenu* menu, MessageBoxes& messages, ArchiveWindowHooks hooks, QWidget* parent,
                QString path = MessageArchive::defaultPath());

    SmsReader::Keeper keeper();
    // Keeps each message sent; a failure is shown.
    SmsSender::Record sentRecord();
    void ApplyLanguage();
    // Opens the window (the menu item's command).
    void mni_archiv_Click();
    QAction* action() const { return m_action; }
    ArchiveWindow* window() const { return m_window; }

private:
    // The archive, opened again when the last attempt failed.
    MessageArchive& archive();

    QWidget* m_parent;
    MessageBoxes& m_messages;
    ArchiveWindowHooks m_hooks;
    QString m_path;
    std::shared_ptr<MessageArchive> m_archive;
    QAction* m_action;
    ArchiveWindow* m_window = nullptr;
};

}  // namespace sms
}  // namespace telvora
