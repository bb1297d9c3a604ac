#pragma once
// telvora-phonesim as a child process on a pseudo-terminal, and a link open
// on it, for the end-to-end tests of the phone's commands.

#include <QProcess>
#include <QStringList>
#include <memory>

#include "telvora/link/at_link.h"
#include "telvora/link/qt_serial_port.h"

namespace telvora::test {

class SimulatorProcess {
public:
    explicit SimulatorProcess(const QStringList& arguments) {
        m_process.start(QStringLiteral(TELVORA_PHONESIM_PATH), arguments);
        if (m_process.waitForReadyRead(10000)) {
            m_device = QString::fromLocal8Bit(m_process.readLine().trimmed());
        }
    }
    ~SimulatorProcess() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    const QString& device() const { return m_device; }

    // A link open on the simulator's device (not open when it did not start).
    std::unique_ptr<AtLink> openLink() const {
        auto link = std::make_unique<AtLink>(std::make_unique<QtSerialPort>());
        if (!m_device.isEmpty()) {
            link->OpenPort(m_device);
        }
        return link;
    }

private:
    QProcess m_process;
    QString m_device;
};

// The link check gives the phone 150 ms; a loaded machine may let the
// simulator process miss one pause, so an answering phone gets three.
inline bool ConnectWithinThreeChecks(AtLink& link) {
    for (int i = 0; i < 3; ++i) {
        if (link.CheckLink() == LinkState::Connected) {
            return true;
        }
    }
    return false;
}

}  // namespace telvora::test
