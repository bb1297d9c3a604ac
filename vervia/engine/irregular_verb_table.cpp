#include "irregular_verb_table.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "verb_store.h"

namespace vervia {
namespace {

// The working copy is laid out for the linear scans. Every lookup compares the
// word with all 212 infinitives, so the infinitives are stored column-wise:
// byte i of every infinitive lies in one contiguous row, beside a row of
// lengths. A scan then compares one row per character of the word, each a
// plain byte loop over all records that the compiler turns into vector code,
// instead of one short string comparison per record.
constexpr int kFieldCapacity = kFieldSize - 1;  // 25 characters
constexpr int kPaddedCount = 224;               // records, rounded up to whole vectors
constexpr std::uint8_t kNoLength = 0xFF;        // length of unused or unloaded slots
constexpr std::uint8_t kTooLong = 0xFE;         // a word longer than any field

struct WorkingCopy {
    alignas(64) std::uint8_t lengths[kPaddedCount];
    alignas(64) std::uint8_t columns[kFieldCapacity][kPaddedCount] = {};
    // Forms as stored (length byte, characters), indexed [record][field].
    unsigned char fields[kVerbCount][kFieldCount][kFieldSize] = {};

    WorkingCopy() { std::fill(std::begin(lengths), std::end(lengths), kNoLength); }
};

WorkingCopy g_working;

std::size_t StoredLength(const unsigned char* field) {
    return std::min<std::size_t>(field[0], kFieldCapacity);
}

// The last record whose infinitive equals `word` byte for byte, or -1. Every
// record is compared and a later match replaces an earlier one.
int LastMatch(std::string_view word) {
    alignas(64) std::uint8_t equal[kPaddedCount];
    const std::uint8_t wanted =
        word.size() > std::size_t(kFieldCapacity) ? kTooLong : std::uint8_t(word.size());
    for (int v = 0; v < kPaddedCount; ++v) {
        equal[v] = g_working.lengths[v] == wanted;
    }
    // With equal lengths the bytes past the word's end are zero on both sides.
    const std::size_t compared = std::min<std::size_t>(word.size(), kFieldCapacity);
    for (std::size_t i = 0; i < compared; ++i) {
        const auto c = static_cast<std::uint8_t>(word[i]);
        const std::uint8_t* column = g_working.columns[i];
        for (int v = 0; v < kPaddedCount; ++v) {
            equal[v] &= column[v] == c;
        }
    }
    int found = -1;
    for (int v = 0; v < kPaddedCount; v += 8) {
        std::uint64_t block;
        std::memcpy(&block, equal + v, sizeof block);
        if (block != 0) {
            // The highest flagged byte of the block is its last match.
            found = v + (63 - std::countl_zero(block)) / 8;
        }
    }
    return found;
}

}  // namespace

std::string_view StoredField(int record, int field) {
    if (record < 0 || record >= kVerbCount || field < 0 || field >= kFieldCount) {
        return {};
    }
    const unsigned char* bytes = IrregularVerbTable.data() + std::size_t(record) * kRecordSize +
                                 std::size_t(field) * kFieldSize;
    return {reinterpret_cast<const char*>(bytes + 1), StoredLength(bytes)};
}

void LoadIrregularVerbs() {
    // A running counter over all 6784 fields gives record and field.
    for (int counter = 0; counter < kVerbCount * kFieldCount; ++counter) {
        const int record = counter / kFieldCount;
        const int field = counter % kFieldCount;
        const unsigned char* source = IrregularVerbTable.data() + std::size_t(counter) * kFieldSize;
        std::memcpy(g_working.fields[record][field], source, kFieldSize);
        if (field == kFieldInfinitive) {
            const std::size_t length = StoredLength(source);
            for (int i = 0; i < kFieldCapacity; ++i) {
                g_working.columns[i][record] = std::size_t(i) < length ? source[1 + i] : 0;
            }
            g_working.lengths[record] = static_cast<std::uint8_t>(length);
        }
    }
}

int IsRegularVerb(std::string_view word) {
    // Fold only the bytes a stored infinitive can hold; a longer word matches
    // nothing anyway.
    char folded[kFieldCapacity];
    const std::size_t n = std::min<std::size_t>(word.size(), kFieldCapacity);
    for (std::size_t i = 0; i < n; ++i) {
        folded[i] = detail::FoldLower(word[i]);
    }
    const std::string_view key =
        word.size() > std::size_t(kFieldCapacity) ? word : std::string_view(folded, n);
    return LastMatch(key) < 0 ? 1 : 0;
}

namespace detail {

int LastMatchingRecord(std::string_view folded) {
    return LastMatch(folded);
}

std::string_view WorkingField(int record, int field) {
    const unsigned char* bytes = g_working.fields[record][field];
    return {reinterpret_cast<const char*>(bytes + 1), StoredLength(bytes)};
}

}  // namespace detail
}  // namespace vervia
