#pragma once
// PtyServer: serves a SimulatedPhone on a pseudo-terminal. The client (the
// program under test, a terminal, QSerialPort) opens the slave side like a
// serial device; the server reads the master side when a QSocketNotifier says
// bytes are there and writes the phone's answers back as the pacer releases
// them. A slave descriptor is kept open by the server itself so that a client
// closing the device does not hang up the master: the next client can open it
// again.

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>

#include "telvora/demophone/answer_pacer.h"
#include "telvora/demophone/news_control.h"
#include "telvora/demophone/simulated_phone.h"

namespace phonesim {

class PtyServer : public QObject {
    Q_OBJECT
public:
    PtyServer(SimulatedPhone& phone, QObject* parent = nullptr);
    ~PtyServer() override;

    // Creates the pseudo-terminal in raw mode; false with `error` set on failure.
    bool open(QString* error);
    QString slavePath() const { return m_slavePath; }
    // Messages and calls arriving at the phone.
    NewsControl& news() { return m_news; }
    // Writes every chunk the client sends and the phone's answer to it to
    // `file` (an open transcript); nullptr stops.
    void setTranscript(QFile* file) { m_transcript = file; }

private:
    void readMaster();
    void record(const QByteArray& bytes, const QList<Output>& answer);
    void queueOutput(const QByteArray& bytes);
    void flush();
    void hangUp();

    SimulatedPhone& m_phone;
    AnswerPacer m_pacer;
    NewsControl m_news;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QByteArray m_outbox;
    bool m_hangUpPending = false;  // a "hangup" fault cut the line
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QFile* m_transcript = nullptr;
    QByteArray m_transcriptInput;
};

}  // namespace phonesim
