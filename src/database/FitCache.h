#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

// Answers of "does some word fit this pattern around this anchor", kept by
// pattern and anchor. The anchor is named by where it first stands in the
// pattern and its length, which tell it apart from every other anchor of the
// pattern. An open-addressing table of hashes whose patterns live in one
// string; it is emptied when it holds MaxEntries answers.
class TFitCache {
public:
    struct TAnswer {
        int64_t Witness = -1;     // a record that fits, or -1
        uint64_t Activations = 0; // of the active set when nothing fitted
    };
    static constexpr size_t MaxEntries = 1 << 16;
    // Patterns longer than this are never kept.
    static constexpr size_t MaxKeyLength = UINT16_MAX;

    // The answer kept for the key, or nullptr.
    TAnswer* Find(std::string_view pattern, size_t anchorAt, size_t anchorLength);
    // Keeps the answer for a key that Find did not find.
    void Keep(std::string_view pattern, size_t anchorAt, size_t anchorLength, const TAnswer& answer);
    void Clear();
    size_t Size() const { return Count; }

private:
    struct TSlot {
        uint64_t Hash = 0; // 0: empty
        uint32_t Key = 0;  // the pattern's start in Patterns
        uint16_t PatternLength = 0;
        uint16_t AnchorAt = 0;
        uint32_t AnchorLength = 0;
        TAnswer Answer;
    };
    static uint64_t HashOf(std::string_view pattern, size_t anchorAt, size_t anchorLength);
    bool Holds(const TSlot& slot, uint64_t hash, std::string_view pattern, size_t anchorAt, size_t anchorLength) const;
    void Grow();

    std::vector<TSlot> Slots; // a power of two of them, at most half in use
    std::string Patterns;
    size_t Count = 0;
};

} // namespace mz
