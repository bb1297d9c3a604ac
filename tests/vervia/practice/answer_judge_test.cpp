#include "vervia/practice/answer_judge.h"

#include <gtest/gtest.h>

namespace vervia::practice {
namespace {

TEST(AnswerJudge, RightIgnoresCaseAndBlanks) {
    EXPECT_EQ(JudgeAnswer("tenemos", "tenemos"), Verdict::kRight);
    EXPECT_EQ(JudgeAnswer("  TENEMOS \t", "tenemos"), Verdict::kRight);
    EXPECT_EQ(JudgeAnswer("Habló", "habló"), Verdict::kRight);
    EXPECT_EQ(JudgeAnswer("HABLÓ", "habló"), Verdict::kRight);
    // Compound tenses and reflexive forms: any run of blanks between the words.
    EXPECT_EQ(JudgeAnswer("he   hablado", "he hablado"), Verdict::kRight);
    EXPECT_EQ(JudgeAnswer(" me\tlevanto ", "me levanto"), Verdict::kRight);
    EXPECT_EQ(JudgeAnswer("Se Levantó", "se levantó"), Verdict::kRight);
}

TEST(AnswerJudge, AccentOnlySlip) {
    EXPECT_EQ(JudgeAnswer("hablo", "habló"), Verdict::kAccent);  // missing accent
    EXPECT_EQ(JudgeAnswer("hablé", "hable"), Verdict::kAccent);  // accent too many
    EXPECT_EQ(JudgeAnswer("hablá", "habló"), Verdict::kWrong);   // another vowel
    EXPECT_EQ(JudgeAnswer("habeis hablado", "habéis hablado"), Verdict::kAccent);
    EXPECT_EQ(JudgeAnswer("tenis", "tenéis"), Verdict::kWrong);
    EXPECT_EQ(JudgeAnswer("anadi", "añadí"), Verdict::kAccent);  // ñ as n
    EXPECT_EQ(JudgeAnswer("averiguo", "averigüé"), Verdict::kWrong);
    EXPECT_EQ(JudgeAnswer("averigue", "averigüé"), Verdict::kAccent);  // ü and é
    EXPECT_EQ(JudgeAnswer("  HABLO ", "habló"), Verdict::kAccent);
}

TEST(AnswerJudge, WrongAndEmptyAnswers) {
    EXPECT_EQ(JudgeAnswer("", "tengo"), Verdict::kWrong);
    EXPECT_EQ(JudgeAnswer("   ", "tengo"), Verdict::kWrong);
    EXPECT_EQ(JudgeAnswer("teno", "tengo"), Verdict::kWrong);
    EXPECT_EQ(JudgeAnswer("hablado", "he hablado"), Verdict::kWrong);
    EXPECT_EQ(JudgeAnswer("levanto", "me levanto"), Verdict::kWrong);
    EXPECT_EQ(JudgeAnswer("hehablado", "he hablado"), Verdict::kWrong);
}

TEST(AnswerJudge, ShortcutsTypeTheAccents) {
    EXPECT_EQ(ApplyAccentShortcuts("hablo'"), "habló");
    EXPECT_EQ(ApplyAccentShortcuts("a'e'i'o'u'"), "áéíóú");
    EXPECT_EQ(ApplyAccentShortcuts("A'E'I'O'U'"), "ÁÉÍÓÚ");
    EXPECT_EQ(ApplyAccentShortcuts("averigu\"e'"), "averigüé");
    EXPECT_EQ(ApplyAccentShortcuts("averigu:e'"), "averigüé");
    EXPECT_EQ(ApplyAccentShortcuts("an~adi'"), "añadí");
    EXPECT_EQ(ApplyAccentShortcuts("hablo\u00B4"), "habló");  // a dead key's lone accent
    // Marks after other letters stay as typed.
    EXPECT_EQ(ApplyAccentShortcuts("t'x~ n"), "t'x~ n");
    EXPECT_EQ(ApplyAccentShortcuts("hablo'\xFF"), "habló?");  // malformed UTF-8 byte
    EXPECT_EQ(JudgeAnswer("hablo'", "habló"), Verdict::kRight);
    EXPECT_EQ(JudgeAnswer("an~adi'", "añadí"), Verdict::kRight);
    EXPECT_EQ(JudgeAnswer("habe'is hablado", "habéis hablado"), Verdict::kRight);
    // The Czech keyboard's ň stands for ñ, as everywhere in the trainer.
    EXPECT_EQ(JudgeAnswer("añadí", "añadí"), Verdict::kRight);
    EXPECT_EQ(JudgeAnswer("aňadí", "añadí"), Verdict::kRight);
}

TEST(AnswerJudge, AccentedLettersToHighlight) {
    for (char32_t letter : std::u32string(U"áéíóúüñÁÉÍÓÚÜÑ")) {
        EXPECT_TRUE(IsAccentedLetter(letter)) << int(letter);
    }
    for (char32_t letter : std::u32string(U"aeiounAZ č")) {
        EXPECT_FALSE(IsAccentedLetter(letter)) << int(letter);
    }
}

}  // namespace
}  // namespace vervia::practice
