// The archive's window: newest first, search, contact, conversation, reply
// and "Save as"; its menu item in the main window, the download that lands
// in the archive, and the window at 1.5 times the default font.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "telvora/core/ui_texts.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/at_link.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "telvora/sms/archive_window.h"
#include "telvora/sms/pdu_codec.h"
#include "telvora/sms/sms_texts.h"
#include "tests/telvora/shell/shell_fakes.h"

using namespace telvora;
using namespace telvora::sms;
using telvora::test::FakeMessageBoxes;

namespace {

ArchivedMessage Message(Direction direction, const QString& contact, int minute,
                        const QString& text) {
    ArchivedMessage message;
    message.direction = direction;
    message.contact = contact;
    const QDateTime at(QDate(2026, 12, 1), QTime(8, minute));
    message.stampSeconds = WallClockSeconds(at);
    message.time = at.toString(QStringLiteral("d.M.yyyy hh:mm:ss"));
    message.text = text;
    return message;
}

QStringList Column(const QTableWidget& grid, int column) {
    QStringList texts;
    for (int row = 0; row < grid.rowCount(); ++row) {
        texts << grid.item(row, column)->text();
    }
    return texts;
}

// The letter after "&" of a caption, in lower case.
QChar Accelerator(const QString& caption) {
    const qsizetype at = caption.indexOf(u'&');
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toLower() : QChar();
}

struct WindowRig {
    WindowRig() : archive(std::make_shared<MessageArchive>(dir.filePath("a.sqlite"))) {
        archive->store({
            Message(Direction::In, "420603123456", 1, "Přijdeš zítra?"),
            Message(Direction::Out, "420603123456", 2, "Jo, zítra\nv osm"),
            Message(Direction::In, "MojeBanka", 3, "Platba kartou"),
            Message(Direction::In, "420777888999", 4, "ZITRA neprijdu"),
        });
        ArchiveWindowHooks hooks;
        hooks.language = [this] { return language; };
        hooks.names = [] { return QList<NameAndNumber>{{"Martina", "+420603123456"}}; };
        hooks.reply = [this](const QString& number) { replies << number; };
        hooks.saveDialog = [this](const QString&, const QString&) { return saveAs; };
        window = std::make_unique<ArchiveWindow>(archive, boxes, hooks);
    }
    QTableWidget* grid() { return window->findChild<QTableWidget*>("flexArchiv"); }
    QLineEdit* search() { return window->findChild<QLineEdit*>("txtHledat"); }
    QComboBox* contact() { return window->findChild<QComboBox*>("cmbKontakt"); }
    QCheckBox* conversation() { return window->findChild<QCheckBox*>("CheckKonverzace"); }
    QPushButton* reply() { return window->findChild<QPushButton*>("cmbOdpovedet"); }

    QTemporaryDir dir;
    std::shared_ptr<MessageArchive> archive;
    FakeMessageBoxes boxes;
    Language language = Language::Czech;
    QStringList replies;
    QString saveAs;
    std::unique_ptr<ArchiveWindow> window;
};

struct MainRig {
    MainRig() {
        settings = std::make_unique<SettingsStore>(std::make_unique<QSettings>(
            dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat));
        auto port = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
        port->phone().options().latencyMs = 0;
        phone = port.get();
        ShellSetup setup;
        setup.settings = settings.get();
        setup.messages = &boxes;
        setup.port = std::move(port);
        setup.lockPath = dir.filePath(QStringLiteral("telvora.lock"));
        window = std::make_unique<frmMain>(std::move(setup));
        window->link().OpenPort(QStringLiteral("demo"));
    }
    ArchiveMenu* menu() { return window->findChild<ArchiveMenu*>("ArchiveMenu"); }

    QTemporaryDir dir;
    FakeMessageBoxes boxes;
    std::unique_ptr<SettingsStore> settings;
    phonesim::PhoneSimPort* phone = nullptr;
    std::unique_ptr<frmMain> window;
};

}  // namespace

class ArchiveWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void listsSearchesAndFilters();
    void conversationWithTheChosenMessagesContact();
    void replyAndSaveWhatIsShown();
    void captionsHaveTheirOwnAccelerators();
    void downloadFromTheMainWindowLandsInTheArchive();
    void unusableArchiveIsReportedAndDeletesAreRefused();
    void looksRightWithALargerFont();

private:
    QTemporaryDir m_data;
};

void ArchiveWindowTest::initTestCase() {
    // The main window keeps its archive in the user's data folder.
    qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
}

void ArchiveWindowTest::listsSearchesAndFilters() {
    WindowRig rig;
    QTableWidget& grid = *rig.grid();
    QCOMPARE(Column(grid, 3),
             (QStringList{"ZITRA neprijdu", "Platba kartou", "Jo, zítra v osm", "Přijdeš zítra?"}));
    QCOMPARE(Column(grid, 1), (QStringList{"přijatá", "přijatá", "odeslaná", "přijatá"}));
    QCOMPARE(Column(grid, 2).last(), QStringLiteral("Martina"));  // by the phone book
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Archiv zpráv ( 4 )"));
    QTest::keyClicks(rig.search(), QStringLiteral("zitra"));
    QCOMPARE(grid.rowCount(), 3);
    rig.search()->setText(QStringLiteral("Zítra OSM"));
    QCOMPARE(Column(grid, 3), QStringList{"Jo, zítra v osm"});
    // The whole text below the grid, line breaks kept.
    QCOMPARE(rig.window->findChild<QPlainTextEdit*>()->toPlainText(),
             QStringLiteral("Jo, zítra\nv osm"));
    rig.search()->clear();
    // Contacts: all, then the most recent first, with names and counts.
    QCOMPARE(rig.contact()->count(), 4);
    QCOMPARE(rig.contact()->itemText(3), QStringLiteral("Martina (420603123456)  [2]"));
    rig.contact()->setCurrentIndex(3);
    QCOMPARE(Column(grid, 3), (QStringList{"Jo, zítra v osm", "Přijdeš zítra?"}));
    rig.conversation()->setChecked(true);  // oldest first
    QCOMPARE(Column(grid, 3), (QStringList{"Přijdeš zítra?", "Jo, zítra v osm"}));
    // New messages stored while the window is open show after a reload.
    rig.archive->store({Message(Direction::In, "420111222333", 9, "Nový")});
    rig.window->reload();
    QCOMPARE(rig.contact()->count(), 5);
    QCOMPARE(rig.contact()->currentData().toString(), QStringLiteral("420603123456"));
}

void ArchiveWindowTest::conversationWithTheChosenMessagesContact() {
    WindowRig rig;
    rig.grid()->setCurrentCell(3, 0);  // "Přijdeš zítra?" from Martina
    rig.conversation()->setChecked(true);
    QCOMPARE(rig.contact()->currentData().toString(), QStringLiteral("420603123456"));
    QCOMPARE(Column(*rig.grid(), 3), (QStringList{"Přijdeš zítra?", "Jo, zítra v osm"}));
}

void ArchiveWindowTest::replyAndSaveWhatIsShown() {
    WindowRig rig;
    QTableWidget& grid = *rig.grid();
    grid.setCurrentCell(1, 0);  // the bank: no number to answer
    QVERIFY(!rig.reply()->isEnabled());
    grid.setCurrentCell(3, 0);
    QVERIFY(rig.reply()->isEnabled());
    rig.reply()->click();
    QTest::keyClick(&grid, Qt::Key_Return);
    QCOMPARE(rig.replies, (QStringList{"420603123456", "420603123456"}));

    rig.search()->setText(QStringLiteral("zitra"));
    rig.saveAs = rig.dir.filePath("shown");
    rig.window->findChild<QPushButton*>("cmbUlozit")->click();
    QFile file(rig.saveAs + ".csv");
    QVERIFY(file.open(QIODevice::ReadOnly));
    // A new file starts with the byte-order mark.
    QCOMPARE(file.readAll(),
             QByteArray("\xEF\xBB\xBF"
                        "\"1.12.2026 08:04:00\",\"420777888999\",\"ZITRA neprijdu\"\r\n"
                        "\"1.12.2026 08:02:00\",\"Martina\",\"Jo, zítra\nv osm\"\r\n"
                        "\"1.12.2026 08:01:00\",\"Martina\",\"Přijdeš zítra?\"\r\n"));
    rig.saveAs = rig.dir.filePath("no/such/folder/x");
    rig.window->findChild<QPushButton*>("cmbUlozit")->click();
    QCOMPARE(rig.boxes.shown.size(), 1);
    QVERIFY(rig.boxes.shown[0].text.contains(rig.saveAs + ".csv"));
}

void ArchiveWindowTest::captionsHaveTheirOwnAccelerators() {
    for (Language language : {Language::Czech, Language::English}) {
        WindowRig rig;
        rig.language = language;
        rig.window->ApplyLanguage();
        QList<QChar> letters;
        for (QAbstractButton* button : rig.window->findChildren<QAbstractButton*>()) {
            if (!button->text().isEmpty()) {
                letters << Accelerator(button->text());
            }
        }
        for (QLabel* label : rig.window->findChildren<QLabel*>()) {
            QVERIFY(label->buddy() != nullptr);  // the letter moves the focus
            letters << Accelerator(label->text());
        }
        QCOMPARE(letters.size(), 5);
        for (QChar letter : letters) {
            QVERIFY(!letter.isNull());
            QCOMPARE(letters.count(letter), 1);
        }
        QCOMPARE(rig.window->findChild<QLabel*>()->buddy(), rig.search());
        QCOMPARE(rig.grid()->item(2, 1)->text(), UiText(language, kTextArchiveSent));
    }
}

void ArchiveWindowTest::downloadFromTheMainWindowLandsInTheArchive() {
    MainRig rig;
    const MainWindowControls& ui = rig.window->ui();
    QAction* item = rig.window->findChild<QAction*>("mni_archiv");
    QVERIFY(item);
    QVERIFY(ui.mnu_zpravy->actions().contains(item));
    QCOMPARE(item->text(), UiText(Language::Czech, kTextArchiveMenu));
    QVERIFY(!item->shortcut().isEmpty());
    ui.Checkdelete->setChecked(true);
    ui.cmbNactiSMS->click();
    QCOMPARE(ui.flexSMS->rowCount(), 9);
    QVERIFY(rig.boxes.shown.isEmpty());
    QVERIFY(rig.phone->phone().state().stores["ME"].messages.isEmpty());
    item->trigger();
    ArchiveWindow* window = rig.menu()->window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->shown().size(), 9);
    // Replying from the archive fills the main window's number and puts the
    // cursor into the editor.
    auto* grid = window->findChild<QTableWidget*>("flexArchiv");
    grid->setCurrentCell(0, 0);
    window->cmbReply_Click();
    QCOMPARE(ui.txtNumber->text(), QStringLiteral("420731246810"));
    QCOMPARE(rig.window->focusWidget(), static_cast<QWidget*>(ui.txtSMS));
    // A second download of the same messages adds none.
    ui.cmbNactiSMS->click();
    QCOMPARE(window->shown().size(), 9);
    // A message sent from the main window joins them.
    ui.txtSMS->setPlainText(QStringLiteral("Díky, budu tam"));
    ui.cmbOdeslat->click();
    QCOMPARE(rig.phone->phone().state().sent.size(), 1);
    QCOMPARE(window->shown().size(), 10);
    const QList<ArchivedMessage> sent = window->shown();
    QVERIFY(std::any_of(sent.begin(), sent.end(), [](const ArchivedMessage& message) {
        return message.direction == Direction::Out && message.contact == "420731246810" &&
               message.parts.size() == 1 && message.parts[0].accepted;
    }));
}

void ArchiveWindowTest::unusableArchiveIsReportedAndDeletesAreRefused() {
    QTemporaryDir dir;
    QFile damaged(dir.filePath("damaged.sqlite"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    QMenu menu;
    FakeMessageBoxes boxes;
    ArchiveWindowHooks hooks;
    hooks.language = [] { return Language::English; };
    ArchiveMenu archive(&menu, boxes, hooks, nullptr, damaged.fileName());
    archive.mni_archiv_Click();
    QVERIFY(!archive.window());
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text,
             UiText(Language::English, kTextArchiveDamaged).arg(damaged.fileName()) +
                 " (file is not a database Unable to fetch row)");
    const SmsReader::KeepResult kept = archive.keeper()({}, {ReadMessage{}});
    QVERIFY(!kept.kept);
    QVERIFY(kept.problem.contains(damaged.fileName()));
}

void ArchiveWindowTest::looksRightWithALargerFont() {
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPointSizeF(original.pointSizeF() * 1.5);
    QApplication::setFont(large);
    for (Language language : {Language::Czech, Language::English}) {
        WindowRig rig;
        rig.language = language;
        rig.window->ApplyLanguage();
        rig.window->show();
        QApplication::processEvents();
        for (QPushButton* button : rig.window->findChildren<QPushButton*>()) {
            QVERIFY2(button->width() >= button->sizeHint().width(),
                     qPrintable(button->objectName()));
        }
        QTableWidget& grid = *rig.grid();
        // The time stamp shows whole.
        QVERIFY(grid.columnWidth(0) >= grid.fontMetrics().horizontalAdvance("28.11.2026 09:15:00"));
        const QString folder = qEnvironmentVariable("TELVORA_SCREENSHOTS");
        if (!folder.isEmpty()) {
            rig.window->grab().save(QDir(folder).filePath(language == Language::Czech
                                                              ? "telvora-archive-cs-150.png"
                                                              : "telvora-archive-en-150.png"));
        }
    }
    QApplication::setFont(original);
}

QTEST_MAIN(ArchiveWindowTest)
#include "tst_archive_window.moc"
