#pragma once
// Fakes for the shell's tests: a phone port that answers "AT" (or stays
// silent, or refuses to open) and message boxes that record what they show
// and answer from a script.

#include <QList>
#include <QTimer>
#include <utility>

#include "telvora/core/message_boxes.h"
#include "telvora/link/serial_port.h"

namespace telvora::test {

class FakePort : public SerialPort {
    Q_OBJECT
public:
    enum class Phone { Answers, AnswersLater, Silent };

    struct Log {
        QStringList opened;   // every device open() was asked for
        QStringList missing;  // devices that do not exist (InvalidPort)
        int closes = 0;
        int writes = 0;
        bool open = false;
        QString error;  // the port's words for a failed open
    };

    FakePort(OpenResult openResult, Phone phone, Log* log)
        : m_openResult(openResult), m_phone(phone), m_log(log) {}

    OpenResult open(const QString& device) override {
        m_log->opened << device;
        const OpenResult result =
            m_log->missing.contains(device) ? OpenResult::InvalidPort : m_openResult;
        m_log->open = result == OpenResult::Ok;
        return result;
    }
    void close() override {
        if (m_log->open) {
            ++m_log->closes;
        }
        m_log->open = false;
    }
    bool isOpen() const override { return m_log->open; }
    QString errorText() const override { return m_log->error; }
    // The device goes away, as when a USB adapter is pulled.
    void fail() {
        m_log->open = false;
        emit failed();
    }
    bool write(const QByteArray& data) override {
        if (!m_log->open) {
            return false;
        }
        ++m_log->writes;
        if (m_phone == Phone::AnswersLater) {
            // The answer arrives with the next turn of the event loop, so the
            // link really waits for it.
            QTimer::singleShot(0, this, [this, data] {
                m_pending += data + "\r\nOK\r\n";
                emit readyRead();
            });
        }
        if (m_phone == Phone::Answers) {
            // Echo, then the final result, as a phone with echo on does. The
            // answer can be read at once, so no link check depends on timing.
            m_pending += data + "\r\nOK\r\n";
            QTimer::singleShot(0, this, &SerialPort::readyRead);
        }
        return true;
    }
    QByteArray readAll() override { return std::exchange(m_pending, {}); }

private:
    OpenResult m_openResult;
    Phone m_phone;
    Log* m_log;
    QByteArray m_pending;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        Kind kind;
        QString text;
        bool question;
    };

    void show(Kind kind, const QString& text) override { shown.append({kind, text, false}); }
    bool askYesNo(Kind kind, const QString& text) override { return ask(kind, text); }
    bool askOkCancel(Kind kind, const QString& text) override { return ask(kind, text); }

    QList<Shown> shown;
    QList<bool> answers;  // taken in order; Yes/OK when none is left

private:
    bool ask(Kind kind, const QString& text) {
        shown.append({kind, text, true});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
};

}  // namespace telvora::test
