#pragma once
// PhoneSimPort: a telvora::SerialPort with a SimulatedPhone behind it, for
// the demo phone and for tests that want a real phone without a device.
// Writes go straight to the phone; its answers come back through readyRead
// after the configured latency and line speed (AnswerPacer), never from
// inside write(). Any device name opens. The phone keeps its state (echo,
// messages, ...) across close and open, as a real phone would.

#include <QByteArray>
#include <QString>
#include <memory>

#include "telvora/demophone/answer_pacer.h"
#include "telvora/demophone/news_control.h"
#include "telvora/demophone/simulated_phone.h"
#include "telvora/link/serial_port.h"

namespace phonesim {

class PhoneSimPort : public telvora::SerialPort {
    Q_OBJECT
public:
    explicit PhoneSimPort(PhoneState state = PhoneState::makeEmpty(), QObject* parent = nullptr);

    telvora::OpenResult open(const QString& device) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& data) override;
    QByteArray readAll() override;
    void discardInput() override { m_received.clear(); }
    QString errorText() const override { return m_error; }

    SimulatedPhone& phone() { return m_phone; }
    // The clock the answers' delays run on (a test's FakeClock, for one).
    void setClock(telvora::Clock& clock) {
        m_pacer.setClock(clock);
        m_news.setClock(clock);
    }
    // Messages and calls arriving at the phone.
    NewsControl& news() { return m_news; }
    // Makes the next open() fail with `result` (Ok restores normal opening).
    void setOpenResult(telvora::OpenResult result) { m_openResult = result; }
    // Behaves like an unplugged cable: closes and emits failed().
    void breakLink();
    // True while answers are still on their way.
    bool answering() const { return !m_pacer.idle(); }

private:
    void receive(const QByteArray& bytes);
    // The phone's line was cut by a "hangup" fault.
    void cutLine();

    SimulatedPhone m_phone;
    AnswerPacer m_pacer;
    NewsControl m_news{m_phone};
    QByteArray m_received;
    QString m_device;
    QString m_error;
    telvora::OpenResult m_openResult = telvora::OpenResult::Ok;
    bool m_open = false;
};

// A port to the demo phone: the built-in sample state with its timing. When
// the environment names a file in TELVORA_DEMO_CONTROL, lines appended to it
// bring the demo phone news (NewsControl).
std::unique_ptr<PhoneSimPort> makeDemoPhonePort(QObject* parent = nullptr);

}  // namespace phonesim
