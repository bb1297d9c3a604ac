#pragma once
// The built-in table of irregular Spanish verbs and its working copy.
//
// The stored table is a constant byte image generated at build time from the
// reviewable data files in data/: 212 records of 832 bytes, each record 32
// length-prefixed fields of 26 bytes, text in Windows-1250 with ň (0xF2)
// standing for the Spanish ñ. LoadIrregularVerbs() copies it into the working
// copy that every lookup reads; it must run once before any other call.
// Single-threaded: the engine keeps module state.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vervia {

inline constexpr int kVerbCount = 212;
inline constexpr int kFieldCount = 32;
inline constexpr int kFieldSize = 26;
inline constexpr int kRecordSize = kFieldCount * kFieldSize;  // 832

// Field numbers within a record.
enum Field : int {
    kFieldInfinitive = 0,
    kFieldParticiple = 1,
    kFieldGerund = 2,
    kFieldImperative = 3,   // persons 2..6 in fields 3..7
    kFieldPreterite = 8,    // persons 1..6 in fields 8..13
    kFieldPresent = 14,     // persons 1..6 in fields 14..19
    kFieldFuture = 20,      // persons 1..6 in fields 20..25
    kFieldConditional = 26  // persons 1..6 in fields 26..31
};

// The stored image, byte for byte.
extern const std::array<unsigned char, std::size_t(kVerbCount) * kRecordSize> IrregularVerbTable;

// Field `field` (0..31) of record `record` (0..211) of the stored image.
std::string_view StoredField(int record, int field);

void LoadIrregularVerbs();

// 1 when `word` (folded to lower case, ASCII letters only, otherwise byte-exact)
// is none of the 212 infinitives, 0 when it is one. Visits every record.
int IsRegularVerb(std::string_view word);

}  // namespace vervia
