#pragma once
// The demo phone on a fake clock behind a port that can slip lines the
// phone sends unasked into the middle of a command's answer, right after a
// chosen line, as a phone does that announces news while it answers.

#include <QJsonArray>
#include <QJsonObject>
#include <memory>

#include "telvora/core/fake_clock.h"
#include "telvora/core/message_boxes.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/at_link.h"
#include "telvora/link/device_names.h"

namespace telvora::test {

class InterjectingPort : public SerialPort {
    Q_OBJECT
public:
    explicit InterjectingPort(std::unique_ptr<phonesim::PhoneSimPort> inner)
        : m_inner(std::move(inner)) {
        connect(m_inner.get(), &SerialPort::readyRead, this, &SerialPort::readyRead);
        connect(m_inner.get(), &SerialPort::failed, this, &SerialPort::failed);
    }

    // After a command that starts with `trigger` is written, `news` follows
    // the `afterLines`-th line feed of the phone's output.
    void interject(const QByteArray& trigger, int afterLines, const QByteArray& news) {
        m_trigger = trigger;
        m_afterLines = afterLines;
        m_news = news;
        m_armed = false;
    }
    bool interjected() const { return m_done; }
    // Bytes from the phone, now.
    void arrive(const QByteArray& bytes) {
        m_extra += bytes;
        emit readyRead();
    }
    phonesim::PhoneSimPort& inner() { return *m_inner; }

    OpenResult open(const QString& device) override { return m_inner->open(device); }
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    bool write(const QByteArray& data) override {
        if (!m_trigger.isEmpty() && data.startsWith(m_trigger)) {
            m_armed = true;
            m_trigger.clear();
        }
        return m_inner->write(data);
    }
    QByteArray readAll() override {
        QByteArray data = std::exchange(m_extra, {}) + m_inner->readAll();
        if (!m_armed) {
            return data;
        }
        for (qsizetype i = 0; i < data.size(); ++i) {
            if (data[i] == '\n' && --m_afterLines == 0) {
                data.insert(i + 1, m_news);
                m_armed = false;
                m_done = true;
                break;
            }
        }
        return data;
    }
    void discardInput() override { m_inner->discardInput(); }

private:
    std::unique_ptr<phonesim::PhoneSimPort> m_inner;
    QByteArray m_trigger;
    QByteArray m_news;
    QByteArray m_extra;
    int m_afterLines = 0;
    bool m_armed = false;
    bool m_done = false;
};

class RecordedBoxes : public MessageBoxes {
public:
    void show(Kind, const QString& text) override { shown << text; }
    bool askYesNo(Kind, const QString& text) override { return ask(text); }
    bool askOkCancel(Kind, const QString& text) override { return ask(text); }
    QStringList shown;

private:
    bool ask(const QString& text) {
        shown << text;
        return true;
    }
};

inline QJsonObject Message(int index, const char* sender, const char* text) {
    return {{"index", index},
            {"status", 1},
            {"sender", sender},
            {"time", "2026-12-01T17:42:30+01:00"},
            {"text", text}};
}

inline QJsonObject Entry(int index, const char* number, const char* name) {
    return {{"index", index}, {"number", number}, {"name", name}};
}

// Two messages on the SIM; three SIM phone-book entries.
inline QJsonObject NewsPhone() {
    const QJsonObject sim{{"messages", QJsonArray{Message(1, "+420603123456", "Prvni zprava"),
                                                  Message(2, "+420724555018", "Druha zprava")}}};
    const QJsonObject book{
        {"entries", QJsonArray{Entry(1, "+420603123456", "Martina"), Entry(2, "724555018", "Petr"),
                               Entry(5, "+420777888999", "Jana")}}};
    return {{"stores", QJsonObject{{"ME", QJsonObject{}}, {"SM", sim}}},
            {"phoneBooks", QJsonObject{{"SM", book}, {"ME", QJsonObject{}}}}};
}

// The phone at 9600 baud on a fake clock, the link open on it.
class NewsRig {
public:
    NewsRig() {
        QString error;
        std::optional<phonesim::PhoneState> state = phonesim::stateFromJson(NewsPhone(), &error);
        auto sim = std::make_unique<phonesim::PhoneSimPort>(state.value_or(phonesim::PhoneState{}));
        sim->setClock(clock);
        sim->phone().options().latencyMs = 20;
        sim->phone().options().baud = 9600;
        sim->news().setNow(
            [] { return QDateTime::fromString("2026-12-08T21:30:00+01:00", Qt::ISODate); });
        auto port = std::make_unique<InterjectingPort>(std::move(sim));
        this->port = port.get();
        link = std::make_unique<AtLink>(std::move(port), clock);
        link->OpenPort(kDemoDevice);
    }

    phonesim::SimulatedPhone& phone() { return port->inner().phone(); }
    phonesim::NewsControl& news() { return port->inner().news(); }

    // Runs the event loop for `ms` of the fake clock.
    void runFor(qint64 ms) {
        QEventLoop loop;
        clock.callAfter(ms, &loop, [&loop] { loop.quit(); });
        loop.exec();
    }

    FakeClock clock;
    InterjectingPort* port = nullptr;
    std::unique_ptr<AtLink> link;
    RecordedBoxes boxes;
};

}  // namespace telvora::test
