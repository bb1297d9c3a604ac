#include "telvora/demophone/answer_pacer.h"

#include <algorithm>
#include <cmath>

namespace phonesim {

namespace {
// Slice of line time delivered at once while emulating a slow line.
constexpr int kSliceMs = 10;
}  // namespace

AnswerPacer::AnswerPacer(QObject* parent) : QObject(parent) {}

void AnswerPacer::schedule(const QList<Output>& outputs) {
    const double arrival = now();
    for (const Output& output : outputs) {
        if (output.data.isEmpty()) {
            continue;
        }
        const double start = std::max(arrival + output.delayMs, m_lineFreeMs);
        m_lineFreeMs = start + output.data.size() * msPerByte();
        m_queue.append(Piece{output.data, start, 0});
    }
    arm();
}

void AnswerPacer::clear() {
    m_queue.clear();
    m_lineFreeMs = 0;
    m_armedFor.reset();
    ++m_generation;
}

void AnswerPacer::deliver() {
    const double time = now();
    QByteArray bytes;
    while (!m_queue.isEmpty() && m_queue.front().startMs <= time) {
        Piece& piece = m_queue.front();
        qsizetype due = piece.data.size();
        if (m_baud > 0) {
            due = std::min<qsizetype>(due, 1 + qsizetype((time - piece.startMs) / msPerByte()));
        }
        bytes += piece.data.mid(piece.sent, due - piece.sent);
        piece.sent = due;
        if (piece.sent < piece.data.size()) {
            break;
        }
        m_queue.removeFirst();
    }
    arm();
    if (!bytes.isEmpty()) {
        emit output(bytes);
    }
}

void AnswerPacer::arm() {
    if (m_queue.isEmpty()) {
        return;
    }
    const Piece& piece = m_queue.front();
    double wait = piece.startMs - now();
    if (wait <= 0) {
        wait = m_baud > 0 && piece.sent > 0 ? kSliceMs : 0;
    }
    const int ms = std::max(0, int(std::ceil(wait)));
    // Never postpone a delivery that is already due sooner.
    const double due = now() + ms;
    if (m_armedFor && *m_armedFor <= due) {
        return;
    }
    m_armedFor = due;
    m_clock->callAfter(ms, this, [this, generation = ++m_generation] {
        if (generation == m_generation) {
            m_armedFor.reset();
            deliver();
        }
    });
}

}  // namespace phonesim
