#include "telvora/demophone/simulated_phone.h"

#include "telvora/demophone/sms_pdu.h"
#include "telvora/phonebook/phone_text.h"

namespace phonesim {

namespace {

constexpr char kCtrlZ = 26;
constexpr char kEscapeChar = 27;
constexpr char kBackspace = 8;
constexpr int kMaxLine = 2048;
constexpr int kMaxPduDigits = 2 * 200;
constexpr int kMaxMelody = 120;
constexpr char kMelodyChars[] = "p#bB+cdefgahCDEFGAH";
constexpr int kDefaultGarbage = 16;
constexpr int kDefaultLateMs = 2000;

using Answer = SimulatedPhone::Answer;
using Arg = SimulatedPhone::Arg;
using Form = SimulatedPhone::Form;

// Upper case outside double quotes, so that names and numbers keep their case.
QByteArray upperOutsideQuotes(const QByteArray& text) {
    QByteArray result = text;
    bool quoted = false;
    for (char& c : result) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return result;
}

// Splits "1,\"a,b\",,x" into arguments; nullopt on an unbalanced quote or on
// text between a closing quote and the next comma.
std::optional<QList<Arg>> parseArgs(const QByteArray& text) {
    QList<Arg> args;
    Arg current;
    bool quoted = false;
    bool closed = false;
    for (char c : text) {
        if (quoted) {
            if (c == '"') {
                quoted = false;
                closed = true;
            } else {
                current.text.append(c);
            }
        } else if (c == ',') {
            if (!current.quoted) {
                current.text = current.text.trimmed();
            }
            args.append(current);
            current = Arg{};
            closed = false;
        } else if (c == '"' && !closed && current.text.trimmed().isEmpty()) {
            current = Arg{{}, true};
            quoted = true;
        } else if (closed || c == '"') {
            if (c != ' ') {
                return std::nullopt;
            }
        } else {
            current.text.append(c);
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (!current.quoted) {
        current.text = current.text.trimmed();
    }
    args.append(current);
    return args;
}

std::optional<int> toInt(const Arg& arg) {
    bool ok = false;
    const int value = arg.text.toInt(&ok);
    return ok && !arg.quoted ? std::optional<int>(value) : std::nullopt;
}

Answer ok(QList<QByteArray> lines = {}) {
    return Answer{std::move(lines), "OK", false};
}
Answer finalOnly(const QByteArray& final) {
    return Answer{{}, final, false};
}
Answer syntaxError() {
    return finalOnly("ERROR");
}

QByteArray quoted(const QString& text) {
    return '"' + text.toLatin1() + '"';
}

QString digitsOnly(const QString& number) {
    return number.startsWith('+') ? number.mid(1) : number;
}

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

QByteArray listLine(const char* prefix, int index, const StoredMessage& message) {
    QByteArray line = prefix;
    if (index > 0) {
        line += QByteArray::number(index) + ',';
    }
    return line + QByteArray::number(message.status) + ",," +
           QByteArray::number(tpduLength(message.pdu));
}

// A name as the phone sends it in character set `set`.
QByteArray encodeName(const QString& name, const QString& set) {
    if (set == QLatin1String("UCS2")) {
        return telvora::EncodeUcs2Hex(name);
    }
    const QByteArray bytes = telvora::EncodeWindows1250(name);
    return set == QLatin1String("HEX") ? bytes.toHex().toUpper() : bytes;
}

// A name as received in `set`; nullopt when it is not valid there.
std::optional<QString> decodeName(const QByteArray& text, const QString& set) {
    if (set == QLatin1String("UCS2")) {
        return telvora::DecodeUcs2Hex(text);
    }
    if (set == QLatin1String("HEX")) {
        if (text.size() % 2 != 0 || QByteArray::fromHex(text).toHex().toUpper() != text.toUpper()) {
            return std::nullopt;
        }
        return telvora::DecodeWindows1250(QByteArray::fromHex(text));
    }
    return telvora::DecodeWindows1250(text);
}

bool validDialChars(const QString& number) {
    for (qsizetype i = 0; i < number.size(); ++i) {
        const QChar c = number.at(i);
        if (!(c.isDigit() || c == '*' || c == '#' || (c == '+' && i == 0))) {
            return false;
        }
    }
    return true;
}

}  // namespace

SimulatedPhone::SimulatedPhone(PhoneState state) : m_state(std::move(state)) {
    m_handlers = {
        {"+CMEE", &SimulatedPhone::cmee},     {"+CMGF", &SimulatedPhone::cmgf},
        {"+CPMS", &SimulatedPhone::cpms},     {"+CMGL", &SimulatedPhone::cmgl},
        {"+CMGR", &SimulatedPhone::cmgr},     {"+CMGD", &SimulatedPhone::cmgd},
        {"+CMGS", &SimulatedPhone::cmgs},     {"+CSCA", &SimulatedPhone::csca},
        {"+CPBS", &SimulatedPhone::cpbs},     {"+CPBR", &SimulatedPhone::cpbr},
        {"+CPBW", &SimulatedPhone::cpbw},     {"+COPS", &SimulatedPhone::cops},
        {"+CSQ", &SimulatedPhone::csq},       {"+CLCC", &SimulatedPhone::clcc},
        {"*ESOM", &SimulatedPhone::esom},     {"+CGMI", &SimulatedPhone::identity},
        {"+CGMM", &SimulatedPhone::identity}, {"+CSCS", &SimulatedPhone::cscs},
        {"+CNMI", &SimulatedPhone::cnmi},     {"+CLIP", &SimulatedPhone::clip},
        {"+CHUP", &SimulatedPhone::chup},
    };
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
        if (m_inPdu) {
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
    if (fault && (fault->kind == FaultKind::Error || fault->kind == FaultKind::Garbage)) {
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
        }
    }
    if (!bytes.isEmpty()) {
        out.append({bytes, delay});
    }
}

void SimulatedPhone::finishPdu(QList<Output>& out) {
    m_inPdu = false;
    const std::optional<Fault> fault = std::exchange(m_sendFault, std::nullopt);
    if (fault && fault->kind == FaultKind::Silent) {
        return;
    }
    if (m_echo && !m_pdu.isEmpty()) {
        out.append({m_pdu, 0});
    }
    if (fault && (fault->kind == FaultKind::Error || fault->kind == FaultKind::Garbage)) {
        emitAnswer(syntaxError(), fault, out);
        return;
    }
    const QByteArray pdu = m_pdu.toUpper();
    const auto info = tpduLength(pdu) == m_pduLength ? decodeSubmit(pdu) : std::nullopt;
    if (!info) {
        // 304: invalid PDU mode parameter (wrong length or malformed PDU).
        emitAnswer(cmsError(304), fault, out);
        return;
    }
    for (const QString& rejected : m_state.rejectedNumbers) {
        if (digitsOnly(rejected) == digitsOnly(info->number)) {
            // 500: unknown error, what phones report for a message the network refused.
            emitAnswer(cmsError(500), fault, out);
            return;
        }
    }
    const int reference = m_state.nextReference;
    m_state.nextReference = reference % 255 + 1;
    m_state.sent.append(SentMessage{reference, pdu, info->number, info->text});
    storeAsReceived(pdu);
    emitAnswer(ok({"+CMGS: " + QByteArray::number(reference)}), fault, out);
}

void SimulatedPhone::storeAsReceived(const QByteArray& submitPdu) {
    const std::optional<QByteArray> deliver =
        deliverFromSubmit(submitPdu, m_state.serviceCentre, QDateTime::currentDateTime());
    MessageStore& store = m_state.stores["ME"];
    int index = 1;
    while (index <= store.capacity && store.messages.contains(index)) {
        ++index;
    }
    if (deliver && index <= store.capacity) {
        store.messages.insert(index, StoredMessage{kReceivedUnread, *deliver});
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
    if (upper == "E0" || upper == "E" || upper == "E1") {
        m_echo = upper == "E1";
        return ok();
    }
    if (upper == "Z" || upper == "Z0" || upper == "&F") {
        reset();
        return ok();
    }
    if (upper == "I" || upper == "I0") {
        return ok({"Telvora Phonesim", "PS-1"});
    }
    if (upper == "H" || upper == "H0") {
        m_state.call = CallState{};
        m_incoming.reset();  // also rejects a ringing call
        return ok();
    }
    if (upper == "A") {
        if (!m_incoming) {
            return finalOnly("NO CARRIER");  // no incoming call to answer
        }
        m_state.call = CallState{true, *m_incoming};
        m_incoming.reset();
        return ok();
    }
    if (upper.startsWith('D')) {
        return dial(body.mid(1).trimmed());
    }
    return syntaxError();
}

Answer SimulatedPhone::executeExtended(const QByteArray& body) {
    const QByteArray upper = upperOutsideQuotes(body);
    qsizetype nameEnd = 1;
    while (nameEnd < upper.size() && upper.at(nameEnd) != '=' && upper.at(nameEnd) != '?') {
        ++nameEnd;
    }
    const Handler handler = m_handlers.value(upper.left(nameEnd), nullptr);
    if (!handler) {
        return syntaxError();
    }
    const QByteArray rest = body.mid(nameEnd);
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

MessageStore* SimulatedPhone::readStore() {
    return &m_state.stores[m_readMemory];
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

Answer SimulatedPhone::cmgf(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Read:
            return ok({"+CMGF: 0"});
        case Form::Test:
            return ok({"+CMGF: (0)"});
        case Form::Exec:
            return ok();
        case Form::Set:
            break;
    }
    const auto mode = toInt(args.value(0));
    if (mode == 0) {
        return ok();
    }
    // Only PDU mode is offered; text mode is refused as unsupported.
    return mode == 1 ? cmsError(303) : syntaxError();
}

Answer SimulatedPhone::cpms(Form form, const QList<Arg>& args) {
    auto usage = [this](const QString& name) {
        const MessageStore& store = m_state.stores[name];
        return QByteArray::number(store.messages.size()) + ',' + QByteArray::number(store.capacity);
    };
    if (form == Form::Test) {
        return ok({"+CPMS: (\"ME\",\"SM\"),(\"ME\",\"SM\"),(\"ME\",\"SM\")"});
    }
    if (form == Form::Read) {
        return ok({"+CPMS: " + quoted(m_readMemory) + ',' + usage(m_readMemory) + ',' +
                   quoted(m_writeMemory) + ',' + usage(m_writeMemory) + ',' +
                   quoted(m_receiveMemory) + ',' + usage(m_receiveMemory)});
    }
    if (form == Form::Exec || args.isEmpty() || args.size() > 3) {
        return syntaxError();
    }
    QStringList names;
    for (const Arg& arg : args) {
        const QString name = QString::fromLatin1(arg.text).toUpper();
        if (!m_state.stores.contains(name)) {
            return cmsError(302);
        }
        names.append(name);
    }
    m_readMemory = names.value(0);
    m_writeMemory = names.value(1, m_writeMemory);
    m_receiveMemory = names.value(2, m_receiveMemory);
    return ok({"+CPMS: " + usage(m_readMemory) + ',' + usage(m_writeMemory) + ',' +
               usage(m_receiveMemory)});
}

Answer SimulatedPhone::cmgl(Form form, const QList<Arg>& args) {
    if (form == Form::Test) {
        return ok({"+CMGL: (0-4)"});
    }
    if (form == Form::Read) {
        return syntaxError();
    }
    const auto status = form == Form::Exec ? std::optional<int>(0) : toInt(args.value(0));
    if (!status || *status < 0 || *status > 4 || args.size() > 1) {
        return cmsError(304);
    }
    Answer answer = ok();
    for (auto it = readStore()->messages.begin(); it != readStore()->messages.end(); ++it) {
        if (*status == 4 || it->status == *status) {
            answer.lines.append(listLine("+CMGL: ", it.key(), *it));
            answer.lines.append(it->pdu);
            // Listing an unread message marks it read, as on a real phone.
            it->status = kReceivedRead;
        }
    }
    return answer;
}

Answer SimulatedPhone::cmgr(Form form, const QList<Arg>& args) {
    if (form == Form::Test) {
        return ok();
    }
    const auto index = toInt(args.value(0));
    if (form != Form::Set || !index) {
        return syntaxError();
    }
    auto& messages = readStore()->messages;
    if (!messages.contains(*index)) {
        return cmsError(321);
    }
    StoredMessage& message = messages[*index];
    Answer answer = ok({listLine("+CMGR: ", 0, message), message.pdu});
    message.status = kReceivedRead;
    return answer;
}

Answer SimulatedPhone::cmgd(Form form, const QList<Arg>& args) {
    MessageStore* store = readStore();
    if (form == Form::Test) {
        return ok({"+CMGD: (1-" + QByteArray::number(store->capacity) + "),(0-4)"});
    }
    const auto index = toInt(args.value(0));
    const auto flag = args.size() > 1 ? toInt(args.at(1)) : std::optional<int>(0);
    if (form != Form::Set || !flag || *flag < 0 || *flag > 4 || args.size() > 2) {
        return syntaxError();
    }
    if (*flag == 0) {
        // 321: invalid memory index, also for an empty slot.
        if (!index || !store->messages.remove(*index)) {
            return cmsError(321);
        }
        return ok();
    }
    // Flags 1-3 delete the read messages (this phone stores no outgoing ones), 4 all.
    store->messages.removeIf([&](auto it) { return *flag == 4 || it->status == kReceivedRead; });
    return ok();
}

Answer SimulatedPhone::cmgs(Form form, const QList<Arg>& args) {
    if (form == Form::Test) {
        return ok();
    }
    const auto length = toInt(args.value(0));
    if (form != Form::Set || args.size() != 1 || !length) {
        return syntaxError();
    }
    if (*length < 7 || *length > 176) {
        return cmsError(304);
    }
    m_pduLength = *length;
    Answer answer;
    answer.prompt = true;
    return answer;
}

Answer SimulatedPhone::csca(Form form, const QList<Arg>& args) {
    const QString& centre = m_state.serviceCentre;
    switch (form) {
        case Form::Read:
            return ok(
                {"+CSCA: " + quoted(centre) + ',' + (centre.startsWith('+') ? "145" : "129")});
        case Form::Set:
            if (args.isEmpty() || args.at(0).text.isEmpty()) {
                return syntaxError();
            }
            m_state.serviceCentre = QString::fromLatin1(args.at(0).text);
            return ok();
        default:
            return form == Form::Test ? ok() : syntaxError();
    }
}

Answer SimulatedPhone::cpbs(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Test:
            return ok({"+CPBS: (\"SM\",\"ME\")"});
        case Form::Read: {
            const PhoneBook& book = m_state.phoneBooks[m_phoneBook];
            return ok({"+CPBS: " + quoted(m_phoneBook) + ',' +
                       QByteArray::number(book.entries.size()) + ',' +
                       QByteArray::number(book.size)});
        }
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const QString name = QString::fromLatin1(args.value(0).text).toUpper();
    if (args.size() != 1 || !m_state.phoneBooks.contains(name)) {
        return cmeError(4);
    }
    m_phoneBook = name;
    return ok();
}

Answer SimulatedPhone::cpbr(Form form, const QList<Arg>& args) {
    const PhoneBook& book = m_state.phoneBooks[m_phoneBook];
    if (form == Form::Test) {
        return ok({"+CPBR: (1-" + QByteArray::number(book.size) + ")," +
                   QByteArray::number(book.numberLength) + ',' +
                   QByteArray::number(book.nameLength)});
    }
    const auto first = toInt(args.value(0));
    const auto last = args.size() > 1 ? toInt(args.at(1)) : first;
    if (form != Form::Set || !first || !last || args.size() > 2) {
        return syntaxError();
    }
    if (*first < 1 || *last > book.size || *first > *last) {
        return cmeError(21);
    }
    Answer answer = ok();
    for (auto it = book.entries.lowerBound(*first); it != book.entries.end() && it.key() <= *last;
         ++it) {
        answer.lines.append("+CPBR: " + QByteArray::number(it.key()) + ',' + quoted(it->number) +
                            ',' + QByteArray::number(it->type) + ",\"" +
                            encodeName(it->name, m_state.characterSet) + '"');
    }
    if (args.size() == 1 && answer.lines.isEmpty()) {
        return cmeError(22);  // a single empty position is "not found"
    }
    return answer;
}

Answer SimulatedPhone::cpbw(Form form, const QList<Arg>& args) {
    PhoneBook& book = m_state.phoneBooks[m_phoneBook];
    if (form == Form::Test) {
        // The types as a range, not a list "(129,145)": clients that find the
        // name length by counting commas expect it after the third one.
        return ok({"+CPBW: (1-" + QByteArray::number(book.size) + ")," +
                   QByteArray::number(book.numberLength) + ",(128-255)," +
                   QByteArray::number(book.nameLength)});
    }
    if (form != Form::Set || args.size() > 4) {
        return syntaxError();
    }
    int position = 0;
    if (args.at(0).isEmpty()) {
        // No position: the first free one.
        for (position = 1; position <= book.size && book.entries.contains(position); ++position) {
        }
        if (position > book.size) {
            return cmeError(20);
        }
    } else {
        const auto index = toInt(args.at(0));
        if (!index) {
            return syntaxError();
        }
        position = *index;
    }
    if (position < 1 || position > book.size) {
        return cmeError(21);
    }
    QString number = QString::fromLatin1(args.value(1).text);
    const std::optional<QString> decodedName = decodeName(args.value(3).text, m_state.characterSet);
    if (!decodedName) {
        return cmeError(25);
    }
    const QString name = *decodedName;
    if (number.isEmpty() && name.isEmpty()) {
        // Writing nothing erases the position.
        book.entries.remove(position);
        return ok();
    }
    // 0 when no type was given; a given type must be a valid address type.
    int type = 0;
    if (!args.value(2).isEmpty()) {
        const std::optional<int> given = toInt(args.at(2));
        if (!given || *given < 128 || *given > 255) {
            return syntaxError();
        }
        type = *given;
    }
    if (!validDialChars(number)) {
        return cmeError(27);
    }
    if (digitsOnly(number).size() > book.numberLength) {
        return cmeError(26);
    }
    if (name.size() > book.nameLength) {
        return cmeError(24);
    }
    if (type == 145 && !number.startsWith('+')) {
        number.prepend('+');
    }
    book.entries.insert(position, PhoneBookEntry{number, number.startsWith('+') ? 145 : 129, name});
    return ok();
}

Answer SimulatedPhone::cscs(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Test: {
            QList<QByteArray> sets;
            for (const QString& set : m_state.characterSets) {
                sets.append(quoted(set));
            }
            return ok({"+CSCS: (" + sets.join(',') + ')'});
        }
        case Form::Read:
            return ok({"+CSCS: " + quoted(m_state.characterSet)});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const QString set = QString::fromLatin1(args.value(0).text).toUpper();
    if (args.size() != 1 || !m_state.characterSets.contains(set)) {
        return cmeError(4);
    }
    m_state.characterSet = set;
    return ok();
}

Answer SimulatedPhone::cops(Form form, const QList<Arg>& args) {
    const QByteArray name = quoted(m_state.operatorName);
    switch (form) {
        case Form::Read:
            return ok({"+COPS: 0,0," + name});
        case Form::Test:
            return ok({"+COPS: (2," + name + ',' + name + ",\"23001\"),,(0-4),(0-2)"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const auto mode = toInt(args.value(0));
    return mode && *mode >= 0 && *mode <= 4 ? ok() : syntaxError();
}

Answer SimulatedPhone::csq(Form form, const QList<Arg>&) {
    if (form == Form::Test) {
        return ok({"+CSQ: (0-31,99),(0-7,99)"});
    }
    if (form != Form::Exec) {
        return syntaxError();
    }
    return ok({"+CSQ: " + QByteArray::number(m_state.signal) + ",99"});
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

Answer SimulatedPhone::identity(Form form, const QList<Arg>&) {
    if (form == Form::Test) {
        return ok();
    }
    return form == Form::Exec ? ok({"Telvora Phonesim"}) : syntaxError();
}

Answer SimulatedPhone::cnmi(Form form, const QList<Arg>& args) {
    switch (form) {
        case Form::Test:
            return ok({"+CNMI: (0-2),(0,1),(0),(0),(0,1)"});
        case Form::Read:
            return ok({"+CNMI: " + QByteArray::number(m_cnmiMode) + ',' +
                       QByteArray::number(m_cnmiMt) + ",0,0,0"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    const auto mode = toInt(args.value(0));
    const auto mt = args.size() > 1 ? toInt(args.at(1)) : std::optional<int>(0);
    if (!mode || !mt || *mode < 0 || *mode > 2 || *mt < 0 || *mt > 1 || args.size() > 5) {
        return cmsError(303);  // not supported
    }
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (!args.at(i).isEmpty() && toInt(args.at(i)) > (i == 4 ? 1 : 0)) {
            return cmsError(303);
        }
    }
    m_cnmiMode = *mode;
    m_cnmiMt = *mt;
    return ok();
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

std::optional<QList<Output>> SimulatedPhone::deliverMessage(const DeliverMessage& message,
                                                            QString* error) {
    const std::optional<QByteArray> pdu = encodeDeliver(message, error);
    if (!pdu) {
        return std::nullopt;
    }
    MessageStore& store = m_state.stores[m_receiveMemory];
    int index = 1;
    while (store.messages.contains(index)) {
        ++index;
    }
    if (index > store.capacity) {
        if (error) {
            *error = QStringLiteral("the store %1 is full").arg(m_receiveMemory);
        }
        return std::nullopt;
    }
    store.messages.insert(index, StoredMessage{kReceivedUnread, *pdu});
    QList<Output> out;
    if (m_cnmiMode > 0 && m_cnmiMt == 1) {
        out.append(
            {"\r\n+CMTI: " + quoted(m_receiveMemory) + ',' + QByteArray::number(index) + "\r\n",
             0});
    }
    return out;
}

QList<Output> SimulatedPhone::startIncomingCall(const QString& number) {
    m_incoming = number;
    return ring();
}

QList<Output> SimulatedPhone::ring() const {
    if (!m_incoming) {
        return {};
    }
    QByteArray text = "\r\nRING\r\n";
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
