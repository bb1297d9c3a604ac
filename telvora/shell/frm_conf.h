#pragma once
// frmconf: the configuration window. The user picks the port (Com 1..Com 4,
// the serial devices the system reports, or the demo phone) and the
// language. Its title and labels are in the program's language. It has only
// an OK button; the main window does what OK means.

#include <QDialog>
#include <QStringList>

#include "telvora/core/ui_texts.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace telvora {

// A choice in the port list: a port number 1..4 ("Com n"), or a device
// (a path or "demo") with portNumber 0.
struct PortChoice {
    int portNumber = 0;
    QString device;

    bool operator==(const PortChoice&) const = default;
};

class frmconf : public QDialog {
    Q_OBJECT
public:
    // `devices`: further serial device paths to offer after Com 1..Com 4.
    explicit frmconf(const QStringList& devices, QWidget* parent = nullptr);

    // Selects the port and the language (1 Czech, 2 English); a device not in
    // the list is added to it.
    void select(const PortChoice& port, int language);
    PortChoice selectedPort() const;
    int selectedLanguage() const;
    // Puts the title and the labels into `language`.
    void ApplyLanguage(Language language);

    QComboBox* cmbport() const { return m_port; }
    QComboBox* cmblang() const { return m_language; }
    QPushButton* butOK() const { return m_ok; }

    // The serial devices to offer, without the four Com ports.
    static QStringList SystemDevices();

private:
    void addDevice(const QString& device);

    QComboBox* m_port;
    QComboBox* m_language;
    QPushButton* m_ok;
    QLabel* m_portLabel;
    QLabel* m_languageLabel;
};

}  // namespace telvora
