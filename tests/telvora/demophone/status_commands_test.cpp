// What the phone says about itself and its network, and the start-up
// commands clients send before anything else.

#include <gtest/gtest.h>

#include "telvora/demophone/simulated_phone.h"

namespace phonesim {
namespace {

class StatusTest : public ::testing::Test {
protected:
    StatusTest() {
        PhoneState state = PhoneState::makeEmpty();
        state.operatorName = "T-Mobile CZ";
        state.networkCode = "23001";
        state.signal = 18;
        state.battery = 64;
        state.locationArea = 0x00AF;
        state.cellId = 0x1234;
        state.identity.imei = "352099001761481";
        state.identity.revision = "R2";
        phone = std::make_unique<SimulatedPhone>(std::move(state));
        phone->receiveText("ATE0\r");
    }
    QByteArray send(const QByteArray& bytes) { return phone->receiveText(bytes); }
    std::unique_ptr<SimulatedPhone> phone;
};

TEST_F(StatusTest, IdentificationFromTheState) {
    EXPECT_EQ(send("AT+CGMI\r"), "\r\nTelvora\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CGMR\r"), "\r\nR2\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+GSN\r"), "\r\n352099001761481\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CGSN=?\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CIMI?\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("ATI\r"), "\r\nTelvora Phonesim PS-1\r\nR2\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPIN?\r"), "\r\n+CPIN: READY\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CBC\r"), "\r\n+CBC: 0,64\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CSMS?\r"), "\r\n+CSMS: 0,1,1,1\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CSMS=0\r"), "\r\n+CSMS: 1,1,1\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CSMS=1\r"), "\r\n+CMS ERROR: 303\r\n");
    // Probes of commands the phone lacks are refused at once.
    EXPECT_EQ(send("AT+CPROT=?\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT$TSSPCSW=?\r"), "\r\nERROR\r\n");
}

TEST_F(StatusTest, OperatorAndRegistrationInEveryFormat) {
    EXPECT_EQ(send("AT+COPS?\r"), "\r\n+COPS: 0,0,\"T-Mobile CZ\"\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+COPS=3,2\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+COPS?\r"), "\r\n+COPS: 0,2,\"23001\"\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+COPS=3,0\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+COPS?\r"), "\r\n+COPS: 0,0,\"T-Mobile CZ\"\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+COPS=1,2,\"23002\"\r"), "\r\nERROR\r\n");  // no such network
    EXPECT_EQ(send("AT+COPS=3,5\r"), "\r\nERROR\r\n");
    // The one network is there over GSM (access technology 0) only.
    EXPECT_EQ(send("AT+COPS=1,2,\"23001\",0\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+COPS=1,2,\"23001\",2\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+COPS=0,2,,8\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+COPS=3,0\r"), "\r\nOK\r\n");
    EXPECT_EQ(
        send("AT+COPS=?\r"),
        "\r\n+COPS: (2,\"T-Mobile CZ\",\"T-Mobile CZ\",\"23001\",0),,(0-4),(0-2)\r\n\r\nOK\r\n");

    EXPECT_EQ(send("AT+CREG?\r"), "\r\n+CREG: 0,1\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CREG=2\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CREG?\r"), "\r\n+CREG: 2,1,\"00AF\",\"1234\"\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CGREG?\r"), "\r\n+CGREG: 0,1\r\n\r\nOK\r\n");  // a setting of its own
    EXPECT_EQ(send("AT+CREG=3\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+CGATT?\r"), "\r\n+CGATT: 1\r\n\r\nOK\r\n");

    // Radio off: no signal, no operator, not registered; full function again.
    EXPECT_EQ(send("AT+CFUN=4\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CFUN?\r"), "\r\n+CFUN: 4\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CSQ\r"), "\r\n+CSQ: 99,99\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+COPS?\r"), "\r\n+COPS: 2\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CREG?\r"), "\r\n+CREG: 2,0\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CFUN=2\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+CFUN=1\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CSQ\r"), "\r\n+CSQ: 18,99\r\n\r\nOK\r\n");
}

TEST_F(StatusTest, BasicCommandsShareALine) {
    EXPECT_EQ(send("ATQ0V1E1\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT\r"), "AT\r\r\nOK\r\n");  // echo is back on
    EXPECT_EQ(send("ATE0 X4 &C1 &D2\r"), "ATE0 X4 &C1 &D2\r\r\nOK\r\n");
    // Numeric results and quiet mode are not offered; the rest of the line
    // is not run after a refusal.
    EXPECT_EQ(send("ATV0E1\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("ATQ1\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT&\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT&F\r"), "\r\nOK\r\n");    // echo was off
    EXPECT_EQ(send("AT\r"), "AT\r\r\nOK\r\n");  // &F restores the power-on echo
    // Tone dialling; ATH ends the call.
    EXPECT_EQ(send("ATDT+420603123456;\r"), "ATDT+420603123456;\r\r\nOK\r\n");
    EXPECT_EQ(phone->state().call.number, "+420603123456");
    EXPECT_EQ(send("ATH\r"), "ATH\r\r\nOK\r\n");
    EXPECT_FALSE(phone->state().call.active);
}

TEST_F(StatusTest, LocksAndForwardingAreOffAndStayOff) {
    EXPECT_EQ(send("AT+CLCK=\"SC\",2\r"), "\r\n+CLCK: 0\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CLCK=\"ao\",2,,1\r"), "\r\n+CLCK: 0,7\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CLCK=\"SC\",1,\"1234\"\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+CLCK=\"XX\",2\r"), "\r\nERROR\r\n");
    EXPECT_EQ(send("AT+CCFC=0,2\r"), "\r\n+CCFC: 0,7\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CMEE=1\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CCFC=0,3,\"123\"\r"), "\r\n+CME ERROR: 3\r\n");
    EXPECT_EQ(send("AT+CCFC=6,2\r"), "\r\n+CME ERROR: 4\r\n");
    // Their passwords: the longest length of each, none to change.
    EXPECT_EQ(send("AT+CPWD=?\r"),
              "\r\n+CPWD: (\"SC\",8),(\"AO\",4),(\"OI\",4),(\"AI\",4),(\"IR\",4)\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CPWD=\"SC\",\"1234\",\"4321\"\r"), "\r\n+CME ERROR: 3\r\n");
    EXPECT_EQ(send("AT+CPWD=\"XX\",\"1234\",\"4321\"\r"), "\r\n+CME ERROR: 4\r\n");
    EXPECT_EQ(send("AT+CPWD=\"SC\",\"1234\"\r"), "\r\n+CME ERROR: 4\r\n");
}

TEST_F(StatusTest, CellularRingCarriesTheCallType) {
    EXPECT_EQ(send("AT+CRC=1\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CLIP=1\r"), "\r\nOK\r\n");
    const QList<Output> ring = phone->startIncomingCall("+420724555018");
    ASSERT_EQ(ring.size(), 1);
    EXPECT_EQ(ring.first().data, "\r\n+CRING: VOICE\r\n\r\n+CLIP: \"+420724555018\",145\r\n");
    EXPECT_EQ(send("AT+CRC?\r"), "\r\n+CRC: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(send("AT+CRC=2\r"), "\r\nERROR\r\n");
}

}  // namespace
}  // namespace phonesim
