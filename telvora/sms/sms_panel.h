#pragma once
// SmsPanel: connects the main window's message controls to the commands.
// The editor (txtNumber, txtSMS, the counter, CheckDelsi160, cmbOdeslat,
// cmbClear), the download (cmbNactiSMS, Checkdelete), the list flexSMS with
// txtNacteneSMS, and the menu item mni_ulozsms. The rules live in
// composer_rules.h and message_rows.h; the phone work in SmsSender and
// SmsReader, which start on the window's CommandHost. The window gives its
// controls through SmsWindow and the senders' names through a provider.

#include <QList>
#include <QObject>
#include <functional>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/message_rows.h"
#include "telvora/sms/sms_reader.h"
#include "telvora/sms/sms_sender.h"

class QAction;
class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace telvora {

class CommandHost;

namespace sms {

// The main window's part in short messages.
struct SmsWindow {
    QWidget* window = nullptr;                // parent of the file dialog; shows the wait cursor
    QLineEdit* txtNumber = nullptr;           // the recipient's number
    QPlainTextEdit* txtSMS = nullptr;         // the message editor
    QLabel* lblzbyvachar = nullptr;           // "remaining" before the counter
    QLabel* lblZbyva = nullptr;               // the counter
    QLabel* lblchars = nullptr;               // "chars." after the counter
    QCheckBox* CheckDelsi160 = nullptr;       // allow messages longer than 160
    QPushButton* cmbOdeslat = nullptr;        // send
    QPushButton* cmbClear = nullptr;          // clear the editor
    QPushButton* cmbNactiSMS = nullptr;       // download the messages
    QCheckBox* Checkdelete = nullptr;         // delete them on the phone after the download
    QTableWidget* flexSMS = nullptr;          // received messages
    QPlainTextEdit* txtNacteneSMS = nullptr;  // the chosen received message
    QAction* mni_ulozsms = nullptr;           // save the list
    // The names senders are shown by (the phone book's entries).
    std::function<QList<NameAndNumber>()> phoneBookNames;
};

class SmsPanel : public QObject {
    Q_OBJECT
public:
    // Asks for the file to save the list to; empty when cancelled.
    using SaveDialog =
        std::function<QString(const QString& title, const QString& folder, const QString& filter)>;

    SmsPanel(SmsWindow window, CommandHost& host, QObject* parent = nullptr);

    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }
    // The stored state of "Bez diakritiky" and where a change of it goes.
    void setWithoutDiacriticsSetting(bool on, std::function<void(bool)> store);

    // "Bez diakritiky" / "Without diacritics", under CheckDelsi160.
    QCheckBox* CheckBezDiakritiky() const { return m_withoutDiacritics; }
    // Keeps each download before anything is deleted on the phone.
    void setKeeper(SmsReader::Keeper keeper) { m_keeper = std::move(keeper); }
    // Told of every message sent.
    void setSentRecord(SmsSender::Record record) { m_sentRecord = std::move(record); }

    void cmbOdeslat_Click();
    void cmbClear_Click();
    void CheckDelsi160_Click();
    void CheckBezDiakritiky_Click();
    void cmbNactiSMS_Click();
    void flexSMS_Click(int row);
    void flexSMS_DblClick(int row);
    void mni_ulozsms_Click();
    // Recomputes the counter and the send button from the text.
    void UpdateCounter();
    // A message that arrived while the program runs: on top of the list.
    void addNewMessage(const MessageRow& row);
    // After the window changed its language: the list's headings and the
    // counter's captions in the new one.
    void ApplyLanguage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void txtSMS_Change();
    void setEditorText(const QString& text, int cursor);
    void fillList(const QList<MessageRow>& rows);
    void setRow(int i, const MessageRow& row);
    QList<MessageRow> rowsInList() const;
    void setHeadings();
    QString text(int n) const;
    bool longMode() const;
    bool withoutDiacritics() const;

    SmsWindow m_ui;
    CommandHost& m_host;
    SaveDialog m_saveDialog;
    QCheckBox* m_withoutDiacritics = nullptr;
    std::function<void(bool)> m_storeWithoutDiacritics;
    SmsReader::Keeper m_keeper;
    SmsSender::Record m_sentRecord;
    bool m_adjusting = false;    // txtSMS is being corrected; its change is ours
    int m_editPosition = 0;      // where the last change of txtSMS was made
    int m_editAdded = 0;         // and how many characters it added
    int m_listed = -1;           // messages of the last download; -1 before the first
    bool m_listComplete = true;  // the last download read everything
};

}  // namespace sms
}  // namespace telvora
