#pragma once
// What the edit dialog's text boxes accept. Key codes are the characters a
// key press types (control keys below 32).

#include <QString>

namespace telvora {

inline constexpr int kEnterKey = 13;

// Name: every control key except Enter (which confirms the dialog), and the
// printable characters, letters with diacritics included. A double quote,
// which neither the file nor the phone can carry, is refused.
bool AcceptNameKey(char32_t code);
// Number: control keys and the digits 0 to 9.
bool AcceptNumberKey(char32_t code);
// The same for a key typed at `position` of `text` (what a selection
// leaves): a "+" is accepted too at the very start of a number that has
// none yet, since international numbers begin with it.
bool AcceptNumberKeyAt(char32_t code, const QString& text, qsizetype position);

// Pasted text, with what the keys would refuse removed (a "+" kept when it
// is the number's first character).
QString FilterNameText(const QString& text);
QString FilterNumberText(const QString& text);

inline constexpr int kMaxNameLength = 50;
inline constexpr int kMaxNumberLength = 100;

}  // namespace telvora
