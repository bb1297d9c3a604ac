// What the simulated phone tells about itself and its network: identification,
// SIM, functionality, battery, signal, operator and registration; and the
// ring melodies.

#include "telvora/demophone/at_syntax.h"
#include "telvora/demophone/simulated_phone.h"

namespace phonesim {

using namespace at;

namespace {

constexpr int kMaxMelody = 120;
constexpr char kMelodyChars[] = "p#bB+cdefgahCDEFGAH";

// The identification commands: each answers one fixed value with its
// execution form, and nothing with its test form. The V.25ter names
// (AT+GMI, ...) are the same.
struct IdentificationCommand {
    const char* name;
    QString PhoneIdentity::*value;
};
constexpr IdentificationCommand kIdentification[] = {
    {"+CGMI", &PhoneIdentity::manufacturer}, {"+GMI", &PhoneIdentity::manufacturer},
    {"+CGMM", &PhoneIdentity::model},        {"+GMM", &PhoneIdentity::model},
    {"+CGMR", &PhoneIdentity::revision},     {"+GMR", &PhoneIdentity::revision},
    {"+CGSN", &PhoneIdentity::imei},         {"+GSN", &PhoneIdentity::imei},
    {"+CIMI", &PhoneIdentity::imsi},
};

QByteArray hex4(int value) {
    return '"' + QByteArray::number(value, 16).toUpper().rightJustified(4, '0') + '"';
}

}  // namespace

void SimulatedPhone::addStatusHandlers() {
    addHandlers({
        {"+CPIN", &SimulatedPhone::cpin},
        {"+CFUN", &SimulatedPhone::cfun},
        {"+CBC", &SimulatedPhone::cbc},
        {"+CSQ", &SimulatedPhone::csq},
        {"+COPS", &SimulatedPhone::cops},
        {"+CREG", &SimulatedPhone::creg},
        {"+CGREG", &SimulatedPhone::cgreg},
        {"+CGATT", &SimulatedPhone::cgatt},
        {"+CLCK", &SimulatedPhone::clck},
        {"+CCFC", &SimulatedPhone::ccfc},
        {"+CPWD", &SimulatedPhone::cpwd},
        {"*ESOM", &SimulatedPhone::esom},
    });
}

std::optional<Answer> SimulatedPhone::identification(const QByteArray& name,
                                                     const QByteArray& rest) const {
    for (const IdentificationCommand& command : kIdentification) {
        if (name == command.name) {
            if (rest == "=?") {
                return ok();
            }
            return rest.isEmpty() ? ok({(m_state.identity.*command.value).toLatin1()})
                                  : syntaxError();
        }
    }
    return std::nullopt;
}

Answer SimulatedPhone::cpin(Form form, const QList<Arg>&) {
    switch (form) {
        case Form::Read:
            return ok({"+CPIN: READY"});  // the SIM asks for no PIN
        case Form::Test:
            return ok();
        case Form::Set:
            return cmeError(3);  // nothing to enter
        case Form::Exec:
            break;
    }
    return syntaxError();
}

Answer SimulatedPhone::cfun(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Read:
            return ok({"+CFUN: " + QByteArray::number(m_functionality)});
        case Form::Test:
            return ok({"+CFUN: (0,1,4),(0,1)"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const auto fun = toInt(args.value(0));
    const auto reset = args.size() > 1 ? toInt(args.at(1)) : std::optional<int>(0);
    if (!fun || (*fun != 0 && *fun != 1 && *fun != 4) || !reset || *reset < 0 || *reset > 1 ||
        args.size() > 2) {
        return cmeError(4);
    }
    m_functionality = *fun;
    return ok();
}

Answer SimulatedPhone::cbc(Form form, const QList<Arg>&) {
    if (form == Form::Test) {
        return ok({"+CBC: (0-3),(0-100)"});
    }
    if (form != Form::Exec) {
        return syntaxError();
    }
    // 0: powered by the battery.
    return ok({"+CBC: 0," + QByteArray::number(m_state.battery)});
}

Answer SimulatedPhone::csq(Form form, const QList<Arg>&) {
    if (form == Form::Test) {
        return ok({"+CSQ: (0-31,99),(0-7,99)"});
    }
    if (form != Form::Exec) {
        return syntaxError();
    }
    const int signal = m_functionality == 1 ? m_state.signal : 99;
    return ok({"+CSQ: " + QByteArray::number(signal) + ",99"});
}

Answer SimulatedPhone::cops(Form form, const QList<Arg>& args) {
    const QByteArray name = quoted(m_state.operatorName);
    const QByteArray code = quoted(m_state.networkCode);
    switch (form) {
        case Form::Read:
            if (m_functionality != 1) {
                return ok({"+COPS: 2"});  // not registered: no operator
            }
            return ok({"+COPS: 0," + QByteArray::number(m_copsFormat) + ',' +
                       (m_copsFormat == 2 ? code : name)});
        case Form::Test:
            // The one network there is, current, with its access technology
            // (0: GSM) after the numeric name, as dual-mode phones list them;
            // some clients read an operator only when that field follows.
            // Then the modes and the name formats offered.
            return ok({"+COPS: (2," + name + ',' + name + ',' + code + ",0),,(0-4),(0-2)"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const auto mode = toInt(args.value(0));
    const auto format = args.size() > 1 ? toInt(args.at(1)) : std::optional<int>(m_copsFormat);
    if (!mode || *mode < 0 || *mode > 4 || !format || *format < 0 || *format > 2 ||
        args.size() > 4) {
        return cmeError(4);
    }
    // The access technology after the operator: 0 (GSM) to 7.
    const auto technology = args.size() > 3 ? toInt(args.at(3)) : std::optional<int>(0);
    if (!technology || *technology < 0 || *technology > 7) {
        return cmeError(4);
    }
    if (args.size() > 2 && *mode != 0 && *mode != 3) {
        // Manual selection: only the one network there is, over GSM.
        const QByteArray wanted = args.at(2).text;
        if ((wanted != m_state.operatorName.toLatin1() &&
             wanted != m_state.networkCode.toLatin1()) ||
            *technology != 0) {
            return cmeError(32);  // network not allowed
        }
    }
    m_copsFormat = *format;  // mode 3 sets only the format
    return ok();
}

Answer SimulatedPhone::creg(Form form, const QList<Arg>& args) {
    return registration("+CREG: ", m_cregMode, form, args);
}

Answer SimulatedPhone::cgreg(Form form, const QList<Arg>& args) {
    return registration("+CGREG: ", m_cgregMode, form, args);
}

Answer SimulatedPhone::cgatt(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Read:
            return ok({"+CGATT: " + QByteArray::number(m_packetAttached ? 1 : 0)});
        case Form::Test:
            return ok({"+CGATT: (0,1)"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const auto state = toInt(args.value(0));
    if (!state || *state < 0 || *state > 1 || args.size() > 1) {
        return cmeError(4);
    }
    m_packetAttached = *state == 1;
    return ok();
}

Answer SimulatedPhone::clck(Form form, const QList<Arg>& args) {
    // The SIM lock and call barring: all off, and this phone does not change
    // them; a status query (mode 2) reports them.
    static const QList<QByteArray> kFacilities = {"SC", "AO", "OI", "AI", "IR"};
    if (form == Form::Test) {
        return ok({R"(+CLCK: ("SC","AO","OI","AI","IR"))"});
    }
    if (form != Form::Set) {
        return syntaxError();
    }
    const auto mode = toInt(args.value(1));
    if (!args.value(0).quoted || !kFacilities.contains(args.at(0).text.toUpper()) || !mode ||
        *mode < 0 || *mode > 2) {
        return cmeError(4);
    }
    if (*mode != 2) {
        return cmeError(3);
    }
    // Barring answers per class of service: none is barred for voice, data, fax (7).
    return ok({args.at(0).text.toUpper() == "SC" ? "+CLCK: 0" : "+CLCK: 0,7"});
}

Answer SimulatedPhone::ccfc(Form form, const QList<Arg>& args) {
    // Call forwarding: none is set, and this phone does not set any.
    if (form == Form::Test) {
        return ok({"+CCFC: (0-5)"});
    }
    if (form != Form::Set) {
        return syntaxError();
    }
    const auto reason = toInt(args.value(0));
    const auto mode = toInt(args.value(1));
    if (!reason || *reason < 0 || *reason > 5 || !mode || *mode < 0 || *mode > 4) {
        return cmeError(4);
    }
    if (*mode != 2) {
        return cmeError(3);
    }
    return ok({"+CCFC: 0,7"});
}

Answer SimulatedPhone::cpwd(Form form, const QList<Arg>& args) {
    // The passwords of the facilities of AT+CLCK, with their longest length:
    // offered, but none is set, so none can be changed.
    if (form == Form::Test) {
        return ok({R"(+CPWD: ("SC",8),("AO",4),("OI",4),("AI",4),("IR",4))"});
    }
    if (form != Form::Set) {
        return syntaxError();
    }
    static const QList<QByteArray> kFacilities = {"SC", "AO", "OI", "AI", "IR"};
    if (!args.value(0).quoted || !kFacilities.contains(args.at(0).text.toUpper()) ||
        args.size() != 3) {
        return cmeError(4);
    }
    return cmeError(3);
}

Answer SimulatedPhone::registration(const QByteArray& prefix, int& mode, Form form,
                                    const QList<Arg>& args) {
    switch (form) {
        case Form::Read: {
            // 1: registered, home network; 0: not registered, not searching.
            QByteArray line =
                prefix + QByteArray::number(mode) + ',' + (m_functionality == 1 ? "1" : "0");
            if (mode == 2 && m_functionality == 1) {
                line += ',' + hex4(m_state.locationArea) + ',' + hex4(m_state.cellId);
            }
            return ok({line});
        }
        case Form::Test:
            return ok({prefix + "(0-2)"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const auto wanted = toInt(args.value(0));
    if (!wanted || *wanted < 0 || *wanted > 2 || args.size() > 1) {
        return cmeError(4);
    }
    mode = *wanted;
    return ok();
}

Answer SimulatedPhone::esom(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Read: {
            Answer answer = ok();
            for (int n = 1; n <= 4; ++n) {
                answer.lines.append("*ESOM: " + QByteArray::number(n) + ',' +
                                    quoted(m_state.melodies.at(n - 1)));
            }
            return answer;
        }
        case Form::Test:
            return ok({"*ESOM: (1-4),120"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const auto number = toInt(args.value(0));
    if (args.size() != 2 || !number) {
        return syntaxError();
    }
    if (*number < 1 || *number > 4) {
        return cmeError(21);
    }
    const QByteArray melody = args.at(1).text;
    if (melody.size() > kMaxMelody) {
        return cmeError(24);
    }
    for (char c : melody) {
        if (!QByteArray(kMelodyChars).contains(c)) {
            return cmeError(25);
        }
    }
    m_state.melodies[*number - 1] = QString::fromLatin1(melody);
    return ok();
}

}  // namespace phonesim
