#pragma once
// Helpers shared by the engine tests: UTF-8 in, UTF-8 out, so that the
// expected Spanish forms can be written as they read.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "conjugator.h"
#include "irregular_verb_table.h"
#include "text_encoding.h"

namespace vervia::test {

struct Form {
    std::string text;
    int sameAsRegular;
    bool operator==(const Form&) const = default;
};

inline Form Conjugate(std::string_view verb, int kind, int person = 0) {
    std::string output;
    const int result = ConjugateForm(ToEngineText(verb), kind, person, output);
    return {ToDisplayText(output), result};
}

// The six persons of a kind, joined by blanks.
inline std::string Persons(std::string_view verb, int kind) {
    std::string joined;
    for (int person = 1; person <= 6; ++person) {
        if (person > 1) {
            joined += ' ';
        }
        joined += Conjugate(verb, kind, person).text;
    }
    return joined;
}

// Imperative persons 2..6, joined by blanks.
inline std::string Imperative(std::string_view verb) {
    std::string joined;
    for (int person = 2; person <= 6; ++person) {
        if (person > 2) {
            joined += ' ';
        }
        joined += Conjugate(verb, kImperative, person).text;
    }
    return joined;
}

// Ensures the working copy is loaded before a suite runs.
class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadIrregularVerbs(); }
};

}  // namespace vervia::test
