#include "telvora/sms/archive_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "telvora/core/message_boxes.h"
#include "telvora/sms/message_csv.h"
#include "telvora/sms/message_file.h"
#include "telvora/sms/sms_texts.h"

namespace telvora::sms {
namespace {

enum Column { kTime, kDirection, kContact, kText, kColumns };

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

// The text on one line of the grid; the box below shows it whole.
QString OneLine(const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
    return line;
}

}  // namespace

ArchiveWindow::ArchiveWindow(std::shared_ptr<MessageArchive> archive, MessageBoxes& messages,
                             ArchiveWindowHooks hooks, QWidget* parent)
    : QDialog(parent),
      m_archive(std::move(archive)),
      m_messages(messages),
      m_hooks(std::move(hooks)),
      m_searchLabel(new QLabel(this)),
      m_search(new QLineEdit(this)),
      m_contactLabel(new QLabel(this)),
      m_contact(new QComboBox(this)),
      m_conversation(new QCheckBox(this)),
      m_grid(new QTableWidget(0, kColumns, this)),
      m_message(new QPlainTextEdit(this)),
      m_reply(new QPushButton(this)),
      m_save(new QPushButton(this)) {
    setObjectName(QStringLiteral("ArchiveWindow"));
    m_search->setObjectName(QStringLiteral("txtHledat"));
    m_contact->setObjectName(QStringLiteral("cmbKontakt"));
    m_conversation->setObjectName(QStringLiteral("CheckKonverzace"));
    m_grid->setObjectName(QStringLiteral("flexArchiv"));
    m_reply->setObjectName(QStringLiteral("cmbOdpovedet"));
    m_save->setObjectName(QStringLiteral("cmbUlozit"));
    m_searchLabel->setBuddy(m_search);
    m_contactLabel->setBuddy(m_contact);
    m_search->setClearButtonEnabled(true);
    m_contact->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_message->setReadOnly(true);
    m_reply->setAutoDefault(false);
    m_save->setAutoDefault(false);

    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setWordWrap(false);
    m_grid->installEventFilter(this);

    auto* filters = new QGridLayout;
    filters->addWidget(m_searchLabel, 0, 0);
    filters->addWidget(m_search, 0, 1, 1, 2);
    filters->addWidget(m_contactLabel, 1, 0);
    filters->addWidget(m_contact, 1, 1);
    filters->addWidget(m_conversation, 1, 2);
    filters->setColumnStretch(1, 1);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_grid);
    splitter->addWidget(m_message);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_reply);
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(m_search, &QLineEdit::textChanged, this, &ArchiveWindow::refresh);
    connect(m_contact, &QComboBox::currentIndexChanged, this, &ArchiveWindow::refresh);
    connect(m_conversation, &QCheckBox::toggled, this, [this](bool on) {
        // The conversation of the chosen message's contact when none is chosen.
        const int row = m_grid->currentRow();
        if (on && m_contact->currentIndex() <= 0 && row >= 0 && row < m_shown.size()) {
            const int at = m_contact->findData(m_shown[row].contact);
            if (at > 0) {
                m_contact->setCurrentIndex(at);  // refreshes
                return;
            }
        }
        refresh();
    });
    connect(m_grid, &QTableWidget::currentCellChanged, this, &ArchiveWindow::showCurrent);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &ArchiveWindow::cmbReply_Click);
    connect(m_reply, &QPushButton::clicked, this, &ArchiveWindow::cmbReply_Click);
    connect(m_save, &QPushButton::clicked, this, &ArchiveWindow::cmbSave_Click);

    m_names = m_hooks.names ? m_hooks.names() : QList<NameAndNumber>();
    ApplyLanguage();
    fillContacts();
    refresh();
    const int lineHeight = fontMetrics().lineSpacing();
    resize(fontMetrics().averageCharWidth() * 110, lineHeight * 34);
}

QString ArchiveWindow::nameOf(const QString& contact) const {
    ArchivedMessage message;
    message.contact = contact;
    QList<MessageRow> row{ArchiveRow(message)};
    ResolveSenderNames(row, m_names);
    return row[0].sender;
}

void ArchiveWindow::reload() {
    fillContacts();
    refresh();
}

void ArchiveWindow::fillContacts() {
    const QString chosen = m_contact->currentData().toString();
    const QSignalBlocker quiet(m_contact);
    m_contact->clear();
    m_contact->addItem(text(kTextArchiveAllContacts), QString());
    for (const ArchiveContact& contact : m_archive->contacts()) {
        const QString name = nameOf(contact.contact);
        const QString caption = name == contact.contact
                                    ? contact.contact
                                    : name + QStringLiteral(" (") + contact.contact + u')';
        m_contact->addItem(
            caption + QStringLiteral("  [") + QString::number(contact.messages) + u']',
            contact.contact);
    }
    m_contact->setCurrentIndex(qMax(0, m_contact->findData(chosen)));
}

void ArchiveWindow::refresh() {
    ArchiveQuery query;
    query.search = m_search->text();
    query.contact = m_contact->currentData().toString();
    query.oldestFirst = m_conversation->isChecked() && !query.contact.isEmpty();
    // One row more than shown says whether more match.
    query.limit = kShownMost + 1;
    m_shown = m_archive->find(query);
    m_matching = int(m_shown.size());
    if (m_shown.size() > kShownMost) {
        m_shown.resize(kShownMost);
    }
    const QSignalBlocker quiet(m_grid);
    m_grid->clearContents();
    m_grid->setRowCount(int(m_shown.size()));
    for (int i = 0; i < m_shown.size(); ++i) {
        const ArchivedMessage& message = m_shown[i];
        const bool out = message.direction == Direction::Out;
        m_grid->setItem(i, kTime, ReadOnlyItem(message.time));
        m_grid->setItem(i, kDirection,
                        ReadOnlyItem(text(out ? kTextArchiveSent : kTextArchiveReceived)));
        m_grid->setItem(i, kContact, ReadOnlyItem(nameOf(message.contact)));
        m_grid->item(i, kContact)->setToolTip(message.contact);
        m_grid->setItem(i, kText, ReadOnlyItem(OneLine(message.text)));
    }
    m_grid->resizeColumnsToContents();
    // The widest time stamp fits, whatever rows the view measured.
    const int stampWidth =
        m_grid->fontMetrics().horizontalAdvance(QStringLiteral("28.12.2026 09:15:00")) +
        m_grid->fontMetrics().averageCharWidth() * 2;
    m_grid->setColumnWidth(kTime, qMax(m_grid->columnWidth(kTime), stampWidth));
    if (!m_shown.isEmpty()) {
        m_grid->setCurrentCell(0, kTime);
    }
    showCurrent();
    ApplyLanguage();
}

void ArchiveWindow::showCurrent() {
    const int row = m_grid->currentRow();
    const bool chosen = row >= 0 && row < m_shown.size();
    m_message->setPlainText(chosen ? m_shown[row].text : QString());
    m_reply->setEnabled(chosen && ArchiveRow(m_shown[row]).canReply());
}

void ArchiveWindow::ApplyLanguage() {
    QString title = text(kTextArchiveTitle);
    if (m_matching > kShownMost) {
        title += QStringLiteral(" ( %1 / > %2 )").arg(kShownMost).arg(kShownMost);
    } else {
        title += QStringLiteral(" ( %1 )").arg(m_shown.size());
    }
    setWindowTitle(title);
    m_searchLabel->setText(text(kTextArchiveSearch));
    m_contactLabel->setText(text(kTextArchiveContact));
    m_conversation->setText(text(kTextArchiveConversation));
    m_reply->setText(text(kTextArchiveReply));
    m_save->setText(text(10));
    m_contact->setItemText(0, text(kTextArchiveAllContacts));
    m_grid->setHorizontalHeaderLabels({text(31), QString(), text(29), text(30)});
    for (int row = 0; row < m_shown.size() && row < m_grid->rowCount(); ++row) {
        if (QTableWidgetItem* item = m_grid->item(row, kDirection)) {
            const bool out = m_shown[row].direction == Direction::Out;
            item->setText(text(out ? kTextArchiveSent : kTextArchiveReceived));
        }
    }
}

void ArchiveWindow::cmbReply_Click() {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_shown.size()) {
        return;
    }
    const MessageRow message = ArchiveRow(m_shown[row]);
    if (message.canReply() && m_hooks.reply) {
        m_hooks.reply(message.number);
    }
}

void ArchiveWindow::cmbSave_Click() {
    const QString chosen = m_hooks.saveDialog(text(42), QStringLiteral("MS Excel (*.csv)"));
    if (chosen.isEmpty()) {
        return;
    }
    QList<MessageRow> rows;
    for (const ArchivedMessage& message : m_shown) {
        rows.append(ArchiveRow(message));
    }
    ResolveSenderNames(rows, m_names);
    const QString path = CsvFilePath(chosen);
    QString error;
    if (!AppendMessagesCsv(path, rows, &error)) {
        m_messages.error(text(kTextCsvNotWritten).arg(path) + u' ' + error);
    }
}

bool ArchiveWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmbReply_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

ArchiveMenu::ArchiveMenu(QMenu* menu, MessageBoxes& messages, ArchiveWindowHooks hooks,
                         QWidget* parent, QString path)
    : QObject(parent),
      m_parent(parent),
      m_messages(messages),
      m_hooks(std::move(hooks)),
      m_path(std::move(path)),
      m_action(menu->addAction(QString())) {
    setObjectName(QStringLiteral("ArchiveMenu"));
    m_action->setObjectName(QStringLiteral("mni_archiv"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    if (!m_hooks.saveDialog) {
        m_hooks.saveDialog = [this](const QString& title, const QString& filter) {
            // No overwrite question: saving appends to an existing file.
            return QFileDialog::getSaveFileName(m_window, title, QString(), filter, nullptr,
                                                QFileDialog::DontConfirmOverwrite);
        };
    }
    connect(m_action, &QAction::triggered, this, &ArchiveMenu::mni_archiv_Click);
    ApplyLanguage();
}

MessageArchive& ArchiveMenu::archive() {
    if (!m_archive || !m_archive->usable()) {
        m_archive = std::make_shared<MessageArchive>(m_path);
    }
    return *m_archive;
}

SmsReader::Keeper ArchiveMenu::keeper() {
    return [this](const QString& phone, const QList<ReadMessage>& read) {
        MessageArchive& kept = archive();
        const bool stored = kept.store(ReceivedMessages(read, phone));
        if (m_window) {
            m_window->reload();
        }
        return SmsReader::KeepResult{stored, kept.problem().describe(m_hooks.language())};
    };
}

SmsSender::Record ArchiveMenu::sentRecord() {
    return [this](const QString& digits, const QString& text, DataCoding coding,
                  const QList<bool>& accepted) {
        MessageArchive& kept = archive();
        if (!kept.store(
                {SentMessage(digits, text, coding, accepted, QDateTime::currentDateTime())})) {
            m_messages.error(kept.problem().describe(m_hooks.language()));
        }
        if (m_window) {
            m_window->reload();
        }
    };
}

void ArchiveMenu::mni_archiv_Click() {
    if (!archive().usable()) {
        m_messages.error(m_archive->problem().describe(m_hooks.language()));
        return;
    }
    if (!m_window) {
        m_window = new ArchiveWindow(m_archive, m_messages, m_hooks, m_parent);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_window, &QObject::destroyed, this, [this] { m_window = nullptr; });
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void ArchiveMenu::ApplyLanguage() {
    m_action->setText(UiText(m_hooks.language(), kTextArchiveMenu));
    if (m_window) {
        m_window->ApplyLanguage();
    }
}

}  // namespace telvora::sms
