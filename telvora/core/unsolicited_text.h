#pragma once
// The lines a phone sends unasked (unsolicited result codes): a new message
// stored ("+CMTI:"), an incoming call ("RING", "+CRING:", "+CLIP:"), a call
// that ended ("NO CARRIER") and a few more that no command's answer may
// contain. Which lines count is one table in unsolicited_text.cpp; the
// parsers take one whole line without its CR LF.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

namespace telvora {

enum class UnsolicitedKind {
    NewMessage,    // +CMTI: "SM",5
    Ring,          // RING, +CRING: VOICE
    CallerId,      // +CLIP: "+420603123456",145
    CallEnded,     // NO CARRIER
    StatusReport,  // +CDSI: "SM",3 (a delivery report was stored)
    Other,         // further notices that must stay out of answers
};

// The kind of `line` when it is an unsolicited line. `callResultIsAnswer`:
// a dial or an answer waits for its result, so "NO CARRIER" is that
// command's answer and not news. "+CLIP:" is news only with the number in
// quotes: "+CLIP: 1,1" is the answer to "AT+CLIP?".
std::optional<UnsolicitedKind> ClassifyUnsolicited(QByteArrayView line, bool callResultIsAnswer);

// True while `start`, the beginning of a line still being received, can
// still turn out to be an unsolicited line.
bool MayBeUnsolicited(QByteArrayView start);

// "+CMTI: <mem>,<index>": where the phone stored a new message.
struct NewMessageNotice {
    QByteArray store;  // "SM", "ME", ...
    int index = 0;
};
std::optional<NewMessageNotice> ParseNewMessageNotice(QByteArrayView line);

// "+CLIP: <number>,<type>[,...]": the caller of a ringing call. The number
// gets a leading "+" when its type is international (145) and it has none;
// it is empty when the caller withheld it.
struct CallerIdNotice {
    QString number;
    int type = 129;
};
std::optional<CallerIdNotice> ParseCallerId(QByteArrayView line);

// The values a test command offers, one list per parameter: the answer
// "+CNMI: (0-2),(0-3),(0,2),0,(0,1)" gives {0,1,2}, {0,1,2,3}, {0,2}, {0},
// {0,1}. Empty when the answer holds no such line.
QList<QList<int>> ParseOfferedValues(QByteArrayView answer, QByteArrayView prefix);

// The "AT+CNMI=" line that makes the phone store a new message and announce
// it with "+CMTI:", chosen from the answer to "AT+CNMI=?". Mode 2 (held
// while a command runs, sent after it) is preferred to 1 (dropped while a
// command runs) and 3; the message indication must offer 1. nullopt when
// the phone offers no such setting.
std::optional<QByteArray> ChooseNewMessageIndication(QByteArrayView testAnswer);

}  // namespace telvora
