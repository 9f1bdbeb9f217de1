// Excluded words at load, and composing from the shipped words with the user's.
#include "../documents/TestFiles.h"
#include "WordBaseTestUtil.h"

#include "composer/Composer.h"
#include "database/ComposeWords.h"
#include "database/KeptComposeWords.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

using namespace mz;
using namespace mz::test;

namespace {

class ComposeWords : public TTempDirTest { };

} // namespace

// An excluded word is dropped with its clues wherever they follow the mark;
// the statistics neither count it nor take its length.
TEST(ExcludedWords, TheLoadDropsAnExcludedWordAndEverythingOfIt)
{
    const std::vector<TDBFileRecord> records = {
        {DBRecWord, "KOT"},  {DBRecExplanation, "mruczek"}, {DBRecWord, "KONSTANTYNOPOL"},
        {DBRecExcluded, ""}, {DBRecExplanation, "miasto"},  {DBRecAudio, "K.wav\r\n"},
        {DBRecWord, "LAS"},  {DBRecExcluded, ""},           {DBRecExcluded, ""},
        {DBRecWord, "SOWA"}, {DBRecExplanation, "ptak"},    {DBRecEnd, ""},
    };
    for (const TDBQueryMode mode : {qmPlain, qmIndexed}) {
        TDB db(mode);
        db.LoadRecords(102, records, "test.hk", {3, 16});
        EXPECT_EQ(Chain(db.Words()), (std::vector<std::string>{"SOWA", "KOT"}));
        EXPECT_EQ(db.WordCount(), 2);
        EXPECT_EQ(db.ExcludedCount(), 0);
        EXPECT_EQ(db.FindRecord("KOT")->ExplLines, "mruczek\r\n");
        EXPECT_EQ(db.FindRecord("SOWA")->ExplLines, "ptak\r\n");
        EXPECT_EQ(db.FindRecord("KONSTANTYNOPOL"), nullptr);
        const TDBStatistics stats = DBStatisticsOf(db);
        EXPECT_EQ(stats.ExplCount, 2);
        EXPECT_EQ(stats.MaxLen, 4);
    }
    TDB db;
    EXPECT_THROW(db.LoadRecords(102, {{DBRecExcluded, ""}, {DBRecWord, "KOT"}, {DBRecEnd, ""}}, "test.hk"),
                 EDBInvalidOperation);
}

// Every shipped word that would fit the row is excluded or removed, so the
// crossword must hold the user's word with its clue and sound.
TEST_F(ComposeWords, ACrosswordIsComposedWithAWordTheUserAdded)
{
    WriteWords(PathOf("baza.hk"), 102,
               {{"KOT", {"mruczek"}, "", ""}, {"ŻABA", {"płaz"}, "", ""}, {"LAS", {"wiele drzew"}, "", ""}});
    TWordBase base;
    base.Load(PathOf("baza.hk"), PathOf("zmiany.hk"));
    std::vector<TWordChange> changes;
    for (const char* word : {"KOT", "ŻABA"}) {
        TBaseWord excluded = *base.Find(Cp(word));
        excluded.Excluded = true;
        excluded.UserEdited = true;
        changes.push_back({*base.Find(Cp(word)), excluded, 0});
    }
    changes.push_back({*base.Find(Cp("LAS")), std::nullopt, 0});
    changes.push_back({std::nullopt, TBaseWord{Cp("SOWA"), {Cp("nocny ptak")}, "SOWA.wav\r\n", false, true, {}}, 0});
    for (TWordChange& change : changes)
        base.Apply(change);
    base.Save();

    TTable pattern(4, 3);
    for (int32_t col = 1; col <= 4; ++col)
        for (int32_t row = 2; row <= 3; ++row)
            pattern.SetCell(col, row, '*');
    TComposerSettings settings;
    settings.MinLenPWord = 3;
    settings.MaxLenPWord = 16;
    settings.MaxSteps = 0;
    settings.AnyWordLocation = true;
    for (const uint32_t seed : {1u, 2u, 3u, 4u}) {
        TComposeRun run(pattern, ComposeDBSource(TComposeWords::Read(PathOf("baza.hk"), PathOf("zmiany.hk")), {3, 16}),
                        settings);
        TCrossTXT crossword;
        std::atomic<bool> stop{false};
        std::atomic<uint8_t> progress{0};
        const TComposeResult result = run.Execute(crossword, stop, progress, seed);
        ASSERT_TRUE(result.HandedOver) << result.Error;
        EXPECT_EQ(result.Grid->RowLine(1), "SOWA");
        const auto expls = crossword.ExplsInNumberOrder();
        ASSERT_EQ(expls.size(), 1u);
        EXPECT_EQ(expls[0].Expl.Explanation, "nocny ptak");
        EXPECT_EQ(expls[0].Expl.Audio, "SOWA.wav");
    }
}

// The words are read again exactly when a file they come from changed: the
// change file appearing, saved anew, removed, or the shipped file replaced.
// Every state a filter gives is the one a fresh read gives.
TEST_F(ComposeWords, KeptWordsAreReadAgainOnlyWhenAFileChanged)
{
    WriteWords(PathOf("baza.hk"), 102,
               {{"KOT", {"mruczek"}, "", "20"}, {"ŻABA", {"płaz"}, "", "80"}, {"SOWA", {"ptak"}, "", ""}});
    TKeptComposeWords kept;
    const auto first = kept.Read(PathOf("baza.hk"), PathOf("zmiany.hk"));
    EXPECT_EQ(kept.Read(PathOf("baza.hk"), PathOf("zmiany.hk")), first);
    for (const TDBLoadFilter& filter : {TDBLoadFilter{3, 16, 0}, TDBLoadFilter{4, 16, 50}, TDBLoadFilter{3, 3, 0}}) {
        const auto fresh = TComposeWords::Read(PathOf("baza.hk"), PathOf("zmiany.hk"))->NewDB(filter);
        const auto shared = first->NewDB(filter);
        EXPECT_EQ(Chain(shared->Words()), Chain(fresh->Words()));
        EXPECT_EQ(Chain(shared->ExcludedWords()), Chain(fresh->ExcludedWords()));
    }
    EXPECT_EQ(Chain(first->NewDB({4, 16, 50})->Words()), (std::vector<std::string>{"SOWA", Cp("ŻABA")}));

    TWordBase base;
    base.Load(PathOf("baza.hk"), PathOf("zmiany.hk"));
    TWordChange removal{*base.Find(Cp("KOT")), std::nullopt, 0};
    base.Apply(removal);
    base.Save();
    const auto changed = kept.Read(PathOf("baza.hk"), PathOf("zmiany.hk"));
    EXPECT_NE(changed, first);
    EXPECT_EQ(Chain(changed->NewDB({3, 16})->Words()), (std::vector<std::string>{"SOWA", Cp("ŻABA")}));
    EXPECT_EQ(kept.Read(PathOf("baza.hk"), PathOf("zmiany.hk")), changed);

    std::filesystem::remove(PathOf("zmiany.hk"));
    const auto withoutChanges = kept.Read(PathOf("baza.hk"), PathOf("zmiany.hk"));
    EXPECT_NE(withoutChanges, changed);
    EXPECT_EQ(withoutChanges->NewDB({3, 16})->WordCount(), 3);

    WriteWords(PathOf("nowa.hk"), 103, {{"LAS", {"drzewa"}, "", ""}});
    std::filesystem::rename(PathOf("nowa.hk"), PathOf("baza.hk"));
    const auto replaced = kept.Read(PathOf("baza.hk"), PathOf("zmiany.hk"));
    EXPECT_NE(replaced, withoutChanges);
    EXPECT_EQ(Chain(replaced->NewDB({3, 16})->Words()), (std::vector<std::string>{"LAS"}));
}
