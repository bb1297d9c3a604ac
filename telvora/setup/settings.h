#pragma once
// The user's stored settings: organization and application "Telvora", group
// "Conf". On Linux QSettings keeps them in
// ${XDG_CONFIG_HOME:-$HOME/.config}/Telvora/Telvora.conf (INI format).
//
// Keys (all values are text):
//   port     "1".."4" = Com 1..Com 4 (/dev/ttyS0../dev/ttyS3), or empty when
//            not configured. Keeps this meaning whatever "device" holds.
//   langver  "1" Czech, "2" English; missing reads as 0 (not configured).
//   device   a serial device path (e.g. /dev/ttyUSB0) or "demo" for the
//            built-in demo phone; empty or missing means "use port". When the
//            user picks a device, "port" keeps its previous value, or "1" if
//            it was empty, so that older readers still see a configured port.
//   withoutdiacritics  "1" when messages are sent without diacritics (the
//            editor's check box), else "0" or missing.

#include <QString>
#include <memory>

#include "telvora/link/device_names.h"

class QSettings;

namespace telvora {

struct StoredSettings {
    QString port;      // as stored: "1".."4" or empty
    int language = 0;  // numeric value of "langver"; 0 when missing or not a number
    QString device;    // as stored; empty when missing
    bool withoutDiacritics = false;
};

class SettingsStore {
public:
    // Uses the user's settings (QSettings "Telvora"/"Telvora").
    SettingsStore();
    // Uses the given settings, e.g. an INI file in a test's temporary folder.
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    StoredSettings read() const;
    // Each returns false when the settings could not be written (a folder
    // or file that may not be written, a full disk).
    bool setPort(const QString& port);
    bool setLanguage(int language);
    bool setDevice(const QString& device);
    bool setWithoutDiacritics(bool on);
    // Where the settings live, for messages and documentation.
    QString fileName() const;
    // False when the settings exist but cannot be read (a folder where the
    // file should be, a file that may not be read): the defaults apply then.
    bool readable() const;

private:
    bool write(const char* key, const QString& value);

    std::unique_ptr<QSettings> m_settings;
};

// The numeric value at the start of `text`, 0 when it does not start with
// digits (blanks before the number are skipped).
int LeadingNumber(const QString& text);

// The port number (1..4 and beyond) of a stored "port" text; 0 when empty.
int PortNumberOf(const StoredSettings& settings);

// True when the first-run configuration must be shown: no port (and no
// device) chosen, or no language.
bool NeedsConfiguration(const StoredSettings& settings);

// The device the settings name: "device" when set, else the port number's
// serial device; empty when neither names one.
QString DeviceFor(const StoredSettings& settings);

// The device to use for this run instead of the stored settings: the one
// given on the command line, else the demo phone while neither a port nor a
// device is stored (a fresh installation starts connected to it), else none.
QString DeviceForThisRun(const StoredSettings& settings, const QString& given);

}  // namespace telvora
