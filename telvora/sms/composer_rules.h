#pragma once
// The rules of the message editor: which typed characters it takes and how
// much fits. What fits is decided by the message plan (message_plan.h): one
// message, or in long mode a concatenated message of at most 10 parts, in
// the encoding the text will be sent in.

#include <QString>
#include <QStringView>

namespace telvora::sms {

// Key filter: Enter is dropped (a line break comes only with pasted text);
// every other character is kept.
bool KeepTypedCharacter(QChar c);

// True when `text` fits the editor.
bool FitsEditor(QStringView text, bool longMode, bool withoutDiacritics);

// `text` after an edit that put `added` characters at `position`: as many
// of the added characters as fit are kept (from their start), so a
// character typed into a full editor is refused. When even that is not
// enough, the end of the text is cut. A surrogate pair is never split.
QString FitEdit(const QString& text, int position, int added, bool longMode,
                bool withoutDiacritics);

// The reply prepared from a received text: "Re: " + its first 150
// characters + " ...".
QString ReplyText(const QString& receivedText);

}  // namespace telvora::sms
