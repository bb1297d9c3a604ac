#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace vervia::test {
namespace {

using Membership = EngineTest;

TEST_F(Membership, FoldsAsciiLettersOnly) {
    EXPECT_EQ(IsRegularVerb("ir"), 0);
    EXPECT_EQ(IsRegularVerb("IR"), 0);
    EXPECT_EQ(IsRegularVerb("Ir"), 0);
    EXPECT_EQ(IsRegularVerb("HABER"), 0);
    EXPECT_EQ(IsRegularVerb("re\xF2ir"), 0);
    // The capital Ň is not folded, and the Spanish ñ byte is not the stored ň.
    EXPECT_EQ(IsRegularVerb("RE\xD2IR"), 1);
    EXPECT_EQ(IsRegularVerb("re\xF1ir"), 1);
    EXPECT_EQ(IsRegularVerb("hablar"), 1);
}

TEST_F(Membership, ComparesTheWholeTextByteForByte) {
    EXPECT_EQ(IsRegularVerb(""), 1);
    EXPECT_EQ(IsRegularVerb("ir "), 1);
    EXPECT_EQ(IsRegularVerb(" ir"), 1);
    EXPECT_EQ(IsRegularVerb("i"), 1);
    EXPECT_EQ(IsRegularVerb(std::string_view("ir\0", 3)), 1);
    EXPECT_EQ(IsRegularVerb(std::string_view("\0\0", 2)), 1);
    EXPECT_EQ(IsRegularVerb(std::string(40, 'a') + "ir"), 1);
    EXPECT_EQ(IsRegularVerb("yacer"), 0);  // last record
    EXPECT_EQ(IsRegularVerb("abastecer"), 0);
}

TEST(Infinitive, NeedsAnArErOrIrEnding) {
    for (std::string_view word : {"ar", "er", "ir", "IR", "hablar", "COMER", "viviR", " hablar\t",
                                  "hablarse", "IRSE", "o\xEDr", "O\xCDR", "re\xF2ir"}) {
        EXPECT_EQ(IsInfinitive(word), 1) << word;
    }
    for (std::string_view word : {"", "a", "r", "ur", "or", "habla", "se", "rse", "hablase",
                                  "hablar mucho", "habl4r", "hablar!", "   "}) {
        EXPECT_EQ(IsInfinitive(word), 0) << word;
    }
}

using RegularVerbs = EngineTest;

TEST_F(RegularVerbs, HablarIsRegularEverywhere) {
    EXPECT_EQ(Conjugate("hablar", kParticiple), (Form{"hablado", 1}));
    EXPECT_EQ(Conjugate("hablar", kGerund), (Form{"hablando", 1}));
    EXPECT_EQ(Persons("hablar", kPreterite), "hablé hablaste habló hablamos hablasteis hablaron");
    EXPECT_EQ(Persons("hablar", kPresentPerfect),
              "he hablado has hablado ha hablado hemos hablado habéis hablado han hablado");
    EXPECT_EQ(Persons("hablar", kPresent), "hablo hablas habla hablamos habláis hablan");
    EXPECT_EQ(Persons("hablar", kProgressive),
              "estoy hablando estás hablando está hablando estamos hablando estáis hablando "
              "están hablando");
    EXPECT_EQ(Persons("hablar", kFuture), "hablaré hablarás hablará hablaremos hablaréis hablarán");
    EXPECT_EQ(Imperative("hablar"), "habla hable hablemos hablad hablen");
    EXPECT_EQ(Persons("hablar", kConditional),
              "hablaría hablarías hablaría hablaríamos hablaríais hablarían");
    for (int kind : {kConditional, kPreterite, kPresentPerfect, kPresent, kProgressive, kFuture}) {
        for (int person = 1; person <= 6; ++person) {
            EXPECT_EQ(Conjugate("hablar", kind, person).sameAsRegular, 1) << kind << '/' << person;
        }
    }
}

TEST_F(RegularVerbs, ErAndIrClasses) {
    EXPECT_EQ(Persons("comer", kPresent), "como comes come comemos coméis comen");
    EXPECT_EQ(Imperative("comer"), "come coma comamos comed coman");
    EXPECT_EQ(Persons("vivir", kPresent), "vivo vives vive vivimos vivís viven");
    EXPECT_EQ(Persons("vivir", kPreterite), "viví viviste vivió vivimos vivisteis vivieron");
    EXPECT_EQ(Imperative("vivir"), "vive viva vivamos vivid vivan");
    EXPECT_EQ(Persons("vivir", kFuture), "viviré vivirás vivirá viviremos viviréis vivirán");
    EXPECT_EQ(Conjugate("vivir", kGerund), (Form{"viviendo", 1}));
}

TEST_F(RegularVerbs, CapitalsGiveLowerCaseForms) {
    EXPECT_EQ(Persons("COMER", kPresent), Persons("comer", kPresent));
    EXPECT_EQ(Conjugate("COMER", kParticiple), (Form{"comido", 1}));
    EXPECT_EQ(Conjugate("CoMeR", kConditional, 4), (Form{"comeríamos", 1}));
}

using TableVerbs = EngineTest;

TEST_F(TableVerbs, IrHasAnEmptyStem) {
    EXPECT_EQ(Conjugate("ir", kPresent, 1), (Form{"voy", 0}));
    const ConjugationState& state = LastConjugation();
    EXPECT_EQ(state.stem, "");
    EXPECT_EQ(state.ending, "ir");
    EXPECT_EQ(state.verbClass, kClassIr);
    EXPECT_TRUE(state.inTable);
    EXPECT_EQ(state.regularForm, "o");
    // Stored forms equal to the regular ones count as regular.
    EXPECT_EQ(Conjugate("ir", kFuture, 1), (Form{"iré", 1}));
    EXPECT_EQ(Conjugate("ir", kParticiple), (Form{"ido", 1}));
    EXPECT_EQ(Conjugate("IR", kProgressive, 1), (Form{"estoy yendo", 0}));
}

TEST_F(TableVerbs, OnlyDifferingStoredFormsAreIrregular) {
    EXPECT_EQ(Conjugate("abastecer", kParticiple), (Form{"abastecido", 1}));
    EXPECT_EQ(Conjugate("abastecer", kPresent, 1), (Form{"abastezco", 0}));
    EXPECT_EQ(LastConjugation().regularForm, "abasteco");
    EXPECT_EQ(LastConjugation().chosenForm, "abastezco");
    EXPECT_EQ(Conjugate("abastecer", kPresent, 2), (Form{"abasteces", 1}));
}

TEST_F(TableVerbs, HaberHasAnEmptyImperative) {
    for (int person = 2; person <= 6; ++person) {
        EXPECT_EQ(Conjugate("haber", kImperative, person), (Form{"", 0}));
    }
    EXPECT_EQ(Conjugate("haber", kPresent, 1), (Form{"he", 0}));
}

TEST_F(TableVerbs, CompoundTensesCompareOnlyTheParticipleOrGerund) {
    EXPECT_EQ(Conjugate("hacer", kPresentPerfect, 1), (Form{"he hecho", 0}));
    EXPECT_EQ(Conjugate("hacer", kPresentPerfect, 5), (Form{"habéis hecho", 0}));
    EXPECT_EQ(Conjugate("ir", kProgressive, 1), (Form{"estoy yendo", 0}));
    EXPECT_EQ(Conjugate("ir", kPresentPerfect, 6), (Form{"han ido", 1}));
}

TEST_F(TableVerbs, SpanishNiFindsTheRecordOnlyAsStoredByte) {
    std::string output;
    EXPECT_EQ(ConjugateForm("re\xF2ir", kPresent, 1, output), 0);
    EXPECT_EQ(output, "ri\xF2o");
    EXPECT_TRUE(LastConjugation().inTable);
    // The raw ñ byte is not found: regular rules apply.
    EXPECT_EQ(ConjugateForm("re\xF1ir", kPresent, 1, output), 1);
    EXPECT_EQ(output, "re\xF1o");
    EXPECT_FALSE(LastConjugation().inTable);
}

using CallsWithoutForm = EngineTest;

TEST_F(CallsWithoutForm, GiveAnEmptyRegularResult) {
    std::string output = "stale";
    EXPECT_EQ(ConjugateForm("ser", kImperative, 1, output), 1);
    EXPECT_EQ(output, "");
    output = "stale";
    EXPECT_EQ(ConjugateForm("ser", kPresent, 7, output), 1);
    EXPECT_EQ(output, "");
    EXPECT_EQ(ConjugateForm("ser", kPresent, 0, output), 1);
    EXPECT_EQ(ConjugateForm("ser", 5, 1, output), 1);
    EXPECT_EQ(output, "");
    // A word without an -ar/-er/-ir ending has no class to build from.
    EXPECT_EQ(ConjugateForm("xyz", kPresent, 1, output), 1);
    EXPECT_EQ(output, "");
    EXPECT_EQ(LastConjugation().stem, "");
    EXPECT_EQ(LastConjugation().verbClass, kClassAr);
}

TEST_F(CallsWithoutForm, DoNotLeakThePreviousResult) {
    std::string output;
    ASSERT_EQ(ConjugateForm("ser", kPresent, 1, output), 0);  // soy
    EXPECT_EQ(ConjugateForm("ser", 99, 1, output), 1);
    EXPECT_EQ(LastConjugation().chosenForm, "");
    EXPECT_EQ(LastConjugation().output, "");
}

}  // namespace
}  // namespace vervia::test
