#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace vervia::test {
namespace {

// Spot checks of well-known irregular paradigms through the engine; they
// guard the data as much as the code.
using Paradigms = EngineTest;

TEST_F(Paradigms, SerAndIr) {
    EXPECT_EQ(Persons("ser", kPresent), "soy eres es somos sois son");
    EXPECT_EQ(Persons("ser", kPreterite), "fui fuiste fue fuimos fuisteis fueron");
    EXPECT_EQ(Imperative("ser"), "sé sea seamos sed sean");
    EXPECT_EQ(Conjugate("ser", kPresent, 1), (Form{"soy", 0}));
    EXPECT_EQ(Conjugate("ser", kConditional, 1), (Form{"sería", 1}));
    EXPECT_EQ(Persons("ir", kPresent), "voy vas va vamos vais van");
    EXPECT_EQ(Imperative("ir"), "ve vaya vayamos id vayan");
}

TEST_F(Paradigms, TenerHacerDecirPonerVenir) {
    EXPECT_EQ(Persons("tener", kPresent), "tengo tienes tiene tenemos tenéis tienen");
    EXPECT_EQ(Persons("tener", kPreterite), "tuve tuviste tuvo tuvimos tuvisteis tuvieron");
    EXPECT_EQ(Conjugate("tener", kFuture, 1), (Form{"tendré", 0}));
    EXPECT_EQ(Conjugate("tener", kImperative, 2), (Form{"ten", 0}));

    EXPECT_EQ(Persons("hacer", kPresent), "hago haces hace hacemos hacéis hacen");
    EXPECT_EQ(Persons("hacer", kPreterite), "hice hiciste hizo hicimos hicisteis hicieron");
    EXPECT_EQ(Conjugate("hacer", kParticiple), (Form{"hecho", 0}));
    EXPECT_EQ(Conjugate("hacer", kImperative, 2), (Form{"haz", 0}));
    EXPECT_EQ(Conjugate("hacer", kConditional, 1), (Form{"haría", 0}));

    EXPECT_EQ(Persons("decir", kPresent), "digo dices dice decimos decís dicen");
    EXPECT_EQ(Conjugate("decir", kGerund), (Form{"diciendo", 0}));
    EXPECT_EQ(Conjugate("decir", kParticiple), (Form{"dicho", 0}));
    EXPECT_EQ(Conjugate("decir", kFuture, 1), (Form{"diré", 0}));

    EXPECT_EQ(Persons("poner", kPreterite), "puse pusiste puso pusimos pusisteis pusieron");
    EXPECT_EQ(Conjugate("poner", kParticiple), (Form{"puesto", 0}));
    EXPECT_EQ(Conjugate("poner", kImperative, 2), (Form{"pon", 0}));

    EXPECT_EQ(Persons("venir", kPresent), "vengo vienes viene venimos venís vienen");
    EXPECT_EQ(Conjugate("venir", kGerund), (Form{"viniendo", 0}));
    EXPECT_EQ(Conjugate("venir", kImperative, 2), (Form{"ven", 0}));
}

TEST_F(Paradigms, OddlySpelledInfinitives) {
    EXPECT_EQ(Persons("distingir", kPresent),
              "distingo distingues distingue distinguimos distinguís distinguen");
    EXPECT_EQ(Conjugate("reir", kPresent, 1), (Form{"río", 0}));
    EXPECT_EQ(Conjugate("reir", kPresent, 2), (Form{"ríes", 0}));
    EXPECT_EQ(Conjugate("oir", kPresent, 1), (Form{"oigo", 0}));
    EXPECT_EQ(Conjugate("oir", kPresent, 2), (Form{"oyes", 0}));
    EXPECT_EQ(Conjugate("oir", kGerund), (Form{"oyendo", 0}));
}

TEST_F(Paradigms, VerbsWithNi) {
    EXPECT_EQ(Persons("reñir", kPresent), "riño riñes riñe reñimos reñís riñen");
    EXPECT_EQ(Persons("reňir", kPresent), Persons("reñir", kPresent));
    EXPECT_EQ(Conjugate("soñar", kPresent, 1), (Form{"sueño", 0}));
    EXPECT_EQ(Conjugate("tañer", kGerund), (Form{"tañendo", 0}));
}

}  // namespace
}  // namespace vervia::test
