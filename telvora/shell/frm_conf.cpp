#include "telvora/shell/frm_conf.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>

#include "telvora/link/device_names.h"
#include "telvora/setup/settings.h"

namespace telvora {
namespace {

constexpr char kDemoCaption[] = "Demo phone";

}  // namespace

frmconf::frmconf(const QStringList& devices, QWidget* parent)
    : QDialog(parent),
      m_port(new QComboBox(this)),
      m_language(new QComboBox(this)),
      m_ok(new QPushButton(QStringLiteral("&OK"), this)),
      m_portLabel(new QLabel(this)),
      m_languageLabel(new QLabel(this)) {
    setObjectName(QStringLiteral("frmconf"));
    m_port->setObjectName(QStringLiteral("cmbport"));
    m_language->setObjectName(QStringLiteral("cmblang"));
    m_ok->setObjectName(QStringLiteral("butOK"));
    m_ok->setDefault(true);

    for (int n = kFirstPortNumber; n <= kLastPortNumber; ++n) {
        m_port->addItem(QStringLiteral("Com %1").arg(n), QVariant::fromValue(n));
    }
    for (const QString& device : devices) {
        addDevice(device);
    }
    m_port->addItem(QString::fromLatin1(kDemoCaption), QString::fromLatin1(kDemoDevice));
    m_language->addItem(QStringLiteral("Czech"));
    m_language->addItem(QStringLiteral("English"));

    QLabel* lblport = m_portLabel;
    lblport->setObjectName(QStringLiteral("lblport"));
    lblport->setBuddy(m_port);
    QLabel* lbllang = m_languageLabel;
    lbllang->setObjectName(QStringLiteral("lbllang"));
    lbllang->setBuddy(m_language);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 16, 18, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(lblport, 0, 0);
    grid->addWidget(m_port, 0, 1);
    grid->addWidget(lbllang, 1, 0);
    grid->addWidget(m_language, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnMinimumWidth(1, 200);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    select({}, 0);
    ApplyLanguage(Language::English);
}

void frmconf::ApplyLanguage(Language language) {
    // The window's title is the menu's caption without its accelerator.
    setWindowTitle(UiText(language, 2).remove(QLatin1Char('&')));
    m_portLabel->setText(UiText(language, kTextConfPort));
    m_languageLabel->setText(UiText(language, kTextConfLanguage));
}

void frmconf::select(const PortChoice& port, int language) {
    int index = 0;
    if (port.portNumber >= kFirstPortNumber && port.portNumber <= kLastPortNumber) {
        index = port.portNumber - 1;
    } else if (!port.device.isEmpty()) {
        index = m_port->findData(port.device);
        if (index < 0) {
            addDevice(port.device);
            index = m_port->findData(port.device);
        }
    }
    m_port->setCurrentIndex(index);
    m_language->setCurrentIndex(language == 2 ? 1 : 0);
}

PortChoice frmconf::selectedPort() const {
    const QVariant data = m_port->currentData();
    if (data.typeId() == QMetaType::Int) {
        return {data.toInt(), {}};
    }
    return {0, data.toString()};
}

int frmconf::selectedLanguage() const {
    return m_language->currentIndex() + 1;
}

QStringList frmconf::SystemDevices() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString path = info.systemLocation();
        bool isComPort = false;
        for (int n = kFirstPortNumber; n <= kLastPortNumber; ++n) {
            isComPort = isComPort || path == DeviceForPortNumber(n);
        }
        if (!isComPort) {
            devices << path;
        }
    }
    devices.sort();
    return devices;
}

void frmconf::addDevice(const QString& device) {
    // Insert before the demo phone, which stays last.
    const int demo = m_port->findData(QString::fromLatin1(kDemoDevice));
    m_port->insertItem(demo < 0 ? m_port->count() : demo, device, device);
}

}  // namespace telvora
