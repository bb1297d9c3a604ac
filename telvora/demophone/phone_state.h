#pragma once
// The simulated phone's persistent state: message stores, phone books,
// network values, melodies, the call and the messages it has sent. Plain data;
// SimulatedPhone changes it, and it is loaded from and saved to a JSON file
// (format in README.md).

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "telvora/demophone/sim_options.h"

namespace phonesim {

// Status values of a stored message, as AT+CMGL reports them.
enum MessageStatus { kReceivedUnread = 0, kReceivedRead = 1 };

struct StoredMessage {
    int status = kReceivedUnread;
    QByteArray pdu;  // SMS-DELIVER with its service-centre part, upper-case hex
};

struct MessageStore {
    int capacity = 30;
    QMap<int, StoredMessage> messages;  // by index, 1..capacity
};

struct PhoneBookEntry {
    QString number;  // as written, "+" included for international numbers
    int type = 129;  // 145 international, 129 otherwise
    QString name;
};

struct PhoneBook {
    int size = 250;
    int numberLength = 20;
    int nameLength = 18;
    QMap<int, PhoneBookEntry> entries;  // by position, 1..size
};

// One message the phone accepted with AT+CMGS.
struct SentMessage {
    int reference = 0;
    QByteArray pdu;  // as received, upper case
    QString number;  // destination, "+" for international
    QString text;    // decoded user data (empty when not decodable)
};

struct CallState {
    bool active = false;
    QString number;
};

// What the phone says about itself (AT+CGMI, AT+CGMM, AT+CGMR, AT+CGSN,
// AT+CIMI) and about its network and battery.
struct PhoneIdentity {
    QString manufacturer = "Telvora";
    QString model = "Phonesim PS-1";
    QString revision = "PS-1 R1A 2026";
    QString imei = "352099001761481";
    QString imsi = "001019876543210";
};

struct PhoneState {
    QMap<QString, MessageStore> stores;   // "ME", "SM"
    QMap<QString, PhoneBook> phoneBooks;  // "SM", "ME"
    QString operatorName = "Simulated GSM";
    int signal = 20;                // received signal strength indication 0..31, 99 unknown
    QString networkCode = "00101";  // mobile country and network code of the operator
    int locationArea = 0x1A2B;      // AT+CREG=2 reports these, in hexadecimal
    int cellId = 0x3C4D;
    int battery = 80;  // charge in percent, AT+CBC
    PhoneIdentity identity;
    QString serviceCentre = "+420603052000";
    std::array<QString, 4> melodies;
    CallState call;
    QList<SentMessage> sent;
    int nextReference = 1;
    QStringList busyNumbers;      // ATD to these answers BUSY
    QStringList rejectedNumbers;  // AT+CMGS to these is refused by the "network"
    // AT+CSCS: the character sets offered and the one selected. Names travel
    // as UTF-16 hex digits in "UCS2", as hex digits of their Windows-1250
    // bytes in "HEX", and as the Windows-1250 bytes in every other set.
    QStringList characterSets{"GSM", "IRA", "UCS2"};
    QString characterSet = "GSM";
    SimOptions options;  // simulator settings kept with the state

    // Both stores and both phone books, empty.
    static PhoneState makeEmpty();
};

// Reads a state document. Messages may be given as raw SMS-DELIVER PDUs or as
// {sender, time, text}, which are encoded here. Returns nullopt and sets
// `error` when the document is malformed.
std::optional<PhoneState> stateFromJson(const QJsonObject& json, QString* error);
QJsonObject stateToJson(const PhoneState& state);

std::optional<PhoneState> loadStateFile(const QString& path, QString* error);
bool saveStateFile(const PhoneState& state, const QString& path, QString* error);

// The demo phone's state, compiled into the library.
PhoneState demoPhoneState();

}  // namespace phonesim
