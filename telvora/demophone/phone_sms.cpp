// The message commands of the simulated phone: stores, listing, reading,
// deleting and sending PDUs, the service centre and new-message notices.

#include "telvora/demophone/at_syntax.h"
#include "telvora/demophone/simulated_phone.h"
#include "telvora/demophone/sms_pdu.h"

namespace phonesim {

using namespace at;

namespace {

QByteArray listLine(const char* prefix, int index, const StoredMessage& message) {
    QByteArray line = prefix;
    if (index > 0) {
        line += QByteArray::number(index) + ',';
    }
    return line + QByteArray::number(message.status) + ",," +
           QByteArray::number(tpduLength(message.pdu));
}
}  // namespace

void SimulatedPhone::addMessageHandlers() {
    addHandlers({
        {"+CSMS", &SimulatedPhone::csms},
        {"+CMGF", &SimulatedPhone::cmgf},
        {"+CPMS", &SimulatedPhone::cpms},
        {"+CMGL", &SimulatedPhone::cmgl},
        {"+CMGR", &SimulatedPhone::cmgr},
        {"+CMGD", &SimulatedPhone::cmgd},
        {"+CMGS", &SimulatedPhone::cmgs},
        {"+CSCA", &SimulatedPhone::csca},
        {"+CNMI", &SimulatedPhone::cnmi},
    });
}

Answer SimulatedPhone::csms(Form form, const QList<Arg>& args) {
    // Message service 0 (phase 2): receiving, sending and cell broadcast.
    switch (form) {
        case Form::Read:
            return ok({"+CSMS: 0,1,1,1"});
        case Form::Test:
            return ok({"+CSMS: (0)"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    if (args.size() != 1 || toInt(args.at(0)) != 0) {
        return cmsError(303);
    }
    return ok({"+CSMS: 1,1,1"});
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
    if (fault && replacesAnswer(fault->kind)) {
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

MessageStore* SimulatedPhone::readStore() {
    return &m_state.stores[m_readMemory];
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

Answer SimulatedPhone::cnmi(Form form, const QList<Arg>& args) {
    // The values as lists, not ranges: some clients read only lists. Modes 1-3
    // behave the same here, as the link to the client is never reserved.
    // Cell broadcasts (bm 2) and status reports (ds 2) would be announced, but
    // the network sends none.
    switch (form) {
        case Form::Test:
            return ok({"+CNMI: (0,1,2,3),(0,1),(0,2),(0,2),(0,1)"});
        case Form::Read:
            return ok({"+CNMI: " + QByteArray::number(m_cnmiMode) + ',' +
                       QByteArray::number(m_cnmiMt) + ",0," + QByteArray::number(m_cnmiDs) + ",0"});
        case Form::Exec:
            return syntaxError();
        case Form::Set:
            break;
    }
    auto value = [&args](qsizetype i) {
        return i < args.size() && !args.at(i).isEmpty() ? toInt(args.at(i)) : std::optional(0);
    };
    const auto mode = value(0);
    const auto mt = value(1);
    const auto bm = value(2);
    const auto ds = value(3);
    const auto bfr = value(4);
    if (args.isEmpty() || args.at(0).isEmpty() || args.size() > 5 || !mode || *mode < 0 ||
        *mode > 3 || !mt || *mt < 0 || *mt > 1 || !bm || (*bm != 0 && *bm != 2) || !ds ||
        (*ds != 0 && *ds != 2) || !bfr || *bfr < 0 || *bfr > 1) {
        return cmsError(303);  // not supported
    }
    m_cnmiMode = *mode;
    m_cnmiMt = *mt;
    m_cnmiDs = *ds;
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

}  // namespace phonesim
