#include "tools/phonesim/pty_server.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

#include <QTimer>

#include "tools/phonesim/transcript.h"

namespace phonesim {

namespace {
// Answers that no client reads pile up in the terminal; past this they are dropped.
constexpr qsizetype kMaxOutbox = 1 << 20;
// How long after the last byte of a cut answer the terminal hangs up.
constexpr int kHangUpDelayMs = 200;
}  // namespace

PtyServer::PtyServer(SimulatedPhone& phone, QObject* parent)
    : QObject(parent), m_phone(phone), m_news(phone) {
    m_pacer.setBaud(phone.options().baud);
    connect(&m_pacer, &AnswerPacer::output, this, &PtyServer::queueOutput);
    connect(&m_news, &NewsControl::output, &m_pacer, &AnswerPacer::schedule);
    connect(&m_news, &NewsControl::output, this, [this](const QList<Output>& outputs) {
        if (m_transcript) {
            // What the phone sends unasked is kept as a comment: a client's
            // commands alone do not bring it back.
            for (const Output& output : outputs) {
                m_transcript->write("# news " + escapeTranscriptBytes(output.data) + '\n');
            }
            m_transcript->flush();
        }
    });
}

PtyServer::~PtyServer() {
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (m_slave >= 0) {
        ::close(m_slave);
    }
    if (m_master >= 0) {
        ::close(m_master);
    }
}

bool PtyServer::open(QString* error) {
    auto fail = [error](const char* step) {
        *error = QStringLiteral("%1: %2").arg(QLatin1String(step),
                                              QString::fromLocal8Bit(strerror(errno)));
        return false;
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        return fail("posix_openpt");
    }
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        return fail("grantpt/unlockpt");
    }
    const char* name = ptsname(m_master);
    if (!name) {
        return fail("ptsname");
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        return fail("open slave");
    }
    // Raw: no CR/LF translation, no echo by the line discipline, 8-bit clean.
    termios settings{};
    if (tcgetattr(m_slave, &settings) != 0) {
        return fail("tcgetattr");
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    if (tcsetattr(m_slave, TCSANOW, &settings) != 0) {
        return fail("tcsetattr");
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyServer::readMaster);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyServer::flush);
    return true;
}

void PtyServer::readMaster() {
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            const QByteArray bytes(buffer, count);
            const QList<Output> answer = m_phone.receive(bytes);
            if (m_transcript) {
                record(bytes, answer);
            }
            m_pacer.schedule(answer);
            if (m_phone.lineDead()) {
                // The line is cut: what the phone still sends goes out, then
                // the terminal hangs up.
                m_hangUpPending = true;
                m_readNotifier->setEnabled(false);
                flush();
                return;
            }
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        // EAGAIN: all read. EIO cannot last while our own slave descriptor is open.
        return;
    }
}

void PtyServer::record(const QByteArray& bytes, const QList<Output>& answer) {
    // Clients often write a command byte by byte: the bytes are kept until a
    // line ends or the phone answers, so that a transcript line is a command.
    m_transcriptInput += bytes;
    QByteArray answerBytes;
    for (const Output& output : answer) {
        answerBytes += output.data;
    }
    const bool lineEnds = bytes.contains('\r') || bytes.contains('\x1a') || bytes.contains('\x1b');
    if (answerBytes.isEmpty() && !lineEnds) {
        return;
    }
    m_transcript->write(transcriptLine({true, m_transcriptInput}) + '\n');
    m_transcriptInput.clear();
    if (!answerBytes.isEmpty()) {
        m_transcript->write(transcriptLine({false, answerBytes}) + '\n');
    }
    m_transcript->flush();
}

void PtyServer::queueOutput(const QByteArray& bytes) {
    if (m_master < 0 || m_outbox.size() + bytes.size() > kMaxOutbox) {
        return;
    }
    m_outbox += bytes;
    flush();
}

void PtyServer::flush() {
    if (m_master < 0) {
        return;
    }
    while (!m_outbox.isEmpty()) {
        const ssize_t written = ::write(m_master, m_outbox.constData(), m_outbox.size());
        if (written > 0) {
            m_outbox.remove(0, written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // the terminal is full: wait until it can take more
        }
    }
    m_writeNotifier->setEnabled(!m_outbox.isEmpty());
    if (m_hangUpPending && m_outbox.isEmpty() && m_pacer.idle()) {
        // The line goes a moment after its last byte, as a cable pulled
        // after the phone spoke: a hangup discards what the client has not
        // read yet.
        m_hangUpPending = false;
        QTimer::singleShot(kHangUpDelayMs, this, &PtyServer::hangUp);
    }
}

void PtyServer::hangUp() {
    // Closing every descriptor of the master side hangs the terminal up:
    // the client's reads and writes fail, as when a cable is pulled.
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_pacer.clear();
    ::close(m_master);
    m_master = -1;
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
}

}  // namespace phonesim
