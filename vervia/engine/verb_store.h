#pragma once
// Read access to the working copy of the irregular-verb table for the
// conjugator. Not part of the public interface.

#include <string_view>

namespace vervia::detail {

// Folds ASCII A-Z to a-z; every other byte stays as it is.
inline char FoldLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Index (0..211) of the last record whose infinitive equals `folded` byte for
// byte, or -1. Visits all records.
int LastMatchingRecord(std::string_view folded);

// The working copy of field `field` of record `record`.
std::string_view WorkingField(int record, int field);

}  // namespace vervia::detail
