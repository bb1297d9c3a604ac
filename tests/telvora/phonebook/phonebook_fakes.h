#pragma once
// Test doubles for the phone-book commands: message boxes that record what
// they show and answer from a script, and the simulated phone behind a port
// that records every write.

#include <QList>
#include <QStringList>

#include "telvora/core/message_boxes.h"
#include "telvora/demophone/phonesim_port.h"

#include <ostream>

// Readable byte strings in failure messages.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace telvora::test {

class RecordingBoxes : public MessageBoxes {
public:
    void show(Kind kind, const QString& text) override {
        (kind == Kind::Error ? errors : infos) << text;
    }
    bool askYesNo(Kind, const QString& text) override { return ask(text); }
    bool askOkCancel(Kind, const QString& text) override { return ask(text); }

    QStringList errors;
    QStringList infos;
    QStringList questions;
    QList<bool> answers;  // taken in order; Yes/OK when none is left

private:
    bool ask(const QString& text) {
        questions << text;
        return answers.isEmpty() || answers.takeFirst();
    }
};

class RecordingSimPort : public phonesim::PhoneSimPort {
public:
    using PhoneSimPort::PhoneSimPort;

    bool write(const QByteArray& data) override {
        written.append(data);
        return PhoneSimPort::write(data);
    }
    // The commands written that start with `prefix`, without their CR.
    QList<QByteArray> commands(const QByteArray& prefix) const {
        QList<QByteArray> found;
        for (const QByteArray& data : written) {
            if (data.startsWith(prefix)) {
                found.append(data.trimmed());
            }
        }
        return found;
    }

    QList<QByteArray> written;
};

}  // namespace telvora::test
