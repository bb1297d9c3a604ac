#pragma once
// SmsPanel: connects the main window's message controls to the commands.
// The editor (txtNumber, txtSMS, the counter, CheckDelsi160, cmbOdeslat,
// cmbClear), the download (cmbNactiSMS, Checkdelete), the list flexSMS with
// txtNacteneSMS, and the menu item mni_ulozsms. The rules live in
// composer_rules.h and message_rows.h; the phone work in SmsSender and
// SmsReader. The window gives what it owns through SmsWindowHooks.

#include <QList>
#include <QObject>
#include <functional>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/message_rows.h"

class QTableWidget;
class QWidget;

namespace telvora {

class AtLink;
class MessageBoxes;
class PortLease;
struct MainControls;

namespace sms {

struct SmsWindowHooks {
    QWidget* window = nullptr;  // parent of the file dialog; shows the wait cursor
    std::function<Language()> language;
    std::function<void()> lockMenus;
    std::function<void()> unlockMenus;
    std::function<void(const QString&)> showProgress;  // frmWorking with its text
    std::function<void()> closeProgress;
    std::function<bool(PortLease&)> checkLink;  // the window's link check under the lease
};

class SmsPanel : public QObject {
    Q_OBJECT
public:
    // Asks for the file to save the list to; empty when cancelled.
    using SaveDialog =
        std::function<QString(const QString& title, const QString& folder, const QString& filter)>;

    SmsPanel(const MainControls& ui, AtLink& link, MessageBoxes& messages, SmsWindowHooks hooks,
             QObject* parent = nullptr);

    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }

    void cmbOdeslat_Click();
    void cmbClear_Click();
    void CheckDelsi160_Click();
    void cmbNactiSMS_Click();
    void flexSMS_Click(int row);
    void flexSMS_DblClick(int row);
    void mni_ulozsms_Click();
    // Recomputes the counter and the send button from the text.
    void UpdateCounter();
    // After the window changed its language: the list's headings and the
    // counter's captions in the new one.
    void ApplyLanguage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void txtSMS_Change();
    void setEditorText(const QString& text, int cursor);
    void fillList(const QList<MessageRow>& rows);
    QList<MessageRow> rowsInList() const;
    void setHeadings();
    QString text(int n) const { return UiText(m_hooks.language(), n); }
    bool longMode() const;

    const MainControls& m_ui;
    AtLink& m_link;
    MessageBoxes& m_messages;
    SmsWindowHooks m_hooks;
    SaveDialog m_saveDialog;
    bool m_adjusting = false;    // txtSMS is being corrected; its change is ours
    int m_editPosition = 0;      // where the last change of txtSMS was made
    int m_editAdded = 0;         // and how many characters it added
    int m_listed = -1;           // messages of the last download; -1 before the first
    bool m_listComplete = true;  // the last download read everything
};

// The names and numbers in the phone-book grid (column 0 name, column 1
// number), in its row order.
QList<NameAndNumber> PhoneBookNames(const QTableWidget& grid);

}  // namespace sms
}  // namespace telvora
