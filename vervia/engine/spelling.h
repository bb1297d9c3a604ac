#pragma once
// How Spanish spells a conjugated form: the changes a stem takes before an
// ending (busqué, exijo, fortalezco, construyó, creído, gruñó) and the written
// accents of words that grow (compón, levántate, rehíce). Text is Windows-1250
// bytes with ň (0xF2) for ñ, lower case.

#include <cstdint>
#include <string>
#include <string_view>

namespace vervia::spelling {

// The spelling change a verb's stem takes, decided by the infinitive alone.
enum class StemChange : std::uint8_t {
    kNone,
    kCToQu,      // -car: c -> qu before e (busqué)
    kGToGu,      // -gar: g -> gu before e (llegué)
    kZToC,       // -zar: z -> c before e (abracé)
    kGuToGue,    // -guar: gu -> gü before e (averigüé)
    kGToJ,       // -ger, -gir: g -> j before a, o (exijo)
    kCToZ,       // -cer, -cir after a consonant, and mecer: c -> z before a, o (venzo)
    kCToZc,      // -acer, -ecer, -ocer, -ucir: c -> zc before a, o (fortalezco)
    kGuToG,      // -guir: gu -> g before a, o (distingo)
    kQuToC,      // -quir: qu -> c before a, o (delinco)
    kInsertY,    // -uir: y before a, e, o and for an unstressed i between vowels (construyo)
    kVowelStem,  // -eer, -aer, -oer, and -ir after a, e, o: i -> y between vowels, í before a
                 // consonant
    kAbsorbI,    // stem in ñ or ll: the unstressed i of ie, ió is absorbed (gruñó)
};

// The change for `stem` of a verb of class 0 (-ar), 1 (-er) or 2 (-ir).
StemChange ChangeOf(std::string_view stem, int verbClass);

// Appends stem + ending to `out` as Spanish spells them. A form that the
// change leaves a monosyllable loses its written accent (fie, fio, flui).
void AppendSpelled(std::string& out, std::string_view stem, std::string_view ending,
                   StemChange change);

// Takes the written accent off `word` when it is a monosyllable (fiéis ->
// fieis, riáis -> riais); an accented weak vowel beside a strong one makes two
// syllables and stays (fíe).
void StripMonosyllableAccent(std::string& word);

// Index of the vowel that carries the stress of `word`, or npos when it has
// no vowel.
std::size_t StressedVowel(std::string_view word);

// `word` with the written accent that Spanish requires on the vowel at
// `stressed` (added or removed there; other accents stay).
std::string WithRequiredAccent(std::string word, std::size_t stressed);

// prefix + `base` without its first `drop` letters, accented as the longer
// word needs it (ten -> contén, vio -> revió, hice -> rehíce).
std::string CompoundWord(std::string_view prefix, std::string_view base, std::size_t drop);

// `form` without its last `drop` letters, with `pronoun` attached and the
// written accent the longer word needs (levanta + te -> levántate).
std::string AttachPronoun(std::string_view form, std::size_t drop, std::string_view pronoun);

}  // namespace vervia::spelling
