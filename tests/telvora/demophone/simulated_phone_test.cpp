// The phone's answers, byte for byte, as a client on the serial line sees them.

#include <gtest/gtest.h>

#include "telvora/demophone/simulated_phone.h"

namespace phonesim {
namespace {

PhoneState smallState() {
    PhoneState state = PhoneState::makeEmpty();
    state.operatorName = "T-Mobile CZ";
    state.signal = 18;
    // A stored SMS-DELIVER: sender +12345678901, "hello"; 24 octets after its service-centre part.
    const QByteArray pdu = "07912143658709F1040B912143658709F100001021304150000005E8329BFD06";
    state.stores["ME"].messages.insert(2, StoredMessage{kReceivedUnread, pdu});
    state.stores["ME"].messages.insert(5, StoredMessage{kReceivedRead, pdu});
    PhoneBook& sim = state.phoneBooks["SM"];
    sim.size = 20;
    sim.numberLength = 12;
    sim.nameLength = 8;
    sim.entries.insert(1, PhoneBookEntry{"+12025550123", 145, "Jan"});
    sim.entries.insert(4, PhoneBookEntry{"5550123", 129, ""});
    state.melodies = {"cdef", "", "gah", "C"};
    state.busyNumbers = {"+420800123456"};
    state.rejectedNumbers = {"420999000111"};
    return state;
}

class PhoneTest : public ::testing::Test {
protected:
    QByteArray send(const QByteArray& bytes) { return phone.receiveText(bytes); }
    SimulatedPhone phone{smallState()};
};

TEST_F(PhoneTest, EchoFramingAndPersistence) {
    EXPECT_EQ(send("AT\r"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(send("ATE0\r"), "ATE0\r\r\nOK\r\n");  // its own line is still echoed
    EXPECT_EQ(send("AT\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CSQ\r"), "\r\n+CSQ: 18,99\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT\r"), "\r\nOK\r\n");  // stays off until ATE1
    EXPECT_EQ(send("ATE1\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CSQ\r"), "AT+CSQ\r\r\n+CSQ: 18,99\r\n\r\nOK\r\n");
    EXPECT_EQ(send("ATE0\r"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(send("ATZ\r"), "\r\nOK\r\n");  // reset restores the power-on echo
    EXPECT_EQ(send("AT\r"), "AT\r\r\nOK\r\n");
}

TEST_F(PhoneTest, LineEndingsCaseNulBytesAndBlankLines) {
    EXPECT_EQ(send("at\r\n"), "at\r\r\nOK\r\n");
    EXPECT_EQ(send("\r\n\r\r\n"), "");
    EXPECT_EQ(send(QByteArray("A\0T\0\r", 5)), "AT\r\r\nOK\r\n");
    EXPECT_EQ(send("aT+cSq\r"), "aT+cSq\r\r\n+CSQ: 18,99\r\n\r\nOK\r\n");
    // A command split over several writes is answered once it is complete.
    EXPECT_EQ(send("AT+C"), "");
    EXPECT_EQ(send("OPS?\r"), "AT+COPS?\r\r\n+COPS: 0,0,\"T-Mobile CZ\"\r\n\r\nOK\r\n");
    // Two commands in one write, both answered in order.
    EXPECT_EQ(send("ATE0\rAT\r"), "ATE0\r\r\nOK\r\n\r\nOK\r\n");
}

TEST_F(PhoneTest, UnknownAndMalformedCommandsAnswerError) {
    send("ATE0\r");
    EXPECT_EQ(send("AT+FOO\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("ATX9\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+CSQ=5\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+CPBW=1,\"123\r"), "\r\nERROR\r\n");  // unbalanced quote
    EXPECT_EQ(send("hello\r"), "");                         // no AT prefix: ignored
    EXPECT_EQ(send("xxAT\r"), "\r\nOK\r\n");                // noise before the prefix skipped
}

TEST_F(PhoneTest, ErrorFormsFollowCmee) {
    send("ATE0\r");
    EXPECT_EQ(send("AT+CPBR=99\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+CMEE=1\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMEE?\r"), "\r\n+CMEE: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=99\r"), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(send("AT+CMEE=2\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=99\r"), "\r\n+CME ERROR: invalid index\r\n");
    EXPECT_EQ(send("AT+CMEE=0\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMEE=3\r"), "\r\nERROR\r\n");
    // Message-service errors keep their own result code in every mode.
    EXPECT_EQ(send("AT+CMGD=9\r"), "\r\n+CMS ERROR: 321\r\n");
    // Syntax errors stay a plain ERROR even with numeric errors on.
    send("AT+CMEE=1\r");
    EXPECT_EQ(send("AT+NOPE\r"), "\r\nERROR\r\n");
}

TEST_F(PhoneTest, SendMessageWithPromptAndCtrlZ) {
    const QByteArray pdu = "0011000C912143658709210000AD02E834";  // to 123456789012: "hi"
    EXPECT_EQ(send("AT+CMGS=16\r"), "AT+CMGS=16\r\r\n> ");
    EXPECT_EQ(send(pdu + '\x1a'), pdu + "\r\n+CMGS: 1\r\n\r\nOK\r\n");
    ASSERT_EQ(phone.state().sent.size(), 1);
    const SentMessage& sent = phone.state().sent.front();
    EXPECT_EQ(sent.reference, 1);
    EXPECT_EQ(sent.pdu, pdu);
    EXPECT_EQ(sent.number, "+123456789012");
    EXPECT_EQ(sent.text, "hi");
    // Echo off; lower-case hex and a prompt line ended by CR LF are accepted.
    send("ATE0\r");
    EXPECT_EQ(send("AT+CMGS=16\r\n" + pdu.toLower() + '\x1a'), "\r\n> \r\n+CMGS: 2\r\n\r\nOK\r\n");
    EXPECT_EQ(phone.state().sent.size(), 2);
}

TEST_F(PhoneTest, SendMessageFailures) {
    send("ATE0\r");
    const QByteArray pdu = "0011000C912143658709210000AD02E834";
    // The octet count given does not match the PDU.
    EXPECT_EQ(send("AT+CMGS=15\r" + pdu + '\x1a'), "\r\n> \r\n+CMS ERROR: 304\r\n");
    // A service-centre address counts apart from the stated length.
    EXPECT_EQ(send("AT+CMGS=16\r07912143658709F1" + pdu.mid(2) + '\x1a'),
              "\r\n> \r\n+CMGS: 1\r\n\r\nOK\r\n");
    // Not hex, and a PDU whose user data is shorter than its length says.
    EXPECT_EQ(send("AT+CMGS=16\rZZ11000C912143658709210000AD02E834\x1a"),
              "\r\n> \r\n+CMS ERROR: 304\r\n");
    EXPECT_EQ(send("AT+CMGS=17\r0011000C912143658709210000AD05E83400\x1a").right(17),
              "+CMS ERROR: 304\r\n");
    // ESC cancels: nothing is sent.
    EXPECT_EQ(send("AT+CMGS=16\r" + pdu + '\x1b'), "\r\n> \r\nOK\r\n");
    EXPECT_EQ(phone.state().sent.size(), 1);
    // A destination the network refuses.
    const QByteArray refused = "0011000C912490990010110000AD02E834";
    EXPECT_EQ(send("AT+CMGS=16\r" + refused + '\x1a'), "\r\n> \r\n+CMS ERROR: 500\r\n");
    EXPECT_EQ(send("AT+CMGS=0\r"), "\r\n+CMS ERROR: 304\r\n");
    EXPECT_EQ(phone.state().sent.size(), 1);
    // After any of these the phone is back in command mode.
    EXPECT_EQ(send("AT\r"), "\r\nOK\r\n");
}

TEST_F(PhoneTest, ListingUnreadMarksThemRead) {
    const QByteArray pdu = "07912143658709F1040B912143658709F100001021304150000005E8329BFD06";
    send("ATE0\r");
    EXPECT_EQ(send("AT+CPMS=\"ME\",\"SM\"\r"), "\r\n+CPMS: 2,30,0,30,0,30\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGL=1\r"), "\r\n+CMGL: 5,1,,24\r\n" + pdu + "\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGL=0\r"), "\r\n+CMGL: 2,0,,24\r\n" + pdu + "\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGL=0\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGL=1\r"),
              "\r\n+CMGL: 2,1,,24\r\n" + pdu + "\r\n+CMGL: 5,1,,24\r\n" + pdu + "\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGL=9\r"), "\r\n+CMS ERROR: 304\r\n");
    // With echo the answer starts at character 13 after "AT+CMGL=1" CR CR LF.
    send("ATE1\r");
    EXPECT_TRUE(send("AT+CMGL=1\r").startsWith("AT+CMGL=1\r\r\n+CMGL: 2,1,,24\r\n"));
}

TEST_F(PhoneTest, StoreSelectionAndDelete) {
    send("ATE0\r");
    // The SIM is empty; mem1 decides what is listed and deleted.
    EXPECT_EQ(send("AT+CPMS=\"SM\",\"ME\"\r"), "\r\n+CPMS: 0,30,2,30,0,30\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGL=4\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGD=2\r"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(send("AT+CPMS=\"ME\",\"SM\"\r").left(16), "\r\n+CPMS: 2,30,0,");
    EXPECT_EQ(send("AT+CMGD=2\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGD=2\r"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(send("AT+CPMS?\r"), "\r\n+CPMS: \"ME\",1,30,\"SM\",0,30,\"SM\",0,30\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPMS=\"XX\"\r"), "\r\n+CMS ERROR: 302\r\n");
    EXPECT_EQ(phone.state().stores["ME"].messages.keys(), QList<int>{5});
    // Read with AT+CMGR, then delete every read message at once.
    EXPECT_TRUE(send("AT+CMGR=5\r").startsWith("\r\n+CMGR: 1,,24\r\n07912143"));
    EXPECT_EQ(send("AT+CMGD=1,1\r"), "\r\nOK\r\n");
    EXPECT_TRUE(phone.state().stores["ME"].messages.isEmpty());
    EXPECT_EQ(send("AT+CMGF=0\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMGF=1\r"), "\r\n+CMS ERROR: 303\r\n");
}

TEST_F(PhoneTest, PhoneBookRead) {
    send("ATE0\r");
    EXPECT_EQ(send("AT+CPBS=\"SM\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=?\r"), "\r\n+CPBR: (1-20),12,8\r\n\r\nOK\r\n");
    // Empty positions are skipped in a range; an empty name stays empty.
    EXPECT_EQ(send("AT+CPBR=1,20\r"),
              "\r\n+CPBR: 1,\"+12025550123\",145,\"Jan\"\r\n"
              "+CPBR: 4,\"5550123\",129,\"\"\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=2,3\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=4\r"), "\r\n+CPBR: 4,\"5550123\",129,\"\"\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=2\r"), "\r\nOK\r\n");  // empty, as a range
    EXPECT_EQ(send("AT+CPBR=0,5\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+CPBS?\r"), "\r\n+CPBS: \"SM\",2,20\r\n\r\nOK\r\n");
    // The phone memory is empty: a range read gives only OK, and its echo
    // keeps the whole answer under the 26 characters a reader checks for.
    EXPECT_EQ(send("AT+CPBS=\"ME\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=1,100\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBS=\"XY\"\r"), "\r\nERROR\r\n");
}

TEST_F(PhoneTest, PhoneBookWriteEraseAndLimits) {
    send("ATE0\rAT+CMEE=1\r");
    EXPECT_EQ(send("AT+CPBW=?\r"), "\r\n+CPBW: (1-20),12,(128-255),8\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBW=3,\"5550123\",,\"Jan, Jr\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBW=2,\"420123456789\",145,\"Eva\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=2,3\r"),
              "\r\n+CPBR: 2,\"+420123456789\",145,\"Eva\"\r\n"
              "+CPBR: 3,\"5550123\",129,\"Jan, Jr\"\r\n\r\nOK\r\n");
    // Over-long name and number, bad characters, positions out of range.
    EXPECT_EQ(send("AT+CPBW=5,\"123\",,\"Too long\"\r"), "\r\nOK\r\n");  // 8 fits
    EXPECT_EQ(send("AT+CPBW=5,\"123\",,\"Too long!\"\r"), "\r\n+CME ERROR: 24\r\n");
    EXPECT_EQ(send("AT+CPBW=5,\"+1234567890123\",,\"A\"\r"), "\r\n+CME ERROR: 26\r\n");
    EXPECT_EQ(send("AT+CPBW=5,\"12a\",,\"A\"\r"), "\r\n+CME ERROR: 27\r\n");
    EXPECT_EQ(send("AT+CPBW=21,\"1\",,\"A\"\r"), "\r\n+CME ERROR: 21\r\n");
    // Erase by position alone, or by writing an empty entry.
    EXPECT_EQ(send("AT+CPBW=3\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBW=2,\"\",,\"\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPBR=2,3\r"), "\r\nOK\r\n");
    // No position: the first free one.
    EXPECT_EQ(send("AT+CPBW=,\"777\",,\"Free\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(phone.state().phoneBooks["SM"].entries.value(2).name, "Free");
}

TEST_F(PhoneTest, NetworkStatusAndCalls) {
    send("ATE0\r");
    EXPECT_EQ(send("AT+COPS?\r"), "\r\n+COPS: 0,0,\"T-Mobile CZ\"\r\n\r\nOK\r\n");
    phone.state().signal = 99;
    EXPECT_EQ(send("AT+CSQ\r"), "\r\n+CSQ: 99,99\r\n\r\nOK\r\n");
    EXPECT_EQ(send("ATD420603123456;\r"), "\r\nOK\r\n");
    EXPECT_TRUE(phone.state().call.active);
    EXPECT_EQ(phone.state().call.number, "420603123456");
    EXPECT_EQ(send("AT+CLCC\r"), "\r\n+CLCC: 1,0,0,0,0,\"420603123456\",129\r\n\r\nOK\r\n");
    EXPECT_EQ(send("ATD123;\r"), "\r\nERROR\r\n");  // one call at a time
    EXPECT_EQ(send("ATH\r"), "\r\nOK\r\n");
    EXPECT_FALSE(phone.state().call.active);
    EXPECT_EQ(send("ATH\r"), "\r\nOK\r\n");  // hanging up with no call is fine
    EXPECT_EQ(send("ATD;\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("ATD420800123456;\r"), "\r\nBUSY\r\n");
    EXPECT_EQ(send("ATD12345\r"), "\r\nNO CARRIER\r\n");  // no ';': a data call
    EXPECT_FALSE(phone.state().call.active);
}

TEST_F(PhoneTest, Melodies) {
    send("ATE0\rAT+CMEE=1\r");
    EXPECT_EQ(send("AT*ESOM?\r"),
              "\r\n*ESOM: 1,\"cdef\"\r\n*ESOM: 2,\"\"\r\n*ESOM: 3,\"gah\"\r\n"
              "*ESOM: 4,\"C\"\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT*ESOM=2,\"cdefgahC\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(phone.state().melodies.at(1), "cdefgahC");
    EXPECT_EQ(send("AT*ESOM=4,\"\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(phone.state().melodies.at(3), "");
    EXPECT_EQ(send("AT*ESOM=5,\"c\"\r"), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(send("AT*ESOM=1,\"cx\"\r"), "\r\n+CME ERROR: 25\r\n");
    EXPECT_EQ(send("AT*ESOM=1,\"" + QByteArray(121, 'c') + "\"\r"), "\r\n+CME ERROR: 24\r\n");
    EXPECT_EQ(send("AT*ESOM=1,\"" + QByteArray(120, 'c') + "\"\r"), "\r\nOK\r\n");
}

}  // namespace
}  // namespace phonesim
