// The string table, the stored settings, the single-instance lock and the
// port that switches between a device and the demo phone.

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "telvora/core/ui_texts.h"
#include "telvora/setup/device_port.h"
#include "telvora/setup/settings.h"
#include "telvora/setup/single_instance.h"
#include "tests/telvora/shell/shell_fakes.h"

using namespace telvora;
using telvora::test::FakePort;

class ShellCoreTest : public QObject {
    Q_OBJECT
private slots:
    // First: QSettings reads XDG_CONFIG_HOME once, when first asked for a user path.
    void userSettingsLiveInTheUsersConfigFolder();
    void everyTextExistsInBothLanguages();
    void textsKeepTheirExactWording();
    void textIdsSelectTheLanguage();
    void settingsRoundTripThroughTheIniFile();
    void settingsValuesAreReadLikeNumbers();
    void settingsNameTheDevice();
    void onlyOneInstanceHoldsTheLock();
    void aFreshInstallationRunsTheDemoPhone();
    void unwritableSettingsSaySo();
    void devicePortSwitchesBetweenDeviceAndDemo();
};

void ShellCoreTest::userSettingsLiveInTheUsersConfigFolder() {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    SettingsStore store;
    QCOMPARE(store.fileName(), home.filePath(QStringLiteral("Telvora/Telvora.conf")));
}

void ShellCoreTest::everyTextExistsInBothLanguages() {
    for (int n = kFirstTextNumber; n <= kLastTextNumber; ++n) {
        QVERIFY2(!UiText(Language::Czech, n).isEmpty(), qPrintable(QString::number(n)));
        QVERIFY2(!UiText(Language::English, n).isEmpty(), qPrintable(QString::number(n)));
    }
    QVERIFY(UiText(Language::Czech, 0).isEmpty());
    QVERIFY(UiText(Language::English, kLastTextNumber + 1).isEmpty());
    QVERIFY(UiText(Language::English, kTextPhoneErrorCode).contains(QLatin1String("%1")));
    QVERIFY(UiText(Language::Czech, kTextPhoneErrorCode).contains(QLatin1String("%1")));
}

void ShellCoreTest::textsKeepTheirExactWording() {
    // Users know these texts as they are, slips included.
    QCOMPARE(UiText(Language::Czech, 34), QStringLiteral("Připojeno ..."));
    QCOMPARE(UiText(Language::English, 35), QStringLiteral("DISCONNECT !!!"));
    QCOMPARE(UiText(Language::Czech, 37),
             QStringLiteral("Port, který jste nastavily zřejmě neexistuje. Změňte prosím port. "
                            "Aplikaci spustťe znovu."));
    QCOMPARE(UiText(Language::English, 78),
             QStringLiteral("COM port is allready using by another device. Please change COM "
                            "port."));
    QCOMPARE(UiText(Language::English, 77), QStringLiteral("Phone must be restarted! "));
    QCOMPARE(UiText(Language::English, 60),
             QStringLiteral("Max. lenght of ring tone is 120 chars."));
    QCOMPARE(UiText(Language::Czech, 3), QStringLiteral("Tl&f. seznam"));
    QCOMPARE(UiText(Language::English, 66), QStringLiteral("D&elete"));
    QCOMPARE(UiText(Language::Czech, 7), QStringLiteral("Řadit dle abecedy"));
}

void ShellCoreTest::textIdsSelectTheLanguage() {
    QCOMPARE(UiTextById(1038), QStringLiteral("Musíte nejdříve připojit telefon !"));
    QCOMPARE(UiTextById(2038), QStringLiteral("Phone must be connected."));
    QVERIFY(UiTextById(38).isEmpty());
    QVERIFY(UiTextById(3038).isEmpty());
    QCOMPARE(LanguageFromNumber(2), Language::English);
    QCOMPARE(LanguageFromNumber(0), Language::Czech);  // not configured reads as Czech
}

void ShellCoreTest::settingsRoundTripThroughTheIniFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Telvora.conf"));
    {
        SettingsStore store(std::make_unique<QSettings>(path, QSettings::IniFormat));
        const StoredSettings empty = store.read();
        QVERIFY(empty.port.isEmpty());
        QCOMPARE(empty.language, 0);
        QVERIFY(NeedsConfiguration(empty));
        store.setPort(QStringLiteral("3"));
        store.setLanguage(2);
        store.setDevice(QStringLiteral("demo"));
    }
    // Group "Conf", plain text values, readable by older versions and by hand.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("[Conf]"));
    QVERIFY(text.contains("port=3"));
    QVERIFY(text.contains("langver=2"));
    QVERIFY(text.contains("device=demo"));

    SettingsStore again(std::make_unique<QSettings>(path, QSettings::IniFormat));
    const StoredSettings stored = again.read();
    QCOMPARE(stored.port, QStringLiteral("3"));
    QCOMPARE(stored.language, 2);
    QCOMPARE(stored.device, QStringLiteral("demo"));
    QVERIFY(!NeedsConfiguration(stored));
}

void ShellCoreTest::settingsValuesAreReadLikeNumbers() {
    QCOMPARE(LeadingNumber(QStringLiteral("2")), 2);
    QCOMPARE(LeadingNumber(QStringLiteral(" 3x")), 3);
    QCOMPARE(LeadingNumber(QString()), 0);
    QCOMPARE(LeadingNumber(QStringLiteral("x1")), 0);
    QCOMPARE(LeadingNumber(QStringLiteral("99999999999999")), 999999999);  // no overflow

    QVERIFY(NeedsConfiguration({QStringLiteral("1"), 0, {}}));
    QVERIFY(NeedsConfiguration({QString(), 1, {}}));
    QVERIFY(!NeedsConfiguration({QString(), 1, QStringLiteral("/dev/ttyUSB0")}));
}

void ShellCoreTest::settingsNameTheDevice() {
    QCOMPARE(DeviceFor({QStringLiteral("1"), 1, {}}), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(DeviceFor({QStringLiteral("4"), 1, {}}), QStringLiteral("/dev/ttyS3"));
    QCOMPARE(DeviceFor({QStringLiteral("2"), 1, QStringLiteral("demo")}), QStringLiteral("demo"));
    QVERIFY(DeviceFor({QString(), 1, {}}).isEmpty());
    QVERIFY(DeviceFor({QStringLiteral("5"), 1, {}}).isEmpty());
}

void ShellCoreTest::onlyOneInstanceHoldsTheLock() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("telvora.lock"));
    SingleInstance first(path);
    QVERIFY(first.tryAcquire());
    QVERIFY(first.tryAcquire());  // asking again keeps it
    {
        SingleInstance second(path);
        QVERIFY(!second.tryAcquire());
    }
    QVERIFY(first.isAcquired());  // the refused one did not take it away

    // Without a runtime folder the shared temporary folder holds one lock
    // per user, not one for the whole machine.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString shared = SingleInstance::DefaultLockPath();
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    QCOMPARE(SingleInstance::DefaultLockPath(), dir.filePath(QStringLiteral("telvora.lock")));
    qputenv("XDG_RUNTIME_DIR", runtime);
    QVERIFY(shared.startsWith(QDir::tempPath()));
    QVERIFY2(QFileInfo(shared).fileName() != QStringLiteral("telvora.lock"), qPrintable(shared));
    QVERIFY(QFileInfo(shared).fileName().startsWith(QStringLiteral("telvora-")));
}

void ShellCoreTest::aFreshInstallationRunsTheDemoPhone() {
    QCOMPARE(DeviceForThisRun({}, {}), QStringLiteral("demo"));
    QCOMPARE(DeviceForThisRun({QString(), 2, {}}, {}), QStringLiteral("demo"));
    QCOMPARE(DeviceForThisRun({}, QStringLiteral("/dev/ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(DeviceForThisRun({QStringLiteral("2"), 1, {}}, {}).isEmpty());
    QVERIFY(DeviceForThisRun({QString(), 0, QStringLiteral("/dev/ttyACM0")}, {}).isEmpty());
    QCOMPARE(DeviceForThisRun({QStringLiteral("2"), 1, {}}, QStringLiteral("demo")),
             QStringLiteral("demo"));
}

void ShellCoreTest::unwritableSettingsSaySo() {
    QTemporaryDir dir;
    SettingsStore writable(
        std::make_unique<QSettings>(dir.filePath(QStringLiteral("ok.conf")), QSettings::IniFormat));
    QVERIFY(writable.setPort(QStringLiteral("2")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.conf")));
    SettingsStore unwritable(std::make_unique<QSettings>(
        dir.filePath(QStringLiteral("folder.conf")), QSettings::IniFormat));
    QVERIFY(!unwritable.setPort(QStringLiteral("2")));
    QVERIFY(!unwritable.setLanguage(1));
}

void ShellCoreTest::devicePortSwitchesBetweenDeviceAndDemo() {
    FakePort::Log serialLog;
    FakePort::Log demoLog;
    int serialMade = 0;
    int demoMade = 0;
    DevicePort port(
        [&] {
            ++serialMade;
            return std::make_unique<FakePort>(OpenResult::Ok, FakePort::Phone::Answers, &serialLog);
        },
        [&] {
            ++demoMade;
            return std::make_unique<FakePort>(OpenResult::Ok, FakePort::Phone::Answers, &demoLog);
        });

    QCOMPARE(port.open(QString()), OpenResult::InvalidPort);
    QCOMPARE(serialMade + demoMade, 0);

    QCOMPARE(port.open(QStringLiteral("/dev/ttyUSB0")), OpenResult::Ok);
    QVERIFY(port.isOpen());
    QVERIFY(port.write("AT\r"));
    QSignalSpy ready(&port, &SerialPort::readyRead);
    QVERIFY(ready.wait(1000));
    QCOMPARE(port.readAll(), QByteArray("AT\r\r\nOK\r\n"));

    // Moving to the demo phone closes the device; moving back reuses it.
    QCOMPARE(port.open(QStringLiteral("demo")), OpenResult::Ok);
    QVERIFY(!serialLog.open);
    QVERIFY(demoLog.open);
    QCOMPARE(port.open(QStringLiteral("/dev/ttyUSB1")), OpenResult::Ok);
    QVERIFY(!demoLog.open);
    QCOMPARE(serialMade, 1);
    QCOMPARE(demoMade, 1);
    QCOMPARE(serialLog.opened, (QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1"}));

    port.close();
    QVERIFY(!port.isOpen());
    QVERIFY(!port.write("AT\r"));

    DevicePort noDemo([] { return std::unique_ptr<SerialPort>(); }, {});
    QCOMPARE(noDemo.open(QStringLiteral("demo")), OpenResult::InvalidPort);
    QVERIFY(!noDemo.isOpen());
}

QTEST_GUILESS_MAIN(ShellCoreTest)
#include "tst_shell_core.moc"
