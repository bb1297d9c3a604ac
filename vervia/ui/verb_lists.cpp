#include "vervia/ui/verb_lists.h"

#include <algorithm>

#include "vervia/engine/irregular_verb_table.h"
#include "vervia/engine/text_encoding.h"

namespace vervia {

QCollator VerbCollator() {
    QCollator collator{QLocale(QStringLiteral("cs_CZ"))};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int HistoryInsertPosition(const QStringList& history, const QString& text,
                          const QCollator& collator) {
    const bool present = std::any_of(history.begin(), history.end(), [&](const QString& item) {
        return item.compare(text, Qt::CaseInsensitive) == 0;
    });
    if (present) {
        return -1;
    }
    // The history is kept sorted, so the first entry that sorts after the
    // new text marks its place.
    const auto place = std::upper_bound(
        history.begin(), history.end(), text,
        [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return int(place - history.begin());
}

QStringList IrregularInfinitivesForDisplay(const QCollator& collator) {
    QStringList captions;
    captions.reserve(kVerbCount);
    for (int record = 0; record < kVerbCount; ++record) {
        captions << QString::fromStdString(ToDisplayText(StoredField(record, kFieldInfinitive)));
    }
    std::sort(captions.begin(), captions.end(),
              [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return captions;
}

}  // namespace vervia
