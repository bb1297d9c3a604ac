// The number field's rules and the signal display, over real phone answers.

#include <gtest/gtest.h>

#include "telvora/calls/network_status.h"
#include "telvora/calls/number_field.h"

namespace telvora {
namespace {

TEST(NumberField, OnlyDigitsAndControlKeysAreTyped) {
    for (const char* accepted : {"0", "5", "9", "\b", "\x7f" /* not below 32 */}) {
        const QString typed = QString::fromLatin1(accepted);
        EXPECT_EQ(IsNumberKeyAccepted(typed), typed != QStringLiteral("\x7f")) << accepted;
    }
    for (const char* refused : {"+", "*", "#", "a", "Z", " ", ",", "1a"}) {
        EXPECT_FALSE(IsNumberKeyAccepted(QString::fromLatin1(refused))) << refused;
    }
    EXPECT_FALSE(IsNumberKeyAccepted(QStringLiteral("\u0661")));  // an Arabic-Indic one
    EXPECT_TRUE(IsNumberKeyAccepted(QString()));                  // a key without text (an arrow)
    EXPECT_TRUE(IsNumberKeyAccepted(QStringLiteral("\r")));
}

TEST(NumberField, DialFollowsTheFieldAndTheCommandLineNeedsDigits) {
    EXPECT_FALSE(IsDialEnabled(QString()));
    EXPECT_TRUE(IsDialEnabled(QStringLiteral("1")));

    EXPECT_TRUE(IsDialableNumber(QStringLiteral("603123456")));
    EXPECT_TRUE(IsDialableNumber(QStringLiteral(" +420603123456 ")));
    for (const char* wrong : {"", " ", "+", "++420", "603 123", "60312345a", "*100#", "1+2"}) {
        EXPECT_FALSE(IsDialableNumber(QString::fromLatin1(wrong))) << wrong;
    }
}

TEST(NetworkStatus, SignalBarIsAlwaysThirtyOneCharactersOrNoSignal) {
    EXPECT_EQ(SignalBar(0), QString(31, QLatin1Char('\'')));
    EXPECT_EQ(SignalBar(15), QString(15, QLatin1Char('|')) + QString(16, QLatin1Char('\'')));
    EXPECT_EQ(SignalBar(31), QString(31, QLatin1Char('|')));
    for (int outside : {99, 32, 50, 98, -1, 100}) {
        EXPECT_EQ(SignalBar(outside), QStringLiteral("No signal")) << outside;
    }
}

TEST(NetworkStatus, SignalValueFromTheAnswer) {
    // Echo on and off, as phones send them.
    EXPECT_EQ(ParseSignalValue("AT+CSQ\r\r\n+CSQ: 15,99\r\n\r\nOK\r\n"), 15);
    EXPECT_EQ(ParseSignalValue("\r\n+CSQ: 31,0\r\n\r\nOK\r\n"), 31);
    EXPECT_EQ(ParseSignalValue("\r\n+CSQ: 99,99\r\n\r\nOK\r\n"), 99);
    EXPECT_EQ(ParseSignalValue("+CSQ:7,99"), 7);
    // Not in time: only the echo, or nothing at all.
    EXPECT_EQ(ParseSignalValue("AT+CSQ\r"), 0);
    EXPECT_EQ(ParseSignalValue(""), 0);
    EXPECT_EQ(ParseSignalValue("AT+CSQ\r\r\nERROR\r\n"), 0);
    EXPECT_EQ(ParseSignalValue("+CSQ: ,99"), 0);
    // A long run of digits is out of range, not an overflow.
    EXPECT_EQ(SignalBar(ParseSignalValue("+CSQ: 99999999999999999999,99")),
              QStringLiteral("No signal"));
}

TEST(NetworkStatus, OperatorNameWithoutQuotesOrADash) {
    EXPECT_EQ(ParseOperatorName("AT+COPS?\r\r\n+COPS: 0,0,\"T-Mobile CZ\"\r\n\r\nOK\r\n"),
              QStringLiteral("T-Mobile CZ"));
    EXPECT_EQ(ParseOperatorName("+COPS: 0,0,\"\"\r\nOK\r\n"), QString());
    EXPECT_EQ(ParseOperatorName("+COPS: 0,0,\"O2 - CZ\xe9\"\r\n"), QStringLiteral("O2 - CZ\u00e9"));
    // No operator (mode only), an answer cut after one quote, no answer.
    for (const char* none : {"\r\n+COPS: 0\r\n\r\nOK\r\n", "+COPS: 0,0,\"Voda", ""}) {
        EXPECT_EQ(ParseOperatorName(none), QStringLiteral("\u2014")) << none;
    }
}

TEST(NetworkStatus, CaptionHasTheOperatorAboveTheBar) {
    EXPECT_EQ(SignalCaption({QStringLiteral("Vodafone CZ"), 3}),
              QStringLiteral("Vodafone CZ\n| |||") + QString(28, QLatin1Char('\'')) +
                  QStringLiteral(" |"));
    EXPECT_EQ(SignalCaption({QStringLiteral("X"), 99}), QStringLiteral("X\n| No signal |"));
}

}  // namespace
}  // namespace telvora
