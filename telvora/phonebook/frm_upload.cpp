#include "telvora/phonebook/frm_upload.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "telvora/phonebook/frm_editname.h"
#include "telvora/phonebook/frm_odkud.h"
#include "telvora/phonebook/upload_phone_book.h"

namespace telvora {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kColumnTwips[] = {380, 1500, 1750};
constexpr int kFillColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kNumberColumn = 2;
constexpr int kPositionColumn = 3;
constexpr int kInitialRows = 30;

struct ButtonText {
    const char* name;
    int caption;
    int toolTip;  // 0: none
};
constexpr ButtonText kButtons[] = {
    {"cmbUp", 62, 63},  {"cmbDown", 64, 65}, {"cmbdel", 66, 0},     {"cmbdelall", 67, 0},
    {"cmbAdd", 164, 0}, {"cmbToSim", 68, 0}, {"cmbToPhone", 69, 0},
};

int Pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QTableWidgetItem* Cell(const QString& text, bool fixed = false) {
    auto* item = new QTableWidgetItem(text);
    if (fixed) {
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(QPalette().button());
    } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    return item;
}

}  // namespace

frmUpload::frmUpload(CommandHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_host(host),
      m_grid(new QTableWidget(this)),
      m_sortLabel(new QLabel(this)),
      m_options{new QRadioButton(this), new QRadioButton(this)},
      m_editRunner([](frmeditname& dialog) { dialog.exec(); }) {
    setObjectName(QStringLiteral("frmUpload"));
    setWindowTitle(PhoneBookWindowTitle());
    buildControls();
    ApplyLanguage(m_host.language());
}

void frmUpload::buildControls() {
    m_grid->setObjectName(QStringLiteral("flexUpload"));
    m_grid->setColumnCount(4);
    m_grid->setRowCount(kInitialRows);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setColumnHidden(kPositionColumn, true);
    m_grid->setMinimumHeight(300);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { EditEntry(); });

    auto* buttons = new QVBoxLayout;
    for (const ButtonText& text : kButtons) {
        auto* button = new QPushButton(this);
        button->setObjectName(QLatin1String(text.name));
        if (text.caption == 66 || text.caption == 68) {
            buttons->addSpacing(8);  // moves, clearing and uploads in groups
        }
        buttons->addWidget(button);
    }
    m_sortLabel->setObjectName(QStringLiteral("lblseraditdle"));
    buttons->addSpacing(12);
    buttons->addWidget(m_sortLabel);
    for (int i = 0; i < 2; ++i) {
        m_options[i]->setObjectName(QStringLiteral("OptSerazeni_%1").arg(i));
        buttons->addWidget(m_options[i]);
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { SortBy(i); });
    }
    m_options[0]->setChecked(true);
    buttons->addStretch();

    // The window's cancel button, out of sight: Esc presses it.
    auto* exit = new QPushButton(QStringLiteral("E&xit"), this);
    exit->setObjectName(QStringLiteral("cmbExit"));
    exit->setGeometry(-Pixels(2000), 0, 10, 10);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    connect(button("cmbUp"), &QPushButton::clicked, this, [this] { MoveEntry(+1); });
    connect(button("cmbDown"), &QPushButton::clicked, this, [this] { MoveEntry(-1); });
    connect(button("cmbdel"), &QPushButton::clicked, this, &frmUpload::DeleteEntry);
    connect(button("cmbdelall"), &QPushButton::clicked, this, &frmUpload::DeleteAll);
    connect(button("cmbAdd"), &QPushButton::clicked, this, &frmUpload::AddEntry);
    connect(button("cmbToSim"), &QPushButton::clicked, this,
            [this] { UploadTo(PhoneBookSource::Sim); });
    connect(button("cmbToPhone"), &QPushButton::clicked, this,
            [this] { UploadTo(PhoneBookSource::PhoneMemory); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
}

QPushButton* frmUpload::button(const char* name) const {
    return findChild<QPushButton*>(QLatin1String(name));
}

void frmUpload::ApplyLanguage(Language language) {
    const auto text = [language](int n) { return UiText(language, n); };
    for (const ButtonText& entry : kButtons) {
        QPushButton* target = button(entry.name);
        target->setText(text(entry.caption));
        target->setToolTip(entry.toolTip ? text(entry.toolTip) : QString());
    }
    m_sortLabel->setText(text(70));
    m_options[0]->setText(text(71));
    m_options[1]->setText(text(72));
    m_grid->setHorizontalHeaderLabels({QString(), text(51), text(52), QString()});
    fitColumns();
}

void frmUpload::FillEditor(const PhoneBookList& list) {
    m_editor.Fill(list);
    m_options[0]->setChecked(true);
    showRows();
    setCurrentRow(0, kNameColumn);
}

void frmUpload::showRows() {
    const QList<EditorRow>& rows = m_editor.rows();
    m_grid->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const EditorRow& row = rows[i];
        m_grid->setItem(i, kFillColumn, Cell(FillText(row.fill), true));
        m_grid->setItem(i, kNameColumn, Cell(row.name));
        m_grid->setItem(i, kNumberColumn, Cell(row.number));
        m_grid->setItem(i, kPositionColumn, Cell(QString::number(row.position)));
    }
    fitColumns();
}

void frmUpload::fitColumns() {
    // The program's widths, widened where a larger font needs more room.
    int total = 0;
    for (int column = 0; column < 3; ++column) {
        m_grid->resizeColumnToContents(column);
        const int width = std::max(Pixels(kColumnTwips[column]), m_grid->columnWidth(column));
        m_grid->setColumnWidth(column, width);
        total += width;
    }
    m_grid->setMinimumWidth(total + 2 * m_grid->frameWidth() +
                            m_grid->verticalScrollBar()->sizeHint().width());
}

void frmUpload::setCurrentRow(qsizetype row, int column) {
    if (row < 0 || row >= m_grid->rowCount()) {
        return;
    }
    m_grid->setCurrentCell(static_cast<int>(row), column);
    m_grid->scrollToItem(m_grid->item(static_cast<int>(row), column));
}

void frmUpload::MoveEntry(int direction) {
    const qsizetype row = m_grid->currentRow();
    const qsizetype moved = m_editor.MoveEntry(row, direction);
    if (moved != row) {
        showRows();
        setCurrentRow(moved, kNameColumn);
    }
}

void frmUpload::DeleteEntry() {
    const qsizetype row = m_grid->currentRow();
    if (row < 0) {
        return;
    }
    const qsizetype next = m_editor.ClearEntry(row);
    showRows();
    setCurrentRow(next, std::max(m_grid->currentColumn(), kNameColumn));
}

void frmUpload::DeleteAll() {
    const int row = m_grid->currentRow();
    m_editor.ClearAll();
    showRows();
    setCurrentRow(row, kNameColumn);
}

void frmUpload::SortBy(int option) {
    if (option == 0) {
        m_editor.SortByFill();
    } else {
        m_editor.SortByPosition();
    }
    showRows();
    setCurrentRow(0, kNameColumn);
}

void frmUpload::EditEntry() {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_editor.size()) {
        return;
    }
    const EditorRow& entry = m_editor.rows()[row];
    frmeditname dialog(m_host.language(), entry.name, entry.number, this);
    m_editRunner(dialog);
    if (dialog.result() == QDialog::Accepted) {
        m_editor.SetEntry(row, dialog.name(), dialog.number());
        showRows();
    }
    setCurrentRow(row, kNameColumn);
}

void frmUpload::AddEntry() {
    frmeditname dialog(m_host.language(), QString(), QString(), this);
    m_editRunner(dialog);
    if (dialog.result() != QDialog::Accepted ||
        (dialog.name().trimmed().isEmpty() && dialog.number().trimmed().isEmpty())) {
        return;
    }
    const qsizetype row = m_editor.AddEntry(dialog.name(), dialog.number());
    showRows();
    setCurrentRow(row, kNameColumn);
}

void frmUpload::UploadTo(PhoneBookSource memory) {
    QList<UploadEntry> entries;
    for (const EditorRow& row : m_editor.rows()) {
        entries.append({row.name, row.number, row.position});
    }
    CommandHost::Scope running(m_host);
    setCursor(Qt::WaitCursor);
    UploadPhoneBook command{PhoneBookCommandSetup(m_host)};
    connect(&command, &UploadPhoneBook::progress, this,
            [this](const QString& text, int done, int total) {
                m_host.showProgress(text, done, total);
            });
    command.run(memory, entries);
    unsetCursor();
}

void frmUpload::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        button("cmbExit")->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmUpload::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Delete:
                DeleteEntry();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_F2:
                EditEntry();  // the double-click from the keyboard
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace telvora
