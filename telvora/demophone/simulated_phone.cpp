#include "telvora/demophone/simulated_phone.h"

#include "telvora/demophone/at_syntax.h"

#include <cctype>

namespace phonesim {

namespace {

constexpr char kCtrlZ = 26;
constexpr char kEscapeChar = 27;
constexpr char kBackspace = 8;
constexpr int kMaxLine = 2048;
constexpr int kMaxPduDigits = 2 * 200;
constexpr int kDefaultGarbage = 16;
constexpr int kDefaultLateMs = 2000;
constexpr int kDefaultNoise = 32;
constexpr int kDefaultCmsError = 500;  // unknown error
constexpr int kDefaultCmeError = 100;  // unknown

using namespace at;

QByteArray verboseCmeText(int code) {
    switch (code) {
        case 3:
            return "operation not allowed";
        case 4:
            return "operation not supported";
        case 20:
            return "memory full";
        case 21:
            return "invalid index";
        case 22:
            return "not found";
        case 24:
            return "text string too long";
        case 25:
            return "invalid characters in text string";
        case 26:
            return "dial string too long";
        case 27:
            return "invalid characters in dial string";
        default:
            return "unknown";
    }
}

QByteArray frame(const Answer& answer) {
    if (answer.prompt) {
        return "\r\n> ";
    }
    QByteArray bytes;
    if (!answer.lines.isEmpty()) {
        bytes = "\r\n" + answer.lines.join("\r\n") + "\r\n";
    }
    return bytes + "\r\n" + answer.final + "\r\n";
}

}  // namespace

SimulatedPhone::SimulatedPhone(PhoneState state) : m_state(std::move(state)) {
    addHandlers({{"+CMEE", &SimulatedPhone::cmee}});
    addStatusHandlers();
    addMessageHandlers();
    addPhoneBookHandlers();
    addCallHandlers();
    for (const char* name : {"ME", "SM"}) {
        if (!m_state.stores.contains(name)) {
            m_state.stores.insert(name, MessageStore{});
        }
        if (!m_state.phoneBooks.contains(name)) {
            m_state.phoneBooks.insert(name, PhoneBook{});
        }
    }
    reset();
}

void SimulatedPhone::addHandlers(std::initializer_list<Entry> entries) {
    for (const Entry& entry : entries) {
        m_handlers.insert(entry.name, entry.handler);
    }
}

void SimulatedPhone::reset() {
    m_echo = m_state.options.echo;
    m_errorMode = 0;
    m_inPdu = false;
    m_pdu.clear();
    m_line.clear();
    m_sendFault.reset();
}

QList<Output> SimulatedPhone::receive(QByteArrayView bytes) {
    QList<Output> out;
    for (char c : bytes) {
        if (m_lineDead) {
            break;
        } else if (m_inPdu) {
            handlePduByte(c, out);
        } else {
            handleCommandByte(c, out);
        }
    }
    return out;
}

QByteArray SimulatedPhone::receiveText(QByteArrayView bytes) {
    QByteArray text;
    for (const Output& output : receive(bytes)) {
        text += output.data;
    }
    return text;
}

void SimulatedPhone::handleCommandByte(char c, QList<Output>& out) {
    if (c == '\0') {
        return;
    }
    if (c == '\r' || c == '\n') {
        // Blank lines, and the LF of a CR LF ending, are ignored.
        if (!m_line.trimmed().isEmpty()) {
            handleLine(m_line, out);
        }
        m_line.clear();
    } else if (c == kBackspace) {
        m_line.chop(1);
    } else if (m_line.size() < kMaxLine) {
        m_line.append(c);
    }
}

void SimulatedPhone::handlePduByte(char c, QList<Output>& out) {
    if (c == kCtrlZ) {
        finishPdu(out);
    } else if (c == kEscapeChar) {
        m_inPdu = false;
        m_sendFault.reset();
        if (m_echo) {
            out.append({m_pdu, 0});
        }
        emitAnswer(ok(), std::nullopt, out);
    } else if (c != '\r' && c != '\n' && c != ' ' && c != '\0' && m_pdu.size() <= kMaxPduDigits) {
        m_pdu.append(c);
    }
}

std::optional<Fault> SimulatedPhone::faultFor(const QByteArray& upperLine) const {
    for (const Fault& fault : m_state.options.faults) {
        if (!fault.command.isEmpty() && upperLine.startsWith(fault.command.toUpper())) {
            return fault;
        }
    }
    return std::nullopt;
}

QByteArray SimulatedPhone::noise(int count) {
    // Line noise that can never spell a final result: no CR, LF, 'O' or 'K'.
    static const QByteArray kAlphabet =
        QByteArray("#%&()*+-./0123456789:;<=>?ABCDFGHIJLMNPQSTUVWXYZabcdefghijlmnpqrstuvwxyz") +
        QByteArray("\x01\x7f\x80\x9b\xa7\xc3\xe9\xff");
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        m_noiseSeed = m_noiseSeed * 1664525u + 1013904223u;
        bytes.append(kAlphabet.at((m_noiseSeed >> 16) % kAlphabet.size()));
    }
    return bytes;
}

QByteArray SimulatedPhone::binaryNoise(int count) {
    // Any byte, CR, LF and NUL often among them, so that the noise breaks
    // lines where a reader does not expect it; never a final result.
    static const QByteArray kSpecial("\r\n\0\x1a\x1b\xff", 6);
    QByteArray bytes;
    while (bytes.size() < count) {
        m_noiseSeed = m_noiseSeed * 1664525u + 1013904223u;
        const quint32 pick = m_noiseSeed >> 16;
        if (pick % 3 == 0) {
            bytes.append(kSpecial.at((pick / 3) % kSpecial.size()));
        } else {
            bytes.append(noise(1));
        }
    }
    return bytes;
}

QByteArray SimulatedPhone::framedWithNews(const Answer& answer, int messageIndex) const {
    // Phones put unsolicited lines between whole lines of an answer, each
    // framed by its own CR LF, as they put them between commands.
    const QByteArray notices[] = {
        "\r\n+CMTI: \"" + m_receiveMemory.toLatin1() + "\"," + QByteArray::number(messageIndex) +
            "\r\n",
        "\r\nRING\r\n",
        "\r\n+CLIP: \"+420603123456\",145\r\n",
    };
    int next = 0;
    QByteArray bytes = notices[next++];
    if (answer.prompt) {
        return bytes + "\r\n> ";
    }
    for (const QByteArray& line : answer.lines) {
        bytes += "\r\n" + line + "\r\n" + notices[next++ % 3];
    }
    return bytes + "\r\n" + answer.final + "\r\n";
}

void SimulatedPhone::handleLine(const QByteArray& line, QList<Output>& out) {
    // Like a modem, skip anything before the "AT" prefix.
    const qsizetype start = line.toUpper().indexOf("AT");
    const QByteArray command = start < 0 ? QByteArray() : line.mid(start).trimmed();
    const QByteArray upper = upperOutsideQuotes(command);
    std::optional<Fault> fault = command.isEmpty() ? std::nullopt : faultFor(upper);
    if (fault && upper.startsWith("AT+CMGS=")) {
        m_sendFault = fault;
        fault.reset();
    }
    if (fault && fault->kind == FaultKind::Silent) {
        return;
    }
    if (m_echo) {
        out.append({line + '\r', 0});
    }
    if (command.isEmpty()) {
        return;
    }
    if (fault && replacesAnswer(fault->kind)) {
        emitAnswer(syntaxError(), fault, out);
        return;
    }
    const Answer answer = execute(command);
    if (answer.prompt) {
        m_inPdu = true;
        m_pdu.clear();
    } else {
        m_sendFault.reset();
    }
    emitAnswer(answer, fault, out);
}

void SimulatedPhone::emitAnswer(const Answer& answer, const std::optional<Fault>& fault,
                                QList<Output>& out) {
    QByteArray bytes = frame(answer);
    int delay = m_state.options.latencyMs;
    if (fault) {
        switch (fault->kind) {
            case FaultKind::Silent:
                return;
            case FaultKind::Error:
                bytes = frame(syntaxError());
                break;
            case FaultKind::Garbage:
                bytes = noise(fault->arg >= 0 ? fault->arg : kDefaultGarbage);
                break;
            case FaultKind::Drop:
                bytes.truncate(fault->arg >= 0 ? fault->arg : bytes.size() / 2);
                break;
            case FaultKind::Late:
                delay += fault->arg >= 0 ? fault->arg : kDefaultLateMs;
                break;
            case FaultKind::Cms:
                bytes = frame(
                    finalOnly("+CMS ERROR: " +
                              QByteArray::number(fault->arg >= 0 ? fault->arg : kDefaultCmsError)));
                break;
            case FaultKind::Cme:
                bytes = frame(
                    finalOnly("+CME ERROR: " +
                              QByteArray::number(fault->arg >= 0 ? fault->arg : kDefaultCmeError)));
                break;
            case FaultKind::Noise:
                bytes = binaryNoise(fault->arg >= 0 ? fault->arg : kDefaultNoise);
                break;
            case FaultKind::News:
                bytes = framedWithNews(answer, fault->arg >= 0 ? fault->arg : 1);
                break;
            case FaultKind::Hangup:
                bytes.truncate(fault->arg >= 0 ? fault->arg : bytes.size() / 2);
                m_lineDead = true;
                break;
        }
    }
    if (!bytes.isEmpty()) {
        out.append({bytes, delay});
    }
}

Answer SimulatedPhone::execute(const QByteArray& command) {
    const QByteArray body = command.mid(2);
    const QByteArray upper = upperOutsideQuotes(body);
    if (body.isEmpty()) {
        return ok();
    }
    if (upper.startsWith('+') || upper.startsWith('*')) {
        return executeExtended(body);
    }
    return executeBasic(upper, body);
}

Answer SimulatedPhone::executeBasic(const QByteArray& upper, const QByteArray& body) {
    // A line may hold several basic commands ("ATE0V1"): each is a letter
    // (or "&" and a letter) and an optional number; D takes the rest of the
    // line. The first one that fails ends the line with its error.
    Answer answer = ok();
    qsizetype i = 0;
    while (i < upper.size()) {
        if (upper.at(i) == ' ') {
            ++i;
            continue;
        }
        if (upper.at(i) == 'D') {
            Answer dialled = dial(body.mid(i + 1).trimmed());
            dialled.lines = answer.lines + dialled.lines;
            return dialled;
        }
        const bool ampersand = upper.at(i) == '&';
        if (ampersand) {
            ++i;
        }
        if (i >= upper.size() || !std::isalpha(static_cast<unsigned char>(upper.at(i)))) {
            return syntaxError();
        }
        const char name = upper.at(i++);
        int value = 0;
        while (i < upper.size() && std::isdigit(static_cast<unsigned char>(upper.at(i))) &&
               value < 1000) {
            value = value * 10 + (upper.at(i++) - '0');
        }
        std::optional<Answer> result = executeBasicCommand(name, ampersand, value);
        if (!result || result->final != "OK") {
            return result.value_or(syntaxError());
        }
        answer.lines += result->lines;
    }
    return answer;
}

std::optional<Answer> SimulatedPhone::executeBasicCommand(char name, bool ampersand, int value) {
    if (ampersand) {
        switch (name) {
            case 'F':  // factory settings
                reset();
                return ok();
            case 'C':  // DCD and DTR handling: accepted, a phone has no say here
            case 'D':
                return value <= 2 ? std::optional(ok()) : std::nullopt;
            default:
                return std::nullopt;
        }
    }
    switch (name) {
        case 'E':
            if (value > 1) {
                return std::nullopt;
            }
            m_echo = value == 1;
            return ok();
        case 'V':  // verbose result codes: the only form this phone gives
            return value == 1 ? std::optional(ok()) : std::nullopt;
        case 'Q':  // result codes are always sent
            return value == 0 ? std::optional(ok()) : std::nullopt;
        case 'X':  // which call progress results: all of them, whatever is asked
            return value <= 4 ? std::optional(ok()) : std::nullopt;
        case 'Z':
            reset();
            return ok();
        case 'I':
            return value == 0 ? std::optional(ok({m_state.identity.manufacturer.toLatin1() + ' ' +
                                                      m_state.identity.model.toLatin1(),
                                                  m_state.identity.revision.toLatin1()}))
                              : std::nullopt;
        case 'H':
            m_state.call = CallState{};
            m_incoming.reset();  // also rejects a ringing call
            return ok();
        case 'A':
            if (!m_incoming) {
                return finalOnly("NO CARRIER");  // no incoming call to answer
            }
            m_state.call = CallState{true, *m_incoming};
            m_incoming.reset();
            return ok();
        default:
            return std::nullopt;
    }
}

Answer SimulatedPhone::executeExtended(const QByteArray& body) {
    const QByteArray upper = upperOutsideQuotes(body);
    qsizetype nameEnd = 1;
    while (nameEnd < upper.size() && upper.at(nameEnd) != '=' && upper.at(nameEnd) != '?') {
        ++nameEnd;
    }
    const QByteArray rest = body.mid(nameEnd);
    if (std::optional<Answer> fixed = identification(upper.left(nameEnd), rest)) {
        return *fixed;
    }
    const Handler handler = m_handlers.value(upper.left(nameEnd), nullptr);
    if (!handler) {
        return syntaxError();
    }
    if (rest.isEmpty()) {
        return (this->*handler)(Form::Exec, {});
    }
    if (rest == "?") {
        return (this->*handler)(Form::Read, {});
    }
    if (rest == "=?") {
        return (this->*handler)(Form::Test, {});
    }
    if (!rest.startsWith('=')) {
        return syntaxError();
    }
    const auto args = parseArgs(rest.mid(1));
    return args ? (this->*handler)(Form::Set, *args) : syntaxError();
}

Answer SimulatedPhone::cmeError(int code) const {
    switch (m_errorMode) {
        case 1:
            return finalOnly("+CME ERROR: " + QByteArray::number(code));
        case 2:
            return finalOnly("+CME ERROR: " + verboseCmeText(code));
        default:
            return syntaxError();
    }
}

Answer SimulatedPhone::cmsError(int code) const {
    // Message-service errors have their own result code, independent of AT+CMEE.
    return finalOnly("+CMS ERROR: " + QByteArray::number(code));
}

Answer SimulatedPhone::cmee(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Read:
            return ok({"+CMEE: " + QByteArray::number(m_errorMode)});
        case Form::Test:
            return ok({"+CMEE: (0-2)"});
        case Form::Exec:
            m_errorMode = 0;
            return ok();
        case Form::Set:
            break;
    }
    const auto mode = toInt(args.value(0));
    if (args.size() != 1 || !mode || *mode < 0 || *mode > 2) {
        return syntaxError();
    }
    m_errorMode = *mode;
    return ok();
}

}  // namespace phonesim
