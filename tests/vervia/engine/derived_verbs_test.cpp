#include <gtest/gtest.h>

#include "engine_test_support.h"
#include "evaluation.h"

namespace vervia::test {
namespace {

// Compounds of table verbs take the base verb's forms, accented as the longer
// word needs, and are flagged against their own spelled regular forms.
using Compounds = EngineTest;

TEST_F(Compounds, TakeTheBaseVerbsForms) {
    EXPECT_EQ(Persons("componer", kPresent),
              "compongo compones compone componemos componéis componen");
    EXPECT_EQ(Persons("componer", kPreterite),
              "compuse compusiste compuso compusimos compusisteis compusieron");
    EXPECT_EQ(Conjugate("componer", kParticiple), (Form{"compuesto", 0}));
    EXPECT_EQ(Conjugate("componer", kConditional, 1), (Form{"compondría", 0}));
    EXPECT_EQ(Conjugate("componer", kPresent, 2), (Form{"compones", 1}));
    EXPECT_EQ(Conjugate("obtener", kPreterite, 3), (Form{"obtuvo", 0}));
    EXPECT_EQ(Conjugate("convenir", kGerund), (Form{"conviniendo", 0}));
    EXPECT_EQ(Conjugate("abstraer", kPresent, 1), (Form{"abstraigo", 0}));
    EXPECT_EQ(Conjugate("deshacer", kParticiple), (Form{"deshecho", 0}));
    // Stacked prefixes: des + com + poner.
    EXPECT_EQ(Conjugate("descomponer", kPresent, 1), (Form{"descompongo", 0}));
    EXPECT_EQ(EvaluateShown("componer", kPresent).regularity, kIrregular);
}

TEST_F(Compounds, WriteTheAccentsALongerWordNeeds) {
    EXPECT_EQ(Imperative("componer"), "compón componga compongamos componed compongan");
    EXPECT_EQ(Conjugate("contener", kImperative, 2).text, "contén");
    EXPECT_EQ(Conjugate("obtener", kImperative, 2).text, "obtén");
    EXPECT_EQ(Conjugate("sostener", kImperative, 2).text, "sostén");
    EXPECT_EQ(Conjugate("convenir", kImperative, 2).text, "convén");
    EXPECT_EQ(Conjugate("deshacer", kImperative, 2).text, "deshaz");  // ends in z: no accent
    EXPECT_EQ(Persons("entrever", kPresent),
              "entreveo entrevés entrevé entrevemos entrevéis entrevén");
    EXPECT_EQ(Conjugate("entrever", kPreterite, 3).text, "entrevió");
    EXPECT_EQ(Conjugate("refreír", kPreterite, 3).text, "refrió");
    // A stressed i or u after a vowel and an h is written as a hiatus.
    EXPECT_EQ(Persons("rehacer", kPreterite),
              "rehíce rehiciste rehízo rehicimos rehicisteis rehicieron");
    EXPECT_EQ(Persons("rehuir", kPresent), "rehúyo rehúyes rehúye rehuimos rehuís rehúyen");
}

TEST_F(Compounds, DecirFamilySaysDice) {
    EXPECT_EQ(Imperative("predecir"), "predice prediga predigamos predecid predigan");
    EXPECT_EQ(Imperative("contradecir"),
              "contradice contradiga contradigamos contradecid contradigan");
    EXPECT_EQ(Conjugate("predecir", kFuture, 1), (Form{"prediré", 0}));
    EXPECT_EQ(Conjugate("contradecir", kParticiple), (Form{"contradicho", 0}));
    // bendecir is a table verb and keeps its stored regular future.
    EXPECT_EQ(Conjugate("bendecir", kFuture, 1).text, "bendeciré");
}

TEST_F(Compounds, FamiliesOfTheDataFile) {
    EXPECT_EQ(Persons("aducir", kPreterite), "aduje adujiste adujo adujimos adujisteis adujeron");
    EXPECT_EQ(Conjugate("aducir", kPresent, 1), (Form{"aduzco", 1}));  // zc is a spelling rule
    EXPECT_EQ(Conjugate("describir", kParticiple), (Form{"descrito", 0}));
    EXPECT_EQ(Conjugate("inscribir", kParticiple), (Form{"inscrito", 0}));
    EXPECT_EQ(Conjugate("concernir", kPresent, 3), (Form{"concierne", 0}));
    EXPECT_EQ(Conjugate("advertir", kPreterite, 3), (Form{"advirtió", 0}));
    EXPECT_EQ(Conjugate("torcer", kPresent, 1), (Form{"tuerzo", 0}));
}

TEST_F(Compounds, LookAlikesStayRegular) {
    EXPECT_EQ(Conjugate("compensar", kPresent, 1), (Form{"compenso", 1}));
    EXPECT_EQ(Conjugate("conjugar", kPresent, 1), (Form{"conjugo", 1}));
    EXPECT_EQ(Conjugate("conjugar", kPreterite, 1), (Form{"conjugué", 1}));
    EXPECT_EQ(Conjugate("subir", kPresent, 1), (Form{"subo", 1}));
    EXPECT_EQ(Conjugate("coser", kPresent, 1), (Form{"coso", 1}));
    EXPECT_EQ(Conjugate("pretender", kPresent, 1), (Form{"pretendo", 1}));
    // A compound of a table verb that is regular apart from its spelling is
    // regular too.
    EXPECT_EQ(Conjugate("recoger", kPresent, 1), (Form{"recojo", 1}));
    EXPECT_EQ(EvaluateShown("recoger", kPresent).regularity, kRegular);
    EXPECT_EQ(EvaluateShown("convencer", kPresent).regularity, kRegular);
}

// Reflexive infinitives: the pronoun in front, attached to the imperative and
// the gerund with the accent the longer word needs; flags follow the verb
// without se.
using Reflexives = EngineTest;

TEST_F(Reflexives, RegularVerb) {
    EXPECT_EQ(Persons("levantarse", kPresent),
              "me levanto te levantas se levanta nos levantamos os levantáis se levantan");
    EXPECT_EQ(Conjugate("levantarse", kPresentPerfect, 1).text, "me he levantado");
    EXPECT_EQ(Conjugate("levantarse", kProgressive, 4).text, "nos estamos levantando");
    EXPECT_EQ(Conjugate("levantarse", kGerund).text, "levantándose");
    EXPECT_EQ(Conjugate("levantarse", kParticiple).text, "levantado");
    EXPECT_EQ(Imperative("levantarse"), "levántate levántese levantémonos levantaos levántense");
    EXPECT_EQ(Conjugate("levantarse", kFuture, 5), (Form{"os levantaréis", 1}));
    EXPECT_EQ(EvaluateShown("levantarse", kPresent).regularity, kRegular);
}

TEST_F(Reflexives, IrregularVerbs) {
    EXPECT_EQ(Imperative("sentarse"), "siéntate siéntese sentémonos sentaos siéntense");
    EXPECT_EQ(Conjugate("sentarse", kPresent, 1), (Form{"me siento", 0}));
    EXPECT_EQ(Imperative("ponerse"), "ponte póngase pongámonos poneos pónganse");
    EXPECT_EQ(Imperative("vestirse"), "vístete vístase vistámonos vestíos vístanse");
    EXPECT_EQ(Imperative("irse"), "vete váyase vámonos idos váyanse");
    EXPECT_EQ(Conjugate("irse", kGerund), (Form{"yéndose", 0}));
    EXPECT_EQ(Conjugate("irse", kPresent, 1), (Form{"me voy", 0}));
    EXPECT_EQ(Imperative("reírse"), "ríete ríase riámonos reíos ríanse");
    EXPECT_EQ(Imperative("detenerse"), "detente deténgase detengámonos deteneos deténganse");
    EXPECT_EQ(Imperative("componerse"), "componte compóngase compongámonos componeos compónganse");
    EXPECT_EQ(EvaluateShown("irse", kPresent).regularity, kIrregular);
}

TEST_F(Reflexives, EveryKindOfVerbInEveryTense) {
    EXPECT_EQ(Persons("irse", kPreterite),
              "me fui te fuiste se fue nos fuimos os fuisteis se fueron");
    EXPECT_EQ(Conjugate("irse", kPresentPerfect, 3), (Form{"se ha ido", 1}));
    EXPECT_EQ(Conjugate("componerse", kConditional, 4), (Form{"nos compondríamos", 0}));
    EXPECT_EQ(Conjugate("componerse", kProgressive, 1), (Form{"me estoy componiendo", 1}));
    EXPECT_EQ(Conjugate("despertarse", kPresent, 1), (Form{"me despierto", 0}));
    EXPECT_EQ(Conjugate("despertarse", kImperative, 2), (Form{"despiértate", 0}));
    EXPECT_EQ(Conjugate("quejarse", kFuture, 6), (Form{"se quejarán", 1}));
    EXPECT_EQ(Conjugate("dirigirse", kPresent, 1), (Form{"me dirijo", 0}));  // table verb
    EXPECT_EQ(Conjugate("acercarse", kImperative, 3), (Form{"acérquese", 1}));
    EXPECT_EQ(Conjugate("acercarse", kPreterite, 1), (Form{"me acerqué", 1}));
    EXPECT_EQ(Conjugate("reunirse", kImperative, 4), (Form{"reunámonos", 1}));
    EXPECT_EQ(Conjugate("oírse", kImperative, 5).text, "oíos");
}

}  // namespace
}  // namespace vervia::test
