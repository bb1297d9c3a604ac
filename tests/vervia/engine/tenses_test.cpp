#include <gtest/gtest.h>

#include <set>

#include "engine_test_support.h"
#include "evaluation.h"
#include "tenses.h"

namespace vervia::test {
namespace {

// Negative imperative persons 2..6, joined by blanks.
std::string Negative(std::string_view verb) {
    std::string joined;
    for (int person = 2; person <= 6; ++person) {
        if (person > 2) {
            joined += ' ';
        }
        joined += Conjugate(verb, kNegativeImperative, person).text;
    }
    return joined;
}

// The regular verbs of the three classes, every tense beyond the indicative
// five, all flagged as regular.
using RegularTenses = EngineTest;

TEST_F(RegularTenses, HablarComerVivir) {
    EXPECT_EQ(Persons("hablar", kImperfect),
              "hablaba hablabas hablaba hablábamos hablabais hablaban");
    EXPECT_EQ(Persons("comer", kImperfect), "comía comías comía comíamos comíais comían");
    EXPECT_EQ(Persons("vivir", kImperfect), "vivía vivías vivía vivíamos vivíais vivían");
    EXPECT_EQ(Persons("hablar", kPresentSubjunctive), "hable hables hable hablemos habléis hablen");
    EXPECT_EQ(Persons("comer", kPresentSubjunctive), "coma comas coma comamos comáis coman");
    EXPECT_EQ(Persons("vivir", kPresentSubjunctive), "viva vivas viva vivamos viváis vivan");
    EXPECT_EQ(Persons("hablar", kImperfectSubjunctiveRa),
              "hablara hablaras hablara habláramos hablarais hablaran");
    EXPECT_EQ(Persons("comer", kImperfectSubjunctiveRa),
              "comiera comieras comiera comiéramos comierais comieran");
    EXPECT_EQ(Persons("vivir", kImperfectSubjunctiveSe),
              "viviese vivieses viviese viviésemos vivieseis viviesen");
    EXPECT_EQ(Persons("hablar", kImperfectSubjunctiveSe),
              "hablase hablases hablase hablásemos hablaseis hablasen");
    EXPECT_EQ(Negative("hablar"), "no hables no hable no hablemos no habléis no hablen");
    EXPECT_EQ(Negative("comer"), "no comas no coma no comamos no comáis no coman");
    for (int kind : {kImperfect, kPluperfect, kFuturePerfect, kConditionalPerfect,
                     kPresentSubjunctive, kImperfectSubjunctiveRa, kImperfectSubjunctiveSe,
                     kPerfectSubjunctive, kPluperfectSubjunctive, kNegativeImperative}) {
        for (int person = kind == kNegativeImperative ? 2 : 1; person <= 6; ++person) {
            EXPECT_EQ(Conjugate("hablar", kind, person).sameAsRegular, 1) << kind << " " << person;
        }
    }
    EXPECT_EQ(EvaluateShown("hablar", kPresentSubjunctive).regularity, kRegular);
}

TEST_F(RegularTenses, CompoundTensesPutHaberBeforeTheParticiple) {
    EXPECT_EQ(Persons("hablar", kPluperfect),
              "había hablado habías hablado había hablado habíamos hablado habíais hablado "
              "habían hablado");
    EXPECT_EQ(Persons("hablar", kFuturePerfect),
              "habré hablado habrás hablado habrá hablado habremos hablado habréis hablado "
              "habrán hablado");
    EXPECT_EQ(Persons("comer", kConditionalPerfect),
              "habría comido habrías comido habría comido habríamos comido habríais comido "
              "habrían comido");
    EXPECT_EQ(Persons("vivir", kPerfectSubjunctive),
              "haya vivido hayas vivido haya vivido hayamos vivido hayáis vivido hayan vivido");
    EXPECT_EQ(Persons("vivir", kPluperfectSubjunctive),
              "hubiera vivido hubieras vivido hubiera vivido hubiéramos vivido hubierais vivido "
              "hubieran vivido");
    // The flag compares the participle only.
    EXPECT_EQ(Conjugate("hacer", kPluperfect, 1), (Form{"había hecho", 0}));
    EXPECT_EQ(Conjugate("escribir", kPluperfectSubjunctive, 4), (Form{"hubiéramos escrito", 0}));
    EXPECT_EQ(Conjugate("tener", kFuturePerfect, 3), (Form{"habrá tenido", 1}));
}

TEST_F(RegularTenses, PersonsOutOfRangeGiveNothing) {
    EXPECT_EQ(Conjugate("hablar", kNegativeImperative, 1), (Form{"", 1}));
    EXPECT_EQ(Conjugate("hablar", kNegativeImperative, 7), (Form{"", 1}));
    EXPECT_EQ(Conjugate("hablar", kPresentSubjunctive, 0), (Form{"", 1}));
    EXPECT_EQ(Conjugate("hablar", kPluperfect, 7), (Form{"", 1}));
    EXPECT_EQ(Conjugate("hablar", 19, 1), (Form{"", 1}));
    EXPECT_EQ(Conjugate("hablar", 26, 2), (Form{"", 1}));
}

// Spelling changes before the subjunctive's e (-ar) or a (-er, -ir), and the
// y of vowel stems in the imperfect subjunctive.
using SpelledTenses = EngineTest;

TEST_F(SpelledTenses, SubjunctiveKeepsTheConsonantsSound) {
    EXPECT_EQ(Persons("buscar", kPresentSubjunctive),
              "busque busques busque busquemos busquéis busquen");
    EXPECT_EQ(Conjugate("llegar", kPresentSubjunctive, 1), (Form{"llegue", 1}));
    EXPECT_EQ(Conjugate("cazar", kPresentSubjunctive, 4), (Form{"cacemos", 1}));
    EXPECT_EQ(Conjugate("apaciguar", kPresentSubjunctive, 6), (Form{"apacigüen", 1}));
    EXPECT_EQ(Conjugate("exigir", kPresentSubjunctive, 1), (Form{"exija", 1}));
    EXPECT_EQ(Conjugate("proteger", kNegativeImperative, 2), (Form{"no protejas", 1}));
    EXPECT_EQ(Conjugate("ejercer", kPresentSubjunctive, 3), (Form{"ejerza", 1}));
    EXPECT_EQ(Conjugate("favorecer", kPresentSubjunctive, 4), (Form{"favorezcamos", 1}));
    EXPECT_EQ(Conjugate("extinguir", kPresentSubjunctive, 5), (Form{"extingáis", 1}));
    EXPECT_EQ(Conjugate("delinquir", kPresentSubjunctive, 1), (Form{"delinca", 1}));
    EXPECT_EQ(Conjugate("concluir", kPresentSubjunctive, 6), (Form{"concluyan", 1}));
    EXPECT_EQ(Conjugate("traducir", kPresentSubjunctive, 1), (Form{"traduzca", 0}));
}

TEST_F(SpelledTenses, ImperfectSubjunctiveFollowsTheEllosPreterite) {
    EXPECT_EQ(Persons("creer", kImperfectSubjunctiveRa),
              "creyera creyeras creyera creyéramos creyerais creyeran");
    EXPECT_EQ(Conjugate("concluir", kImperfectSubjunctiveSe, 1), (Form{"concluyese", 1}));
    EXPECT_EQ(Conjugate("gruñir", kImperfectSubjunctiveRa, 4), (Form{"gruñéramos", 1}));
    EXPECT_EQ(Conjugate("bullir", kImperfectSubjunctiveSe, 3), (Form{"bullese", 1}));
    EXPECT_EQ(Conjugate("creer", kImperfect, 4), (Form{"creíamos", 1}));
    EXPECT_EQ(Conjugate("traducir", kImperfectSubjunctiveRa, 1), (Form{"tradujera", 0}));
}

// Stem-changing verbs outside the table: the stressed stem in the present
// subjunctive, and the -ir verbs' closed vowel in nosotros and vosotros.
using StemChangingTenses = EngineTest;

TEST_F(StemChangingTenses, StressedStemAndClosedVowel) {
    EXPECT_EQ(Persons("despertar", kPresentSubjunctive),
              "despierte despiertes despierte despertemos despertéis despierten");
    EXPECT_EQ(Persons("acordar", kPresentSubjunctive),
              "acuerde acuerdes acuerde acordemos acordéis acuerden");
    EXPECT_EQ(Persons("herir", kPresentSubjunctive), "hiera hieras hiera hiramos hiráis hieran");
    EXPECT_EQ(Persons("medir", kPresentSubjunctive), "mida midas mida midamos midáis midan");
    EXPECT_EQ(Persons("competir", kPresentSubjunctive),
              "compita compitas compita compitamos compitáis compitan");
    EXPECT_EQ(Persons("herir", kImperfectSubjunctiveRa),
              "hiriera hirieras hiriera hiriéramos hirierais hirieran");
    EXPECT_EQ(Conjugate("medir", kImperfectSubjunctiveSe, 4), (Form{"midiésemos", 0}));
    EXPECT_EQ(Conjugate("herir", kPresentSubjunctive, 4), (Form{"hiramos", 0}));
    EXPECT_EQ(Conjugate("despertar", kPresentSubjunctive, 4), (Form{"despertemos", 1}));
    EXPECT_EQ(Conjugate("despertar", kImperfect, 1), (Form{"despertaba", 1}));
}

TEST_F(StemChangingTenses, HiatusVerbsAccentTheStressedVowel) {
    EXPECT_EQ(Persons("confiar", kPresentSubjunctive),
              "confíe confíes confíe confiemos confiéis confíen");
    EXPECT_EQ(Persons("enraizar", kPresentSubjunctive),
              "enraíce enraíces enraíce enraicemos enraicéis enraícen");
    EXPECT_EQ(Negative("graduar"), "no gradúes no gradúe no graduemos no graduéis no gradúen");
    // fiar: fie-is is one syllable, written without an accent.
    EXPECT_EQ(Conjugate("fiar", kPresentSubjunctive, 5).text, "fieis");
}

// The 212 table verbs: rules over the stored forms, the listed exceptions,
// and the bold flag against the plain regular forms.
using TableTenses = EngineTest;

TEST_F(TableTenses, SubjunctiveFromTheYoFormAndTheImperative) {
    EXPECT_EQ(Persons("tener", kPresentSubjunctive), "tenga tengas tenga tengamos tengáis tengan");
    EXPECT_EQ(Persons("caber", kPresentSubjunctive), "quepa quepas quepa quepamos quepáis quepan");
    EXPECT_EQ(Persons("dormir", kPresentSubjunctive),
              "duerma duermas duerma durmamos durmáis duerman");
    EXPECT_EQ(Persons("sentir", kPresentSubjunctive),
              "sienta sientas sienta sintamos sintáis sientan");
    EXPECT_EQ(Persons("pedir", kPresentSubjunctive), "pida pidas pida pidamos pidáis pidan");
    EXPECT_EQ(Persons("almorzar", kPresentSubjunctive),
              "almuerce almuerces almuerce almorcemos almorcéis almuercen");
    EXPECT_EQ(Persons("averiguar", kPresentSubjunctive),
              "averigüe averigües averigüe averigüemos averigüéis averigüen");
    EXPECT_EQ(Persons("oír", kPresentSubjunctive), "oiga oigas oiga oigamos oigáis oigan");
    EXPECT_EQ(Persons("enviar", kPresentSubjunctive), "envíe envíes envíe enviemos enviéis envíen");
    // ri-ais is one syllable (2010 spelling); son-ri-áis is not.
    EXPECT_EQ(Persons("reír", kPresentSubjunctive), "ría rías ría riamos riais rían");
    EXPECT_EQ(Conjugate("sonreír", kPresentSubjunctive, 5).text, "sonriáis");
    EXPECT_EQ(Persons("distinguir", kPresentSubjunctive),
              "distinga distingas distinga distingamos distingáis distingan");
    EXPECT_EQ(Conjugate("tener", kPresentSubjunctive, 1), (Form{"tenga", 0}));
    EXPECT_EQ(Conjugate("abrir", kPresentSubjunctive, 1), (Form{"abra", 1}));
    // The plain regular form of a table verb is not spelled: sace, not saque.
    EXPECT_EQ(Conjugate("sacar", kPresentSubjunctive, 1), (Form{"saque", 0}));
}

TEST_F(TableTenses, ListedExceptions) {
    EXPECT_EQ(Persons("ser", kImperfect), "era eras era éramos erais eran");
    EXPECT_EQ(Persons("ir", kImperfect), "iba ibas iba íbamos ibais iban");
    EXPECT_EQ(Persons("ver", kImperfect), "veía veías veía veíamos veíais veían");
    EXPECT_EQ(Conjugate("prever", kImperfect, 4), (Form{"preveíamos", 0}));
    EXPECT_EQ(Conjugate("distinguir", kImperfect, 1), (Form{"distinguía", 1}));
    EXPECT_EQ(Persons("dar", kPresentSubjunctive), "dé des dé demos deis den");
    EXPECT_EQ(Persons("estar", kPresentSubjunctive), "esté estés esté estemos estéis estén");
    EXPECT_EQ(Persons("haber", kPresentSubjunctive), "haya hayas haya hayamos hayáis hayan");
    EXPECT_EQ(Persons("ir", kPresentSubjunctive), "vaya vayas vaya vayamos vayáis vayan");
    EXPECT_EQ(Persons("saber", kPresentSubjunctive), "sepa sepas sepa sepamos sepáis sepan");
    EXPECT_EQ(Persons("ser", kPresentSubjunctive), "sea seas sea seamos seáis sean");
    EXPECT_EQ(Conjugate("ser", kImperfect, 1), (Form{"era", 0}));
    EXPECT_EQ(Conjugate("dar", kPresentSubjunctive, 5), (Form{"deis", 0}));
}

TEST_F(TableTenses, ImperfectSubjunctiveFromTheEllosPreterite) {
    EXPECT_EQ(Persons("tener", kImperfectSubjunctiveRa),
              "tuviera tuvieras tuviera tuviéramos tuvierais tuvieran");
    EXPECT_EQ(Persons("tener", kImperfectSubjunctiveSe),
              "tuviese tuvieses tuviese tuviésemos tuvieseis tuviesen");
    EXPECT_EQ(Persons("ser", kImperfectSubjunctiveRa),
              "fuera fueras fuera fuéramos fuerais fueran");
    EXPECT_EQ(Persons("decir", kImperfectSubjunctiveRa),
              "dijera dijeras dijera dijéramos dijerais dijeran");
    EXPECT_EQ(Persons("oír", kImperfectSubjunctiveSe),
              "oyese oyeses oyese oyésemos oyeseis oyesen");
    EXPECT_EQ(Persons("dormir", kImperfectSubjunctiveRa),
              "durmiera durmieras durmiera durmiéramos durmierais durmieran");
    EXPECT_EQ(Conjugate("haber", kImperfectSubjunctiveRa, 4), (Form{"hubiéramos", 0}));
    EXPECT_EQ(Conjugate("abrir", kImperfectSubjunctiveRa, 1), (Form{"abriera", 1}));
    EXPECT_EQ(Conjugate("tener", kImperfect, 1), (Form{"tenía", 1}));
}

// Rules every table verb's new forms obey, whatever its stored forms: this is
// where a misleading stored form would show.
TEST_F(TableTenses, EveryTableVerbHasEveryFormAndTheyAgree) {
    for (int record = 0; record < kVerbCount; ++record) {
        const std::string verb = ToDisplayText(StoredField(record, kFieldInfinitive));
        SCOPED_TRACE(verb);
        for (int kind :
             {kImperfect, kPresentSubjunctive, kImperfectSubjunctiveRa, kImperfectSubjunctiveSe}) {
            for (int person = 1; person <= 6; ++person) {
                EXPECT_FALSE(Conjugate(verb, kind, person).text.empty()) << kind << " " << person;
            }
        }
        // The usted, nosotros and ustedes imperatives are subjunctive forms.
        if (verb != "haber") {
            EXPECT_EQ(Conjugate(verb, kPresentSubjunctive, 3).text,
                      Conjugate(verb, kImperative, 3).text);
            EXPECT_EQ(Conjugate(verb, kPresentSubjunctive, 4).text,
                      Conjugate(verb, kImperative, 4).text);
            EXPECT_EQ(Conjugate(verb, kPresentSubjunctive, 6).text,
                      Conjugate(verb, kImperative, 6).text);
        }
        EXPECT_EQ(Conjugate(verb, kPresentSubjunctive, 1).text,
                  Conjugate(verb, kPresentSubjunctive, 3).text);
        const std::string ellos = Conjugate(verb, kPreterite, 6).text;
        ASSERT_TRUE(ellos.ends_with("ron"));
        const std::string stem = ellos.substr(0, ellos.size() - 3);
        EXPECT_EQ(Conjugate(verb, kImperfectSubjunctiveRa, 1).text, stem + "ra");
        EXPECT_EQ(Conjugate(verb, kImperfectSubjunctiveSe, 6).text, stem + "sen");
        for (int person = 2; person <= 6; ++person) {
            EXPECT_EQ(Conjugate(verb, kNegativeImperative, person).text,
                      std::string("no ").append(Conjugate(verb, kPresentSubjunctive, person).text));
        }
        EXPECT_EQ(Conjugate(verb, kPluperfect, 3).text,
                  std::string("había ").append(Conjugate(verb, kParticiple).text));
    }
}

// Compounds of table verbs take the base verb's new forms too.
TEST_F(TableTenses, CompoundsFollowTheirBaseVerb) {
    EXPECT_EQ(Persons("componer", kPresentSubjunctive),
              "componga compongas componga compongamos compongáis compongan");
    EXPECT_EQ(Conjugate("componer", kImperfectSubjunctiveRa, 4), (Form{"compusiéramos", 0}));
    EXPECT_EQ(Conjugate("componer", kImperfect, 1), (Form{"componía", 1}));
    EXPECT_EQ(Persons("entrever", kImperfect),
              "entreveía entreveías entreveía entreveíamos entreveíais entreveían");
    EXPECT_EQ(Conjugate("predecir", kPresentSubjunctive, 1), (Form{"prediga", 0}));
    EXPECT_EQ(Conjugate("rehacer", kImperfectSubjunctiveSe, 1), (Form{"rehiciese", 0}));
    EXPECT_EQ(Conjugate("tropezar", kPresentSubjunctive, 1), (Form{"tropiece", 0}));
    EXPECT_EQ(Conjugate("aducir", kImperfectSubjunctiveRa, 1), (Form{"adujera", 0}));
}

// The pronoun of a reflexive verb: before the auxiliary of a compound tense,
// after the "no" of the negative imperative.
using ReflexiveTenses = EngineTest;

TEST_F(ReflexiveTenses, PronounPlacement) {
    EXPECT_EQ(Persons("levantarse", kImperfect),
              "me levantaba te levantabas se levantaba nos levantábamos os levantabais "
              "se levantaban");
    EXPECT_EQ(Negative("levantarse"),
              "no te levantes no se levante no nos levantemos no os levantéis no se levanten");
    EXPECT_EQ(Conjugate("levantarse", kPluperfectSubjunctive, 3).text, "se hubiera levantado");
    EXPECT_EQ(Conjugate("levantarse", kFuturePerfect, 1).text, "me habré levantado");
    EXPECT_EQ(Conjugate("levantarse", kPresentSubjunctive, 4).text, "nos levantemos");
    EXPECT_EQ(Conjugate("irse", kNegativeImperative, 5).text, "no os vayáis");
    EXPECT_EQ(Conjugate("dormirse", kImperfectSubjunctiveSe, 4).text, "nos durmiésemos");
    EXPECT_EQ(Conjugate("sentarse", kNegativeImperative, 2), (Form{"no te sientes", 0}));
    EXPECT_EQ(Conjugate("dormirse", kNegativeImperative, 4), (Form{"no nos durmamos", 0}));
    EXPECT_EQ(Conjugate("levantarse", kNegativeImperative, 1).text, "");
}

TEST(TenseTable, EveryCodeOnceWithNamesAndPersons) {
    std::set<int> codes;
    for (const TenseInfo& tense : Tenses()) {
        EXPECT_TRUE(codes.insert(tense.code).second) << tense.code;
        EXPECT_FALSE(tense.czechName.empty());
        EXPECT_FALSE(tense.spanishName.empty());
        EXPECT_EQ(tense.firstPerson,
                  tense.code == kImperative || tense.code == kNegativeImperative ? 2 : 1);
        EXPECT_EQ(FindTense(tense.code), &tense);
    }
    EXPECT_EQ(codes,
              (std::set<int>{2, 3, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22, 23, 24, 25}));
    EXPECT_EQ(FindTense(19), nullptr);
    EXPECT_EQ(FindTense(0), nullptr);
    // The indicative five keep the names the window shows.
    for (int code = kPreterite; code <= kFuture; ++code) {
        EXPECT_EQ(FindTense(code)->czechName, TenseName(code));
    }
}

// The window's evaluation of a new tense: the tense's persons, person 1 of the
// negative imperative empty.
TEST_F(TableTenses, EvaluationOfANewTense) {
    const Evaluation subjunctive = EvaluateShown("tener", kPresentSubjunctive);
    ASSERT_TRUE(subjunctive.valid);
    EXPECT_EQ(subjunctive.forms[2].text, "tenga");
    EXPECT_EQ(subjunctive.forms[2].sameAsRegular, 0);
    EXPECT_EQ(subjunctive.forms[7].text, "tengan");
    const Evaluation negative = EvaluateShown("levantarse", kNegativeImperative);
    EXPECT_EQ(negative.forms[2].text, "");
    EXPECT_EQ(negative.forms[3].text, "no te levantes");
    // A verb outside the table whose only irregular forms are subjunctive ones
    // would be irregular; one whose new forms are all regular stays regular.
    EXPECT_EQ(EvaluateShown("buscar", kImperfectSubjunctiveRa).regularity, kRegular);
    EXPECT_EQ(EvaluateShown("herir", kImperfect).regularity, kIrregular);
}

}  // namespace
}  // namespace vervia::test
