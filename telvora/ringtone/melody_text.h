#pragma once
// The phone's four user melodies as text: the notation check, reading the
// answer to "AT*ESOM?", the upload command and the texts that report them.

#include <QByteArray>
#include <QString>
#include <array>

#include "telvora/core/ui_texts.h"

namespace telvora {

inline constexpr int kMelodyCount = 4;
inline constexpr int kMaxMelodyLength = 120;
// The characters of the notation, in the order the check tries them.
inline constexpr char kMelodyChars[] = "p#b+cdefgahCDEFGAHB";

enum class MelodyCheck {
    Ok,
    InvalidChar,  // a character outside kMelodyChars
    DoubledSign,  // "##" or "++"
    TooLong,      // more than kMaxMelodyLength characters
};

// Checks a melody with its surrounding blanks already removed. Character by
// character: one outside the notation is InvalidChar; at the first allowed
// one, a "##" or "++" anywhere in the text is DoubledSign. So the first
// character decides: "x##d" is InvalidChar, "d##x" DoubledSign. The length
// is checked last (the window's fields cannot hold more).
MelodyCheck CheckMelody(const QString& melody);

// The melodies of an answer to "AT*ESOM?": the texts between pairs of double
// quotes, in order. Fields the answer does not fill stay empty; `found`
// says how many it filled.
struct MelodyList {
    std::array<QString, kMelodyCount> melodies;
    int found = 0;
};
MelodyList ParseMelodies(const QByteArray& answer);

// AT*ESOM=n,"melody" (without the carriage return).
QByteArray MelodyUploadCommand(int number, const QString& melody);

// "<text 55 or 56> n." for a refused melody; text 60 for one too long.
QString MelodyCheckMessage(Language language, MelodyCheck check, int number);
// "<text 57> n <text 58>": melody n is on the phone.
QString MelodyUploadedMessage(Language language, int number);
// "<text 53> n": the label of melody n.
QString MelodyLabel(Language language, int number);
// The information label: text 59, a line break and text 60.
QString MelodyNotationInfo(Language language);

}  // namespace telvora
