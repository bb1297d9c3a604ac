#include "telvora/demophone/news_control.h"

#include <QFile>

namespace phonesim {
namespace {

bool IsCallerNumber(const QString& number) {
    for (qsizetype i = 0; i < number.size(); ++i) {
        if (!(number[i].isDigit() || (number[i] == u'+' && i == 0))) {
            return false;
        }
    }
    return !number.isEmpty();
}

}  // namespace

NewsControl::NewsControl(SimulatedPhone& phone, QObject* parent)
    : QObject(parent), m_phone(phone), m_now([] { return QDateTime::currentDateTime(); }) {}

QString NewsControl::command(const QString& line) {
    const QString trimmed = line.trimmed();
    const QString verb = trimmed.section(u' ', 0, 0, QString::SectionSkipEmpty).toLower();
    const QString first = trimmed.section(u' ', 1, 1, QString::SectionSkipEmpty);
    if (verb == QLatin1String("sms")) {
        // The text is everything after the number, blanks inside kept.
        const qsizetype at = trimmed.indexOf(first, verb.size()) + first.size();
        const QString text = trimmed.mid(at + 1);
        if (!IsCallerNumber(first) || text.isEmpty()) {
            return QStringLiteral("usage: sms NUMBER TEXT");
        }
        return deliverMessage(first, text);
    }
    if (verb == QLatin1String("ring")) {
        const QString secondsText = trimmed.section(u' ', 2, 2, QString::SectionSkipEmpty);
        bool ok = true;
        const int seconds = secondsText.isEmpty() ? kDefaultGiveUpSeconds : secondsText.toInt(&ok);
        if ((first != QLatin1String("-") && !IsCallerNumber(first)) || !ok || seconds < 0) {
            return QStringLiteral("usage: ring NUMBER|- [SECONDS]");
        }
        startCall(first == QLatin1String("-") ? QString() : first, seconds);
        return {};
    }
    if (verb == QLatin1String("giveup")) {
        if (!m_phone.ringing()) {
            return QStringLiteral("no call is ringing");
        }
        giveUp(first != QLatin1String("quiet"));
        return {};
    }
    return QStringLiteral(
        "unknown command (sms NUMBER TEXT, ring NUMBER [SECONDS], "
        "giveup [quiet])");
}

QString NewsControl::deliverMessage(const QString& sender, const QString& text) {
    DeliverMessage message;
    message.serviceCentre = m_phone.state().serviceCentre;
    message.sender = sender;
    message.time = m_now();
    message.text = text;
    message.ucs2 = !toGsmSeptets(text).has_value();
    QString error;
    const std::optional<QList<Output>> out = m_phone.deliverMessage(message, &error);
    if (!out) {
        return error;
    }
    emit output(*out);
    return {};
}

void NewsControl::startCall(const QString& number, int giveUpSeconds) {
    const quint64 call = ++m_call;
    m_giveUpAtMs = giveUpSeconds > 0 ? m_clock->nowMs() + giveUpSeconds * 1000LL : -1;
    emit output(m_phone.startIncomingCall(number));
    ringLater(call);
}

void NewsControl::giveUp(bool announce) {
    ++m_call;
    emit output(m_phone.callerGivesUp(announce));
}

void NewsControl::ringLater(quint64 call) {
    m_clock->callAfter(kRingIntervalMs, this, [this, call] {
        if (call != m_call || !m_phone.ringing()) {
            return;  // answered, rejected, given up, or another call
        }
        if (m_giveUpAtMs >= 0 && m_clock->nowMs() >= m_giveUpAtMs) {
            giveUp(true);
            return;
        }
        emit output(m_phone.ring());
        ringLater(call);
    });
}

ControlFile::ControlFile(NewsControl& news, QObject* parent) : QObject(parent), m_news(news) {
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &ControlFile::readNew);
}

bool ControlFile::watch(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Append)) {
        *error =
            QStringLiteral("cannot open the control file %1: %2").arg(path, file.errorString());
        return false;
    }
    m_path = path;
    m_offset = file.size();
    if (!m_watcher.addPath(path)) {
        *error = QStringLiteral("cannot watch the control file %1").arg(path);
        return false;
    }
    return true;
}

void ControlFile::readNew() {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    if (file.size() < m_offset) {
        m_offset = 0;  // the file was emptied: read it from the start
        m_partial.clear();
    }
    file.seek(m_offset);
    m_partial += file.readAll();
    m_offset = file.pos();
    if (!m_watcher.files().contains(m_path)) {
        m_watcher.addPath(m_path);  // replaced by an editor: watch the new file
    }
    qsizetype end = m_partial.indexOf('\n');
    while (end >= 0) {
        const QString line = QString::fromUtf8(m_partial.first(end)).trimmed();
        m_partial.remove(0, end + 1);
        if (!line.isEmpty()) {
            const QString reason = m_news.command(line);
            if (!reason.isEmpty()) {
                emit refused(line, reason);
            }
        }
        end = m_partial.indexOf('\n');
    }
}

}  // namespace phonesim
