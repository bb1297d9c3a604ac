#pragma once
// Ordering rules of the window's two verb lists: the history of the verb box
// and the list of irregular verbs. Both sort with a locale-aware collation.

#include <QCollator>
#include <QStringList>

namespace vervia {

// The collation both lists use (Czech, letter case ignored).
QCollator VerbCollator();

// Where `text` belongs in the sorted `history`, or -1 when the history already
// holds it (exact match ignoring letter case).
int HistoryInsertPosition(const QStringList& history, const QString& text,
                          const QCollator& collator);

// The infinitives of the irregular-verb table as shown to the user (ñ instead
// of the stored ň), sorted by `collator`.
QStringList IrregularInfinitivesForDisplay(const QCollator& collator);

}  // namespace vervia
