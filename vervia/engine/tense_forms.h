#pragma once
// The tenses the irregular-verb table does not store: the imperfect, the
// present subjunctive and the two imperfect subjunctives. They get field
// numbers after the table's 32 so that the conjugator addresses every simple
// form the same way. A table verb's forms in them come from rules over its
// stored forms, or from the tense-form data where Spanish breaks those rules.
// Text is Windows-1250 bytes; not part of the public interface.

#include <string>
#include <string_view>

namespace vervia::detail {

inline constexpr int kFieldImperfect = 32;      // persons 1..6 in fields 32..37
inline constexpr int kFieldSubjunctive = 38;    // persons 1..6 in fields 38..43
inline constexpr int kFieldSubjunctiveRa = 44;  // persons 1..6 in fields 44..49
inline constexpr int kFieldSubjunctiveSe = 50;  // persons 1..6 in fields 50..55
inline constexpr int kPlanFieldCount = 56;

inline bool IsImperfectSubjunctiveField(int field) {
    return field >= kFieldSubjunctiveRa && field < kPlanFieldCount;
}

// Appends the imperfect subjunctive of field 44..55 built on the ellos
// preterite: tuvieron -> tuviera, tuviéramos, tuviese. Appends nothing when
// the preterite does not end in -ron.
void AppendImperfectSubjunctive(std::string& out, std::string_view preteriteEllos, int field);

// The form of table record `record` in field 32..55, built from the stored
// image of the table.
std::string_view TableTenseForm(int record, int field);

}  // namespace vervia::detail
