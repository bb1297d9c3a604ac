#pragma once
// UnsolicitedFilter: takes the lines a phone sends unasked (a new message,
// a ringing call) out of the byte stream before anything reads it as an
// answer. Bytes go through unchanged, except that a line which may still
// turn out to be unsolicited is held back until its line end shows what it
// is. Lines are recognised only where a line starts (after CR or LF).

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace telvora {

class UnsolicitedFilter {
public:
    // The longest line held back; a longer one is answer text.
    static constexpr qsizetype kMaxHeldLine = 256;

    // Splits `bytes` into the answer text (returned) and the complete
    // unsolicited lines, without their line ends (appended to `news`).
    QByteArray take(QByteArrayView bytes, QList<QByteArray>& news);

    // A command was written. After a dial ("ATD") or an answer ("ATA") the
    // call's result ("NO CARRIER", ...) is the command's answer until a
    // final result line has passed.
    void commandSent(QByteArrayView command);

    // Forgets a held line and the line position (the port opened or closed).
    void reset();

    // Bytes held back now, for tests.
    const QByteArray& held() const { return m_line; }

private:
    void endLine(char terminator, QByteArray& out, QList<QByteArray>& news);
    void noteFinalResult(QByteArrayView line);

    QByteArray m_line;      // the current line as far as it came (bounded)
    bool m_holding = true;  // m_line is held back, not yet passed on
    bool m_dropLf = false;  // the LF after the CR of a removed line
    bool m_callPending = false;
};

}  // namespace telvora
