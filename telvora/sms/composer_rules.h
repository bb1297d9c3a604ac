#pragma once
// The rules of the message editor: which typed characters it takes, what
// pasted text becomes, how much fits, and what its counter shows. Lengths
// are septets of the GSM alphabet, so what the editor accepts always fits
// the messages it is sent in.

#include <QString>
#include <QStringView>

namespace telvora::sms {

// Key filter: Enter is dropped; printable characters are kept when the GSM
// alphabet carries them; other control characters (Backspace ...) are kept.
bool KeepTypedCharacter(QChar c);

// Pasted or command-line text: line breaks become blanks and a character the
// alphabet cannot carry becomes "?".
QString CarriableText(QStringView text);

// Septet limit of the editor: 160, or 1413 in long mode.
int EditorLimit(bool longMode);

// True when `text` fits the editor (in long mode also at most 9 parts).
bool FitsEditor(QStringView text, bool longMode);

// `text` after an edit that put `added` characters at `position`: the added
// characters that do not fit are taken out again (from their end), so a
// character typed into a full editor is refused. When even that is not
// enough, the end of the text is cut.
QString FitEdit(const QString& text, int position, int added, bool longMode);

// The longest start of `text` that fits `septets`.
QString CutToSeptets(const QString& text, int septets);

// What the counter shows.
struct CounterView {
    int value = 0;          // remaining septets, or the number of messages in long mode
    int captionText = 23;   // text 23 "Zbývá" or, in long mode, 25 "Počet zpráv"
    bool showChars = true;  // text 24 "znaků." after the value (not in long mode)
    bool canSend = false;   // the send button: text not empty
};
CounterView EditorCounter(QStringView text, bool longMode);

// The reply prepared from a received text: "Re: " + its first 150
// characters (fewer when they take more than 150 septets) + " ...".
QString ReplyText(const QString& receivedText);

}  // namespace telvora::sms
