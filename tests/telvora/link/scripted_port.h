#pragma once
// A SerialPort for tests: each write is answered with scripted chunks of
// bytes after scripted delays (from the moment of the write, on the given
// clock), or not at all. Bytes can also be injected directly, with or
// without readyRead.

#include <QByteArray>
#include <QList>

#include "telvora/core/clock.h"
#include "telvora/link/serial_port.h"

namespace telvora::test {

struct Chunk {
    int delayMs;
    QByteArray bytes;
    bool thenFail = false;  // the device goes away right after these bytes
};

class ScriptedPort : public SerialPort {
    Q_OBJECT
public:
    explicit ScriptedPort(Clock& clock = SystemClock()) : m_clock(clock) {}

    // The result the next open() gives.
    void setOpenResult(OpenResult result) { m_openResult = result; }
    // The answer to the next write that has no answer yet; a write with no
    // queued answer stays unanswered.
    void queueAnswer(QList<Chunk> chunks) { m_answers.append(std::move(chunks)); }
    void queueAnswer(const QByteArray& bytes, int delayMs = 0) {
        queueAnswer({Chunk{delayMs, bytes}});
    }
    // Bytes arrive now; `notify` says whether readyRead is emitted.
    void arrive(const QByteArray& bytes, bool notify = true) {
        m_received += bytes;
        if (notify) {
            emit readyRead();
        }
    }
    // The device the last open() was asked for.
    const QString& device() const { return m_device; }
    // The device goes away.
    void fail() {
        m_open = false;
        emit failed();
    }

    const QList<QByteArray>& written() const { return m_written; }
    const QByteArray& pending() const { return m_received; }
    int discards() const { return m_discards; }

    OpenResult open(const QString& device) override {
        m_device = device;
        m_open = m_openResult == OpenResult::Ok;
        return m_openResult;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& data) override {
        if (!m_open) {
            return false;
        }
        m_written.append(data);
        if (!m_answers.isEmpty()) {
            for (const Chunk& chunk : m_answers.takeFirst()) {
                m_clock.callAfter(chunk.delayMs, this, [this, chunk] {
                    if (!chunk.bytes.isEmpty()) {
                        arrive(chunk.bytes);
                    }
                    if (chunk.thenFail) {
                        fail();
                    }
                });
            }
        }
        return true;
    }
    QByteArray readAll() override { return std::exchange(m_received, {}); }
    void discardInput() override {
        ++m_discards;
        m_received.clear();
    }

private:
    Clock& m_clock;
    OpenResult m_openResult = OpenResult::Ok;
    QString m_device;
    bool m_open = false;
    QList<QList<Chunk>> m_answers;
    QList<QByteArray> m_written;
    QByteArray m_received;
    int m_discards = 0;
};

}  // namespace telvora::test
