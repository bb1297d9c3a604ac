#pragma once
// The rules of the number field: what may be typed into it and what the
// command line accepts as a number to dial.

#include <QStringView>

namespace telvora {

// True when `typed`, the text of one key press, may enter the number field:
// control keys (below 32, such as Backspace) and the digits 0 to 9. Plus,
// star, hash, letters and blanks are refused.
bool IsNumberKeyAccepted(QStringView typed);

// The Dial button is enabled exactly while the field is not empty.
inline bool IsDialEnabled(QStringView number) {
    return !number.isEmpty();
}

// A number the command line dials: digits, optionally after one leading
// "+" (numbers taken from messages keep it), surrounding blanks ignored.
bool IsDialableNumber(QStringView number);

}  // namespace telvora
