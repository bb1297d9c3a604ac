#pragma once
// SimulatedPhone: a GSM phone as a function from received bytes to answer
// bytes. It has no I/O and no clock of its own; each answer carries the delay
// after which a transport (AnswerPacer) should deliver it. Commands are looked
// up in a table by name, filled by the command groups (status and
// identification, messages, phone book, calls: one source file each); every
// answer is framed as a phone frames it:
//   echo:   the command line and its CR (while echo is on)
//   answer: CR LF, information lines joined by CR LF, CR LF, then
//           CR LF final-result CR LF ("OK", "ERROR", "+CME ERROR: n", ...)
// Message storage, phone books and the rest live in PhoneState.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <initializer_list>
#include <optional>

#include "telvora/demophone/phone_state.h"
#include "telvora/demophone/sms_pdu.h"

namespace phonesim {

// One piece of output, due `delayMs` after the input that caused it arrived.
struct Output {
    QByteArray data;
    int delayMs = 0;
};

class SimulatedPhone {
public:
    explicit SimulatedPhone(PhoneState state = PhoneState::makeEmpty());

    // Feeds received bytes; returns what the phone sends back, in order.
    QList<Output> receive(QByteArrayView bytes);
    // The same, joined and without timing.
    QByteArray receiveText(QByteArrayView bytes);

    PhoneState& state() { return m_state; }
    const PhoneState& state() const { return m_state; }
    SimOptions& options() { return m_state.options; }
    void addFault(const Fault& fault) { m_state.options.faults.append(fault); }
    void clearFaults() { m_state.options.faults.clear(); }

    // News the phone sends unasked. A message stored in the receive memory
    // (mem3 of AT+CPMS) is announced with "+CMTI:" while AT+CNMI asks for
    // it; nullopt with `error` set when it cannot be stored.
    std::optional<QList<Output>> deliverMessage(const DeliverMessage& message, QString* error);
    // A call starts ringing from `number` ("" withheld); the first ring.
    QList<Output> startIncomingCall(const QString& number);
    // One ring of the ringing call ("RING", and "+CLIP:" while AT+CLIP=1);
    // nothing when no call rings.
    QList<Output> ring() const;
    // The caller hangs up before the call was answered; `announce` sends
    // "NO CARRIER", else the phone just stops ringing.
    QList<Output> callerGivesUp(bool announce);
    bool ringing() const { return m_incoming.has_value(); }
    const QString& ringingNumber() const;

    // True once a "hangup" fault cut the line: the phone takes no more input.
    bool lineDead() const { return m_lineDead; }

    bool echo() const { return m_echo; }
    int errorMode() const { return m_errorMode; }
    // Power-on settings: echo as configured, numeric errors off, no prompt.
    void reset();

    // A parsed command argument: quoted text or a bare token.
    struct Arg {
        QByteArray text;
        bool quoted = false;
        bool isEmpty() const { return text.isEmpty() && !quoted; }
    };
    enum class Form { Exec, Read, Test, Set };
    struct Answer {
        QList<QByteArray> lines;
        QByteArray final = "OK";
        bool prompt = false;  // "> " instead of a final result
    };

private:
    using Handler = Answer (SimulatedPhone::*)(Form, const QList<Arg>&);
    struct Entry {
        const char* name;
        Handler handler;
    };
    void addHandlers(std::initializer_list<Entry> entries);
    void addStatusHandlers();
    void addMessageHandlers();
    void addPhoneBookHandlers();
    void addCallHandlers();

    void handleCommandByte(char c, QList<Output>& out);
    void handlePduByte(char c, QList<Output>& out);
    void handleLine(const QByteArray& line, QList<Output>& out);
    void finishPdu(QList<Output>& out);
    // A message the phone sent comes back into its own "ME" store as a
    // received one from the number it went to, so that a sent text can be
    // listed; nothing is stored when the store is full.
    void storeAsReceived(const QByteArray& submitPdu);
    void emitAnswer(const Answer& answer, const std::optional<Fault>& fault, QList<Output>& out);
    std::optional<Fault> faultFor(const QByteArray& upperLine) const;
    QByteArray noise(int count);
    QByteArray binaryNoise(int count);
    QByteArray framedWithNews(const Answer& answer, int messageIndex) const;
    Answer execute(const QByteArray& command);
    Answer executeBasic(const QByteArray& upper, const QByteArray& command);
    // One basic command (E1, &F, I, ...) of a line that may hold several;
    // nullopt when it is not one this phone knows.
    std::optional<Answer> executeBasicCommand(char name, bool ampersand, int value);
    // A fixed piece of identification (AT+CGMI, AT+CGSN, ...); nullopt for
    // other commands.
    std::optional<Answer> identification(const QByteArray& name, const QByteArray& rest) const;
    Answer executeExtended(const QByteArray& command);

    Answer cmeError(int code) const;
    Answer cmsError(int code) const;
    MessageStore* readStore();

    Answer cmee(Form form, const QList<Arg>& args);
    Answer cmgf(Form form, const QList<Arg>& args);
    Answer cpms(Form form, const QList<Arg>& args);
    Answer cmgl(Form form, const QList<Arg>& args);
    Answer cmgr(Form form, const QList<Arg>& args);
    Answer cmgd(Form form, const QList<Arg>& args);
    Answer cmgs(Form form, const QList<Arg>& args);
    Answer csca(Form form, const QList<Arg>& args);
    Answer cpbs(Form form, const QList<Arg>& args);
    Answer cpbr(Form form, const QList<Arg>& args);
    Answer cpbw(Form form, const QList<Arg>& args);
    Answer cscs(Form form, const QList<Arg>& args);
    Answer cops(Form form, const QList<Arg>& args);
    Answer csq(Form form, const QList<Arg>& args);
    Answer clcc(Form form, const QList<Arg>& args);
    Answer esom(Form form, const QList<Arg>& args);
    Answer cnmi(Form form, const QList<Arg>& args);
    Answer clip(Form form, const QList<Arg>& args);
    Answer chup(Form form, const QList<Arg>& args);
    Answer crc(Form form, const QList<Arg>& args);
    Answer cpin(Form form, const QList<Arg>& args);
    Answer cfun(Form form, const QList<Arg>& args);
    Answer cbc(Form form, const QList<Arg>& args);
    Answer creg(Form form, const QList<Arg>& args);
    Answer cgreg(Form form, const QList<Arg>& args);
    Answer cgatt(Form form, const QList<Arg>& args);
    Answer clck(Form form, const QList<Arg>& args);
    Answer ccfc(Form form, const QList<Arg>& args);
    Answer cpwd(Form form, const QList<Arg>& args);
    // AT+CREG and AT+CGREG: the same answer for the circuit and packet network.
    Answer registration(const QByteArray& prefix, int& mode, Form form, const QList<Arg>& args);
    Answer csms(Form form, const QList<Arg>& args);
    Answer dial(const QByteArray& number);

    PhoneState m_state;
    QHash<QByteArray, Handler> m_handlers;

    // Session settings, not saved.
    bool m_echo = true;
    int m_errorMode = 0;  // AT+CMEE: 0 plain ERROR, 1 numeric, 2 verbose
    QString m_readMemory = "SM";
    QString m_writeMemory = "SM";
    QString m_receiveMemory = "SM";
    QString m_phoneBook = "SM";
    int m_cnmiMode = 0;  // AT+CNMI: 0 keeps notices to itself
    int m_cnmiMt = 0;    // 1 announces a stored message with +CMTI
    int m_cnmiDs = 0;    // status reports: accepted, never sent
    bool m_clip = false;
    bool m_cellularResult = false;      // AT+CRC=1: "+CRING: VOICE" instead of "RING"
    int m_copsFormat = 0;               // AT+COPS=3,<format>: 0 long name, 1 short name, 2 numeric
    int m_cregMode = 0;                 // AT+CREG=<n>: 2 adds the location area and cell
    bool m_packetAttached = true;       // AT+CGATT
    int m_cgregMode = 0;                // the same for AT+CGREG
    int m_functionality = 1;            // AT+CFUN: 1 full, 0 minimum, 4 radio off
    std::optional<QString> m_incoming;  // the number of a ringing call

    // Input assembly.
    QByteArray m_line;
    bool m_inPdu = false;
    int m_pduLength = 0;
    QByteArray m_pdu;
    std::optional<Fault> m_sendFault;  // a fault on AT+CMGS hits the answer to its PDU
    quint32 m_noiseSeed = 0x2545F491;
    bool m_lineDead = false;
};

}  // namespace phonesim
