#pragma once
// NewsControl: makes the simulated phone receive news, on command. A
// control line is one of
//   sms NUMBER TEXT      a message from NUMBER arrives (stored, then +CMTI)
//   ring NUMBER [SECS]   a call from NUMBER ("-" withheld) rings every
//                        kRingIntervalMs until answered (ATA), rejected
//                        (AT+CHUP, ATH), given up, or SECS seconds passed
//                        (default kDefaultGiveUpSeconds; 0 rings on)
//   giveup [quiet]       the caller hangs up: "NO CARRIER", or with quiet
//                        the ringing just stops
// The rings run on a telvora::Clock (the link's own in tests). What the
// phone sends comes out of output(), for the transport to deliver.
// ControlFile feeds it the lines appended to a file.

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <functional>

#include "telvora/core/clock.h"
#include "telvora/demophone/simulated_phone.h"

namespace phonesim {

class NewsControl : public QObject {
    Q_OBJECT
public:
    static constexpr int kRingIntervalMs = 3000;
    static constexpr int kDefaultGiveUpSeconds = 30;

    explicit NewsControl(SimulatedPhone& phone, QObject* parent = nullptr);

    void setClock(telvora::Clock& clock) { m_clock = &clock; }
    // The time stamp a new message gets (default: now).
    void setNow(std::function<QDateTime()> now) { m_now = std::move(now); }

    // Runs one control line; an explanation when it is not understood or
    // cannot be done, else empty.
    QString command(const QString& line);

    QString deliverMessage(const QString& sender, const QString& text);
    void startCall(const QString& number, int giveUpSeconds);
    void giveUp(bool announce);

signals:
    void output(const QList<phonesim::Output>& outputs);

private:
    void ringLater(quint64 call);

    SimulatedPhone& m_phone;
    telvora::Clock* m_clock = &telvora::SystemClock();
    std::function<QDateTime()> m_now;
    quint64 m_call = 0;  // counts calls; rings of an earlier call stop
    qint64 m_giveUpAtMs = -1;
};

// Runs the lines appended to a file through a NewsControl. The file is
// created when missing; lines written before the watch started are skipped.
class ControlFile : public QObject {
    Q_OBJECT
public:
    ControlFile(NewsControl& news, QObject* parent = nullptr);
    bool watch(const QString& path, QString* error);

signals:
    // A line that was not understood, with the reason.
    void refused(const QString& line, const QString& reason);

private:
    void readNew();

    NewsControl& m_news;
    QFileSystemWatcher m_watcher;
    QString m_path;
    qint64 m_offset = 0;
    QByteArray m_partial;
};

}  // namespace phonesim
