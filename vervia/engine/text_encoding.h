#pragma once
// Conversion between the UTF-8 text of a front end and the engine's
// Windows-1250 bytes. The stored ň (0xF2) is the Czech code page's stand-in
// for the Spanish ñ: shown as ñ, and both ñ and ň typed by a user map to it.

#include <string>
#include <string_view>

namespace vervia {

// UTF-8 to Windows-1250; ñ and ň both become 0xF2, Ñ and Ň 0xD2. A character
// that the code page cannot hold becomes '?', and so does each byte of a
// malformed UTF-8 sequence.
std::string ToEngineText(std::string_view utf8);

// Windows-1250 to UTF-8, with 0xF2 shown as ñ and 0xD2 as Ñ. Bytes the code
// page leaves undefined become '?'.
std::string ToDisplayText(std::string_view engine);

// Windows-1250 to UTF-8 as the code page defines it (0xF2 is ň): a view of the
// stored bytes as they are.
std::string DecodeWindows1250(std::string_view engine);

// Returned by DecodeUtf8 for a malformed sequence.
inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

// Decodes the UTF-8 character at `pos` (which must be inside `text`) and
// advances past it. A malformed sequence (bad lead byte, missing continuation,
// overlong form, surrogate, value above U+10FFFF) yields kInvalidCodePoint and
// advances by one byte only, so that the following bytes are decoded afresh.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Folds the Windows-1250 capitals (ASCII and the code page's accented capitals,
// Ñ/Ň included) to their small letters; every other byte stays as it is.
char FoldLetter(char byte);

}  // namespace vervia
