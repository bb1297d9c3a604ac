#include "telvora/link/unsolicited_filter.h"

#include "telvora/core/at_text.h"
#include "telvora/core/unsolicited_text.h"

namespace telvora {
namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The results a phone gives to a dial or answer line besides OK and ERROR.
bool IsCallResult(QByteArrayView line) {
    for (QByteArrayView result : {QByteArrayView("NO CARRIER"), QByteArrayView("BUSY"),
                                  QByteArrayView("NO ANSWER"), QByteArrayView("NO DIALTONE")}) {
        if (line == result) {
            return true;
        }
    }
    return line.startsWith("CONNECT");
}

}  // namespace

QByteArray UnsolicitedFilter::take(QByteArrayView bytes, QList<QByteArray>& news) {
    QByteArray out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        if (m_dropLf) {
            m_dropLf = false;
            if (c == '\n') {
                continue;
            }
        }
        if (IsLineEnd(c)) {
            endLine(c, out, news);
            continue;
        }
        if (m_line.size() < kMaxHeldLine) {
            m_line += c;
        }
        if (!m_holding) {
            out += c;
        } else if (m_line.size() >= kMaxHeldLine || !MayBeUnsolicited(m_line)) {
            // Answer text after all: pass on what was held, and the rest of
            // the line as it comes.
            out += m_line;
            m_holding = false;
        }
    }
    return out;
}

void UnsolicitedFilter::endLine(char terminator, QByteArray& out, QList<QByteArray>& news) {
    if (m_holding && !m_line.isEmpty() && ClassifyUnsolicited(m_line, m_callPending)) {
        news.append(m_line);
        m_dropLf = terminator == '\r';
    } else {
        if (m_holding) {
            out += m_line;
        }
        out += terminator;
        noteFinalResult(m_line);
    }
    m_line.clear();
    m_holding = true;
}

void UnsolicitedFilter::noteFinalResult(QByteArrayView line) {
    if (m_callPending && (IsCallResult(line) || FindFinalResult(line.toByteArray() + "\r\n"))) {
        m_callPending = false;
    }
}

void UnsolicitedFilter::commandSent(QByteArrayView command) {
    const QByteArray upper = command.trimmed().toByteArray().toUpper();
    m_callPending = upper.startsWith("ATD") || upper == "ATA";
}

void UnsolicitedFilter::reset() {
    m_line.clear();
    m_holding = true;
    m_dropLf = false;
    m_callPending = false;
}

}  // namespace telvora
