#include "DBCache.h"

#include "DBData.h"
#include "DBIndex.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <span>
#include <system_error>
#include <type_traits>
#include <vector>

namespace mz {

bool TDBSourceStamp::Of(const std::string& fileName, TDBSourceStamp& stamp)
{
    struct stat info { };
    if (::stat(fileName.c_str(), &info) != 0)
        return false;
    stamp.Size = static_cast<uint64_t>(info.st_size);
    stamp.MTimeSec = info.st_mtim.tv_sec;
    stamp.MTimeNsec = info.st_mtim.tv_nsec;
    stamp.CTimeSec = info.st_ctim.tv_sec;
    stamp.CTimeNsec = info.st_ctim.tv_nsec;
    stamp.Device = static_cast<uint64_t>(info.st_dev);
    stamp.Inode = static_cast<uint64_t>(info.st_ino);
    return true;
}

namespace {

constexpr char Magic[8] = {'M', 'Z', 'W', 'O', 'R', 'D', 'S', '\x1a'};
// Raised with every change of the layout or of what the parse keeps.
constexpr uint32_t Version = 1;
constexpr uint32_t ByteOrder = 0x01020304;
constexpr size_t Lengths = TDBIndex::MaxLength + 1;

enum TSectionId : uint32_t {
    scWords,
    scExpl,
    scAudio,
    scWordAt,
    scExplAt,
    scAudioAt,
    scScores,
    scRegs,
    scLookup,
    scSlots,
    scGroupIds,     // every length group's records, the groups one after another
    scGroupLetters, // likewise their letters
    scGroupTables,  // 256 entries a letter position, for every group with records
    scGroupPools,   // the groups' bit sets
    SectionCount
};

struct TSection {
    uint64_t Offset = 0;
    uint64_t Size = 0; // bytes
};

struct THeader {
    char Magic[8];
    uint32_t Version;
    uint32_t ByteOrder;
    uint64_t Checksum; // of every byte after this field
    uint64_t FileSize;
    TDBSourceStamp Source;
    uint32_t Records;
    int32_t Edition;
    int32_t SkippedWords;
    int32_t RefusedSounds;
    int32_t MinLen;
    int32_t MaxLen;
    uint32_t Duplicates;
    uint32_t Reserved;
    TSection Sections[SectionCount];
    uint32_t GroupSize[Lengths]; // records of each length
    uint32_t GroupSets[Lengths]; // bit sets of each length group
};

// The layout docs/formats.md describes.
static_assert(std::is_trivially_copyable_v<THeader> && sizeof(THeader) == 2392);
static_assert(offsetof(THeader, Records) == 88 && offsetof(THeader, Sections) == 120
              && offsetof(THeader, GroupSize) == 344 && offsetof(THeader, GroupSets) == 1368);
constexpr size_t Checked = offsetof(THeader, Checksum) + sizeof(uint64_t);

uint64_t Load64(const unsigned char* p)
{
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

uint64_t Mix(uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    return h ^ (h >> 33);
}

// A checksum of 64-bit words in eight independent lanes (word i goes to lane
// i % 8), so that the multiplications overlap; a lane's step is a bijection
// of its state for every word, so one changed word always changes its lane's
// result. Bytes may come in pieces of any length; the whole is a multiple of 8.
class TChecksum {
public:
    TChecksum()
    {
        for (size_t k = 0; k < 8; ++k)
            Lane[k] = K * (k + 1);
    }
    void Add(const void* bytes, size_t size)
    {
        const auto* p = static_cast<const unsigned char*>(bytes);
        while (size > 0) {
            if (Carried == 0 && Words % 8 == 0 && size >= 64) {
                for (; size >= 64; p += 64, size -= 64, Words += 8)
                    for (size_t k = 0; k < 8; ++k)
                        Lane[k] = Step(Lane[k], Load64(p + 8 * k));
                continue;
            }
            Carry[Carried++] = *p++;
            --size;
            if (Carried == 8) {
                Lane[Words % 8] = Step(Lane[Words % 8], Load64(Carry));
                ++Words;
                Carried = 0;
            }
        }
    }
    uint64_t Value() const
    {
        uint64_t h = Words * 8;
        for (const uint64_t l : Lane)
            h = Mix(h ^ Mix(l));
        return h;
    }

private:
    static constexpr uint64_t K = 0x9e3779b97f4a7c15ull;
    static uint64_t Step(uint64_t lane, uint64_t word) { return std::rotl((lane ^ word) * K, 29); }
    uint64_t Lane[8];
    uint64_t Words = 0;
    unsigned char Carry[8] = {};
    size_t Carried = 0;
};

uint64_t Checksum(const unsigned char* p, size_t size)
{
    TChecksum sum;
    sum.Add(p, size);
    return sum.Value();
}

uint64_t PathHash(std::string_view text)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

// A read-only mapping of a whole file, unmapped with its last owner.
struct TMapping {
    void* Address = MAP_FAILED;
    size_t Size = 0;
    TMapping() = default;
    TMapping(const TMapping&) = delete;
    TMapping& operator=(const TMapping&) = delete;
    ~TMapping()
    {
        if (Address != MAP_FAILED)
            ::munmap(Address, Size);
    }
    const unsigned char* Bytes() const { return static_cast<const unsigned char*>(Address); }
};

// The cache of a database is a few times its size (the index's bit sets grow
// with the letters) plus at most 32 MB of letter tables (1 KB for each letter
// position of each word length); a file far larger is not mapped at all.
uint64_t LargestCacheOf(const TDBSourceStamp& source)
{
    return sizeof(THeader) + (uint64_t{64} << 20) + 32 * source.Size;
}

std::shared_ptr<const TMapping> MapFile(const std::string& fileName, uint64_t largest)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info { };
    auto mapping = std::make_shared<TMapping>();
    // Only a plain file of this user's: a file someone else put there is not read.
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
        && static_cast<uint64_t>(info.st_size) >= sizeof(THeader) && static_cast<uint64_t>(info.st_size) <= largest) {
        mapping->Size = static_cast<size_t>(info.st_size);
        mapping->Address = ::mmap(nullptr, mapping->Size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    }
    ::close(fd);
    return mapping->Address == MAP_FAILED ? nullptr : mapping;
}

// A section of the mapped file as `count` elements of T, after checking that
// it lies within the file; false otherwise.
template <class T> bool SectionOf(const TMapping& file, const THeader& header, TSectionId id, std::span<const T>& out)
{
    const TSection& s = header.Sections[id];
    if (s.Offset < sizeof(THeader) || s.Offset % 8 != 0 || s.Offset > file.Size || s.Size > file.Size - s.Offset
        || s.Size % sizeof(T) != 0)
        return false;
    out = std::span<const T>(reinterpret_cast<const T*>(file.Bytes() + s.Offset), s.Size / sizeof(T));
    return true;
}

// Offsets of one text's parts: from 0, never decreasing, ending at the text's size.
bool ValidOffsets(std::span<const uint32_t> at, size_t records, size_t textSize)
{
    if (at.size() != records + 1 || at[0] != 0 || at[records] != textSize)
        return false;
    bool falling = false; // without a branch a step, so that the loop runs in vector registers
    for (size_t i = 0; i < records; ++i)
        falling |= at[i] > at[i + 1];
    return !falling;
}

} // namespace

std::string TDBCache::PathFor(const std::string& databaseFile)
{
    std::string dir;
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cacheHome && cacheHome[0] == '/')
        dir = cacheHome;
    else if (home && home[0] == '/')
        dir = std::string(home) + "/.cache";
    else
        return {};
    std::string source = databaseFile;
    if (source.empty() || source[0] != '/') {
        std::error_code error;
        const std::filesystem::path cwd = std::filesystem::current_path(error);
        if (error)
            return {};
        source = cwd.string() + "/" + source;
    }
    static constexpr char hex[] = "0123456789abcdef";
    std::string name = "words-";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += hex[PathHash(source) >> shift & 15];
    return dir + "/mirakolnik/" + name + ".cache";
}

std::shared_ptr<const TDBData> TDBCache::Map(const std::string& cacheFile, const TDBSourceStamp& source)
{
    const std::shared_ptr<const TMapping> file =
        cacheFile.empty() ? nullptr : MapFile(cacheFile, LargestCacheOf(source));
    if (!file)
        return nullptr;
    THeader h;
    std::memcpy(&h, file->Bytes(), sizeof h);
    if (std::memcmp(h.Magic, Magic, sizeof Magic) != 0 || h.Version != Version || h.ByteOrder != ByteOrder
        || h.FileSize != file->Size || file->Size % 8 != 0 || !(h.Source == source)
        || h.Checksum != Checksum(file->Bytes() + Checked, file->Size - Checked))
        return nullptr;

    TDBData::TViews v;
    std::span<const char> words, expl, audio, letters;
    std::span<const uint32_t> lookup, slots, groupIds, tables;
    std::span<const uint64_t> pools;
    if (!SectionOf(*file, h, scWords, words) || !SectionOf(*file, h, scExpl, expl)
        || !SectionOf(*file, h, scAudio, audio) || !SectionOf(*file, h, scWordAt, v.WordAt)
        || !SectionOf(*file, h, scExplAt, v.ExplAt) || !SectionOf(*file, h, scAudioAt, v.AudioAt)
        || !SectionOf(*file, h, scScores, v.Scores) || !SectionOf(*file, h, scRegs, v.Regs)
        || !SectionOf(*file, h, scLookup, lookup) || !SectionOf(*file, h, scSlots, slots)
        || !SectionOf(*file, h, scGroupIds, groupIds) || !SectionOf(*file, h, scGroupLetters, letters)
        || !SectionOf(*file, h, scGroupTables, tables) || !SectionOf(*file, h, scGroupPools, pools))
        return nullptr;
    v.Words = std::string_view(words.data(), words.size());
    v.Expl = std::string_view(expl.data(), expl.size());
    v.Audio = std::string_view(audio.data(), audio.size());

    const size_t n = h.Records;
    if (!ValidOffsets(v.WordAt, n, v.Words.size()) || !ValidOffsets(v.ExplAt, n, v.Expl.size())
        || !ValidOffsets(v.AudioAt, n, v.Audio.size()) || v.Scores.size() != n || v.Regs.size() != n
        || slots.size() != n)
        return nullptr;
    bool unknown = false;
    for (size_t id = 0; id < n; ++id)
        unknown |= (v.Scores[id] < -1) | (v.Scores[id] > 100) | (v.Regs[id] > rgDrugs);
    if (unknown)
        return nullptr;
    // Every record once in the lookup table, with free places left so that
    // every probe ends.
    if (lookup.size() < 16 || !std::has_single_bit(lookup.size()) || lookup.size() <= n)
        return nullptr;
    // Half the places are free, in no pattern: counted without a branch.
    std::vector<uint8_t> listed(n + 1, 0);
    size_t entries = 0;
    bool beyondRecords = false;
    for (const uint32_t entry : lookup) {
        beyondRecords |= entry > n;
        ++listed[entry > n ? 0 : entry];
        entries += entry != 0 ? 1 : 0;
    }
    // n entries and each record listed (a multiple of 256 times plus) once: each exactly once.
    bool once = entries == n && !beyondRecords;
    for (size_t id = 1; id <= n; ++id)
        once &= listed[id] == 1;
    if (!once)
        return nullptr;

    // The length groups: every record of a length that the index holds in
    // its group, in ascending order, and its slot pointing back at it.
    auto index = std::unique_ptr<TDBIndex>(new TDBIndex());
    index->Groups.resize(Lengths);
    index->Slots = slots;
    size_t idAt = 0, letterAt = 0, tableAt = 0, poolAt = 0;
    for (size_t len = 0; len < Lengths; ++len) {
        TDBIndex::TGroup& g = index->Groups[len];
        const size_t count = h.GroupSize[len];
        const size_t sets = h.GroupSets[len];
        if (count == 0) {
            if (sets != 0)
                return nullptr;
            continue;
        }
        TDBIndex::SetBlocks(g, count);
        const size_t stride = g.Stride();
        if (count > groupIds.size() - idAt || count * len > letters.size() - letterAt
            || len * 256 > tables.size() - tableAt || sets * stride > pools.size() - poolAt)
            return nullptr;
        g.Ids = groupIds.subspan(idAt, count);
        g.Letters = std::string_view(letters.data() + letterAt, count * len);
        g.Table = tables.data() + tableAt;
        g.Pool = pools.data() + poolAt;
        g.Sets = sets;
        idAt += count;
        letterAt += count * len;
        tableAt += len * 256;
        poolAt += sets * stride;
        for (size_t slot = 0; slot < count; ++slot) {
            const uint32_t id = g.Ids[slot];
            if (id >= n || (slot > 0 && id <= g.Ids[slot - 1]) || v.WordAt[id + 1] - v.WordAt[id] != len)
                return nullptr;
        }
        bool beyond = false;
        for (size_t e = 0; e < len * 256; ++e)
            beyond |= g.Table[e] > sets;
        if (beyond)
            return nullptr;
    }
    if (idAt != groupIds.size() || letterAt != letters.size() || tableAt != tables.size() || poolAt != pools.size())
        return nullptr;
    for (size_t id = 0; id < n; ++id) {
        const size_t len = v.WordAt[id + 1] - v.WordAt[id];
        if (len < Lengths && (slots[id] >= h.GroupSize[len] || index->Groups[len].Ids[slots[id]] != id))
            return nullptr;
    }

    auto data = std::make_shared<TDBData>();
    data->V = v;
    data->Edition = h.Edition;
    data->SkippedWords = h.SkippedWords;
    data->RefusedSounds = h.RefusedSounds;
    data->MinLen = h.MinLen;
    data->MaxLen = h.MaxLen;
    data->LookupView = lookup;
    data->Duplicates = h.Duplicates != 0;
    std::call_once(data->LookupBuilt, [] {});
    data->IndexPtr = std::move(index);
    std::call_once(data->IndexBuilt, [] {});
    data->Mapping = file;
    return data;
}

void TDBCache::Seal(std::string& image)
{
    if (image.size() < sizeof(THeader) || image.size() % 8 != 0)
        return;
    const uint64_t sum =
        Checksum(reinterpret_cast<const unsigned char*>(image.data()) + Checked, image.size() - Checked);
    std::memcpy(image.data() + offsetof(THeader, Checksum), &sum, sizeof sum);
}

bool TDBCache::Write(const std::string& cacheFile, const TDBSourceStamp& source, const TDBData& data)
{
    if (cacheFile.empty())
        return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(cacheFile).parent_path(), error);
    if (error)
        return false;
    // A name of its own for every writer, so that two processes writing at
    // once each rename a whole file.
    static std::atomic<uint32_t> serial{0};
    const std::string temporary = cacheFile + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;

    const bool duplicates = data.HasDuplicates();
    const TDBIndex& index = data.Index();
    THeader h{};
    std::memcpy(h.Magic, Magic, sizeof Magic);
    h.Version = Version;
    h.ByteOrder = ByteOrder;
    h.Source = source;
    h.Records = static_cast<uint32_t>(data.Count());
    h.Edition = data.Edition;
    h.SkippedWords = data.SkippedWords;
    h.RefusedSounds = data.RefusedSounds;
    h.MinLen = data.MinLen;
    h.MaxLen = data.MaxLen;
    h.Duplicates = duplicates ? 1 : 0;
    for (size_t len = 0; len < Lengths; ++len) {
        h.GroupSize[len] = static_cast<uint32_t>(index.Groups[len].Ids.size());
        h.GroupSets[len] = static_cast<uint32_t>(index.Groups[len].Sets);
    }

    // The file is written from the buffers as they are, piece after piece,
    // each section padded with zeros to a multiple of 8 bytes.
    struct TPiece {
        const void* Bytes;
        size_t Size;
    };
    static constexpr char zeros[8] = {};
    std::vector<TPiece> pieces{{&h, sizeof h}};
    uint64_t at = sizeof h;
    auto add = [&](const void* bytes, size_t size) {
        if (size > 0)
            pieces.push_back(TPiece{bytes, size});
        at += size;
    };
    auto pad = [&] { add(zeros, (8 - at % 8) % 8); };
    auto section = [&](TSectionId id, const void* bytes, size_t size) {
        h.Sections[id] = TSection{at, size};
        add(bytes, size);
        pad();
    };
    auto spanSection = [&](TSectionId id, auto span) { section(id, span.data(), span.size_bytes()); };
    const TDBData::TViews& v = data.V;
    section(scWords, v.Words.data(), v.Words.size());
    section(scExpl, v.Expl.data(), v.Expl.size());
    section(scAudio, v.Audio.data(), v.Audio.size());
    spanSection(scWordAt, v.WordAt);
    spanSection(scExplAt, v.ExplAt);
    spanSection(scAudioAt, v.AudioAt);
    spanSection(scScores, v.Scores);
    spanSection(scRegs, v.Regs);
    spanSection(scLookup, data.LookupView);
    spanSection(scSlots, index.Slots);
    // The groups' parts go one after another into their sections.
    auto groupSection = [&](TSectionId id, auto part) {
        const uint64_t start = at;
        for (size_t len = 0; len < Lengths; ++len)
            if (!index.Groups[len].Ids.empty()) {
                const auto span = part(index.Groups[len], len);
                add(span.data(), span.size_bytes());
            }
        h.Sections[id] = TSection{start, at - start};
        pad();
    };
    groupSection(scGroupIds, [](const TDBIndex::TGroup& g, size_t) { return g.Ids; });
    groupSection(scGroupLetters, [](const TDBIndex::TGroup& g, size_t) { return std::span<const char>(g.Letters); });
    groupSection(scGroupTables,
                 [](const TDBIndex::TGroup& g, size_t len) { return std::span<const uint32_t>(g.Table, len * 256); });
    groupSection(scGroupPools, [](const TDBIndex::TGroup& g, size_t) {
        return std::span<const uint64_t>(g.Pool, g.Sets * g.Stride());
    });
    h.FileSize = at;
    TChecksum sum;
    for (const TPiece& piece : pieces) {
        const size_t skip = piece.Bytes == &h ? Checked : 0;
        sum.Add(static_cast<const char*>(piece.Bytes) + skip, piece.Size - skip);
    }
    h.Checksum = sum.Value();

    bool written = true;
    for (const TPiece& piece : pieces) {
        for (size_t done = 0; written && done < piece.Size;) {
            const ssize_t n = ::write(fd, static_cast<const char*>(piece.Bytes) + done, piece.Size - done);
            written = n > 0;
            done += written ? static_cast<size_t>(n) : 0;
        }
    }
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), cacheFile.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace mz
