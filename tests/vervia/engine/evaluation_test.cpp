#include <gtest/gtest.h>

#include "engine_test_support.h"
#include "evaluation.h"

namespace vervia::test {
namespace {

using Evaluations = EngineTest;

std::string Joined(const Evaluation& evaluation, std::size_t from, std::size_t count) {
    std::string joined;
    for (std::size_t i = from; i < from + count; ++i) {
        joined += (i > from ? " " : "") + evaluation.forms[i].text;
        if (evaluation.forms[i].sameAsRegular == 0) {
            joined += '*';
        }
    }
    return joined;
}

// All 43 forms with their flags, for comparing two spellings of one verb.
std::string FormatAll(std::string_view typed) {
    const Evaluation all = EvaluateAll(typed);
    return std::to_string(all.regularity) + " " + Joined(all, 0, all.forms.size());
}

TEST_F(Evaluations, ShowsTheWindowsNineteenFormsInOrder) {
    const Evaluation ser = EvaluateShown("ser", kPresent);
    ASSERT_TRUE(ser.valid);
    ASSERT_EQ(ser.forms.size(), 19u);
    EXPECT_EQ(ser.regularity, kIrregular);
    EXPECT_EQ(Joined(ser, 0, 2), "sido siendo");
    EXPECT_EQ(Joined(ser, 2, 6), "soy* eres* es* somos* sois* son*");
    EXPECT_EQ(Joined(ser, 8, 5), "sé* sea* seamos* sed sean*");
    EXPECT_EQ(Joined(ser, 13, 6), "sería serías sería seríamos seríais serían");
    EXPECT_EQ(ser.forms[2].slot.kind, kPresent);
    EXPECT_EQ(ser.forms[8].slot.person, 2);

    const Evaluation hablar = EvaluateShown("hablar", kPreterite);
    EXPECT_EQ(hablar.regularity, kRegular);
    EXPECT_EQ(Joined(hablar, 2, 6), "hablé hablaste habló hablamos hablasteis hablaron");
}

TEST_F(Evaluations, AgreeWithConjugateFormForEveryKindOfVerb) {
    for (std::string_view verb : {"tener", "hablar", "buscar", "componer", "acordar", "levantarse",
                                  "irse", "haber", "fortalecer", "aducir"}) {
        const Evaluation all = EvaluateAll(verb);
        ASSERT_EQ(all.forms.size(), 43u) << verb;
        for (const EvaluatedForm& form : all.forms) {
            const Form single = Conjugate(verb, form.slot.kind, form.slot.person);
            EXPECT_EQ(form.text, single.text) << verb << ' ' << form.slot.kind;
            EXPECT_EQ(form.sameAsRegular, single.sameAsRegular) << verb << ' ' << form.text;
        }
    }
}

TEST_F(Evaluations, RefuseWhatIsNoInfinitive) {
    for (std::string_view typed : {"", "habla", "casa", "hablar mucho", "12ar"}) {
        const Evaluation none = EvaluateShown(typed, kPresent);
        EXPECT_FALSE(none.valid) << typed;
        EXPECT_EQ(none.regularity, kNoVerb);
        EXPECT_TRUE(none.forms.empty());
    }
}

TEST_F(Evaluations, LabelsAndNames) {
    EXPECT_EQ(PersonLabel(1), "Yo");
    EXPECT_EQ(PersonLabel(6), "Ellos/Ellas");
    EXPECT_EQ(PersonLabel(7), "");
    EXPECT_EQ(TenseName(kPresentPerfect), "Předpřítomný");
    EXPECT_EQ(TenseName(kImperative), "");
    EXPECT_EQ(RegularityText(kRegular), "pravidelné");
    EXPECT_EQ(RegularityText(kNoVerb), "");
}

// What learners type finds the verb the table stores.
TEST_F(Evaluations, ReadWhatLearnersType) {
    const std::string oir = FormatAll("oir");
    EXPECT_EQ(FormatAll("oír"), oir);
    EXPECT_EQ(FormatAll("OÍR"), oir);
    EXPECT_EQ(FormatAll("  oír\t"), oir);
    EXPECT_EQ(FormatAll("reír"), FormatAll("reir"));
    EXPECT_EQ(FormatAll("sonreír"), FormatAll("sonreir"));
    EXPECT_EQ(FormatAll("freír"), FormatAll("freir"));
    EXPECT_EQ(FormatAll("REÑIR"), FormatAll("reñir"));
    EXPECT_EQ(FormatAll("Reñir"), FormatAll("reňir"));
    EXPECT_EQ(EvaluateShown("REÑIR", kPresent).forms[2].text, "riño");
    EXPECT_EQ(EvaluateShown("REÑIR", kPresent).regularity, kIrregular);
    // distinguir is the table's distingir, flagged against its own regular forms.
    const Evaluation distinguir = EvaluateShown("distinguir", kPresent);
    EXPECT_EQ(distinguir.regularity, kIrregular);
    EXPECT_EQ(Joined(distinguir, 0, 8),
              "distinguido distinguiendo distingo* distingues distingue distinguimos distinguís "
              "distinguen");
}

}  // namespace
}  // namespace vervia::test
