// telvora-cli status, dial and hangup: against the simulated phone in this
// process, and each run as its own link to the simulator program, as
// separate runs of the command line are.

#include <gtest/gtest.h>

#include "telvora/demophone/phonesim_port.h"
#include "tests/telvora/calls/cli_runner.h"
#include "tests/telvora/calls/simulator_process.h"

namespace telvora {
namespace {

using phonesim::FaultKind;

// The command line over one simulated phone that outlives its runs, as a
// real phone outlives the processes that talk to it.
struct SimulatedCli {
    SimulatedCli() : phone(phonesim::demoPhoneState()) {}

    test::CliOutput run(QStringList args) {
        args.prepend(QStringLiteral("demo"));
        args.prepend(QStringLiteral("--device"));
        args.prepend(QStringLiteral("en"));
        args.prepend(QStringLiteral("--lang"));
        return runner.run(args);
    }
    phonesim::PhoneState& state() { return phone.phone().state(); }

    // The port the link owns hands every byte to `phone`.
    class Forward : public SerialPort {
    public:
        explicit Forward(phonesim::PhoneSimPort& target) : m_target(target) {
            connect(&target, &SerialPort::readyRead, this, &SerialPort::readyRead);
        }
        OpenResult open(const QString& device) override { return m_target.open(device); }
        void close() override { m_target.close(); }
        bool isOpen() const override { return m_target.isOpen(); }
        bool write(const QByteArray& data) override { return m_target.write(data); }
        QByteArray readAll() override { return m_target.readAll(); }
        void discardInput() override { m_target.discardInput(); }

    private:
        phonesim::PhoneSimPort& m_target;
    };

    phonesim::PhoneSimPort phone;
    test::CliRunner runner{[this] { return std::make_unique<Forward>(phone); }};
};

TEST(CallsCli, StatusPrintsOperatorAndBar) {
    SimulatedCli cli;
    cli.state().signal = 99;
    const test::CliOutput status = cli.run({"status"});
    EXPECT_EQ(status.code, kExitOk);
    EXPECT_EQ(status.out, QStringLiteral("T-Mobile CZ\n| No signal |\n"));

    cli.phone.phone().addFault({"AT", FaultKind::Silent, -1});
    const test::CliOutput silent = cli.run({"status"});
    EXPECT_EQ(silent.code, kExitFailed);
    EXPECT_EQ(silent.err, QStringLiteral("Phone must be connected.\n"));
    EXPECT_TRUE(silent.out.isEmpty());
}

TEST(CallsCli, DialLeavesTheCallUpForALaterHangUp) {
    SimulatedCli cli;
    const test::CliOutput dial = cli.run({"dial", " 603123456 "});
    EXPECT_EQ(dial.code, kExitOk);
    // The demo phone says that the call is only simulated.
    EXPECT_EQ(dial.out, QStringLiteral("Dialing ... ") +
                            UiText(Language::English, kTextOnlySimulated) + u'\n');
    EXPECT_TRUE(cli.state().call.active);
    EXPECT_EQ(cli.state().call.number, QStringLiteral("603123456"));

    const test::CliOutput again = cli.run({"dial", "+420777000111"});
    EXPECT_EQ(again.code, kExitFailed);
    EXPECT_EQ(again.err, UiText(Language::English, 45) + '\n');

    const test::CliOutput hangUp = cli.run({"hangup"});
    EXPECT_EQ(hangUp.code, kExitOk);
    EXPECT_EQ(hangUp.out, QStringLiteral("Hung up.\n"));
}

TEST(CallsCli, NumbersThatCannotBeDialedAreRefusedBeforeThePhone) {
    SimulatedCli cli;
    for (const char* number : {"60a", "*100#", "", "603 123"}) {
        const test::CliOutput run = cli.run({"dial", number});
        EXPECT_EQ(run.code, kExitUsage) << number;
        EXPECT_EQ(run.err, UiText(Language::English, 170) + '\n') << number;
    }
    EXPECT_FALSE(cli.state().call.active);
    EXPECT_EQ(cli.run({"dial"}).code, kExitUsage);
    EXPECT_EQ(cli.run({"hangup", "now"}).code, kExitUsage);
}

TEST(CallsCli, EachRunIsItsOwnLinkToTheSimulator) {
    test::SimulatorProcess simulator({"--latency", "5"});
    ASSERT_FALSE(simulator.device().isEmpty());
    test::CliRunner runner([] { return std::make_unique<QtSerialPort>(); });
    const QStringList device{"--lang", "en", "--device", simulator.device()};

    // A loaded machine may let the simulator miss the link check's 150 ms.
    test::CliOutput dial;
    for (int i = 0; i < 3 && dial.code != kExitOk; ++i) {
        dial = runner.run(device + QStringList{"dial", "603123456"});
    }
    ASSERT_EQ(dial.code, kExitOk) << dial.err.toStdString();

    auto link = simulator.openLink();
    ASSERT_TRUE(test::ConnectWithinThreeChecks(*link));
    EXPECT_TRUE(link->tryAcquire()->Exchange("AT+CLCC", 5000).contains("\"603123456\""));
    link->ClosePort();

    test::CliOutput hangUp;
    for (int i = 0; i < 3 && hangUp.code != kExitOk; ++i) {
        hangUp = runner.run(device + QStringList{"hangup"});
    }
    EXPECT_EQ(hangUp.code, kExitOk);
    link->OpenPort(simulator.device());
    ASSERT_TRUE(test::ConnectWithinThreeChecks(*link));
    EXPECT_FALSE(link->tryAcquire()->Exchange("AT+CLCC", 5000).contains("+CLCC:"));
}

}  // namespace
}  // namespace telvora
