// One full evaluation of a verb as the trainer window makes it on every
// keystroke: the membership test for the regularity label plus 19
// ConjugateForm calls (participle, gerund, the tense with persons 1..6, the
// imperative with persons 2..6, the conditional with persons 1..6).
//
// The engine is compared with a straightforward reference that follows the
// same algorithm on a std::string-per-field working copy, to show what the
// compact layout buys.
//
// Evaluate measures the one evaluation the window and vervia-cli make: the
// 19 shown forms with their flags and the regularity, for every kind of verb
// (table, regular, spelled regular, further irregular, compound, family,
// reflexive). EvaluateTense measures the same with each tense beyond the
// indicative five.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "conjugator.h"
#include "evaluation.h"
#include "irregular_verb_table.h"

namespace {

using namespace vervia;

// Reference: every field a std::string, every call folds and builds fresh strings.
class NaiveEngine {
public:
    NaiveEngine() {
        for (int v = 0; v < kVerbCount; ++v) {
            for (int f = 0; f < kFieldCount; ++f) {
                m_records[v][f] = std::string(StoredField(v, f));
            }
        }
    }

    int IsRegular(const std::string& word) const {
        const std::string folded = Lower(word);
        int result = 1;
        for (const auto& record : m_records) {
            if (record[0] == folded) {
                result = 0;
            }
        }
        return result;
    }

    int Conjugate(const std::string& verb, int kind, int person, std::string& output) const {
        const std::string lower = Lower(verb);
        const std::string ending = lower.substr(lower.size() - 2);
        const std::string stem = lower.substr(0, lower.size() - 2);
        const int cls = ending == "ar" ? 0 : ending == "er" ? 1 : 2;
        const bool inTable = IsRegular(verb) == 0;
        std::string prefix;
        std::string regular;
        int field = 0;
        static const std::string kRefParticiple[] = {"ado", "ido", "ido"};
        static const std::string kRefGerund[] = {"ando", "iendo", "iendo"};
        static const std::string kRefPresent[3][6] = {{"o", "as", "a", "amos", "\xE1is", "an"},
                                                      {"o", "es", "e", "emos", "\xE9is", "en"},
                                                      {"o", "es", "e", "imos", "\xEDs", "en"}};
        static const std::string kRefImperative[3][6] = {{"", "a", "e", "emos", "ad", "en"},
                                                         {"", "e", "a", "amos", "ed", "an"},
                                                         {"", "e", "a", "amos", "id", "an"}};
        static const std::string kRefConditional[6] = {
            "\xED"
            "a",
            "\xED"
            "as",
            "\xED"
            "a",
            "\xED"
            "amos",
            "\xED"
            "ais",
            "\xED"
            "an"};
        switch (kind) {
            case kParticiple:
                regular = stem + kRefParticiple[cls], field = 1;
                break;
            case kGerund:
                regular = stem + kRefGerund[cls], field = 2;
                break;
            case kImperative:
                regular = stem + kRefImperative[cls][person - 1], field = 3 + person - 2;
                break;
            case kConditional:
                regular = lower + kRefConditional[person - 1], field = 26 + person - 1;
                break;
            case kPresent:
                regular = stem + kRefPresent[cls][person - 1], field = 14 + person - 1;
                break;
            default:
                break;
        }
        std::string chosen = regular;
        if (inTable) {
            for (const auto& record : m_records) {
                if (record[0] == lower) {
                    chosen = record[field];
                }
            }
        }
        output = prefix + chosen;
        return chosen == regular ? 1 : 0;
    }

private:
    static std::string Lower(const std::string& word) {
        std::string lower = word;
        for (char& c : lower) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return lower;
    }

    std::vector<std::array<std::string, kFieldCount>> m_records{std::size_t(kVerbCount)};
};

template <typename Call, typename Member>
void EvaluateWith(const std::string& verb, Member member, Call call) {
    benchmark::DoNotOptimize(member(verb));
    std::string output;
    benchmark::DoNotOptimize(call(verb, kParticiple, 0, output));
    benchmark::DoNotOptimize(call(verb, kGerund, 0, output));
    for (int person = 1; person <= 6; ++person) {
        benchmark::DoNotOptimize(call(verb, kPresent, person, output));
    }
    for (int person = 2; person <= 6; ++person) {
        benchmark::DoNotOptimize(call(verb, kImperative, person, output));
    }
    for (int person = 1; person <= 6; ++person) {
        benchmark::DoNotOptimize(call(verb, kConditional, person, output));
    }
    benchmark::DoNotOptimize(output);
}

void Engine(benchmark::State& state, const std::string& verb) {
    LoadIrregularVerbs();
    for (auto _ : state) {
        EvaluateWith(
            verb, [](const std::string& v) { return IsRegularVerb(v); },
            [](const std::string& v, int kind, int person, std::string& out) {
                return ConjugateForm(v, kind, person, out);
            });
    }
}

void Naive(benchmark::State& state, const std::string& verb) {
    static const NaiveEngine naive;
    for (auto _ : state) {
        EvaluateWith(
            verb, [](const std::string& v) { return naive.IsRegular(v); },
            [](const std::string& v, int kind, int person, std::string& out) {
                return naive.Conjugate(v, kind, person, out);
            });
    }
}

// The reference must agree with the engine, or the comparison is void.
void CheckReference() {
    LoadIrregularVerbs();
    const NaiveEngine naive;
    std::string a;
    std::string b;
    for (const std::string verb : {"volver", "hablar", "ir", "haber", "VOLVER"}) {
        for (int kind : {kParticiple, kGerund, kPresent, kImperative, kConditional}) {
            for (int person = 2; person <= 6; ++person) {
                if (ConjugateForm(verb, kind, person, a) !=
                        naive.Conjugate(verb, kind, person, b) ||
                    a != b) {
                    std::cerr << "reference disagrees on " << verb << ' ' << kind << '/' << person
                              << '\n';
                    std::exit(1);
                }
            }
        }
    }
}

void Evaluate(benchmark::State& state, const std::string& verb) {
    LoadIrregularVerbs();
    const auto slots = ShownSlots(kPresent);
    vervia::Evaluation result;
    for (auto _ : state) {
        vervia::Evaluate(verb, slots.data(), slots.size(), result);
        benchmark::DoNotOptimize(result.forms.data());
    }
    if (!result.valid || result.forms.size() != slots.size()) {
        state.SkipWithError("the verb was not evaluated");
    }
}

// The window's evaluation with one of the tenses beyond the indicative five
// (the range argument: 15..18, 20..25) in place of the present.
void EvaluateTense(benchmark::State& state, const std::string& verb) {
    LoadIrregularVerbs();
    const auto slots = ShownSlots(static_cast<int>(state.range(0)));
    vervia::Evaluation result;
    for (auto _ : state) {
        vervia::Evaluate(verb, slots.data(), slots.size(), result);
        benchmark::DoNotOptimize(result.forms.data());
    }
    if (!result.valid || result.forms.size() != slots.size() || result.forms[3].text.empty()) {
        state.SkipWithError("the verb was not evaluated");
    }
}

void NewTenses(benchmark::internal::Benchmark* benchmark) {
    for (int tense : {15, 16, 17, 18, 20, 21, 22, 23, 24, 25}) {
        benchmark->Arg(tense);
    }
}

BENCHMARK_CAPTURE(EvaluateTense, table_volver, std::string("volver"))->Apply(NewTenses);
BENCHMARK_CAPTURE(EvaluateTense, further_despertar, std::string("despertar"))->Apply(NewTenses);
BENCHMARK_CAPTURE(EvaluateTense, reflexive_compound_componerse, std::string("componerse"))
    ->Apply(NewTenses);
BENCHMARK_CAPTURE(Evaluate, table_volver, std::string("volver"));
BENCHMARK_CAPTURE(Evaluate, regular_hablar, std::string("hablar"));
BENCHMARK_CAPTURE(Evaluate, spelled_buscar, std::string("buscar"));
BENCHMARK_CAPTURE(Evaluate, further_despertar, std::string("despertar"));
BENCHMARK_CAPTURE(Evaluate, compound_descomponer, std::string("descomponer"));
BENCHMARK_CAPTURE(Evaluate, family_aducir, std::string("aducir"));
BENCHMARK_CAPTURE(Evaluate, reflexive_levantarse, std::string("levantarse"));
BENCHMARK_CAPTURE(Evaluate, reflexive_compound_componerse, std::string("componerse"));
BENCHMARK_CAPTURE(Engine, volver, std::string("volver"));
BENCHMARK_CAPTURE(Engine, hablar, std::string("hablar"));
BENCHMARK_CAPTURE(Naive, volver, std::string("volver"));
BENCHMARK_CAPTURE(Naive, hablar, std::string("hablar"));

}  // namespace

int main(int argc, char** argv) {
    CheckReference();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
