#include "telvora/setup/settings.h"

#include <QFileInfo>
#include <QSettings>

#include "telvora/link/device_names.h"

namespace telvora {
namespace {

constexpr char kGroup[] = "Conf";
constexpr char kPortKey[] = "port";
constexpr char kLanguageKey[] = "langver";
constexpr char kDeviceKey[] = "device";
constexpr char kWithoutDiacriticsKey[] = "withoutdiacritics";

}  // namespace

SettingsStore::SettingsStore()
    : m_settings(
          std::make_unique<QSettings>(QStringLiteral("Telvora"), QStringLiteral("Telvora"))) {}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings)
    : m_settings(std::move(settings)) {}

SettingsStore::~SettingsStore() = default;

StoredSettings SettingsStore::read() const {
    m_settings->sync();
    m_settings->beginGroup(kGroup);
    StoredSettings stored;
    stored.port = m_settings->value(kPortKey).toString();
    stored.language = LeadingNumber(m_settings->value(kLanguageKey).toString());
    stored.device = m_settings->value(kDeviceKey).toString();
    stored.withoutDiacritics =
        m_settings->value(kWithoutDiacriticsKey).toString() == QLatin1String("1");
    m_settings->endGroup();
    return stored;
}

bool SettingsStore::setPort(const QString& port) {
    return write(kPortKey, port);
}

bool SettingsStore::setLanguage(int language) {
    return write(kLanguageKey, QString::number(language));
}

bool SettingsStore::setDevice(const QString& device) {
    return write(kDeviceKey, device);
}

bool SettingsStore::setWithoutDiacritics(bool on) {
    return write(kWithoutDiacriticsKey, on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString SettingsStore::fileName() const {
    return m_settings->fileName();
}

bool SettingsStore::readable() const {
    const QFileInfo file(fileName());
    if (!file.exists()) {
        return true;
    }
    return file.isFile() && file.isReadable() && m_settings->status() != QSettings::AccessError;
}

bool SettingsStore::write(const char* key, const QString& value) {
    m_settings->beginGroup(kGroup);
    m_settings->setValue(key, value);
    m_settings->endGroup();
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

int LeadingNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && end < 9 && trimmed.at(end) >= u'0' && trimmed.at(end) <= u'9') {
        ++end;
    }
    return trimmed.left(end).toInt();
}

int PortNumberOf(const StoredSettings& settings) {
    return LeadingNumber(settings.port);
}

bool NeedsConfiguration(const StoredSettings& settings) {
    return (settings.port.isEmpty() && settings.device.isEmpty()) || settings.language == 0;
}

QString DeviceFor(const StoredSettings& settings) {
    if (!settings.device.isEmpty()) {
        return settings.device;
    }
    return DeviceForPortNumber(PortNumberOf(settings));
}

QString DeviceForThisRun(const StoredSettings& settings, const QString& given) {
    if (!given.isEmpty()) {
        return given;
    }
    if (settings.port.isEmpty() && settings.device.isEmpty()) {
        return QString::fromLatin1(kDemoDevice);
    }
    return {};
}

}  // namespace telvora
