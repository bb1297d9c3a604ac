// The settings file as telvora reads it at start: any bytes as the INI file
// give stored settings, and the device chosen from them is a path, "demo" or
// nothing, never longer than what the file holds.

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "telvora/setup/settings.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Telvora.conf"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    telvora::SettingsStore store(std::make_unique<QSettings>(path, QSettings::IniFormat));
    const telvora::StoredSettings settings = store.read();
    FUZZ_CHECK(settings.port.size() <= qsizetype(size));
    FUZZ_CHECK(settings.device.size() <= qsizetype(size));

    (void)telvora::PortNumberOf(settings);
    (void)telvora::NeedsConfiguration(settings);
    const QString device = telvora::DeviceFor(settings);
    FUZZ_CHECK(device.size() <= qsizetype(size) + 16);
    const QString forRun = telvora::DeviceForThisRun(settings, QString());
    FUZZ_CHECK(forRun.size() <= qsizetype(size) + 16);
    return 0;
}
