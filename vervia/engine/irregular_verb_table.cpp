#include "irregular_verb_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "verb_store.h"

namespace vervia {
namespace {

// The working copy is laid out for the linear scans: every lookup compares the
// word with all 212 infinitives, so the infinitives sit in one contiguous
// array of zero-padded fixed-width slots with their lengths beside them, and a
// comparison is a length check plus one fixed-size memcmp.
constexpr int kFieldCapacity = kFieldSize - 1;  // 25 characters
constexpr int kSlotSize = 32;                   // a field's characters, zero padded
constexpr std::uint16_t kNotLoaded = 0xFFFF;    // length no word can have
constexpr std::uint16_t kTooLong = 0xFFFE;      // a word longer than any field

struct WorkingCopy {
    alignas(64) char infinitives[kVerbCount][kSlotSize] = {};
    std::uint16_t infinitiveLengths[kVerbCount];
    // Forms as stored (length byte, characters), indexed [record][field].
    unsigned char fields[kVerbCount][kFieldCount][kFieldSize] = {};

    WorkingCopy() {
        std::fill(std::begin(infinitiveLengths), std::end(infinitiveLengths), kNotLoaded);
    }
};

WorkingCopy g_working;

std::size_t StoredLength(const unsigned char* field) {
    return std::min<std::size_t>(field[0], kFieldCapacity);
}

// The last record whose infinitive equals the first `length` bytes of
// `padded` (zero padded to the slot size). Every record is visited and a
// later match replaces an earlier one.
int LastMatch(const char (&padded)[kSlotSize], std::size_t length) {
    const std::uint16_t wanted = length > kFieldCapacity ? kTooLong : std::uint16_t(length);
    int found = -1;
    for (int v = 0; v < kVerbCount; ++v) {
        const bool equal = g_working.infinitiveLengths[v] == wanted &&
                           std::memcmp(g_working.infinitives[v], padded, kSlotSize) == 0;
        found = equal ? v : found;
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
            std::memset(g_working.infinitives[record], 0, kSlotSize);
            std::memcpy(g_working.infinitives[record], source + 1, length);
            g_working.infinitiveLengths[record] = static_cast<std::uint16_t>(length);
        }
    }
}

int IsRegularVerb(std::string_view word) {
    char padded[kSlotSize] = {};
    const std::size_t n = std::min<std::size_t>(word.size(), kSlotSize);
    for (std::size_t i = 0; i < n; ++i) {
        padded[i] = detail::FoldLower(word[i]);
    }
    return LastMatch(padded, word.size()) < 0 ? 1 : 0;
}

namespace detail {

int LastMatchingRecord(std::string_view folded) {
    char padded[kSlotSize] = {};
    std::memcpy(padded, folded.data(), std::min<std::size_t>(folded.size(), kSlotSize));
    return LastMatch(padded, folded.size());
}

std::string_view WorkingField(int record, int field) {
    const unsigned char* bytes = g_working.fields[record][field];
    return {reinterpret_cast<const char*>(bytes + 1), StoredLength(bytes)};
}

}  // namespace detail
}  // namespace vervia
