// The word cache: a later load maps what an earlier one parsed, and a cache
// file that is stale, damaged or forged is never believed.
#include "../documents/TestFiles.h"
#include "DBTestUtil.h"

#include "database/DBBuilder.h"
#include "database/DBCache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>

using namespace mz;
using namespace mz::test;

namespace {

const std::vector<TDBWord> Words = {
    {"KOT", {"zwierzę", "mruczy"}, "kot.ogg", 80, rgOrdinary},
    {"OKO", {"narząd wzroku"}, {}, -1, rgOrdinary},
    {"KOT", {"drugi kot"}, {}, 10, rgOrdinary},
    {"DUPA", {"pośladki"}, {}, 50, rgCrude},
    {"AB", {"za krótkie"}, {}, -1, rgOrdinary},
    {"MOTOROWODNIAK", {"długie"}, {}, 5, rgOrdinary},
};

// Everything a composing run reads of a database: every record with its
// chain, texts, score and register, the counters, and indexed answers.
std::vector<std::string> Contents(TDB& db)
{
    std::vector<std::string> out{std::to_string(db.Edition()) + " " + std::to_string(db.WordCount()) + " "
                                 + std::to_string(db.ExcludedCount()) + " " + std::to_string(db.HasDuplicates())};
    for (uint32_t id = 0; id < static_cast<uint32_t>(db.RecordCount()); ++id)
        out.push_back(std::string(db.Word(id)) + "|" + std::string(db.ExplLines(id)) + "|"
                      + std::string(db.AudioLines(id)) + "|" + std::to_string(db.Score(id)) + "|"
                      + std::to_string(db.ListOf(id)));
    for (const auto& [pattern, anchor] : {std::pair{"..O..", "O"}, {"K....", "K"}, {"....", ""}, {"..T", "T"}}) {
        TPWordLists list;
        db.FindCandidates(Pat(pattern), anchor, list);
        for (const std::string& found : Described(list))
            out.push_back(std::string(pattern) + " " + found);
        out.push_back(std::to_string(db.AnyWordFits(Pat(pattern), anchor)));
    }
    db.MarkUsed("KOT");
    const TDBRec* used = db.FindRecord("KOT");
    out.push_back(used ? std::to_string(used->Score) : "-");
    return out;
}

class DBCache : public TTempDirTest {
protected:
    // A database and the name of its cache file, in a directory of their own.
    void Prepare(const std::string& dir)
    {
        Source = PathOf(dir + "/baza.hk");
        Cache = PathOf(dir + "/cache/words.cache");
        std::filesystem::create_directories(PathOf(dir));
        WriteDBFile(Source, 102, Words);
    }
    std::vector<std::string> Parsed(const TDBLoadFilter& filter)
    {
        TDB db;
        db.Load(Source, filter);
        return Contents(db);
    }
    std::string Source;
    std::string Cache;
};

// Bytes of the header (docs/formats.md): the version, the record count, the
// first section's offset (the words), the second section's size (the explanations), the count of 3-letter words.
constexpr size_t VersionAt = 8, RecordsAt = 88, FirstOffsetAt = 120, SecondSizeAt = 144, ThreeLetterWordsAt = 356;

void Poke(std::string& bytes, size_t at, uint32_t value)
{
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

} // namespace

TEST_F(DBCache, AParsedDatabaseIsWrittenThenMappedWithTheSameWords)
{
    Prepare("a");
    const TDBLoadFilter filter{3, 12, 20};
    TDB first;
    EXPECT_FALSE(first.LoadCached(Source, Cache, filter));
    ASSERT_TRUE(std::filesystem::is_regular_file(Cache));
    TDB second;
    EXPECT_TRUE(second.LoadCached(Source, Cache, filter));
    const auto contents = Contents(second);
    EXPECT_EQ(contents, Parsed(filter));
    EXPECT_EQ(Contents(first), contents);
    EXPECT_EQ(contents[1], "KOT|zwierzę\r\nmruczy\r\n|kot.ogg\r\n|80|0");

    // The user's cache directory names the file; nothing else is left there.
    const char* outer = std::getenv("XDG_CACHE_HOME");
    const std::string kept = outer ? outer : "";
    ASSERT_EQ(::setenv("XDG_CACHE_HOME", PathOf("xdg").c_str(), 1), 0);
    const std::string own = TDBCache::PathFor(Source);
    EXPECT_EQ(own.rfind(PathOf("xdg/mirakolnik/words-"), 0), 0u) << own;
    TDB shared;
    shared.LoadShared(Source, filter);
    EXPECT_EQ(Contents(shared), contents);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf("xdg/mirakolnik")))
        files += entry.path().string() == own ? 1 : 100;
    EXPECT_EQ(files, 1u);
    if (outer)
        ::setenv("XDG_CACHE_HOME", kept.c_str(), 1);
    else
        ::unsetenv("XDG_CACHE_HOME");
}

// Whatever happened to the cache file, the load gives what a parse of the
// database gives, and (where it can be written) the next load maps a good one.
TEST_F(DBCache, AStaleDamagedOrForgedCacheFileGivesTheParsedWords)
{
    struct TCase {
        const char* Name;
        std::function<void(std::string& cache)> Damage; // of its bytes, or of the files
        bool Rewritten = true;
    };
    const std::vector<TCase> cases = {
        {"cut to half", [](std::string& c) { c.resize(c.size() / 2); }},
        {"shorter than its header", [](std::string& c) { c.resize(40); }},
        {"empty", [](std::string& c) { c.clear(); }},
        {"a byte of the counts flipped", [](std::string& c) { c[RecordsAt] ^= 1; }},
        {"a byte in the middle flipped", [](std::string& c) { c[c.size() / 2] ^= 0x40; }},
        {"the last byte flipped", [](std::string& c) { c.back() ^= 1; }},
        {"another version", [](std::string& c) { c[VersionAt] += 1; }},
        {"another kind of file", [](std::string& c) { c[0] = 'X'; }},
        {"a section beyond the end, resealed",
         [](std::string& c) {
             Poke(c, FirstOffsetAt, static_cast<uint32_t>(c.size()));
             TDBCache::Seal(c);
         }},
        {"explanations shorter than their offsets, resealed",
         [](std::string& c) {
             Poke(c, SecondSizeAt, 8);
             TDBCache::Seal(c);
         }},
        {"a length group larger than its records, resealed",
         [](std::string& c) {
             Poke(c, ThreeLetterWordsAt, 4);
             TDBCache::Seal(c);
         }},
        {"the database rewritten with its size and time kept",
         [this](std::string&) {
             const auto time = std::filesystem::last_write_time(Source);
             std::vector<TDBWord> changed = Words;
             changed[1].PWord = "OKA";
             // Written over in place: the same file, size and time.
             WriteDBFile(Source + ".new", 102, changed);
             WriteBytes(Source, ReadBytes(Source + ".new"));
             std::filesystem::last_write_time(Source, time);
         }},
        {"no place to write it", [this](std::string&) { Cache = Source + "/words.cache"; }, false},
    };
    int n = 0;
    for (const TCase& c : cases) {
        Prepare(std::to_string(n++));
        {
            TDB writer;
            writer.LoadCached(Source, Cache);
        }
        std::string bytes = ReadBytes(Cache);
        c.Damage(bytes);
        if (std::filesystem::is_regular_file(Cache))
            WriteBytes(Cache, bytes);
        TDB db;
        EXPECT_FALSE(db.LoadCached(Source, Cache, {3, 16})) << c.Name;
        EXPECT_EQ(Contents(db), Parsed({3, 16})) << c.Name;
        TDB again;
        EXPECT_EQ(again.LoadCached(Source, Cache, {3, 16}), c.Rewritten) << c.Name;
        EXPECT_EQ(Contents(again), Parsed({3, 16})) << c.Name;
    }
}

// A forged cache file (bytes changed anywhere, the checksum made to match)
// may give other words, but never a crash, a hang or a read outside the file
// (run in the sanitizer build to see the last).
TEST_F(DBCache, ForgedCacheFilesNeverBreakALoadOrAQuery)
{
    Prepare("forged");
    TDB writer;
    writer.LoadCached(Source, Cache);
    const std::string good = ReadBytes(Cache);
    std::mt19937 rng(7);
    int mapped = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = good;
        // In the header's counts and offsets, in the texts and their offsets
        // right after it, or anywhere.
        for (int k = rng() % 4 ? 1 : 2; k > 0; --k) {
            const size_t where = rng() % 3;
            const size_t at = where == 0 ? 88 + rng() % 2304 : where == 1 ? 2392 + rng() % 1024 : rng() % bytes.size();
            bytes[at] = static_cast<char>(rng() % 4 ? bytes[at] ^ (1 << rng() % 8) : rng());
        }
        TDBCache::Seal(bytes);
        WriteBytes(Cache, bytes);
        TDB db;
        if (db.LoadCached(Source, Cache, {2, 16})) {
            ++mapped;
            Contents(db);
        }
    }
    // Changes in the texts and bit sets keep the file well formed.
    EXPECT_GT(mapped, 20);
    EXPECT_LT(mapped, 380);
}
