#include "telvora/sms/sms_panel.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTextDocument>

#include "telvora/core/data_folder.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"
#include "telvora/sms/composer_rules.h"
#include "telvora/sms/message_csv.h"
#include "telvora/sms/message_file.h"
#include "telvora/sms/message_plan.h"
#include "telvora/sms/sms_reader.h"
#include "telvora/sms/sms_sender.h"
#include "telvora/sms/sms_texts.h"

namespace telvora::sms {
namespace {

enum Column { kTime, kSender, kText, kNumber, kAge, kIndex };

QString Cell(const QTableWidget& grid, int row, int column) {
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

QTableWidgetItem* ReadOnlyItem(const QString& text, Qt::Alignment alignment = {}) {
    auto* item = new QTableWidgetItem(text);
    if (alignment) {
        item->setTextAlignment(alignment);
    }
    return item;
}

// Puts `widget` right after `anchor` in the layout that holds `anchor`.
bool InsertAfter(QLayout* layout, QWidget* anchor, QWidget* widget) {
    if (!layout) {
        return false;
    }
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == anchor) {
            if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
                box->insertWidget(i + 1, widget);
                return true;
            }
            return false;
        }
        if (InsertAfter(item->layout(), anchor, widget)) {
            return true;
        }
    }
    return false;
}

bool IsEnterKey(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

}  // namespace

SmsPanel::SmsPanel(SmsWindow window, CommandHost& host, QObject* parent)
    : QObject(parent), m_ui(std::move(window)), m_host(host) {
    setObjectName(QStringLiteral("SmsPanel"));
    m_saveDialog = [this](const QString& title, const QString& folder, const QString& filter) {
        // The dialog asks nothing: the panel asks whether to append or replace.
        return QFileDialog::getSaveFileName(m_ui.window, title, folder, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    m_withoutDiacritics = new QCheckBox(m_ui.CheckDelsi160->parentWidget());
    m_withoutDiacritics->setObjectName(QStringLiteral("CheckBezDiakritiky"));
    if (!InsertAfter(m_ui.CheckDelsi160->parentWidget()->layout(), m_ui.CheckDelsi160,
                     m_withoutDiacritics)) {
        m_withoutDiacritics->hide();  // a window without the editor's layout
    }
    m_withoutDiacritics->setText(text(kTextWithoutDiacritics));
    connect(m_withoutDiacritics, &QCheckBox::clicked, this, &SmsPanel::CheckBezDiakritiky_Click);
    m_ui.txtSMS->installEventFilter(this);
    m_ui.flexSMS->installEventFilter(this);
    connect(m_ui.txtSMS->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) {
                m_editPosition = position;
                m_editAdded = added;
            });
    connect(m_ui.txtSMS, &QPlainTextEdit::textChanged, this, &SmsPanel::txtSMS_Change);
    connect(m_ui.CheckDelsi160, &QCheckBox::clicked, this, &SmsPanel::CheckDelsi160_Click);
    connect(m_ui.cmbOdeslat, &QPushButton::clicked, this, &SmsPanel::cmbOdeslat_Click);
    connect(m_ui.cmbClear, &QPushButton::clicked, this, &SmsPanel::cmbClear_Click);
    connect(m_ui.cmbNactiSMS, &QPushButton::clicked, this, &SmsPanel::cmbNactiSMS_Click);
    connect(m_ui.flexSMS, &QTableWidget::currentCellChanged, this,
            [this](int row) { flexSMS_Click(row); });
    connect(m_ui.flexSMS, &QTableWidget::cellClicked, this,
            [this](int row) { flexSMS_Click(row); });
    connect(m_ui.flexSMS, &QTableWidget::cellDoubleClicked, this,
            [this](int row) { flexSMS_DblClick(row); });
    connect(m_ui.mni_ulozsms, &QAction::triggered, this, &SmsPanel::mni_ulozsms_Click);
    // The window enables the command buttons again when the port is free;
    // the send button then follows the text once more.
    connect(&m_host.link(), &AtLink::busyChanged, this, &SmsPanel::UpdateCounter);
    UpdateCounter();
}

QString SmsPanel::text(int n) const {
    return UiText(m_host.language(), n);
}

bool SmsPanel::longMode() const {
    return m_ui.CheckDelsi160->isChecked();
}

bool SmsPanel::withoutDiacritics() const {
    return m_withoutDiacritics->isChecked();
}

void SmsPanel::setWithoutDiacriticsSetting(bool on, std::function<void(bool)> store) {
    m_withoutDiacritics->setChecked(on);
    m_storeWithoutDiacritics = std::move(store);
    UpdateCounter();
}

void SmsPanel::CheckBezDiakritiky_Click() {
    if (m_storeWithoutDiacritics) {
        m_storeWithoutDiacritics(withoutDiacritics());
    }
    // The text stays as typed: it may now take more messages, which the
    // counter shows and the send refuses.
    m_ui.txtSMS->setFocus();
    UpdateCounter();
}

bool SmsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_ui.flexSMS && IsEnterKey(*key)) {
        flexSMS_DblClick(m_ui.flexSMS->currentRow());  // the keyboard's double click
        return true;
    }
    if (watched == m_ui.txtSMS) {
        if (IsEnterKey(*key)) {
            return true;
        }
        for (QChar c : key->text()) {
            if (!KeepTypedCharacter(c)) {
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void SmsPanel::txtSMS_Change() {
    if (m_adjusting) {
        return;
    }
    const QString typed = m_ui.txtSMS->toPlainText();
    const QString fitted =
        FitEdit(typed, m_editPosition, m_editAdded, longMode(), withoutDiacritics());
    if (fitted != typed) {
        const int kept = qMax(0, m_editAdded - int(typed.size() - fitted.size()));
        setEditorText(fitted, m_editPosition + kept);
    }
    UpdateCounter();
}

void SmsPanel::setEditorText(const QString& text, int cursor) {
    m_adjusting = true;
    m_ui.txtSMS->setPlainText(text);
    QTextCursor position = m_ui.txtSMS->textCursor();
    position.setPosition(qBound(0, cursor, int(text.size())));
    m_ui.txtSMS->setTextCursor(position);
    m_adjusting = false;
}

void SmsPanel::UpdateCounter() {
    const QString typed = m_ui.txtSMS->toPlainText();
    const CounterLabels counter =
        MessageCounter(PlanMessage(typed, withoutDiacritics()), m_host.language());
    m_ui.lblzbyvachar->setText(counter.caption);
    m_ui.lblZbyva->setText(counter.value);
    m_ui.lblchars->setText(counter.rest);
    m_ui.cmbOdeslat->setEnabled(!typed.isEmpty() && !m_host.link().commandRunning());
}

void SmsPanel::CheckDelsi160_Click() {
    if (!longMode()) {
        const QString text = m_ui.txtSMS->toPlainText();
        const QString cut = FitEdit(text, 0, 0, false, withoutDiacritics());
        if (cut != text) {
            setEditorText(cut, int(cut.size()));
        }
    }
    m_ui.txtSMS->setFocus();
    UpdateCounter();
}

void SmsPanel::cmbClear_Click() {
    m_ui.txtSMS->clear();
    m_ui.txtSMS->setFocus();
}

void SmsPanel::cmbOdeslat_Click() {
    CommandHost::Scope command(m_host);
    if (m_ui.window) {
        m_ui.window->setCursor(Qt::WaitCursor);
    }
    const QString number = m_ui.txtNumber->text().trimmed();
    m_ui.txtNumber->setText(number);
    SmsSender sender(m_host);
    sender.setRecord(m_sentRecord);
    const SendOutcome outcome =
        sender.Send(number, m_ui.txtSMS->toPlainText(), longMode(), withoutDiacritics());
    if (m_ui.window) {
        m_ui.window->unsetCursor();
    }
    m_host.closeProgress();
    // The demo phone says that nothing went to a real network.
    const QString sent =
        m_host.simulated() ? text(40) + u'\n' + text(kTextOnlySimulated) : text(40);
    if (outcome == SendOutcome::Sent &&
        m_host.messages().askYesNo(MessageBoxes::Kind::Info, sent)) {
        m_ui.txtSMS->clear();
        m_ui.txtSMS->setFocus();
    }
}

void SmsPanel::cmbNactiSMS_Click() {
    CommandHost::Scope command(m_host);
    // Every download starts from an empty list, whether or not the phone answers.
    fillList({});
    m_ui.txtNacteneSMS->clear();
    SmsReader reader(m_host);
    reader.setKeeper(m_keeper);
    reader.setProgress([this](const QString&) {
        if (m_ui.window) {
            m_ui.window->setCursor(Qt::WaitCursor);
        }
    });
    const QList<NameAndNumber> names =
        m_ui.phoneBookNames ? m_ui.phoneBookNames() : QList<NameAndNumber>();
    const std::optional<QList<MessageRow>> rows =
        reader.ReadMessages(m_ui.Checkdelete->isChecked(), names);
    if (m_ui.window) {
        m_ui.window->unsetCursor();
    }
    if (rows) {
        fillList(*rows);
        m_listed = int(rows->size());
        m_listComplete = reader.complete();
        setHeadings();
        if (!rows->isEmpty()) {
            m_ui.flexSMS->setCurrentCell(0, kSender);
        }
    }
}

void SmsPanel::fillList(const QList<MessageRow>& rows) {
    QTableWidget& grid = *m_ui.flexSMS;
    grid.clearContents();
    grid.setRowCount(int(rows.size()));
    m_listed = -1;
    setHeadings();
    // Two lines a row, so the time stamp shows whole at any font size.
    grid.verticalHeader()->setDefaultSectionSize(2 * grid.fontMetrics().lineSpacing() + 6);
    for (int i = 0; i < rows.size(); ++i) {
        setRow(i, rows[i]);
    }
}

void SmsPanel::setRow(int i, const MessageRow& row) {
    QTableWidget& grid = *m_ui.flexSMS;
    const Qt::Alignment leftCentred = Qt::AlignLeft | Qt::AlignVCenter;
    grid.setItem(i, kTime, ReadOnlyItem(row.time, leftCentred));
    grid.setItem(i, kSender, ReadOnlyItem(row.sender, leftCentred));
    grid.item(i, kSender)->setToolTip(row.number.isEmpty() ? row.sender : row.number);
    grid.setItem(i, kText, ReadOnlyItem(row.text));
    grid.setItem(i, kNumber, ReadOnlyItem(row.number));
    grid.setItem(i, kAge, ReadOnlyItem(QString::number(row.ageSeconds)));
    grid.setItem(i, kIndex, ReadOnlyItem(row.indexText()));
}

void SmsPanel::addNewMessage(const MessageRow& row) {
    // Newest first: the new message goes on top, the selection stays on
    // the message it was on.
    m_ui.flexSMS->insertRow(0);
    setRow(0, row);
    if (m_listed >= 0) {
        ++m_listed;
        setHeadings();
    }
}

void SmsPanel::setHeadings() {
    QString messages = text(30);
    if (m_listed >= 0) {
        // A download that did not read everything claims no complete count.
        const QString count = m_listComplete ? QString::number(m_listed)
                                             : QString::number(m_listed) + QStringLiteral(", ") +
                                                   text(kTextIncomplete);
        messages += QStringLiteral(" ( ") + count + QStringLiteral(" )");
    }
    m_ui.flexSMS->setHorizontalHeaderLabels({text(31), text(29), messages});
}

void SmsPanel::ApplyLanguage() {
    m_withoutDiacritics->setText(text(kTextWithoutDiacritics));
    setHeadings();
    UpdateCounter();
}

void SmsPanel::flexSMS_Click(int row) {
    if (row >= 0 && row < m_ui.flexSMS->rowCount()) {
        m_ui.txtNacteneSMS->setPlainText(Cell(*m_ui.flexSMS, row, kText));
    }
}

void SmsPanel::flexSMS_DblClick(int row) {
    if (row < 0 || row >= m_ui.flexSMS->rowCount()) {
        return;
    }
    flexSMS_Click(row);
    const QString number = Cell(*m_ui.flexSMS, row, kNumber);
    if (number.isEmpty()) {
        return;  // a named sender such as a bank cannot be answered
    }
    m_ui.txtNumber->setText(number);
    const QString received = Cell(*m_ui.flexSMS, row, kText);
    if (!received.isEmpty()) {
        m_ui.txtSMS->setPlainText(ReplyText(received));
        m_ui.txtSMS->moveCursor(QTextCursor::End);
    }
}

QList<MessageRow> SmsPanel::rowsInList() const {
    QList<MessageRow> rows;
    for (int row = 0; row < m_ui.flexSMS->rowCount(); ++row) {
        MessageRow message;
        message.time = Cell(*m_ui.flexSMS, row, kTime);
        message.sender = Cell(*m_ui.flexSMS, row, kSender);
        message.text = Cell(*m_ui.flexSMS, row, kText);
        rows.append(message);
    }
    return rows;
}

void SmsPanel::mni_ulozsms_Click() {
    const QString chosen =
        m_saveDialog(text(42), DocumentsStartFolder(), QStringLiteral("MS Excel (*.csv)"));
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = CsvFilePath(chosen);
    const CsvSaveMode mode =
        !QFileInfo::exists(path) ||
                m_host.messages().askYesNo(MessageBoxes::Kind::Info, text(kTextCsvExists).arg(path))
            ? CsvSaveMode::Append
            : CsvSaveMode::Replace;
    QString error;
    if (!WriteMessagesCsv(path, rowsInList(), mode, &error)) {
        m_host.messages().error(text(kTextCsvNotWritten).arg(path) + u' ' + error);
    }
}

}  // namespace telvora::sms
