// Calls on the simulated phone: dialling, answering, hanging up, the call
// list and an incoming call that rings with caller identification.

#include "telvora/demophone/at_syntax.h"
#include "telvora/demophone/simulated_phone.h"

namespace phonesim {

using namespace at;

void SimulatedPhone::addCallHandlers() {
    addHandlers({
        {"+CLCC", &SimulatedPhone::clcc},
        {"+CLIP", &SimulatedPhone::clip},
        {"+CHUP", &SimulatedPhone::chup},
        {"+CRC", &SimulatedPhone::crc},
    });
}

Answer SimulatedPhone::clcc(Form form, const QList<Arg>&) {
    if (form == Form::Test) {
        return ok();
    }
    if (form != Form::Exec) {
        return syntaxError();
    }
    Answer answer = ok();
    if (m_state.call.active) {
        const QString& number = m_state.call.number;
        answer.lines.append("+CLCC: 1,0,0,0,0," + quoted(number) + ',' +
                            (number.startsWith('+') ? "145" : "129"));
    }
    return answer;
}

Answer SimulatedPhone::clip(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Test:
            return ok({"+CLIP: (0,1)"});
        case Form::Read:
            return ok({"+CLIP: " + QByteArray(m_clip ? "1" : "0") + ",1"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const auto value = toInt(args.value(0));
    if (!value || *value < 0 || *value > 1 || args.size() > 1) {
        return syntaxError();
    }
    m_clip = *value == 1;
    return ok();
}

Answer SimulatedPhone::chup(Form form, const QList<Arg>&) {
    if (form == Form::Test) {
        return ok();
    }
    if (form != Form::Exec) {
        return syntaxError();
    }
    m_incoming.reset();
    m_state.call = CallState{};
    return ok();
}

Answer SimulatedPhone::crc(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Test:
            return ok({"+CRC: (0,1)"});
        case Form::Read:
            return ok({"+CRC: " + QByteArray(m_cellularResult ? "1" : "0")});
        case Form::Exec:
            m_cellularResult = false;
            return ok();
        case Form::Set:
            break;
    }
    const auto value = toInt(args.value(0));
    if (!value || *value < 0 || *value > 1 || args.size() > 1) {
        return syntaxError();
    }
    m_cellularResult = *value == 1;
    return ok();
}

QList<Output> SimulatedPhone::startIncomingCall(const QString& number) {
    m_incoming = number;
    return ring();
}

QList<Output> SimulatedPhone::ring() const {
    if (!m_incoming) {
        return {};
    }
    QByteArray text = m_cellularResult ? "\r\n+CRING: VOICE\r\n" : "\r\nRING\r\n";
    if (m_clip) {
        const bool international = m_incoming->startsWith(u'+');
        text +=
            "\r\n+CLIP: " + quoted(*m_incoming) + ',' + (international ? "145" : "129") + "\r\n";
    }
    return {{text, 0}};
}

QList<Output> SimulatedPhone::callerGivesUp(bool announce) {
    if (!m_incoming) {
        return {};
    }
    m_incoming.reset();
    if (!announce) {
        return {};
    }
    return {{"\r\nNO CARRIER\r\n", 0}};
}

const QString& SimulatedPhone::ringingNumber() const {
    static const QString kNone;
    return m_incoming ? *m_incoming : kNone;
}

Answer SimulatedPhone::dial(const QByteArray& dialString) {
    QString number = QString::fromLatin1(dialString).remove(' ');
    const bool voice = number.endsWith(';');
    if (voice) {
        number.chop(1);
    }
    // Tone or pulse dialling (ATDT, ATDP) makes no difference to a phone.
    if (number.startsWith('T', Qt::CaseInsensitive) ||
        number.startsWith('P', Qt::CaseInsensitive)) {
        number.remove(0, 1);
    }
    if (number.isEmpty() || !validDialChars(number)) {
        return cmeError(27);
    }
    if (m_state.call.active) {
        return cmeError(3);  // one call at a time
    }
    if (!voice) {
        return finalOnly("NO CARRIER");  // data calls are not offered
    }
    for (const QString& busy : m_state.busyNumbers) {
        if (digitsOnly(busy) == digitsOnly(number)) {
            return finalOnly("BUSY");
        }
    }
    m_state.call = CallState{true, number};
    return ok();
}

}  // namespace phonesim
