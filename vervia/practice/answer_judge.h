#pragma once
// Judges a typed answer against the right form. Letter case, blanks around
// the answer and repeated blanks inside it (he  hablado, me levanto) do not
// matter; an answer that differs from the right form only in its accents
// (á é í ó ú ü ñ written as the plain letter, or an accent too many) is an
// accent slip. Text is UTF-8.
//
// Learners without a Spanish keyboard type the accents as two characters: a
// vowel followed by an apostrophe (a' e' i' o' u', or the acute accent ´)
// for á é í ó ú, u" or u: for ü and n~ for ñ. Both the trainer window and the
// command line accept them.

#include <string>
#include <string_view>

namespace vervia::practice {

enum class Verdict { kRight, kAccent, kWrong };

// Replaces the two-character accent shortcuts by their letters.
std::string ApplyAccentShortcuts(std::string_view typed);

// The verdict on `typed` (shortcuts allowed) against `right`.
Verdict JudgeAnswer(std::string_view typed, std::string_view right);

// True for the letters that carry an accent in Spanish (á é í ó ú ü ñ, either
// case): the letters a window highlights in the form shown after a slip.
bool IsAccentedLetter(char32_t letter);

}  // namespace vervia::practice
