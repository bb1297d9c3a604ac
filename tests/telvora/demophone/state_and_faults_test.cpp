// State files (load, save, round trip, the built-in demo) and fault injection.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QTemporaryDir>

#include "telvora/demophone/simulated_phone.h"

namespace phonesim {
namespace {

QJsonObject parse(const char* json) {
    return QJsonDocument::fromJson(json).object();
}

TEST(StateFile, ReadsMessagesGivenAsTextOrPdu) {
    QString error;
    const auto state = stateFromJson(parse(R"({
        "operator": "O2 CZ", "signal": 7, "serviceCentre": "+12345678901",
        "stores": {"SM": {"capacity": 5, "messages": [
            {"index": 3, "status": 1, "sender": "+12345678901",
             "time": "2001-12-03T14:05:00Z", "text": "hello"},
            {"index": 1, "pdu": "0004" }]}},
        "phoneBooks": {"ME": {"size": 9, "entries": [{"index": 2, "number": "+4201", "name": "A"}]}},
        "melodies": ["c", "d"],
        "simulator": {"latencyMs": 20, "faults": ["AT+CSQ=late:300"]}})"),
                                     &error);
    ASSERT_TRUE(state) << qPrintable(error);
    EXPECT_EQ(state->operatorName, "O2 CZ");
    const MessageStore& sim = state->stores["SM"];
    EXPECT_EQ(sim.capacity, 5);
    EXPECT_EQ(sim.messages.value(3).pdu,
              "07912143658709F1040B912143658709F100001021304150000005E8329BFD06");
    EXPECT_EQ(sim.messages.value(3).status, kReceivedRead);
    EXPECT_EQ(sim.messages.value(1).status, kReceivedUnread);
    EXPECT_TRUE(state->stores["ME"].messages.isEmpty());
    EXPECT_EQ(state->phoneBooks["ME"].entries.value(2).type, 145);
    EXPECT_EQ(state->phoneBooks["SM"].size, 250);  // defaults for what is not given
    EXPECT_EQ(state->melodies[1], "d");
    EXPECT_EQ(state->melodies[2], "");
    EXPECT_EQ(state->options.latencyMs, 20);
    ASSERT_EQ(state->options.faults.size(), 1);
    EXPECT_EQ(state->options.faults[0].kind, FaultKind::Late);
}

TEST(StateFile, RejectsBrokenDocuments) {
    QString error;
    EXPECT_FALSE(stateFromJson(
        parse(R"({"stores": {"ME": {"messages": [{"index": 0, "pdu": "0004"}]}}})"), &error));
    EXPECT_FALSE(stateFromJson(
        parse(R"({"stores": {"ME": {"messages": [{"index": 1, "pdu": "XY"}]}}})"), &error));
    EXPECT_FALSE(stateFromJson(
        parse(
            R"({"stores": {"ME": {"messages": [{"index": 1, "sender": "+1", "time": "bad", "text": "a"}]}}})"),
        &error));
    EXPECT_FALSE(stateFromJson(
        parse(R"({"phoneBooks": {"SM": {"size": 2, "entries": [{"index": 3}]}}})"), &error));
    EXPECT_FALSE(stateFromJson(parse(R"({"simulator": {"faults": ["AT+CSQ=explode"]}})"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(loadStateFile("/nonexistent/phone.json", &error));
}

TEST(StateFile, SavedStateLoadsBackTheSame) {
    SimulatedPhone phone(demoPhoneState());
    // Change something of every kind through the phone itself.
    phone.receiveText(
        "AT+CPMS=\"ME\"\rAT+CMGL=0\rAT+CMGD=1\rAT+CPBW=9,\"123\",,\"New\"\r"
        "AT*ESOM=3,\"ccc\"\rATD777;\r"
        "AT+CMGS=16\r0011000C912143658709210000AD02E834\x1a");
    QTemporaryDir dir;
    const QString path = dir.filePath("phone.json");
    QString error;
    ASSERT_TRUE(saveStateFile(phone.state(), path, &error)) << qPrintable(error);
    const auto loaded = loadStateFile(path, &error);
    ASSERT_TRUE(loaded) << qPrintable(error);
    EXPECT_EQ(QJsonDocument(stateToJson(*loaded)).toJson(),
              QJsonDocument(stateToJson(phone.state())).toJson());
    // The deleted message's index holds the sent one, back as received.
    EXPECT_EQ(loaded->stores["ME"].messages.value(1).status, kReceivedUnread);
    EXPECT_TRUE(loaded->stores["ME"].messages.value(1).pdu.endsWith("02E834"));
    EXPECT_EQ(loaded->stores["ME"].messages.value(2).status, kReceivedRead);
    EXPECT_EQ(loaded->phoneBooks["SM"].entries.value(9).name, "New");
    EXPECT_EQ(loaded->melodies[2], "ccc");
    EXPECT_TRUE(loaded->call.active);
    ASSERT_EQ(loaded->sent.size(), 1);
    EXPECT_EQ(loaded->sent[0].text, "hi");
    EXPECT_EQ(loaded->nextReference, 2);
}

TEST(StateFile, DemoPhoneHasSampleDataForEveryFeature) {
    const PhoneState demo = demoPhoneState();
    EXPECT_EQ(demo.operatorName, "T-Mobile CZ");
    EXPECT_EQ(demo.signal, 18);
    const int messages = demo.stores["ME"].messages.size() + demo.stores["SM"].messages.size();
    EXPECT_GE(messages, 4);
    EXPECT_LE(messages, 12);  // a long message counts once per part
    EXPECT_GE(demo.phoneBooks["SM"].entries.size(), 8);
    EXPECT_FALSE(demo.phoneBooks["ME"].entries.isEmpty());
    for (const QString& melody : demo.melodies) {
        EXPECT_FALSE(melody.isEmpty());
        EXPECT_FALSE(melody.contains("##") || melody.contains("++"));
    }
}

TEST(FaultSpec, ParsesCommandKindAndArgument) {
    QString error;
    const auto drop = parseFault("AT+CMGL=0=drop:40", &error);
    ASSERT_TRUE(drop);
    EXPECT_EQ(drop->command, "AT+CMGL=0");
    EXPECT_EQ(drop->kind, FaultKind::Drop);
    EXPECT_EQ(drop->arg, 40);
    EXPECT_EQ(faultToString(*drop), "AT+CMGL=0=drop:40");
    const auto silent = parseFault("AT=Silent", &error);
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->arg, -1);
    EXPECT_FALSE(parseFault("AT+CSQ", &error));
    EXPECT_FALSE(parseFault("AT+CSQ=boom", &error));
    EXPECT_FALSE(parseFault("AT+CSQ=late:-5", &error));
    EXPECT_FALSE(parseFault("AT+CSQ=late:x", &error));
}

class FaultTest : public ::testing::Test {
protected:
    FaultTest() : phone(demoPhoneState()) { phone.options().latencyMs = 0; }
    QByteArray send(const QByteArray& bytes) { return phone.receiveText(bytes); }
    void fault(const char* text) { phone.addFault(*parseFault(text, nullptr)); }
    SimulatedPhone phone;
};

TEST_F(FaultTest, SilentAndErrorDoNotRunTheCommand) {
    fault("AT+CSQ=silent");
    fault("at*esom=error");
    EXPECT_EQ(send("AT+CSQ\r"), "");
    EXPECT_EQ(send("AT+CSQ=?\r"), "");  // the prefix covers every form
    EXPECT_EQ(send("AT*ESOM=1,\"c\"\r"), "AT*ESOM=1,\"c\"\r\r\nERROR\r\n");
    EXPECT_NE(phone.state().melodies[0], "c");
    EXPECT_EQ(send("AT\r"), "AT\r\r\nOK\r\n");  // other commands are untouched
    phone.clearFaults();
    EXPECT_EQ(send("AT+CSQ\r"), "AT+CSQ\r\r\n+CSQ: 18,99\r\n\r\nOK\r\n");
}

TEST_F(FaultTest, GarbageReplacesTheAnswerWithNoise) {
    fault("AT+COPS=garbage:40");
    const QByteArray answer = send("AT+COPS?\r");
    ASSERT_EQ(answer.size(), 9 + 40);
    const QByteArray noise = answer.mid(9);
    EXPECT_FALSE(noise.contains("OK") || noise.contains("ERROR") || noise.contains('\r') ||
                 noise.contains('\n'));
}

TEST_F(FaultTest, DropCutsTheAnswerButRunsTheCommand) {
    fault("AT+CMGL=drop:30");
    send("ATE0\rAT+CPMS=\"ME\"\r");
    const QByteArray cut = send("AT+CMGL=0\r");
    EXPECT_EQ(cut, "\r\n+CMGL: 2,0,,58\r\n079124603050");
    // The listing happened: the message is read now.
    EXPECT_EQ(phone.state().stores["ME"].messages.value(2).status, kReceivedRead);
    phone.clearFaults();
    fault("AT+CPBR=drop");  // default: half of the answer
    const QByteArray full = "\r\n+CPBR: (1-250),20,18\r\n\r\nOK\r\n";
    EXPECT_EQ(send("AT+CPBR=?\r"), full.left(full.size() / 2));
}

TEST_F(FaultTest, LatencyAndLateAnswersDelayOnlyTheAnswer) {
    phone.options().latencyMs = 100;
    fault("AT+CSQ=late:5000");
    const QList<Output> late = phone.receive("AT+CSQ\r");
    ASSERT_EQ(late.size(), 2);
    EXPECT_EQ(late[0].data, "AT+CSQ\r");
    EXPECT_EQ(late[0].delayMs, 0);
    EXPECT_EQ(late[1].data, "\r\n+CSQ: 18,99\r\n\r\nOK\r\n");
    EXPECT_EQ(late[1].delayMs, 5100);
    const QList<Output> normal = phone.receive("AT\r");
    ASSERT_EQ(normal.size(), 2);
    EXPECT_EQ(normal[1].delayMs, 100);
}

TEST_F(FaultTest, ErrorCodesOfTheMessageAndPhoneServices) {
    fault("AT+CMGD=cms:321");
    fault("AT+CPBW=cme");  // default: 100, unknown
    send("ATE0\rAT+CPMS=\"ME\"\r");
    EXPECT_EQ(send("AT+CMGD=2\r"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_TRUE(phone.state().stores["ME"].messages.contains(2));  // not deleted
    // The numeric code comes whatever AT+CMEE says: a fault is the phone's choice.
    EXPECT_EQ(send("AT+CPBW=1,\"123\",129,\"X\"\r"), "\r\n+CME ERROR: 100\r\n");
    EXPECT_NE(phone.state().phoneBooks["SM"].entries.value(1).name, "X");
    const auto parsed = parseFault("AT+CMGL=CMS:500", nullptr);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(faultToString(*parsed), "AT+CMGL=cms:500");
}

TEST_F(FaultTest, BinaryNoiseBreaksLinesButNeverEndsTheCommand) {
    fault("AT+CPBR=noise:200");
    send("ATE0\r");
    const QByteArray noise = send("AT+CPBR=1,250\r");
    ASSERT_EQ(noise.size(), 200);
    EXPECT_TRUE(noise.contains('\r') && noise.contains('\n') && noise.contains('\0'));
    EXPECT_FALSE(noise.contains("OK") || noise.contains("ERROR"));
}

TEST_F(FaultTest, NewsComesBetweenTheLinesOfAnAnswer) {
    fault("AT*ESOM=news:7");
    send("ATE0\r");
    const QByteArray answer = send("AT*ESOM?\r");
    // Each information line is a whole line, with a notice before and after it.
    const QList<QByteArray> lines = answer.split('\n');
    QList<QByteArray> kept;
    for (const QByteArray& line : lines) {
        if (!line.trimmed().isEmpty()) {
            kept.append(line.trimmed());
        }
    }
    ASSERT_EQ(kept.size(), 4 + 5 + 1);
    EXPECT_EQ(kept[0], "+CMTI: \"SM\",7");
    EXPECT_EQ(kept[1], "*ESOM: 1,\"" + phone.state().melodies[0].toLatin1() + "\"");
    EXPECT_EQ(kept[2], "RING");
    EXPECT_EQ(kept[4], "+CLIP: \"+420603123456\",145");
    EXPECT_EQ(kept.last(), "OK");
    EXPECT_TRUE(answer.endsWith("\r\n\r\nOK\r\n"));
}

TEST_F(FaultTest, HangupCutsTheAnswerAndTheLineForGood) {
    fault("AT+CMGD=hangup:0");
    send("ATE0\rAT+CPMS=\"ME\"\r");
    EXPECT_FALSE(phone.lineDead());
    EXPECT_EQ(send("AT+CMGD=2\r"), "");
    EXPECT_TRUE(phone.lineDead());
    EXPECT_FALSE(phone.state().stores["ME"].messages.contains(2));  // it ran
    EXPECT_EQ(send("AT\r"), "");                                    // nothing answers any more
}

TEST_F(FaultTest, SendFaultsHitTheAnswerToThePdu) {
    const QByteArray pdu = "0011000C912143658709210000AD02E834";
    send("ATE0\r");
    fault("AT+CMGS=error");
    EXPECT_EQ(send("AT+CMGS=16\r" + pdu + '\x1a'), "\r\n> \r\nERROR\r\n");
    EXPECT_TRUE(phone.state().sent.isEmpty());
    phone.clearFaults();
    fault("AT+CMGS=late:12500");
    const QList<Output> late = phone.receive("AT+CMGS=16\r" + pdu + '\x1a');
    ASSERT_EQ(late.size(), 2);
    EXPECT_EQ(late[1].data, "\r\n+CMGS: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(late[1].delayMs, 12500);
    EXPECT_EQ(phone.state().sent.size(), 1);  // sent, only the answer is late
}

}  // namespace
}  // namespace phonesim
