#include "DBData.h"

#include "core/Cp1250.h"
#include "core/SoundNames.h"

#include <algorithm>
#include <bit>

namespace mz {

TDBData::TDBData() : WordAt{0}, ExplAt{0}, AudioAt{0}
{
    Seal();
}

void TDBData::Seal()
{
    V = TViews{Words, Expl, Audio, WordAt, ExplAt, AudioAt, Scores, Regs};
}

namespace {

// A score record's text: decimal 0 to 100, no sign, no spaces; -1 for anything else.
int32_t ParseScore(std::string_view text)
{
    if (text.empty() || text.size() > 3)
        return -1;
    int32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value <= 100 ? value : -1;
}

} // namespace

void TDBData::AddRecord(uint8_t kind, std::string_view text, const std::string& fileName)
{
    // A word a grid cell cannot show (a damaged file put NUL, '?' and ',' into
    // crosswords) is skipped with its clues and sound, and counted.
    if (kind == DBRecWord)
        SkippingWord = !IsCellWord(std::string(text));
    if (SkippingWord) {
        SkippedWords += kind == DBRecWord ? 1 : 0;
        return;
    }
    switch (kind) {
    case DBRecWord: {
        const auto len = static_cast<int32_t>(text.size());
        MaxLen = std::max(MaxLen, len);
        MinLen = std::min(MinLen, len);
        Words += text;
        WordAt.push_back(static_cast<uint32_t>(Words.size()));
        ExplAt.push_back(static_cast<uint32_t>(Expl.size()));
        AudioAt.push_back(static_cast<uint32_t>(Audio.size()));
        Scores.push_back(-1);
        Regs.push_back(rgOrdinary);
        break;
    }
    case DBRecExplanation:
        // An explanation or a sound before the first word has no owner: the
        // file is malformed. The latest word's texts end its buffers.
        if (Added() == 0)
            throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
        Expl += text;
        Expl += "\r\n";
        ExplAt.back() = static_cast<uint32_t>(Expl.size());
        break;
    case DBRecAudio:
        if (Added() == 0)
            throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
        Audio.resize(AudioAt[AudioAt.size() - 2]);
        Audio += PlainSoundLines(std::string(text), RefusedSounds);
        AudioAt.back() = static_cast<uint32_t>(Audio.size());
        break;
    case DBRecScore: {
        const int32_t score = ParseScore(text);
        if (Added() == 0 || score < 0)
            throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
        Scores.back() = static_cast<int8_t>(score);
        break;
    }
    case DBRecRegister:
        if (Added() == 0)
            throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
        Regs.back() = RegisterOfRecord(text);
        break;
    case DBRecExcluded:
        // The latest word is left out with everything read of it so far; its
        // records after this one are skipped with it.
        if (Added() == 0)
            throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
        WordAt.pop_back();
        Words.resize(WordAt.back());
        ExplAt.pop_back();
        Expl.resize(ExplAt.back());
        AudioAt.pop_back();
        Audio.resize(AudioAt.back());
        Scores.pop_back();
        Regs.pop_back();
        SkippingWord = true;
        break;
    default:
        break;
    }
}

uint64_t TDBData::Hash(std::string_view word)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : word) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
    }
    return h ^ (h >> 29);
}

void TDBData::BuildLookup() const
{
    const size_t size = std::bit_ceil(std::max<size_t>(16, 2 * Count()));
    Lookup.assign(size, 0);
    const size_t mask = size - 1;
    for (uint32_t id = 0; id < Count(); ++id) {
        const std::string_view word = Word(id);
        size_t at = Hash(word) & mask;
        for (; Lookup[at] != 0; at = (at + 1) & mask)
            Duplicates = Duplicates || Word(Lookup[at] - 1) == word;
        Lookup[at] = id + 1;
    }
    LookupView = Lookup;
}

bool TDBData::HasDuplicates() const
{
    std::call_once(LookupBuilt, [this] { BuildLookup(); });
    return Duplicates;
}

const TDBIndex& TDBData::Index() const
{
    std::call_once(IndexBuilt, [this] { IndexPtr = std::make_unique<TDBIndex>(*this); });
    return *IndexPtr;
}

} // namespace mz
