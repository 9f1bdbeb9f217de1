// Loading baza.hk files: record kinds, orders, counters, length limits,
// statistics and every way a file can be broken.
#include "../documents/TestFiles.h"
#include "DBTestUtil.h"

#include "database/DBBuilder.h"
#include "documents/DataAccess.h"

#include <gtest/gtest.h>

#include <random>

using namespace mz;
using namespace mz::test;

namespace {

std::string Header(int32_t edition)
{
    std::string header(60, '\0');
    return header + Int32Bytes(edition);
}

// A plain stream of records laid out from offset 71, filler bytes first.
class TStream {
public:
    TStream& Add(uint8_t type, std::string_view data)
    {
        Bytes += RecordAt(71 + static_cast<int64_t>(Bytes.size()) - 7, type, data);
        return *this;
    }
    TStream& Raw(std::string_view bytes)
    {
        Bytes += bytes;
        return *this;
    }
    std::string File(int32_t edition = 102) const
    {
        return BuildRecordBytes(Header(edition), Bytes + RecordAt(0, 0, ""));
    }

    std::string Bytes = std::string(7, 'x');
};

class DBLoad : public TTempDirTest {
protected:
    std::string Write(const std::string& bytes, const std::string& name = "baza.hk")
    {
        const std::string path = PathOf(name);
        WriteBytes(path, bytes);
        return path;
    }
    // Loads and expects the loading error with the file name.
    void ExpectLoadError(TDB& db, const std::string& path)
    {
        try {
            db.Load(path);
            ADD_FAILURE() << "loaded";
        } catch (const EDBInvalidOperation& e) {
            EXPECT_EQ(std::string(e.what()), "Wystąpił błąd podczas otwarcia pliku " + path);
        }
    }
};

} // namespace

TEST_F(DBLoad, FreshDatabaseIsEmpty)
{
    TDB db;
    EXPECT_EQ(db.Words(), nullptr);
    EXPECT_EQ(db.UsedWords(), nullptr);
    EXPECT_EQ(db.ExcludedWords(), nullptr);
    EXPECT_EQ(db.WordCount() + db.UsedCount() + db.ExcludedCount() + db.FoundCount(), 0);
    EXPECT_EQ(db.FileName(), "");
    EXPECT_EQ(db.Edition(), -1);
    EXPECT_EQ(db.MinLen(), 255);
    EXPECT_EQ(db.MaxLen(), 0);
}

TEST_F(DBLoad, FileStartingWithTheEndRecordGivesAnEmptyDatabaseWithItsEdition)
{
    const auto path = Write(TStream().File(77));
    TDB db;
    db.Load(path);
    EXPECT_EQ(db.WordCount(), 0);
    EXPECT_EQ(db.Edition(), 77);
    EXPECT_EQ(db.FileName(), path);
}

TEST_F(DBLoad, RecordsBuildWordsInReverseFileOrderWithExplanationsAndSounds)
{
    TStream s;
    s.Add(1, "KOT").Add(2, "mruczek").Add(2, "zwierzę domowe").Add(2, "").Add(3, "a.wav\r\n").Add(3, "KOT.wav\r\n");
    s.Add(7, "ignored").Add(1, "PIES").Add(255, "skipped too").Add(2, "szczekacz").Add(1, "SOWA");
    const auto path = Write(s.File());
    TDB db;
    db.Load(path);
    EXPECT_EQ(Chain(db.Words()), (std::vector<std::string>{"SOWA", "PIES", "KOT"}));
    const TDBRec* kot = db.FindRecord("KOT");
    ASSERT_NE(kot, nullptr);
    EXPECT_EQ(kot->ExplLines, "mruczek\r\nzwierzę domowe\r\n\r\n");
    EXPECT_EQ(kot->AudioLines, "KOT.wav\r\n");
    ASSERT_NE(db.FindRecord("PIES"), nullptr);
    ASSERT_NE(db.FindRecord("SOWA"), nullptr);
    EXPECT_EQ(db.FindRecord("PIES")->ExplLines, "szczekacz\r\n");
    EXPECT_EQ(db.FindRecord("SOWA")->ExplLines, "");
    EXPECT_EQ(db.WordCount(), 3);

    const auto stats = ReadDBStatistics(path);
    EXPECT_EQ(stats.WordCount, 3);
    EXPECT_EQ(stats.ExplCount, 4);
    EXPECT_EQ(stats.Edition, 102);
}

TEST_F(DBLoad, LengthLimitsExcludeWordsThatStatisticsStillCount)
{
    TStream s;
    s.Add(1, "AB").Add(1, "KOT").Add(1, std::string(17, 'Z')).Add(1, "SOWA").Add(1, std::string(16, 'Y'));
    const auto path = Write(s.File());
    TDB db;
    db.Load(path);
    EXPECT_EQ(Chain(db.Words()), (std::vector<std::string>{std::string(16, 'Y'), "SOWA", "KOT"}));
    // Excluded in the order the walk moved them, each to the front.
    EXPECT_EQ(Chain(db.ExcludedWords()), (std::vector<std::string>{"AB", std::string(17, 'Z')}));
    EXPECT_EQ(db.WordCount(), 3);
    EXPECT_EQ(db.ExcludedCount(), 2);
    EXPECT_EQ(db.MinLen(), 2);
    EXPECT_EQ(db.MaxLen(), 17);

    const auto stats = ReadDBStatistics(path);
    EXPECT_EQ(stats.WordCount, 5);
    EXPECT_EQ(stats.MinLen, 2);
    EXPECT_EQ(stats.MaxLen, 17);
    EXPECT_EQ(stats.WordsPerLength[17], 1);
}

TEST_F(DBLoad, ClearKeepsTheLengthRangeMetByEarlierLoads)
{
    TDB db;
    db.Load(Write(TStream().Add(1, "KOT").Add(1, "KOTEK").File(), "a.hk"));
    db.Load(Write(TStream().Add(1, "SOWA").File(), "b.hk"));
    EXPECT_EQ(db.MinLen(), 3);
    EXPECT_EQ(db.MaxLen(), 5);
    EXPECT_EQ(Chain(db.Words()), (std::vector<std::string>{"SOWA"}));
    db.Clear();
    EXPECT_EQ(db.WordCount(), 0);
    EXPECT_EQ(db.Edition(), -1);
    EXPECT_EQ(db.FileName(), "");
    EXPECT_EQ(db.MinLen(), 3);
}

TEST(DBEdition, EditionsAbove101AreExtended)
{
    EXPECT_EQ(EditionName(101), "podstawowa");
    EXPECT_EQ(EditionName(-1), "podstawowa");
    EXPECT_EQ(EditionName(102), "rozszerzona");
}

TEST_F(DBLoad, BrokenRecordsFailTheWholeLoadButKeepWhatWasRead)
{
    const std::string longText(4097, 'a');
    // End two below Start: a negative length.
    std::string negative = std::string(1, '\1') + Int32Bytes(500) + Int32Bytes(498);
    const std::vector<std::pair<const char*, TStream>> cases = {
        {"text of 4097 bytes", TStream().Add(1, "AB").Add(2, "x").Raw(RecordAt(0, 2, longText))},
        {"negative length", TStream().Add(1, "AB").Add(2, "x").Raw(negative)},
        {"explanation before any word", TStream().Add(2, "sierota").Add(1, "AB")},
        {"sound before any word", TStream().Add(3, "a.wav\r\n").Add(1, "AB")},
    };
    for (const auto& [what, stream] : cases) {
        SCOPED_TRACE(what);
        const auto path = Write(stream.File());
        TDB db;
        ExpectLoadError(db, path);
        // No length limits were applied: the two-letter word stays active.
        if (std::string(what).find("before") == std::string::npos) {
            EXPECT_EQ(Chain(db.Words()), (std::vector<std::string>{"AB"}));
        }
        EXPECT_EQ(db.ExcludedCount(), 0);
    }
}

TEST_F(DBLoad, MissingFilesAndWrongChecksumsFailWithTheLoadingError)
{
    TDB db;
    ExpectLoadError(db, PathOf("brak.hk"));
    std::string bytes = TStream().Add(1, "KOT").File();
    bytes[10] ^= 1;
    ExpectLoadError(db, Write(bytes));
    ExpectLoadError(db, Write("ab"));
    ExpectLoadError(db, Write(""));
}

TEST_F(DBLoad, StatisticsOfAMissingFileRaiseTheLoadingError)
{
    EXPECT_THROW(ReadDBStatistics(PathOf("brak.hk")), EDBInvalidOperation);
}

// Many records push the reader through several window refills.
TEST_F(DBLoad, WrittenDatabaseReadsBackAcrossWindowRefills)
{
    std::vector<TDBWord> words;
    std::mt19937 rng(7);
    for (int i = 0; i < 600; ++i) {
        TDBWord w;
        for (int n = 3 + static_cast<int>(rng() % 10); n > 0; --n)
            w.PWord += static_cast<char>('A' + rng() % 26);
        for (int e = static_cast<int>(rng() % 3); e >= 0; --e)
            w.Explanations.push_back(std::string(rng() % 300, static_cast<char>('a' + e)));
        if (i % 7 == 0)
            w.Audio = w.PWord + ".wav";
        words.push_back(w);
    }
    words[100].Explanations.push_back(std::string(MaxRecordData, 'q'));
    const auto path = PathOf("duza.hk");
    WriteDBFile(path, 102, words);
    TDB db(qmPlain);
    db.Load(path);
    ASSERT_EQ(db.WordCount(), 600);
    const TDBRec* rec = db.Words();
    for (auto it = words.rbegin(); it != words.rend(); ++it, rec = rec->Next) {
        std::string lines;
        for (const auto& e : it->Explanations)
            lines += e + "\r\n";
        EXPECT_EQ(rec->PWord, it->PWord);
        EXPECT_EQ(rec->ExplLines, lines);
        EXPECT_EQ(rec->AudioLines, it->Audio.empty() ? "" : it->Audio + "\r\n");
    }
    EXPECT_EQ(db.Edition(), 102);
}

TEST_F(DBLoad, TextsTheReaderCannotReadBackAreRefusedBeforeWriting)
{
    const auto path = PathOf("za_dlugi.hk");
    std::vector<TDBWord> words = {{"KOT", {std::string(MaxRecordData + 1, 'a')}, ""}};
    try {
        WriteDBFile(path, 101, words);
        ADD_FAILURE() << "written";
    } catch (const EDBInvalidOperation& e) {
        EXPECT_NE(std::string(e.what()).find("2039"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    words = {{"KOT", {"a"}, std::string(MaxRecordData - 1, 'b')}};
    EXPECT_THROW(WriteDBFile(path, 101, words), EDBInvalidOperation);
}

// Random, truncated and damaged files: each either loads or ends in the
// loading error, never a crash or a read outside the data (the sanitizer
// build runs this).
TEST_F(DBLoad, DamagedFilesLoadOrFailWithTheLoadingErrorOnly)
{
    std::vector<TDBWord> words;
    for (int i = 0; i < 300; ++i)
        words.push_back({"SLOWO" + std::string(1, static_cast<char>('A' + i % 26)) + std::to_string(i),
                         {"objaśnienie " + std::to_string(i)},
                         i % 5 ? "" : "x.wav"});
    const auto path = PathOf("wzor.hk");
    WriteDBFile(path, 102, words);
    const std::string good = ReadBytes(path);
    const std::string plain = PlainStreamOf(good);
    std::mt19937 rng(99);
    int refused = 0;
    int loaded = 0;
    for (int round = 0; round < 1200; ++round) {
        std::string bytes;
        switch (round % 4) {
        case 0: // truncated
            bytes = good.substr(0, rng() % good.size());
            break;
        case 1: { // a flipped bit
            bytes = good;
            bytes[rng() % bytes.size()] ^= static_cast<char>(1 << (rng() % 8));
            break;
        }
        case 2: { // damage behind a valid checksum
            std::string stream = plain;
            for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k)
                stream[rng() % stream.size()] = static_cast<char>(rng());
            if (rng() % 3 == 0)
                stream.resize(rng() % stream.size());
            bytes = BuildRecordBytes(good.substr(0, 64), stream);
            break;
        }
        default: // random bytes with a valid checksum
            std::string stream(rng() % 6000, '\0');
            for (char& c : stream)
                c = static_cast<char>(rng());
            bytes = BuildRecordBytes(std::string(64, '\0'), stream);
        }
        TDB db(round % 2 ? qmPlain : qmIndexed);
        try {
            if (round % 10 == 0)
                db.Load(Write(bytes, "zly.hk"));
            else
                db.LoadData(bytes, "zly.hk");
            ++loaded;
        } catch (const EDBInvalidOperation& e) {
            const std::string expected =
                "Wystąpił błąd podczas otwarcia pliku " + (round % 10 == 0 ? PathOf("zly.hk") : std::string("zly.hk"));
            EXPECT_EQ(std::string(e.what()), expected);
            ++refused;
        }
        // Whatever was read must be usable by the queries.
        TPWordLists list;
        db.FindCandidates(Pat("..O.."), "O", list);
        db.AnyWordFits(Pat(".O..."), "O");
    }
    EXPECT_GT(refused, 600);
    EXPECT_GT(loaded, 0);
}

// A composing run asks for the database again and again: the file is read once
// while it stays as it is, every caller gets lists of its own, and a file
// written anew is read anew.
TEST_F(DBLoad, ASharedLoadReadsAFileOnceUntilItChanges)
{
    const std::string path = PathOf("baza.hk");
    WriteDBFile(path, 101, {{"KOT", {"zwierzę"}, {}}, {"PIES", {"też"}, {}}, {"AB", {"za krótkie"}, {}}});
    TDB first;
    first.LoadShared(path, {3, 16});
    TDB second;
    second.LoadShared(path, {2, 16});
    EXPECT_EQ(Chain(first.Words()), (std::vector<std::string>{"PIES", "KOT"}));
    EXPECT_EQ(Chain(first.ExcludedWords()), (std::vector<std::string>{"AB"}));
    EXPECT_EQ(Chain(second.Words()), (std::vector<std::string>{"AB", "PIES", "KOT"}));
    first.MarkUsed("KOT");
    EXPECT_EQ(second.WordCount(), 3);
    EXPECT_EQ(first.FileName(), path);
    EXPECT_EQ(first.Edition(), 101);
    EXPECT_EQ(first.FindRecord("KOT")->ExplLines, "zwierzę\r\n");

    WriteDBFile(path, 102, {{"SOWA", {"ptak"}, {}}});
    TDB third;
    third.LoadShared(path, {3, 16});
    EXPECT_EQ(Chain(third.Words()), (std::vector<std::string>{"SOWA"}));
    EXPECT_EQ(third.Edition(), 102);
    EXPECT_EQ(Chain(first.UsedWords()), (std::vector<std::string>{"KOT"}));

    std::filesystem::remove(path);
    TDB missing;
    ExpectLoadError(missing, path);
    try {
        missing.LoadShared(path);
        ADD_FAILURE() << "loaded";
    } catch (const EDBInvalidOperation& e) {
        EXPECT_EQ(std::string(e.what()), "Wystąpił błąd podczas otwarcia pliku " + path);
    }
}
