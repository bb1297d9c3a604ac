#include "telvora/phonebook/phone_book_panel.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>

#include "telvora/phonebook/frm_odkud.h"
#include "telvora/phonebook/frm_upload.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/phonebook/phone_book_texts.h"
#include "telvora/phonebook/read_phone_book.h"

namespace telvora {
namespace {

constexpr int kStartupRows = 300;
constexpr int kNameTwips = 2100;
constexpr int kTwipsPerPixel = 15;
constexpr int kNameColumn = 0;
constexpr int kNumberColumn = 1;
constexpr int kPositionColumn = 2;

QString CellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

QString FileFilter(const QString& description) {
    return description + QStringLiteral(" (*.tpb)");
}

}  // namespace

PhoneBookPanel::PhoneBookPanel(PhoneBookWindow controls, CommandHost& host)
    : QObject(controls.window),
      m_ui(std::move(controls)),
      m_host(host),
      m_window(m_ui.window),
      m_defaultFile(DefaultPhoneBookFile()) {
    setObjectName(QStringLiteral("phoneBookPanel"));
    m_chooseSource = [this] {
        frmodkud dialog(m_host.language(), m_window);
        dialog.exec();
        return dialog.source();
    };
    m_chooseFile = [this](bool save, const QString& title, const QString& folder) {
        const QString filter = FileFilter(text(22));
        return save ? QFileDialog::getSaveFileName(m_window, title, folder, filter)
                    : QFileDialog::getOpenFileName(m_window, title, folder, filter);
    };
    connectControls();
}

PhoneBookPanel::~PhoneBookPanel() = default;

frmUpload* PhoneBookPanel::editor() const {
    return m_editor;
}

void PhoneBookPanel::connectControls() {
    connect(m_ui.cmbPhoneBook, &QPushButton::clicked, this, &PhoneBookPanel::ReadFromPhone);
    m_ui.FlexPB->installEventFilter(this);
    connect(m_ui.FlexPB, &QTableWidget::itemSelectionChanged, this,
            &PhoneBookPanel::handOverNumber);
    connect(m_ui.mnu_seznam, &QMenu::aboutToShow, this, &PhoneBookPanel::enableMenuItems);
    connect(m_ui.mni_open, &QAction::triggered, this, &PhoneBookPanel::OpenFile);
    connect(m_ui.mni_save, &QAction::triggered, this, &PhoneBookPanel::SaveFile);
    connect(m_ui.mni_upload, &QAction::triggered, this, &PhoneBookPanel::ShowEditor);
    connect(m_ui.mni_razeni_0, &QAction::triggered, this, [this] { SortPhoneBookList(0); });
    connect(m_ui.mni_razeni_1, &QAction::triggered, this, [this] { SortPhoneBookList(1); });
}

void PhoneBookPanel::fitNameColumn() {
    // Twips are for the system's font; a larger font gets a wider column.
    QTableWidget* grid = m_ui.FlexPB;
    const qreal systemSize = QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF();
    const qreal scale =
        systemSize > 0 ? std::max<qreal>(1.0, grid->font().pointSizeF() / systemSize) : 1.0;
    const int width = qRound(kNameTwips * scale / kTwipsPerPixel);
    grid->setColumnWidth(kNameColumn, width);
    grid->setFixedWidth(width + 2 * grid->frameWidth() +
                        grid->verticalScrollBar()->sizeHint().width());
}

void PhoneBookPanel::LoadAtStartup() {
    fitNameColumn();
    QTableWidget* grid = m_ui.FlexPB;
    m_filling = true;
    grid->clearContents();
    grid->setRowCount(kStartupRows);
    grid->setCurrentCell(0, kNameColumn);
    m_filling = false;
    if (QFileInfo::exists(m_defaultFile)) {
        LoadPhoneBookFile(m_defaultFile);
    }
}

PhoneBookList PhoneBookPanel::list() const {
    const QTableWidget* grid = m_ui.FlexPB;
    PhoneBookList list;
    list.reserve(grid->rowCount());
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QString name = CellText(grid, row, kNameColumn);
        const QString number = CellText(grid, row, kNumberColumn);
        const QString position = CellText(grid, row, kPositionColumn);
        if (name.isEmpty() && number.isEmpty() && position.isEmpty()) {
            continue;  // the empty rows the list starts with
        }
        list.append({static_cast<qint16>(position.toInt()), name, number});
    }
    return list;
}

void PhoneBookPanel::setList(const PhoneBookList& list) {
    QTableWidget* grid = m_ui.FlexPB;
    m_filling = true;
    grid->setRowCount(static_cast<int>(list.size()));
    {
        // The rows exist now; one repaint after all cells are set is enough,
        // so the cells go in without a change signal each. Cells that exist
        // already (a sort, a second load) only get their new text.
        const QSignalBlocker quiet(grid->model());
        const auto put = [grid](int row, int column, const QString& text) {
            if (QTableWidgetItem* item = grid->item(row, column)) {
                item->setText(text);
            } else {
                grid->setItem(row, column, new QTableWidgetItem(text));
            }
        };
        for (int row = 0; row < list.size(); ++row) {
            const PhoneBookEntry& entry = list[row];
            put(row, kNameColumn, entry.name);
            put(row, kNumberColumn, entry.number);
            put(row, kPositionColumn, QString::number(entry.position));
        }
    }
    grid->viewport()->update();
    grid->clearSelection();
    if (!list.isEmpty()) {
        grid->setCurrentCell(0, kNameColumn, QItemSelectionModel::NoUpdate);
    }
    m_filling = false;
}

bool PhoneBookPanel::LoadPhoneBookFile(const QString& path) {
    const PhoneBookFileLoad load = telvora::LoadPhoneBookFile(path);
    if (!load.opened) {
        m_host.messages().error(text(kTextCannotOpen).arg(path));
        return false;
    }
    PhoneBookList entries = load.content.entries;
    SortPhoneBook(entries, PhoneBookSortKind::ByName);
    setList(entries);
    showLoadNotices(load.content.skippedLines);
    return true;
}

void PhoneBookPanel::showLoadNotices(int skippedLines) {
    if (skippedLines > 0) {
        m_host.messages().info(text(kTextLinesSkipped).arg(skippedLines));
    }
}

void PhoneBookPanel::SortPhoneBookList(int kind) {
    const bool byName = kind == 0;
    PhoneBookList entries = list();
    SortPhoneBook(entries, byName ? PhoneBookSortKind::ByName : PhoneBookSortKind::ByPosition);
    setList(entries);
    (byName ? m_ui.mni_razeni_0 : m_ui.mni_razeni_1)->setChecked(true);
    if (!entries.isEmpty()) {
        m_filling = true;
        m_ui.FlexPB->setCurrentCell(0, byName ? kNameColumn : kPositionColumn,
                                    QItemSelectionModel::NoUpdate);
        m_filling = false;
    }
}

void PhoneBookPanel::handOverNumber() {
    QTableWidget* grid = m_ui.FlexPB;
    const QList<QTableWidgetItem*> selected = grid->selectedItems();
    if (m_filling || selected.isEmpty()) {
        return;
    }
    const int row = selected.first()->row();
    m_filling = true;
    grid->setCurrentCell(row, kNumberColumn, QItemSelectionModel::NoUpdate);
    m_filling = false;
    // A click goes on to the message at once; arrow keys stay in the list so
    // that the user can move on, and Enter goes to the message.
    const bool moveOn =
        grid->window()->focusWidget() != grid || QGuiApplication::mouseButtons() != Qt::NoButton;
    emit numberChosen(NumberForNumberField(CellText(grid, row, kNumberColumn)), moveOn);
}

bool PhoneBookPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui.FlexPB && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit messageWanted();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PhoneBookPanel::enableMenuItems() {
    const QTableWidget* grid = m_ui.FlexPB;
    const QTableWidgetItem* current = grid->currentItem();
    const bool filled = grid->rowCount() > 0 && current && !current->text().isEmpty();
    m_ui.mni_save->setEnabled(filled);
    m_ui.mni_upload->setEnabled(filled);
}

void PhoneBookPanel::ReadFromPhone() {
    const PhoneBookSource source = m_chooseSource();
    CommandHost::Scope command(m_host);
    m_host.showProgress(text(28));
    if (source == PhoneBookSource::Sim || source == PhoneBookSource::PhoneMemory) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const ReadPhoneBookResult result =
            ReadPhoneBook(PhoneBookCommandSetup(m_host)).run(source, m_defaultFile);
        QApplication::restoreOverrideCursor();
        if (result.status == ReadPhoneBookResult::Status::Read) {
            PhoneBookList entries = result.entries;
            SortPhoneBook(entries, PhoneBookSortKind::ByName);
            setList(entries);
        } else if (result.status == ReadPhoneBookResult::Status::Empty &&
                   QFileInfo::exists(m_defaultFile)) {
            LoadPhoneBookFile(m_defaultFile);  // the last phone book read stays the list
        }
    }
}

void PhoneBookPanel::OpenFile() {
    const QString path = m_chooseFile(false, text(22), QFileInfo(m_defaultFile).absolutePath());
    if (!path.isEmpty()) {
        LoadPhoneBookFile(path);
    }
    SortPhoneBookList(0);
}

void PhoneBookPanel::SaveFile() {
    const QString chosen = m_chooseFile(true, text(43), QFileInfo(m_defaultFile).absolutePath());
    if (chosen.trimmed().isEmpty()) {
        return;
    }
    const QString path = PhoneBookSavePath(chosen);
    QString error;
    if (!SavePhoneBookFile(path, list(), &error)) {
        m_host.messages().error(text(kTextCannotWrite).arg(path) + '\n' + error);
    }
}

void PhoneBookPanel::ShowEditor() {
    if (!m_editor) {
        m_editor = new frmUpload(m_host, m_window);
    }
    if (!m_editor->isVisible()) {
        m_editor->FillEditor(list());
        m_editor->show();
    }
    m_editor->raise();
    m_editor->activateWindow();
}

void PhoneBookPanel::ApplyLanguage(Language language) {
    if (m_editor) {
        m_editor->ApplyLanguage(language);
    }
}

}  // namespace telvora
