#pragma once
// The interface texts of telvora in Czech and English. Text number n exists
// in both languages; its string id is Language * 1000 + n.

#include <QString>

namespace telvora {

enum class Language { Czech = 1, English = 2 };

inline constexpr int kFirstTextNumber = 1;
// Texts 1..79 are the program's original texts; 80..83 report the failures of
// the bounded phone link (time-out, error code, a command still running);
// 84..99 are the shell's. Texts 1..kLastTextNumber have no gaps; the phone's
// functions add theirs in blocks above 99 (short messages 100..129, phone book
// 130..169).
inline constexpr int kLastTextNumber = 92;

// Numbers of the texts added for the link's failures.
inline constexpr int kTextPhoneTimedOut = 80;
inline constexpr int kTextPhoneErrorCode = 81;  // holds "%1" for the code
inline constexpr int kTextCommandRunning = 82;
inline constexpr int kTextPhoneError = 83;
inline constexpr int kTextAlreadyRunning = 84;
inline constexpr int kTextSettingsNotSaved = 85;  // holds "%1" for the file
inline constexpr int kTextCommandCancelled = 86;
inline constexpr int kTextCancelButton = 87;
inline constexpr int kTextConnectedDemo = 88;
inline constexpr int kTextDemoPhoneNotice = 89;
inline constexpr int kTextOnlySimulated = 90;
inline constexpr int kTextConfPort = 91;
inline constexpr int kTextConfLanguage = 92;

// Text number `n` in `language`; empty for an unknown number.
QString UiText(Language language, int n);
// Text by string id (1001..1083 Czech, 2001..2083 English); empty when unknown.
QString UiTextById(int id);

// A stored "langver" value as a language: "2" is English, anything else Czech.
Language LanguageFromNumber(int value);

}  // namespace telvora
