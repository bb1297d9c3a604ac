#include "telvora/demophone/phone_state.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include "telvora/demophone/sms_pdu.h"

// Resources of a static library must be registered by name, outside any namespace.
static void initDemoResource() {
    Q_INIT_RESOURCE(phonesim_demo);
}

namespace phonesim {

namespace {

const char* const kMemories[] = {"ME", "SM"};

void setError(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
}

bool isHexPdu(const QByteArray& pdu) {
    return tpduLength(pdu) > 0;
}

std::optional<StoredMessage> messageFromJson(const QJsonObject& json, QString* error) {
    StoredMessage message;
    message.status = json.value("status").toInt(kReceivedUnread);
    if (message.status != kReceivedUnread && message.status != kReceivedRead) {
        setError(error, QStringLiteral("message status must be 0 or 1"));
        return std::nullopt;
    }
    if (json.contains("pdu")) {
        message.pdu = json.value("pdu").toString().toLatin1().toUpper();
        if (!isHexPdu(message.pdu)) {
            setError(error, QStringLiteral("bad PDU \"%1\"").arg(json.value("pdu").toString()));
            return std::nullopt;
        }
        return message;
    }
    DeliverMessage deliver;
    deliver.serviceCentre = json.value("serviceCentre").toString();
    deliver.sender = json.value("sender").toString();
    deliver.time = QDateTime::fromString(json.value("time").toString(), Qt::ISODate);
    deliver.text = json.value("text").toString();
    deliver.ucs2 = json.value("coding").toString() == QLatin1String("ucs2");
    const QJsonArray part = json.value("part").toArray();  // [reference, total, sequence]
    if (part.size() == 3) {
        deliver.partReference = part.at(0).toInt();
        deliver.partTotal = part.at(1).toInt();
        deliver.partSequence = part.at(2).toInt();
    }
    const auto pdu = encodeDeliver(deliver, error);
    if (!pdu) {
        return std::nullopt;
    }
    message.pdu = *pdu;
    return message;
}

std::optional<MessageStore> storeFromJson(const QJsonObject& json, const QString& centre,
                                          QString* error) {
    MessageStore store;
    store.capacity = json.value("capacity").toInt(store.capacity);
    for (const auto& value : json.value("messages").toArray()) {
        QJsonObject item = value.toObject();
        if (!item.contains("serviceCentre")) {
            item.insert("serviceCentre", centre);
        }
        const int index = item.value("index").toInt(0);
        if (index < 1 || index > store.capacity || store.messages.contains(index)) {
            setError(error,
                     QStringLiteral("message index %1 is out of range or repeated").arg(index));
            return std::nullopt;
        }
        const auto message = messageFromJson(item, error);
        if (!message) {
            return std::nullopt;
        }
        store.messages.insert(index, *message);
    }
    return store;
}

std::optional<PhoneBook> bookFromJson(const QJsonObject& json, QString* error) {
    PhoneBook book;
    book.size = json.value("size").toInt(book.size);
    book.numberLength = json.value("numberLength").toInt(book.numberLength);
    book.nameLength = json.value("nameLength").toInt(book.nameLength);
    for (const auto& value : json.value("entries").toArray()) {
        const QJsonObject item = value.toObject();
        const int index = item.value("index").toInt(0);
        if (index < 1 || index > book.size || book.entries.contains(index)) {
            setError(error,
                     QStringLiteral("phone-book index %1 is out of range or repeated").arg(index));
            return std::nullopt;
        }
        PhoneBookEntry entry;
        entry.number = item.value("number").toString();
        entry.name = item.value("name").toString();
        entry.type = item.value("type").toInt(entry.number.startsWith('+') ? 145 : 129);
        book.entries.insert(index, entry);
    }
    return book;
}

QJsonArray toJsonArray(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

}  // namespace

PhoneState PhoneState::makeEmpty() {
    PhoneState state;
    for (const char* name : kMemories) {
        state.stores.insert(name, MessageStore{});
        state.phoneBooks.insert(name, PhoneBook{});
    }
    state.phoneBooks["ME"].size = 100;
    state.phoneBooks["ME"].nameLength = 30;
    return state;
}

std::optional<PhoneState> stateFromJson(const QJsonObject& json, QString* error) {
    PhoneState state = PhoneState::makeEmpty();
    state.operatorName = json.value("operator").toString(state.operatorName);
    state.signal = json.value("signal").toInt(state.signal);
    state.networkCode = json.value("networkCode").toString(state.networkCode);
    state.locationArea = json.value("locationArea").toInt(state.locationArea);
    state.cellId = json.value("cellId").toInt(state.cellId);
    state.battery = json.value("battery").toInt(state.battery);
    const QJsonObject identity = json.value("identity").toObject();
    state.identity.manufacturer =
        identity.value("manufacturer").toString(state.identity.manufacturer);
    state.identity.model = identity.value("model").toString(state.identity.model);
    state.identity.revision = identity.value("revision").toString(state.identity.revision);
    state.identity.imei = identity.value("imei").toString(state.identity.imei);
    state.identity.imsi = identity.value("imsi").toString(state.identity.imsi);
    state.serviceCentre = json.value("serviceCentre").toString(state.serviceCentre);
    const QJsonObject stores = json.value("stores").toObject();
    const QJsonObject books = json.value("phoneBooks").toObject();
    for (const char* name : kMemories) {
        if (stores.contains(name)) {
            const auto store =
                storeFromJson(stores.value(name).toObject(), state.serviceCentre, error);
            if (!store) {
                return std::nullopt;
            }
            state.stores[name] = *store;
        }
        if (books.contains(name)) {
            const auto book = bookFromJson(books.value(name).toObject(), error);
            if (!book) {
                return std::nullopt;
            }
            state.phoneBooks[name] = *book;
        }
    }
    const QJsonArray melodies = json.value("melodies").toArray();
    for (int i = 0; i < 4 && i < melodies.size(); ++i) {
        state.melodies[i] = melodies.at(i).toString();
    }
    const QJsonObject call = json.value("call").toObject();
    state.call.active = call.value("active").toBool(false);
    state.call.number = call.value("number").toString();
    for (const auto& value : json.value("sent").toArray()) {
        const QJsonObject item = value.toObject();
        state.sent.append(
            SentMessage{item.value("reference").toInt(), item.value("pdu").toString().toLatin1(),
                        item.value("number").toString(), item.value("text").toString()});
    }
    state.nextReference = json.value("nextReference").toInt(1);
    state.busyNumbers = json.value("busyNumbers").toVariant().toStringList();
    state.rejectedNumbers = json.value("rejectedNumbers").toVariant().toStringList();
    if (json.contains("characterSets")) {
        state.characterSets = json.value("characterSets").toVariant().toStringList();
    }
    state.characterSet = json.value("characterSet").toString(state.characterSet);
    const auto options = optionsFromJson(json.value("simulator").toObject(), error);
    if (!options) {
        return std::nullopt;
    }
    state.options = *options;
    return state;
}

QJsonObject stateToJson(const PhoneState& state) {
    QJsonObject stores;
    for (auto it = state.stores.begin(); it != state.stores.end(); ++it) {
        QJsonArray messages;
        for (auto m = it->messages.begin(); m != it->messages.end(); ++m) {
            messages.append(QJsonObject{
                {"index", m.key()}, {"status", m->status}, {"pdu", QString::fromLatin1(m->pdu)}});
        }
        stores.insert(it.key(), QJsonObject{{"capacity", it->capacity}, {"messages", messages}});
    }
    QJsonObject books;
    for (auto it = state.phoneBooks.begin(); it != state.phoneBooks.end(); ++it) {
        QJsonArray entries;
        for (auto e = it->entries.begin(); e != it->entries.end(); ++e) {
            entries.append(QJsonObject{
                {"index", e.key()}, {"number", e->number}, {"type", e->type}, {"name", e->name}});
        }
        books.insert(it.key(), QJsonObject{{"size", it->size},
                                           {"numberLength", it->numberLength},
                                           {"nameLength", it->nameLength},
                                           {"entries", entries}});
    }
    QJsonArray sent;
    for (const SentMessage& message : state.sent) {
        sent.append(QJsonObject{{"reference", message.reference},
                                {"pdu", QString::fromLatin1(message.pdu)},
                                {"number", message.number},
                                {"text", message.text}});
    }
    QJsonArray melodies;
    for (const QString& melody : state.melodies) {
        melodies.append(melody);
    }
    return QJsonObject{
        {"operator", state.operatorName},
        {"signal", state.signal},
        {"networkCode", state.networkCode},
        {"locationArea", state.locationArea},
        {"cellId", state.cellId},
        {"battery", state.battery},
        {"identity", QJsonObject{{"manufacturer", state.identity.manufacturer},
                                 {"model", state.identity.model},
                                 {"revision", state.identity.revision},
                                 {"imei", state.identity.imei},
                                 {"imsi", state.identity.imsi}}},
        {"serviceCentre", state.serviceCentre},
        {"stores", stores},
        {"phoneBooks", books},
        {"melodies", melodies},
        {"call", QJsonObject{{"active", state.call.active}, {"number", state.call.number}}},
        {"sent", sent},
        {"nextReference", state.nextReference},
        {"busyNumbers", toJsonArray(state.busyNumbers)},
        {"rejectedNumbers", toJsonArray(state.rejectedNumbers)},
        {"characterSets", toJsonArray(state.characterSets)},
        {"characterSet", state.characterSet},
        {"simulator", optionsToJson(state.options)},
    };
}

std::optional<PhoneState> loadStateFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        setError(error, QStringLiteral("%1: %2").arg(path, parseError.errorString()));
        return std::nullopt;
    }
    return stateFromJson(document.object(), error);
}

bool saveStateFile(const PhoneState& state, const QString& path, QString* error) {
    // Written to a temporary file and renamed, so a crash never leaves half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(stateToJson(state)).toJson()) < 0 || !file.commit()) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

PhoneState demoPhoneState() {
    initDemoResource();
    QString error;
    auto state = loadStateFile(QStringLiteral(":/phonesim/demo-phone.json"), &error);
    if (!state) {
        qFatal("built-in demo phone state is broken: %s", qPrintable(error));
    }
    return *state;
}

}  // namespace phonesim
