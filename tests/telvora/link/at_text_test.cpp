#include "telvora/core/at_text.h"

#include <gtest/gtest.h>

#include "telvora/link/at_link.h"
#include "telvora/link/device_names.h"

namespace telvora {
namespace {

struct FinalCase {
    const char* answer;
    std::optional<FinalKind> kind;
    int code;
};

TEST(FinalResultTest, RecognisesWholeFinalLinesOnly) {
    const FinalCase cases[] = {
        {"AT\r\r\nOK\r\n", FinalKind::Ok, -1},  // echo on
        {"\r\nOK\r\n", FinalKind::Ok, -1},      // echo off
        {"OK\r\n", FinalKind::Ok, -1},
        {"AT+CSQ\r\r\n+CSQ: 15,99\r\n\r\nOK\r\n", FinalKind::Ok, -1},
        {"\r\nok\r\n", std::nullopt, -1},
        {"\r\nOK", std::nullopt, -1},  // not complete yet
        {"\r\nBOOK\r\n", std::nullopt, -1},
        {"+CPBR: 1,\"555\",129,\"OK\"\r\n", std::nullopt, -1},
        {"AT*ESOM=1,\"OK\"\r", std::nullopt, -1},
        {"\r\nERROR\r\n", FinalKind::Error, -1},
        {"AT+CMGS=16\r\r\nERROR: 500\r\n", FinalKind::Error, 500},
        {"\r\n+CMS ERROR: 304\r\n", FinalKind::CmsError, 304},
        {"AT+CPBR=1,250\r\r\n+CME ERROR: 21\r\n", FinalKind::CmeError, 21},
        {"\r\n+CME ERROR: SIM busy\r\n", FinalKind::CmeError, -1},
        {"\r\n+CMS ERROR: 304", std::nullopt, -1},
    };
    for (const FinalCase& c : cases) {
        SCOPED_TRACE(c.answer);
        const std::optional<FinalResult> result = FindFinalResult(c.answer);
        ASSERT_EQ(result.has_value(), c.kind.has_value());
        if (result) {
            EXPECT_EQ(result->kind, *c.kind);
            EXPECT_EQ(result->code, c.code);
        }
    }
}

TEST(FinalResultTest, SeparatesSuccessFromErrors) {
    EXPECT_TRUE(ContainsFinalOk("\r\n+CSQ: 15,99\r\n\r\nOK\r\n"));
    EXPECT_FALSE(ContainsFinalOk("\r\nERROR\r\n"));
    EXPECT_FALSE(FindPhoneError("\r\nOK\r\n"));
    // An error line after an earlier OK is still found.
    const auto error = FindPhoneError("\r\nOK\r\n\r\n+CMS ERROR: 321\r\n");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FinalKind::CmsError);
    EXPECT_EQ(error->code, 321);
}

TEST(MarkerTest, MatchesCaseSensitiveSubstrings) {
    const QList<QByteArray> markers = {"OK\r\n", "ERROR: 500\r\n"};
    EXPECT_TRUE(ContainsAnyMarker("AT\r\r\nOK\r\n", markers));
    EXPECT_TRUE(ContainsAnyMarker("\r\nERROR: 500\r\n", markers));
    EXPECT_FALSE(ContainsAnyMarker("\r\nok\r\n", markers));
    EXPECT_FALSE(ContainsAnyMarker("\r\nOK", markers));
    EXPECT_FALSE(ContainsAnyMarker("anything", {QByteArray()}));
}

TEST(SkipFieldsTest, DropsLeadingFields) {
    EXPECT_EQ(SkipFields("+CSQ: 15,99", ":", 1), " 15,99");
    EXPECT_EQ(SkipFields("no colon here", ":", 1), "");
    EXPECT_EQ(SkipFields("a:b:c", ":", 2), "c");
    EXPECT_EQ(SkipFields("a:b:c", ":", 3), "");
    EXPECT_EQ(SkipFields("a:b:c", ":", 0), "a:b:c");
    EXPECT_EQ(SkipFields("+CPBR: (1-250),20,18", "-", 1), "250),20,18");
}

TEST(DeviceNamesTest, MapsComNumbersToSerialDevices) {
    EXPECT_EQ(DeviceForPortNumber(1), "/dev/ttyS0");
    EXPECT_EQ(DeviceForPortNumber(4), "/dev/ttyS3");
    EXPECT_TRUE(DeviceForPortNumber(0).isEmpty());
    EXPECT_TRUE(DeviceForPortNumber(5).isEmpty());
}

}  // namespace
}  // namespace telvora
