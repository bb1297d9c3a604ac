#pragma once
// IncomingCall: a call ringing on the phone, followed from the lines the
// phone sends unasked. "RING" (or "+CRING:") starts a call and repeats
// every few seconds; "+CLIP:" names the caller once caller identification
// is on (AT+CLIP=1). The call is announced once: with the number as soon as
// "+CLIP:" comes, or without one when none has come kCallerWaitMs after the
// first ring. The caller has given up on "NO CARRIER", or when no ring came
// for kRingSilenceMs (many phones just stop ringing). Answer sends "ATA";
// Reject sends "AT+CHUP" and, when the phone refuses that, "ATH".

#include <QObject>
#include <QString>
#include <optional>

#include "telvora/link/at_link.h"

namespace telvora {

inline constexpr int kTextCallRejected = 189;
inline constexpr int kTextIncomingCall = 190;  // the window's title
inline constexpr int kTextCalling = 191;       // "%1 is calling"
inline constexpr int kTextAnswer = 192;
inline constexpr int kTextReject = 193;
inline constexpr int kTextUnknownNumber = 194;
inline constexpr int kTextMissedCall = 195;    // "Missed call: %1"
inline constexpr int kTextCallAnswered = 196;  // "Call answered: %1"
inline constexpr int kTextNotAnswered = 197;
inline constexpr int kTextNotRejected = 198;
inline constexpr int kTextNoCallerId = 199;

class IncomingCall : public QObject {
    Q_OBJECT
public:
    // Rings come every 3 to 6 seconds on GSM networks; two missing rings
    // and a margin mean the caller gave up.
    static constexpr qint64 kRingSilenceMs = 12000;
    // "+CLIP:" follows its "RING" at once; this much later the call is
    // announced without a number.
    static constexpr qint64 kCallerWaitMs = 1000;
    // Rings read while an answer or a rejection was under way belong to the
    // call just handled, not to a new one.
    static constexpr qint64 kAfterCallQuietMs = 2000;

    enum class State { Idle, Ringing, Answered };
    enum class Result {
        Done,      // the phone accepted the answer or the rejection
        PortBusy,  // another command holds the port; nothing was sent
        Failed,    // the phone refused, or did not answer in time
        Gone,      // no call is ringing (any more)
    };

    explicit IncomingCall(AtLink& link, QObject* parent = nullptr);

    // Asks the phone to name callers ("AT+CLIP=1"); false when it refuses.
    static bool EnableCallerId(PortLease& lease);

    // Answers the ringing call under a lease of its own.
    Result Answer();
    // Rejects the ringing call under a lease of its own.
    Result Reject();

    // The ringing call was ended by other means (the Hang up button's ATH):
    // it is neither announced as given up nor taken for a new call.
    void endedHere();

    State state() const { return m_state; }
    // The caller's number; empty while unknown or withheld.
    const QString& number() const { return m_number; }

signals:
    // Once per call.
    void ringing(const QString& number);
    // The caller gave up before the call was answered or rejected.
    void ended(const QString& number);
    // The call was answered here.
    void answered(const QString& number);

private:
    void onUnsolicited(const QByteArray& line);
    void ring();
    void announce();
    void checkSilence();
    void finish();
    void handled(State state);
    qint64 nowMs() const { return m_link.clock().nowMs(); }

    AtLink& m_link;
    State m_state = State::Idle;
    QString m_number;
    bool m_announced = false;
    qint64 m_lastRingMs = 0;
    qint64 m_quietUntilMs = -1;
    quint64 m_call = 0;  // counts calls; timers of an earlier call do nothing
};

}  // namespace telvora
