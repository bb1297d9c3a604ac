#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace vervia::test {
namespace {

// Verbs outside the table follow the regular rules as Spanish spells them;
// none of their forms is irregular.
using SpellingRules = EngineTest;

// Every form of `verb` counts as regular.
void ExpectAllRegular(std::string_view verb) {
    for (int kind : {kConditional, kPreterite, kPresentPerfect, kPresent, kProgressive, kFuture}) {
        for (int person = 1; person <= 6; ++person) {
            EXPECT_EQ(Conjugate(verb, kind, person).sameAsRegular, 1)
                << verb << ' ' << kind << '/' << person;
        }
    }
    for (int person = 2; person <= 6; ++person) {
        EXPECT_EQ(Conjugate(verb, kImperative, person).sameAsRegular, 1) << verb << '/' << person;
    }
    EXPECT_EQ(Conjugate(verb, kParticiple).sameAsRegular, 1) << verb;
    EXPECT_EQ(Conjugate(verb, kGerund).sameAsRegular, 1) << verb;
}

TEST_F(SpellingRules, CGAndZChangeBeforeE) {
    EXPECT_EQ(Persons("buscar", kPreterite), "busqué buscaste buscó buscamos buscasteis buscaron");
    EXPECT_EQ(Imperative("buscar"), "busca busque busquemos buscad busquen");
    EXPECT_EQ(Persons("buscar", kPresent), "busco buscas busca buscamos buscáis buscan");
    EXPECT_EQ(Conjugate("llegar", kPreterite, 1).text, "llegué");
    EXPECT_EQ(Imperative("llegar"), "llega llegue lleguemos llegad lleguen");
    EXPECT_EQ(Conjugate("abrazar", kPreterite, 1).text, "abracé");
    EXPECT_EQ(Imperative("abrazar"), "abraza abrace abracemos abrazad abracen");
    EXPECT_EQ(Conjugate("apaciguar", kPreterite, 1).text, "apacigüé");
    EXPECT_EQ(Imperative("atestiguar"), "atestigua atestigüe atestigüemos atestiguad atestigüen");
    for (std::string_view verb : {"buscar", "llegar", "abrazar", "apaciguar", "explicar"}) {
        ExpectAllRegular(verb);
    }
}

TEST_F(SpellingRules, GCAndGuChangeBeforeAAndO) {
    EXPECT_EQ(Persons("exigir", kPresent), "exijo exiges exige exigimos exigís exigen");
    EXPECT_EQ(Imperative("exigir"), "exige exija exijamos exigid exijan");
    EXPECT_EQ(Conjugate("proteger", kPresent, 1).text, "protejo");
    EXPECT_EQ(Conjugate("ejercer", kPresent, 1).text, "ejerzo");
    EXPECT_EQ(Imperative("esparcir"), "esparce esparza esparzamos esparcid esparzan");
    EXPECT_EQ(Persons("extinguir", kPresent),
              "extingo extingues extingue extinguimos extinguís extinguen");
    EXPECT_EQ(Imperative("delinquir"), "delinque delinca delincamos delinquid delincan");
    // Before e and i nothing changes.
    EXPECT_EQ(Conjugate("exigir", kPreterite, 3).text, "exigió");
    EXPECT_EQ(Conjugate("extinguir", kParticiple).text, "extinguido");
    for (std::string_view verb : {"exigir", "proteger", "ejercer", "extinguir", "delinquir"}) {
        ExpectAllRegular(verb);
    }
}

TEST_F(SpellingRules, ZcVerbsButNotMecerNorAConsonantBeforeC) {
    EXPECT_EQ(Persons("fortalecer", kPresent),
              "fortalezco fortaleces fortalece fortalecemos fortalecéis fortalecen");
    EXPECT_EQ(Imperative("enriquecer"),
              "enriquece enriquezca enriquezcamos enriqueced enriquezcan");
    EXPECT_EQ(Imperative("favorecer"), "favorece favorezca favorezcamos favoreced favorezcan");
    EXPECT_EQ(Conjugate("lucir", kPresent, 1).text, "luzco");  // a table verb, same rule
    EXPECT_EQ(Conjugate("relucir", kPresent, 1).text, "reluzco");
    EXPECT_EQ(Conjugate("mecer", kPresent, 1).text, "mezo");
    EXPECT_EQ(Imperative("mecer"), "mece meza mezamos meced mezan");
    EXPECT_EQ(Conjugate("ejercer", kImperative, 3).text, "ejerza");
    EXPECT_EQ(Conjugate("fortalecer", kPreterite, 1).text, "fortalecí");
    for (std::string_view verb : {"fortalecer", "enriquecer", "mecer"}) {
        ExpectAllRegular(verb);
    }
}

TEST_F(SpellingRules, UirVerbsInsertY) {
    EXPECT_EQ(Persons("constituir", kPresent),
              "constituyo constituyes constituye constituimos constituís constituyen");
    EXPECT_EQ(Imperative("constituir"),
              "constituye constituya constituyamos constituid constituyan");
    EXPECT_EQ(Persons("constituir", kPreterite),
              "constituí constituiste constituyó constituimos constituisteis constituyeron");
    EXPECT_EQ(Conjugate("constituir", kGerund).text, "constituyendo");
    EXPECT_EQ(Conjugate("constituir", kParticiple).text, "constituido");
    EXPECT_EQ(Conjugate("argüir", kPresent, 1).text, "arguyo");
    EXPECT_EQ(Conjugate("argüir", kPresent, 4).text, "argüimos");
    // Monosyllables keep no written accent: flui, fluis.
    EXPECT_EQ(Conjugate("fluir", kPreterite, 1).text, "flui");
    EXPECT_EQ(Conjugate("fluir", kPresent, 5).text, "fluis");
    ExpectAllRegular("constituir");
}

TEST_F(SpellingRules, VowelStemsTakeYAndAccents) {
    EXPECT_EQ(Persons("creer", kPreterite), "creí creíste creyó creímos creísteis creyeron");
    EXPECT_EQ(Conjugate("creer", kParticiple).text, "creído");
    EXPECT_EQ(Conjugate("creer", kGerund).text, "creyendo");
    EXPECT_EQ(Conjugate("proveer", kGerund).text, "proveyendo");
    EXPECT_EQ(Conjugate("proveer", kPreterite, 3).text, "proveyó");
    EXPECT_EQ(Persons("creer", kPresent), "creo crees cree creemos creéis creen");
    ExpectAllRegular("creer");
    ExpectAllRegular("proveer");
}

TEST_F(SpellingRules, NiAndLlAbsorbTheI) {
    EXPECT_EQ(Conjugate("gruñir", kPreterite, 3).text, "gruñó");
    EXPECT_EQ(Conjugate("gruñir", kPreterite, 6).text, "gruñeron");
    EXPECT_EQ(Conjugate("gruñir", kGerund).text, "gruñendo");
    EXPECT_EQ(Conjugate("bullir", kGerund).text, "bullendo");
    EXPECT_EQ(Conjugate("bullir", kPreterite, 3).text, "bulló");
    EXPECT_EQ(Conjugate("bullir", kPreterite, 2).text, "bulliste");
    ExpectAllRegular("gruñir");
}

TEST_F(SpellingRules, TableVerbsKeepTheirStoredFormsAndFlags) {
    // pagar's stored pagué differs from the plain regular pagé (no spelling rule).
    EXPECT_EQ(Conjugate("pagar", kPreterite, 1), (Form{"pagué", 0}));
    EXPECT_EQ(LastConjugation().regularForm, "pag\xE9");
    EXPECT_EQ(Conjugate("abastecer", kPresent, 1), (Form{"abastezco", 0}));
    EXPECT_EQ(Conjugate("construir", kPresent, 1), (Form{"construyo", 0}));
    EXPECT_EQ(Conjugate("leer", kPreterite, 3), (Form{"leyó", 0}));
    EXPECT_EQ(Conjugate("cocer", kPresent, 1), (Form{"cuezo", 0}));
}

}  // namespace
}  // namespace vervia::test
