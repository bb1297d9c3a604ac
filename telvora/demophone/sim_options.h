#pragma once
// Simulator settings that are not phone state: answer timing and injected
// faults. Settable from C++, from the state file and from the command line.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

namespace phonesim {

enum class FaultKind {
    Silent,   // nothing at all comes back, not even the echo; command not run
    Error,    // final "ERROR" instead of the answer; command not run
    Garbage,  // `arg` bytes of line noise instead of the answer (default 16); command not run
    Drop,     // the answer is cut after `arg` bytes (default half), no final result; command run
    Late,     // the answer comes `arg` ms later than usual (default 2000); command run
    Cms,      // final "+CMS ERROR: <arg>" (default 500) instead of the answer; command not run
    Cme,      // final "+CME ERROR: <arg>" (default 100), whatever AT+CMEE says; command not run
    Noise,    // `arg` bytes of binary noise with CR, LF and NUL among them (default 32)
              // instead of the answer; command not run
    News,     // news lines ("+CMTI:", "RING", "+CLIP:") between the lines of the answer; `arg`
              // is the message index the +CMTI names (default 1); command run
    Hangup,   // the answer is cut after `arg` bytes (default half) and the line is gone for
              // good: nothing is answered again; command run
};

// True for the kinds that answer in place of the command, which is not run.
bool replacesAnswer(FaultKind kind);

// A fault applies to every command line that starts with `command`
// (compared without regard to case).
struct Fault {
    QByteArray command;
    FaultKind kind = FaultKind::Error;
    int arg = -1;  // -1: the kind's default
};

struct SimOptions {
    int latencyMs = 0;  // delay before each answer (the echo is not delayed)
    int baud = 0;       // line-speed emulation: baud / 10 characters a second; 0 = off
    bool echo = true;   // echo state after power-on and ATZ
    QList<Fault> faults;
};

// Parses "COMMAND=KIND[:ARG]", e.g. "AT+CSQ=late:3000" or "AT+CMGL=drop:40".
std::optional<Fault> parseFault(const QString& text, QString* error);
QString faultToString(const Fault& fault);

QJsonObject optionsToJson(const SimOptions& options);
std::optional<SimOptions> optionsFromJson(const QJsonObject& json, QString* error);

}  // namespace phonesim
