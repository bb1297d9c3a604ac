// The phone book in the main window and its dialogs, against the simulated
// phone in process, with message boxes, dialogs and file choosers answered
// by the test.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "phonebook_fakes.h"
#include "telvora/phonebook/frm_editname.h"
#include "telvora/phonebook/frm_odkud.h"
#include "telvora/phonebook/frm_upload.h"
#include "telvora/phonebook/phone_book_panel.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/frm_working.h"

using namespace telvora;
using telvora::test::RecordingBoxes;
using telvora::test::RecordingSimPort;

namespace {

PhoneBookEntry Entry(int position, const char* name, const char* number) {
    return {static_cast<qint16>(position), QString::fromUtf8(name), QString::fromUtf8(number)};
}

// Types `text` a character at a time, as the keyboard would.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QStringList Names(const PhoneBookList& list) {
    QStringList names;
    for (const PhoneBookEntry& entry : list) {
        names << entry.name;
    }
    return names;
}

// telvora on the demo phone, English, with its files in a temporary folder.
struct Rig {
    explicit Rig(const PhoneBookList& defaultFile = {}) {
        settings = std::make_unique<SettingsStore>(std::make_unique<QSettings>(
            dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat));
        settings->setLanguage(2);
        settings->setDevice(QStringLiteral("demo"));
        settings->setPort(QStringLiteral("1"));
        phonesim::PhoneState state = phonesim::demoPhoneState();
        state.options.latencyMs = 0;
        auto simPort = std::make_unique<RecordingSimPort>(state);
        port = simPort.get();
        ShellSetup setup;
        setup.settings = settings.get();
        setup.messages = &boxes;
        setup.port = std::move(simPort);
        setup.lockPath = dir.filePath(QStringLiteral("telvora.lock"));
        window = std::make_unique<frmMain>(std::move(setup));
        panel = window->findChild<PhoneBookPanel*>(QStringLiteral("phoneBookPanel"));
        panel->setDefaultFile(defaultPath());
        if (!defaultFile.isEmpty()) {
            SavePhoneBookFile(defaultPath(), defaultFile);
        }
        started = window->Startup() == frmMain::StartResult::Running;
    }

    QString defaultPath() const { return dir.filePath(QStringLiteral("default.tpb")); }
    const MainWindowControls& ui() const { return window->ui(); }
    QTableWidget* grid() const { return ui().FlexPB; }

    QTemporaryDir dir;
    RecordingBoxes boxes;
    std::unique_ptr<SettingsStore> settings;
    RecordingSimPort* port = nullptr;
    std::unique_ptr<frmMain> window;
    PhoneBookPanel* panel = nullptr;
    bool started = false;
};

}  // namespace

class PhoneBookWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void startupPreparesTheListAndLoadsTheDefaultFile();
    void choosingANameHandsItsNumberOver();
    void readingFromThePhoneFillsListAndDefaultFile();
    void cancelledReadSendsNothing();
    void menuItemsFollowTheListAndSortIt();
    void openAndSaveFiles();
    void editorMovesDeletesAndSorts();
    void editorEditsAndUploads();
    void editDialogFiltersKeys();
    void windowsLookRightWithALargerFont();
};

void PhoneBookWindowsTest::startupPreparesTheListAndLoadsTheDefaultFile() {
    {
        Rig rig;
        QVERIFY(rig.started);
        QCOMPARE(rig.grid()->rowCount(), 300);
        QCOMPARE(rig.grid()->columnCount(), 3);
        QVERIFY(rig.grid()->isColumnHidden(1) && rig.grid()->isColumnHidden(2));
    }
    Rig rig({Entry(3, "zoe", "3"), Entry(1, "Adam", "+1"), Entry(2, "Bára", "2")});
    QCOMPARE(Names(rig.panel->list()), (QStringList{"Adam", "Bára", "zoe"}));
    QCOMPARE(rig.grid()->rowCount(), 3);
    QCOMPARE(rig.grid()->item(0, 2)->text(), QStringLiteral("1"));
    QVERIFY(rig.ui().txtNumber->text().isEmpty());  // loading is not a choice
}

void PhoneBookWindowsTest::choosingANameHandsItsNumberOver() {
    Rig rig({Entry(1, "Jan", "+12025550123"), Entry(2, "Petr", "5550123")});
    rig.window->show();
    rig.window->activateWindow();
    rig.grid()->selectRow(0);
    QCOMPARE(rig.ui().txtNumber->text(), QStringLiteral("12025550123"));
    QCOMPARE(rig.grid()->currentColumn(), 1);
    QCOMPARE(rig.window->focusWidget(), rig.ui().txtSMS);
    rig.grid()->selectRow(1);
    QCOMPARE(rig.ui().txtNumber->text(), QStringLiteral("5550123"));

    // From the keyboard: arrows move in the list and hand over, Enter goes on.
    rig.grid()->setFocus();
    QTest::keyClick(rig.grid(), Qt::Key_Up);
    QCOMPARE(rig.ui().txtNumber->text(), QStringLiteral("12025550123"));
    QCOMPARE(rig.window->focusWidget(), rig.grid());
    QTest::keyClick(rig.grid(), Qt::Key_Return);
    QCOMPARE(rig.window->focusWidget(), rig.ui().txtSMS);
}

void PhoneBookWindowsTest::readingFromThePhoneFillsListAndDefaultFile() {
    Rig rig;
    rig.panel->setSourceChooser([] { return PhoneBookSource::Sim; });
    bool lockedDuring = false;
    bool progressDuring = false;
    rig.boxes.answers = {true};
    connect(&rig.window->link(), &AtLink::busyChanged, this, [&](bool busy) {
        if (busy) {
            lockedDuring = !rig.ui().mnu_seznam->menuAction()->isEnabled();
            progressDuring = rig.window->working().isVisible();
        }
    });
    rig.ui().cmbPhoneBook->click();
    QCOMPARE(rig.grid()->rowCount(), 10);
    QCOMPARE(rig.grid()->item(0, 0)->text(), QStringLiteral("Jana Nováková"));
    QCOMPARE(LoadPhoneBookFile(rig.defaultPath()).content.entries.size(), 10);
    QVERIFY(lockedDuring);
    QVERIFY(progressDuring);
    QCOMPARE(rig.window->working().Label1()->text(), QStringLiteral("Downloading ..."));
    QVERIFY(!rig.window->working().isVisible());
    QVERIFY(rig.ui().mnu_seznam->menuAction()->isEnabled());
    QVERIFY(!rig.window->link().Busy());
    QCOMPARE(rig.boxes.questions, QStringList{UiText(Language::English, 49)});

    // An empty memory keeps the file and shows the last phone book read.
    rig.port->phone().state().phoneBooks["ME"].entries.clear();
    rig.panel->setList({Entry(1, "Other", "1")});
    rig.panel->setSourceChooser([] { return PhoneBookSource::PhoneMemory; });
    rig.ui().cmbPhoneBook->click();
    QCOMPARE(rig.boxes.infos.last(), UiText(Language::English, 50));
    QCOMPARE(rig.grid()->rowCount(), 10);
}

void PhoneBookWindowsTest::cancelledReadSendsNothing() {
    Rig rig({Entry(1, "Kept", "1")});
    const qsizetype writes = rig.port->written.size();
    rig.panel->setSourceChooser([] { return PhoneBookSource::None; });
    rig.ui().cmbPhoneBook->click();
    QCOMPARE(rig.port->written.size(), writes);
    QCOMPARE(Names(rig.panel->list()), QStringList{"Kept"});
    QVERIFY(rig.ui().mnu_seznam->menuAction()->isEnabled());
    QVERIFY(!rig.window->working().isVisible());

    // The dialog itself: each button sets the memory and closes it.
    frmodkud dialog(Language::Czech);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Telvora SMS 1.21.21"));
    QCOMPARE(dialog.cmbphone()->text(), QStringLiteral("Z &telefonu"));
    dialog.cmbphone()->click();
    QCOMPARE(dialog.source(), PhoneBookSource::PhoneMemory);
    dialog.cmbcancel()->click();
    QCOMPARE(dialog.source(), PhoneBookSource::None);
}

void PhoneBookWindowsTest::menuItemsFollowTheListAndSortIt() {
    Rig empty;
    emit empty.ui().mnu_seznam->aboutToShow();
    QVERIFY(!empty.ui().mni_save->isEnabled());
    QVERIFY(!empty.ui().mni_upload->isEnabled());

    Rig rig({Entry(10, "Bob", "1"), Entry(9, "alice", "2"), Entry(1, "Carl", "3")});
    emit rig.ui().mnu_seznam->aboutToShow();
    QVERIFY(rig.ui().mni_save->isEnabled());
    QVERIFY(rig.ui().mni_upload->isEnabled());
    QVERIFY(rig.ui().mni_razeni_0->isChecked());

    rig.ui().mni_razeni_1->trigger();
    QCOMPARE(Names(rig.panel->list()), (QStringList{"Carl", "alice", "Bob"}));
    QVERIFY(rig.ui().mni_razeni_1->isChecked() && !rig.ui().mni_razeni_0->isChecked());
    QCOMPARE(rig.grid()->currentColumn(), 2);
    rig.ui().mni_razeni_0->trigger();
    QCOMPARE(Names(rig.panel->list()), (QStringList{"alice", "Bob", "Carl"}));
    QVERIFY(rig.ui().txtNumber->text().isEmpty());
}

void PhoneBookWindowsTest::openAndSaveFiles() {
    Rig rig({Entry(2, "Old", "1")});
    const QString other = rig.dir.filePath(QStringLiteral("other.tpb"));
    SavePhoneBookFile(other, {Entry(5, "Zdeněk", "5"), Entry(4, "Anna, Novák", "4")});
    QStringList titles;
    QStringList folders;
    QString answer = other;
    rig.panel->setFileChooser([&](bool, const QString& title, const QString& folder) {
        titles << title;
        folders << folder;
        return answer;
    });
    rig.ui().mni_razeni_1->trigger();
    rig.ui().mni_open->trigger();
    QCOMPARE(Names(rig.panel->list()), (QStringList{"Anna, Novák", "Zdeněk"}));
    QVERIFY(rig.ui().mni_razeni_0->isChecked());

    answer = rig.dir.filePath(QStringLiteral("missing.tpb"));
    rig.ui().mni_open->trigger();  // cannot be opened: told, list kept
    QCOMPARE(rig.boxes.errors.size(), 1);
    QCOMPARE(rig.panel->list().size(), 2);

    rig.ui().mni_razeni_1->trigger();
    answer = rig.dir.filePath(QStringLiteral("saved"));
    rig.ui().mni_save->trigger();
    const PhoneBookFileLoad saved = LoadPhoneBookFile(answer + QStringLiteral(".tpb"));
    QVERIFY(saved.opened);
    QCOMPARE(Names(saved.content.entries), (QStringList{"Anna, Novák", "Zdeněk"}));  // by position
    QCOMPARE(titles, (QStringList{"Phonebook", "Phonebook", "Save phonebook as ..."}));
    QCOMPARE(folders, QStringList(3, rig.dir.path()));

    answer = QStringLiteral("/proc/telvora-cannot-write");
    rig.ui().mni_save->trigger();
    QCOMPARE(rig.boxes.errors.size(), 2);
}

void PhoneBookWindowsTest::editorMovesDeletesAndSorts() {
    Rig rig({Entry(7, "Ann", "1"), Entry(2, "Ben", "2"), Entry(5, "Cid", "3")});
    rig.ui().mni_upload->trigger();
    frmUpload* editor = rig.panel->editor();
    QVERIFY(editor && editor->isVisible());
    QTableWidget* grid = editor->flexUpload();
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("1."));
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Name"));
    QVERIFY(editor->OptSerazeni(0)->isChecked());

    grid->setCurrentCell(1, 1);
    editor->button("cmbUp")->click();
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Ben"));
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("1."));
    QCOMPARE(grid->item(0, 3)->text(), QStringLiteral("7"));
    QCOMPARE(grid->currentRow(), 0);
    editor->button("cmbUp")->click();  // first row: nothing
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Ben"));

    editor->OptSerazeni(1)->click();  // positions 2, 5, 7 stayed with rows 2, 3, 1
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Ann"));
    editor->OptSerazeni(0)->click();
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("1."));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Ben"));

    grid->setCurrentCell(1, 1);
    QTest::keyClick(grid, Qt::Key_Delete);
    QVERIFY(grid->item(1, 1)->text().isEmpty());
    QCOMPARE(grid->currentRow(), 2);
    editor->button("cmbdelall")->click();
    QCOMPARE(grid->rowCount(), 3);
    QVERIFY(grid->item(2, 2)->text().isEmpty());

    // Shown again while open, the edits stay; closed and opened, they are gone.
    rig.ui().mni_upload->trigger();
    QVERIFY(grid->item(0, 1)->text().isEmpty());
    QTest::keyClick(grid, Qt::Key_Escape);
    QVERIFY(!editor->isVisible());
    rig.ui().mni_upload->trigger();
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Ann"));
    QCOMPARE(Names(rig.panel->list()), (QStringList{"Ann", "Ben", "Cid"}));  // main list untouched
}

void PhoneBookWindowsTest::editorEditsAndUploads() {
    Rig rig({Entry(1, "Ann", "+12025550123"), Entry(2, "Ben", "2")});
    rig.ui().mni_upload->trigger();
    frmUpload* editor = rig.panel->editor();
    QTableWidget* grid = editor->flexUpload();

    editor->setEditRunner([](frmeditname& dialog) {
        QCOMPARE(dialog.txtphone()->text(), QStringLiteral("+12025550123"));
        dialog.txtname()->setText(QStringLiteral("  Anna Černá "));
        dialog.cmbOK()->click();
    });
    grid->setCurrentCell(0, 2);
    QTest::keyClick(grid, Qt::Key_Return);  // as a double-click
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Anna Černá"));
    QCOMPARE(grid->currentColumn(), 1);
    editor->setEditRunner([](frmeditname& dialog) {
        dialog.txtname()->setText(QStringLiteral("Nope"));
        dialog.cmbCancel()->click();
    });
    editor->EditEntry();
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Anna Černá"));
    editor->setEditRunner([](frmeditname& dialog) {
        QVERIFY(dialog.txtname()->text().isEmpty());
        dialog.txtname()->setText(QStringLiteral("Nový"));
        dialog.txtphone()->setText(QStringLiteral("+420111"));
        dialog.cmbOK()->click();
    });
    editor->button("cmbAdd")->click();
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("3."));
    QCOMPARE(grid->currentRow(), 2);

    rig.boxes.answers = {true};
    // The bar follows the label, change by change, and ends at n/n.
    frmWorking& working = rig.window->working();
    QStringList steps;
    connect(working.ProgressBar1(), &QProgressBar::valueChanged, this, [&](int value) {
        if (!working.ProgressBar1()->isHidden()) {
            steps << QStringLiteral("%1 %2/%3")
                         .arg(working.Label1()->text())
                         .arg(value)
                         .arg(working.ProgressBar1()->maximum());
        }
    });
    editor->button("cmbToPhone")->click();
    QStringList expected;
    for (int i = 1; i <= 8; ++i) {
        expected << QStringLiteral("Uploading %1/8 %1/8").arg(i);
    }
    QCOMPARE(steps, expected);
    const auto& entries = rig.port->phone().state().phoneBooks["ME"].entries;
    QCOMPARE(entries.value(1).name, QStringLiteral("Anna Černá"));
    QCOMPARE(entries.value(1).number, QStringLiteral("+12025550123"));
    QCOMPARE(entries.value(1).type, 145);
    QCOMPARE(entries.value(2).name, QStringLiteral("Ben"));
    // The memory holds exactly the editor's entries: the new one in the
    // lowest free position, three written, five erased.
    QCOMPARE(entries.keys(), (QList<int>{1, 2, 3}));
    QCOMPARE(entries.value(3).name, QStringLiteral("Nový"));
    QCOMPARE(rig.window->working().Label1()->text(), QStringLiteral("Uploading 8/8"));
    QVERIFY(!rig.window->working().isVisible());
    QVERIFY(rig.boxes.errors.isEmpty());
    QCOMPARE(Names(rig.panel->list()), (QStringList{"Ann", "Ben"}));
}

void PhoneBookWindowsTest::editDialogFiltersKeys() {
    frmeditname dialog(Language::English, QString(), QString());
    dialog.show();
    Type(dialog.txtname(), QStringLiteral("Jiří \"Jirka\""));
    QCOMPARE(dialog.txtname()->text(), QStringLiteral("Jiří Jirka"));
    Type(dialog.txtphone(), QStringLiteral("+420 6+0a3"));  // "+" only at the start
    QCOMPARE(dialog.txtphone()->text(), QStringLiteral("+420603"));
    QTest::keyClick(dialog.txtphone(), Qt::Key_Backspace);
    QCOMPARE(dialog.txtphone()->text(), QStringLiteral("+42060"));
    dialog.txtphone()->selectAll();
    dialog.txtphone()->insert(QStringLiteral("+1 (555) 0123"));  // as pasted
    emit dialog.txtphone()->textEdited(dialog.txtphone()->text());
    QCOMPARE(dialog.txtphone()->text(), QStringLiteral("+15550123"));
    QCOMPARE(dialog.txtname()->maxLength(), 50);
    QCOMPARE(dialog.txtphone()->maxLength(), 100);
    QTest::keyClick(dialog.txtname(), Qt::Key_Return);  // Enter is OK
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit "));
}

void PhoneBookWindowsTest::windowsLookRightWithALargerFont() {
    // Grabs the windows at 1.5 times the default font; TELVORA_SCREENSHOTS
    // names a folder to keep the pictures in.
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPointSizeF(original.pointSizeF() * 1.5);
    QApplication::setFont(large);
    {
        Rig rig({Entry(1, "Martina Dvořáková", "+420603123456"), Entry(2, "Jiří Řezníček", "1")});
        rig.ui().mni_upload->trigger();
        frmUpload* editor = rig.panel->editor();
        frmodkud odkud(Language::Czech);
        frmeditname edit(Language::Czech, QStringLiteral("Jiří Řezníček"), QStringLiteral("1"));
        rig.panel->setSourceChooser([] { return PhoneBookSource::PhoneMemory; });
        rig.ui().cmbPhoneBook->click();
        QCOMPARE(rig.grid()->item(0, 0)->text(), QStringLiteral("Babička Růžena"));
        const QList<QPair<QWidget*, QString>> windows{{rig.window.get(), "telvora-pb-main.png"},
                                                      {editor, "telvora-pb-editor.png"},
                                                      {&odkud, "telvora-pb-odkud.png"},
                                                      {&edit, "telvora-pb-edit.png"}};
        for (const auto& [widget, file] : windows) {
            widget->show();
            widget->adjustSize();
            QApplication::processEvents();
            // Every button shows its whole caption.
            for (QPushButton* button : widget->findChildren<QPushButton*>()) {
                if (button->isVisible() && button->x() >= 0) {
                    QVERIFY2(button->width() >= button->sizeHint().width(),
                             qPrintable(button->objectName()));
                }
            }
            const QString folder = qEnvironmentVariable("TELVORA_SCREENSHOTS");
            if (!folder.isEmpty()) {
                widget->grab().save(QDir(folder).filePath(file));
            }
        }
    }
    QApplication::setFont(original);
}

QTEST_MAIN(PhoneBookWindowsTest)
#include "tst_phonebook_windows.moc"
