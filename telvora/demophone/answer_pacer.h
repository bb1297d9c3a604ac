#pragma once
// AnswerPacer: delivers the phone's output on time. Each piece becomes due
// `delayMs` after it was scheduled and pieces leave in order, never
// overtaking one another; with line-speed emulation (baud > 0) the bytes
// trickle out at baud / 10 characters a second. Driven by a clock's
// deadlines (the system clock, or a test's FakeClock), never blocking;
// delivery is always asynchronous, even without any delay.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <optional>

#include "telvora/core/clock.h"
#include "telvora/demophone/simulated_phone.h"

namespace phonesim {

class AnswerPacer : public QObject {
    Q_OBJECT
public:
    explicit AnswerPacer(QObject* parent = nullptr);

    void setBaud(int baud) { m_baud = baud; }
    // The clock the delays run on; set before anything is scheduled.
    void setClock(telvora::Clock& clock) { m_clock = &clock; }
    void schedule(const QList<Output>& outputs);
    // Drops everything not yet delivered.
    void clear();
    bool idle() const { return m_queue.isEmpty(); }

signals:
    void output(const QByteArray& bytes);

private:
    struct Piece {
        QByteArray data;
        double startMs = 0;  // when its first byte leaves
        qsizetype sent = 0;
    };

    void deliver();
    void arm();
    double now() const { return static_cast<double>(m_clock->nowMs()); }
    double msPerByte() const { return m_baud > 0 ? 10000.0 / m_baud : 0; }

    telvora::Clock* m_clock = &telvora::SystemClock();
    std::optional<double> m_armedFor;  // when the next delivery is due
    quint64 m_generation = 0;          // deadlines of an older arming are ignored
    QList<Piece> m_queue;
    double m_lineFreeMs = 0;  // when the last queued byte has left
    int m_baud = 0;
};

}  // namespace phonesim
