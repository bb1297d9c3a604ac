#include <gtest/gtest.h>

#include <algorithm>

#include "engine_test_support.h"
#include "evaluation.h"
#include "further_verbs.h"

namespace vervia::test {
namespace {

// A sample of the further irregular verbs, form by form, one or two verbs per
// model and per spelling rule the model meets.
using FurtherVerbForms = EngineTest;

TEST_F(FurtherVerbForms, EToIe) {
    EXPECT_EQ(Persons("despertar", kPresent),
              "despierto despiertas despierta despertamos despertáis despiertan");
    EXPECT_EQ(Imperative("despertar"), "despierta despierte despertemos despertad despierten");
    EXPECT_EQ(Conjugate("despertar", kPreterite, 1), (Form{"desperté", 1}));
    EXPECT_EQ(Imperative("tropezar"), "tropieza tropiece tropecemos tropezad tropiecen");
    EXPECT_EQ(Persons("defender", kPresent),
              "defiendo defiendes defiende defendemos defendéis defienden");
    // -ir verbs also close e to i where the ending is unstressed.
    EXPECT_EQ(Persons("hervir", kPresent), "hiervo hierves hierve hervimos hervís hierven");
    EXPECT_EQ(Persons("hervir", kPreterite), "herví herviste hirvió hervimos hervisteis hirvieron");
    EXPECT_EQ(Imperative("herir"), "hiere hiera hiramos herid hieran");
    EXPECT_EQ(Conjugate("arrepentir", kGerund), (Form{"arrepintiendo", 0}));
    EXPECT_EQ(Conjugate("hervir", kFuture, 1), (Form{"herviré", 1}));
}

TEST_F(FurtherVerbForms, OToUe) {
    EXPECT_EQ(Persons("rodar", kPresent), "ruedo ruedas rueda rodamos rodáis ruedan");
    EXPECT_EQ(Persons("llover", kPresent), "lluevo llueves llueve llovemos llovéis llueven");
    EXPECT_EQ(Conjugate("degollar", kPresent, 1).text, "degüello");
    EXPECT_EQ(Conjugate("holgar", kPresent, 1).text, "huelgo");
    EXPECT_EQ(Conjugate("holgar", kPreterite, 1), (Form{"holgué", 1}));
    EXPECT_EQ(Imperative("trocar"), "trueca trueque troquemos trocad truequen");
    EXPECT_EQ(Conjugate("doler", kConditional, 1), (Form{"dolería", 1}));
}

TEST_F(FurtherVerbForms, EToI) {
    EXPECT_EQ(Persons("medir", kPresent), "mido mides mide medimos medís miden");
    EXPECT_EQ(Imperative("servir"), "sirve sirva sirvamos servid sirvan");
    EXPECT_EQ(Persons("servir", kPreterite), "serví serviste sirvió servimos servisteis sirvieron");
    EXPECT_EQ(Conjugate("servir", kGerund), (Form{"sirviendo", 0}));
    EXPECT_EQ(Persons("corregir", kPresent),
              "corrijo corriges corrige corregimos corregís corrigen");
    EXPECT_EQ(Conjugate("teñir", kPreterite, 3).text, "tiñó");
    EXPECT_EQ(Conjugate("teñir", kGerund).text, "tiñendo");
    EXPECT_EQ(Conjugate("medir", kParticiple), (Form{"medido", 1}));
}

TEST_F(FurtherVerbForms, Hiatus) {
    EXPECT_EQ(Persons("confiar", kPresent), "confío confías confía confiamos confiáis confían");
    EXPECT_EQ(Imperative("confiar"), "confía confíe confiemos confiad confíen");
    EXPECT_EQ(Persons("graduar", kPresent), "gradúo gradúas gradúa graduamos graduáis gradúan");
    EXPECT_EQ(Conjugate("aislar", kPresent, 1), (Form{"aíslo", 0}));
    EXPECT_EQ(Conjugate("rehusar", kPresent, 1), (Form{"rehúso", 0}));
    EXPECT_EQ(Imperative("enraizar"), "enraíza enraíce enraicemos enraizad enraícen");
    EXPECT_EQ(Conjugate("cohibir", kPresent, 3).text, "cohíbe");
    // Monosyllables of the 2010 spelling: guie, guio, guiais.
    EXPECT_EQ(Persons("guiar", kPreterite), "guie guiaste guio guiamos guiasteis guiaron");
    EXPECT_EQ(Conjugate("guiar", kPresent, 5), (Form{"guiais", 1}));
    EXPECT_EQ(Conjugate("guiar", kPresent, 1), (Form{"guío", 0}));
    EXPECT_EQ(Conjugate("confiar", kPreterite, 1), (Form{"confié", 1}));
}

TEST_F(FurtherVerbForms, LikeATableVerbAndLookAlikes) {
    EXPECT_EQ(Conjugate("raer", kPresent, 1), (Form{"raigo", 0}));
    EXPECT_EQ(Conjugate("raer", kPreterite, 3).text, "rayó");
    EXPECT_EQ(Persons("desleír", kPresent), "deslío deslíes deslíe desleímos desleís deslíen");
    EXPECT_EQ(Conjugate("desleír", kPreterite, 3).text, "deslió");
    EXPECT_EQ(Conjugate("comandar", kPreterite, 1), (Form{"comandé", 1}));
    EXPECT_EQ(Conjugate("encolar", kPresent, 1), (Form{"encolo", 1}));
    EXPECT_EQ(EvaluateShown("comandar", kPresent).regularity, kRegular);
    EXPECT_EQ(EvaluateShown("medir", kPresent).regularity, kIrregular);
    EXPECT_EQ(EvaluateShown("confiar", kPresent).regularity, kIrregular);
}

TEST(FurtherVerbList, IsSortedAndFound) {
    const auto verbs = vervia::FurtherVerbs();
    ASSERT_GT(verbs.size(), 100u);
    EXPECT_TRUE(std::is_sorted(
        verbs.begin(), verbs.end(),
        [](const FurtherVerb& a, const FurtherVerb& b) { return a.infinitive < b.infinitive; }));
    ASSERT_NE(FindFurtherVerb("medir"), nullptr);
    EXPECT_EQ(FindFurtherVerb("medir")->model, VerbModel::kEToI);
    EXPECT_EQ(FindFurtherVerb("hablar"), nullptr);
    EXPECT_EQ(FindFurtherVerb(""), nullptr);
    ASSERT_NE(FindFurtherFamily("aducir"), nullptr);
    EXPECT_EQ(FindFurtherFamily("aducir")->like, "conducir");
    EXPECT_EQ(FindFurtherFamily("hablar"), nullptr);
}

}  // namespace
}  // namespace vervia::test
