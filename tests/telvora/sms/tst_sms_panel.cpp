// The message controls of the main window: the editor's filter, counter and
// modes, sending, the download into the list, click and double click, and
// saving the list, against the in-process simulated phone.

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "telvora/core/ui_texts.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/at_link.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/frm_working.h"
#include "telvora/sms/message_csv.h"
#include "telvora/sms/sms_panel.h"
#include "tests/telvora/shell/shell_fakes.h"

using namespace telvora;
using telvora::test::FakeMessageBoxes;

namespace {

struct Rig {
    explicit Rig(phonesim::PhoneState state = phonesim::demoPhoneState(),
                 const std::function<void(SettingsStore&)>& prepare = {}) {
        settings = std::make_unique<SettingsStore>(std::make_unique<QSettings>(
            dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat));
        if (prepare) {
            prepare(*settings);
        }
        auto port = std::make_unique<phonesim::PhoneSimPort>(std::move(state));
        port->phone().options().latencyMs = 0;
        phone = port.get();
        ShellSetup setup;
        setup.settings = settings.get();
        setup.messages = &boxes;
        setup.port = std::move(port);
        setup.lockPath = dir.filePath(QStringLiteral("telvora.lock"));
        window = std::make_unique<frmMain>(std::move(setup));
        window->link().OpenPort(QStringLiteral("demo"));
        panel = window->findChild<sms::SmsPanel*>(QStringLiteral("SmsPanel"));
    }
    const MainWindowControls& ui() const { return window->ui(); }

    QTemporaryDir dir;
    FakeMessageBoxes boxes;
    std::unique_ptr<SettingsStore> settings;
    phonesim::PhoneSimPort* phone = nullptr;
    std::unique_ptr<frmMain> window;
    sms::SmsPanel* panel = nullptr;
};

void AddPhoneBookEntry(QTableWidget& grid, const QString& name, const QString& number) {
    const int row = grid.rowCount();
    grid.setRowCount(row + 1);
    grid.setItem(row, 0, new QTableWidgetItem(name));
    grid.setItem(row, 1, new QTableWidgetItem(number));
}

// Types `text` key by key, as a keyboard with these letters would.
void Type(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

QString Cell(const QTableWidget& grid, int row, int column) {
    return grid.item(row, column) ? grid.item(row, column)->text() : QString();
}

}  // namespace

class SmsPanelTest : public QObject {
    Q_OBJECT
private slots:
    void keyFilterCounterAndLimits();
    void longModeCountsMessagesAndCutsWhenLeft();
    void withoutDiacriticsIsRememberedAndSendsSevenBit();
    void longCzechTextGoesAsOneMessageAndReadsBack();
    void sendsFromTheEditor();
    void refusedNumberKeepsTheText();
    void downloadFillsTheListNewestFirstWithNames();
    void clickShowsAndDoubleClickReplies();
    void savesTheListAndAppends();
    void deletesAfterDownloadWhenTicked();
    void editorLooksRightWithALargerFont();
    void refusedStoreLeavesTheCountMarkedIncomplete();
};

void SmsPanelTest::keyFilterCounterAndLimits() {
    Rig rig;
    QPlainTextEdit* editor = rig.ui().txtSMS;
    QVERIFY(rig.panel);
    QVERIFY(!rig.ui().cmbOdeslat->isEnabled());
    QCOMPARE(rig.ui().lblZbyva->text(), QStringLiteral("160"));
    Type(editor, QStringLiteral("a@`€"));
    QTest::keyClick(editor, Qt::Key_Return);  // Enter inserts no line break
    QCOMPARE(editor->toPlainText(), QStringLiteral("a@`€"));
    // The backquote is outside the GSM alphabet: the text goes as UCS2.
    QCOMPARE(rig.ui().lblZbyva->text(), QStringLiteral("66"));
    QCOMPARE(rig.ui().lblzbyvachar->text(), QStringLiteral("Zbývá"));
    QCOMPARE(rig.ui().lblchars->text(), QStringLiteral("znaků (Unicode), 1 zpráva"));
    QVERIFY(rig.ui().cmbOdeslat->isEnabled());

    editor->setPlainText(QStringLiteral("a@€"));
    QCOMPARE(rig.ui().lblZbyva->text(), QStringLiteral("156"));
    QCOMPARE(rig.ui().lblchars->text(), QStringLiteral("znaků (GSM), 1 zpráva"));
    editor->moveCursor(QTextCursor::End);
    Type(editor, QStringLiteral("ř"));                 // a typed Czech letter stays
    editor->insertPlainText(QStringLiteral("x\nž😀"));  // pasted: the line break stays
    QCOMPARE(editor->toPlainText(), QStringLiteral("a@€řx\nž😀"));
    QCOMPARE(rig.ui().lblZbyva->text(), QString::number(70 - 9));

    editor->setPlainText(QString(160, u'x'));
    QCOMPARE(rig.ui().lblZbyva->text(), QStringLiteral("0"));
    QTextCursor middle = editor->textCursor();
    middle.setPosition(50);
    editor->setTextCursor(middle);
    Type(editor, QStringLiteral("Y"));
    QCOMPARE(editor->toPlainText(), QString(160, u'x'));  // the 161st character is refused
    QCOMPARE(editor->textCursor().position(), 50);
    Type(editor, QStringLiteral("č"));  // would make it UCS2, of which 70 fit: refused
    QCOMPARE(editor->toPlainText(), QString(160, u'x'));

    rig.ui().cmbClear->click();
    QVERIFY(editor->toPlainText().isEmpty());
    QVERIFY(!rig.ui().cmbOdeslat->isEnabled());
}

void SmsPanelTest::longModeCountsMessagesAndCutsWhenLeft() {
    Rig rig;
    QPlainTextEdit* editor = rig.ui().txtSMS;
    rig.ui().CheckDelsi160->click();
    QCOMPARE(rig.ui().lblZbyva->text(), QStringLiteral("160"));
    editor->setPlainText(QString(86, u'č'));
    QCOMPARE(rig.ui().lblzbyvachar->text() + u' ' + rig.ui().lblZbyva->text() + u' ' +
                 rig.ui().lblchars->text(),
             QStringLiteral("Zbývá 48 znaků (Unicode), 2 zprávy"));
    rig.window->ApplyLanguage(Language::English);
    QCOMPARE(rig.ui().lblchars->text(), QStringLiteral("chars. (Unicode), 2 messages"));
    editor->setPlainText(QString(1600, u'y'));
    QCOMPARE(editor->toPlainText().size(), 1530);  // ten parts of 153
    QCOMPARE(rig.ui().lblchars->text(), QStringLiteral("chars. (GSM), 10 messages"));
    rig.ui().CheckDelsi160->click();
    QCOMPARE(editor->toPlainText(), QString(160, u'y'));
    QCOMPARE(rig.ui().lblZbyva->text(), QStringLiteral("0"));
}

void SmsPanelTest::withoutDiacriticsIsRememberedAndSendsSevenBit() {
    Rig rig;
    QCheckBox* box = rig.panel->CheckBezDiakritiky();
    QVERIFY(box && box->isVisible() == rig.ui().CheckDelsi160->isVisible());
    QCOMPARE(box->text(), QStringLiteral("Bez &diakritiky"));
    QVERIFY(!box->isChecked());
    rig.ui().txtSMS->setPlainText(QStringLiteral("Příliš žluťoučký kůň"));
    QCOMPARE(rig.ui().lblchars->text(), QStringLiteral("znaků (Unicode), 1 zpráva"));
    box->click();
    QCOMPARE(rig.ui().lblchars->text(), QStringLiteral("znaků (GSM), 1 zpráva"));
    QCOMPARE(rig.settings->read().withoutDiacritics, true);
    rig.ui().txtNumber->setText(QStringLiteral("777"));
    rig.boxes.answers = {false};
    rig.ui().cmbOdeslat->click();
    QCOMPARE(rig.phone->phone().state().sent.size(), 1);
    QCOMPARE(rig.phone->phone().state().sent[0].text, QStringLiteral("Prilis zlutoucky kun"));
    // Still outside the alphabet: asked before sending; No sends nothing.
    rig.ui().txtSMS->setPlainText(QStringLiteral("Čau 😀"));
    rig.boxes.answers = {false};
    rig.ui().cmbOdeslat->click();
    QCOMPARE(rig.phone->phone().state().sent.size(), 1);
    QVERIFY(rig.boxes.shown.last().text.contains(QStringLiteral("„😀“")));

    // A window opened on stored settings with the box ticked shows it ticked.
    Rig stored(phonesim::demoPhoneState(),
               [](SettingsStore& settings) { settings.setWithoutDiacritics(true); });
    QVERIFY(stored.panel->CheckBezDiakritiky()->isChecked());
}

void SmsPanelTest::longCzechTextGoesAsOneMessageAndReadsBack() {
    Rig rig(phonesim::PhoneState::makeEmpty());
    const QString text = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy. ").repeated(3);
    rig.ui().CheckDelsi160->click();
    rig.ui().txtNumber->setText(QStringLiteral("420603123456"));
    rig.ui().txtSMS->setPlainText(text);
    rig.boxes.answers = {false};
    // The progress window counts the parts 1..n, its bar with the label.
    frmWorking& working = rig.window->working();
    QStringList steps;
    connect(working.ProgressBar1(), &QProgressBar::valueChanged, this, [&](int value) {
        steps << QStringLiteral("%1 %2/%3 %4")
                     .arg(working.Label1()->text())
                     .arg(value)
                     .arg(working.ProgressBar1()->maximum())
                     .arg(working.ProgressBar1()->isHidden() ? "hidden" : "shown");
    });
    rig.ui().cmbOdeslat->click();
    QCOMPARE(rig.phone->phone().state().sent.size(), 2);
    QCOMPARE(steps, (QStringList{"Odesílám 1/2 1/2 shown", "Odesílám 2/2 2/2 shown"}));
    QVERIFY(!working.isVisible());
    rig.ui().cmbNactiSMS->click();
    // Reading does not know how many messages it gets: no bar.
    QCOMPARE(working.Label1()->text(), UiText(Language::Czech, 28));
    QVERIFY(working.ProgressBar1()->isHidden());
    QCOMPARE(rig.ui().flexSMS->rowCount(), 1);
    QCOMPARE(Cell(*rig.ui().flexSMS, 0, 2), text);
}

void SmsPanelTest::sendsFromTheEditor() {
    Rig rig;
    rig.ui().txtNumber->setText(QStringLiteral("  +420 603 123 456 "));
    rig.ui().txtSMS->setPlainText(QStringLiteral("Ahoj @ $ [x]"));
    rig.boxes.answers = {true};  // write a new message
    rig.ui().cmbOdeslat->click();
    QCOMPARE(rig.phone->phone().state().sent.size(), 1);
    QCOMPARE(rig.phone->phone().state().sent[0].text, QStringLiteral("Ahoj @ $ [x]"));
    QCOMPARE(rig.phone->phone().state().sent[0].number, QStringLiteral("+420603123456"));
    QCOMPARE(rig.ui().txtNumber->text(), QStringLiteral("+420 603 123 456"));
    QCOMPARE(rig.boxes.shown.size(), 1);
    // Sent by the demo phone: the question says it was only simulated.
    QCOMPARE(rig.boxes.shown[0].text,
             UiText(Language::Czech, 40) + u'\n' + UiText(Language::Czech, kTextOnlySimulated));
    QVERIFY(rig.boxes.shown[0].question);
    QVERIFY(rig.ui().txtSMS->toPlainText().isEmpty());
    QVERIFY(rig.ui().mnu_zpravy->menuAction()->isEnabled());
    QVERIFY(!rig.window->link().Busy());
}

void SmsPanelTest::refusedNumberKeepsTheText() {
    Rig rig;
    rig.ui().txtNumber->setText(QStringLiteral("Petr"));
    rig.ui().txtSMS->setPlainText(QStringLiteral("Ahoj"));
    rig.ui().cmbOdeslat->click();
    QVERIFY(rig.phone->phone().state().sent.isEmpty());
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].kind, MessageBoxes::Kind::Error);
    QCOMPARE(rig.ui().txtSMS->toPlainText(), QStringLiteral("Ahoj"));
}

void SmsPanelTest::downloadFillsTheListNewestFirstWithNames() {
    Rig rig;
    AddPhoneBookEntry(*rig.ui().FlexPB, QStringLiteral("Lucie"), QStringLiteral("+420731246810"));
    AddPhoneBookEntry(*rig.ui().FlexPB, QStringLiteral("Martina"), QStringLiteral("420603123456"));
    rig.ui().cmbNactiSMS->click();
    const QTableWidget& grid = *rig.ui().flexSMS;
    QCOMPARE(grid.rowCount(), 9);
    QCOMPARE(grid.horizontalHeaderItem(2)->text(), QStringLiteral("Zprávy ( 9 )"));
    QCOMPARE(Cell(grid, 0, 1), QStringLiteral("Lucie"));
    QCOMPARE(Cell(grid, 0, 3), QStringLiteral("420731246810"));
    QVERIFY(Cell(grid, 0, 2).contains(QStringLiteral("těším")));
    QCOMPARE(Cell(grid, 1, 5), QStringLiteral("5,4,6"));
    QCOMPARE(Cell(grid, 2, 1), QStringLiteral("MojeBanka"));
    QCOMPARE(Cell(grid, 6, 1), QStringLiteral("Martina"));
    for (int column = 3; column < 6; ++column) {
        QVERIFY(grid.isColumnHidden(column));
    }
    for (int row = 1; row < grid.rowCount(); ++row) {
        QVERIFY(Cell(grid, row - 1, 4).toLongLong() <= Cell(grid, row, 4).toLongLong());
    }
    QVERIFY(rig.boxes.shown.isEmpty());
    QVERIFY(rig.ui().mnu_zpravy->menuAction()->isEnabled());
    rig.window->ApplyLanguage(Language::English);
    QCOMPARE(grid.horizontalHeaderItem(0)->text(), QStringLiteral("Time"));
    QCOMPARE(grid.horizontalHeaderItem(2)->text(), QStringLiteral("Mesg ( 9 )"));
}

void SmsPanelTest::clickShowsAndDoubleClickReplies() {
    Rig rig;
    rig.ui().cmbNactiSMS->click();
    rig.panel->flexSMS_Click(1);
    QVERIFY(rig.ui().txtNacteneSMS->toPlainText().startsWith(QStringLiteral("Dobry den")));
    rig.panel->flexSMS_DblClick(1);
    QCOMPARE(rig.ui().txtNumber->text(), QStringLiteral("420602334455"));
    const QString reply = rig.ui().txtSMS->toPlainText();
    QVERIFY(reply.startsWith(QStringLiteral("Re: Dobry den")));
    QVERIFY(reply.endsWith(QStringLiteral(" ...")));
    QCOMPARE(reply.size(), 4 + 150 + 4);
    // A named sender cannot be answered: the editor stays as it is.
    rig.panel->flexSMS_DblClick(2);
    QCOMPARE(rig.ui().txtNumber->text(), QStringLiteral("420602334455"));
    QCOMPARE(rig.ui().txtSMS->toPlainText(), reply);
    QVERIFY(rig.ui().txtNacteneSMS->toPlainText().startsWith(QStringLiteral("Platba")));
    // Enter on a row answers it, as a double click does.
    rig.ui().flexSMS->setCurrentCell(3, 1);
    QTest::keyClick(rig.ui().flexSMS, Qt::Key_Return);
    QCOMPARE(rig.ui().txtNumber->text(), QStringLiteral("14155550123"));
    QCOMPARE(rig.ui().txtSMS->toPlainText(),
             QStringLiteral("Re: Meeting moved to 3 pm. See you there. ..."));
}

void SmsPanelTest::savesTheListAndAppends() {
    Rig rig;
    rig.ui().cmbNactiSMS->click();
    QString title;
    const QString chosen = rig.dir.filePath(QStringLiteral("messages"));
    QString pattern;
    QString folder;
    rig.panel->setSaveDialog(
        [&](const QString& caption, const QString& start, const QString& filter) {
            title = caption;
            folder = start;
            pattern = filter;
            return chosen;
        });
    rig.ui().mni_ulozsms->trigger();
    QVERIFY(rig.boxes.shown.isEmpty());  // a new file: nothing to ask
    rig.boxes.answers = {true};          // append
    rig.ui().mni_ulozsms->trigger();
    QCOMPARE(rig.boxes.shown.size(), 1);
    QVERIFY(rig.boxes.shown[0].question);
    QCOMPARE(title, UiText(Language::Czech, 42));
    // The user's documents folder, or the home folder where there is none.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(folder, QFileInfo(documents).isDir() ? documents : QDir::homePath());
    QCOMPARE(pattern, QStringLiteral("MS Excel (*.csv)"));
    QFile file(chosen + QStringLiteral(".csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QTableWidget& grid = *rig.ui().flexSMS;
    QByteArray once;
    for (int row = 0; row < grid.rowCount(); ++row) {
        once += sms::CsvLine(Cell(grid, row, 0), Cell(grid, row, 1), Cell(grid, row, 2));
    }
    QCOMPARE(file.readAll(), "\xEF\xBB\xBF" + once + once);
    QVERIFY(once.startsWith("\"7.12.2026 07:45:00\",\"420731246810\",\"Ahoj! Z\xC3\xADtra"));
    file.close();
    rig.boxes.answers = {false};  // replace
    rig.ui().mni_ulozsms->trigger();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "\xEF\xBB\xBF" + once);
    rig.boxes.shown.clear();

    rig.panel->setSaveDialog(
        [](const QString&, const QString&, const QString&) { return QString(); });
    rig.ui().mni_ulozsms->trigger();  // cancelled: nothing happens
    rig.panel->setSaveDialog([&](const QString&, const QString&, const QString&) {
        return rig.dir.filePath(QStringLiteral("missing/folder/x"));
    });
    rig.ui().mni_ulozsms->trigger();
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].kind, MessageBoxes::Kind::Error);
}

void SmsPanelTest::deletesAfterDownloadWhenTicked() {
    Rig rig;
    rig.ui().Checkdelete->setChecked(true);
    rig.ui().cmbNactiSMS->click();
    QCOMPARE(rig.ui().flexSMS->rowCount(), 9);
    QVERIFY(rig.phone->phone().state().stores["ME"].messages.isEmpty());
    QVERIFY(rig.phone->phone().state().stores["SM"].messages.isEmpty());
    rig.ui().cmbNactiSMS->click();
    QCOMPARE(rig.ui().flexSMS->rowCount(), 0);
    QCOMPARE(rig.ui().flexSMS->horizontalHeaderItem(2)->text(), QStringLiteral("Zprávy ( 0 )"));
}

void SmsPanelTest::editorLooksRightWithALargerFont() {
    // The longest counter text at 1.5 times the default font shows whole;
    // TELVORA_SCREENSHOTS names a folder to keep the picture in.
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPointSizeF(original.pointSizeF() * 1.5);
    QApplication::setFont(large);
    {
        Rig rig;
        rig.ui().CheckDelsi160->click();
        rig.ui().txtSMS->setPlainText(
            QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy. ").repeated(16));
        QCOMPARE(rig.ui().lblchars->text(), QStringLiteral("znaků (Unicode), 10 zpráv"));
        rig.window->show();
        rig.window->adjustSize();
        QApplication::processEvents();
        for (QWidget* control : std::initializer_list<QWidget*>{
                 rig.ui().lblchars, rig.ui().lblzbyvachar, rig.panel->CheckBezDiakritiky(),
                 rig.ui().CheckDelsi160}) {
            QVERIFY2(control->width() >= control->sizeHint().width(),
                     qPrintable(control->objectName()));
        }
        const QString folder = qEnvironmentVariable("TELVORA_SCREENSHOTS");
        if (!folder.isEmpty()) {
            rig.window->grab().save(
                QDir(folder).filePath(QStringLiteral("telvora-sms-editor.png")));
        }
    }
    QApplication::setFont(original);
}

void SmsPanelTest::refusedStoreLeavesTheCountMarkedIncomplete() {
    Rig rig;
    rig.phone->phone().addFault(
        *phonesim::parseFault(QStringLiteral("AT+CPMS=\"SM\"=error"), nullptr));
    rig.ui().cmbNactiSMS->click();
    const int rows = rig.ui().flexSMS->rowCount();
    QVERIFY(rows > 0);
    QCOMPARE(rig.ui().flexSMS->horizontalHeaderItem(2)->text(),
             QStringLiteral("Zprávy ( %1, neúplné )").arg(rows));
    QCOMPARE(rig.boxes.shown.size(), 1);
    QVERIFY(rig.boxes.shown[0].text.contains(QStringLiteral("SIM karta (SM)")));
    rig.phone->phone().clearFaults();
    rig.ui().cmbNactiSMS->click();
    QCOMPARE(rig.ui().flexSMS->horizontalHeaderItem(2)->text(),
             QStringLiteral("Zprávy ( %1 )").arg(rig.ui().flexSMS->rowCount()));
}

QTEST_MAIN(SmsPanelTest)
#include "tst_sms_panel.moc"
