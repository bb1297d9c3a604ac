#include <gtest/gtest.h>

#include <random>

#include "conjugator.h"
#include "irregular_verb_table.h"
#include "text_encoding.h"

namespace vervia {
namespace {

TEST(TextEncoding, SpanishAndCzechNBecomeTheStoredByte) {
    EXPECT_EQ(ToEngineText("reñir"), "re\xF2ir");
    EXPECT_EQ(ToEngineText("reňir"), "re\xF2ir");
    EXPECT_EQ(ToEngineText("Ñ"), "\xD2");
    EXPECT_EQ(ToEngineText("Ň"), "\xD2");
    EXPECT_EQ(ToEngineText("áéíóúü"), "\xE1\xE9\xED\xF3\xFA\xFC");
    EXPECT_EQ(ToDisplayText("re\xF2ir"), "reñir");
    EXPECT_EQ(ToDisplayText("\xD2"), "Ñ");
    EXPECT_EQ(DecodeWindows1250("re\xF2ir"), "reňir");
    EXPECT_EQ(DecodeWindows1250("\xD2"), "Ň");
}

TEST(TextEncoding, CzechLettersUseTheWholeCodePage) {
    EXPECT_EQ(ToEngineText("žluťoučký kůň úpěl"),
              "\x9Elu\x9Do"
              "u\xE8k\xFD k\xF9\xF2 \xFAp\xECl");
    EXPECT_EQ(ToEngineText("ŠČŘŽÝÁÍÉŮ"), "\x8A\xC8\xD8\x8E\xDD\xC1\xCD\xC9\xD9");
    EXPECT_EQ(ToEngineText("€„“"), "\x80\x84\x93");
}

TEST(TextEncoding, EveryDefinedByteSurvivesARoundTrip) {
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = DecodeWindows1250(byte);
        const bool undefined = b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
        EXPECT_EQ(ToEngineText(utf8), undefined ? "?" : byte) << "byte " << b;
    }
}

TEST(TextEncoding, UnmappableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(ToEngineText("日本"), "??");
    EXPECT_EQ(ToEngineText("a😀b"), "a?b");
    EXPECT_EQ(ToEngineText("\xFF"
                           "ab"),
              "?ab");
    EXPECT_EQ(ToEngineText("ab\xC3"), "ab?");  // cut-off sequence at the end
    EXPECT_EQ(ToEngineText("\xC3"
                           "a"),
              "?a");                                      // missing continuation byte
    EXPECT_EQ(ToEngineText("\xC0\xAF"), "??");            // overlong '/'
    EXPECT_EQ(ToEngineText("\xED\xA0\x80"), "???");       // surrogate
    EXPECT_EQ(ToEngineText("\xF4\x90\x80\x80"), "????");  // above U+10FFFF
    EXPECT_EQ(ToEngineText(std::string_view("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(ToEngineText(""), "");
}

}  // namespace
}  // namespace vervia

namespace vervia {
namespace {

// Arbitrary bytes, as a user or a file may deliver them, must neither crash
// the conversions nor the engine (run under the sanitizers).
TEST(TextEncoding, ArbitraryBytesAreSafe) {
    LoadIrregularVerbs();
    std::mt19937 random(20261207);
    std::string output;
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 40, '\0');
        for (char& b : bytes) {
            b = static_cast<char>(random());
        }
        const std::string engine = ToEngineText(bytes);
        EXPECT_LE(engine.size(), bytes.size());
        EXPECT_EQ(ToEngineText(ToDisplayText(engine)).size(), engine.size());
        IsRegularVerb(bytes);
        for (int kind : {kParticiple, kImperative, kConditional, kPresentPerfect, kFuture}) {
            ConjugateForm(bytes + "ar", kind, int(random() % 8), output);
        }
    }
}

}  // namespace
}  // namespace vervia
