// The composer's queries, answered alike by the plain walk and by the index.
#include "DBTestUtil.h"

#include <gtest/gtest.h>

using namespace mz;
using namespace mz::test;

namespace {

class DBQueries : public ::testing::TestWithParam<TDBQueryMode> {
protected:
    std::unique_ptr<TDB> Make(const std::vector<std::string>& words) { return WordsDB(words, GetParam(), {2, 20}); }
};

std::vector<std::string> Candidates(TDB& db, const std::string& pattern, const std::string& anchor)
{
    TPWordLists list;
    db.FindCandidates(Pat(pattern), anchor, list);
    EXPECT_EQ(db.FoundCount(), static_cast<int32_t>(list.size()));
    for (const auto& node : list)
        EXPECT_EQ(node.Score, 0);
    return Described(list);
}

} // namespace

TEST_P(DBQueries, FreePatternOffersEveryShortEnoughWordInFileOrder)
{
    auto db = Make({"KOT", "ALBATROS", "OKO", "PIES",
                    "\xAF"
                    "ABA",
                    "DOMEK", "SZAFA"}); // ŻABA in CP1250
    EXPECT_EQ(Candidates(*db, ".....", ""),
              (std::vector<std::string>{"KOT/0", "OKO/0", "PIES/0",
                                        "\xAF"
                                        "ABA/0",
                                        "DOMEK/0", "SZAFA/0"}));
    // An anchor changes nothing when the pattern holds no letter.
    EXPECT_EQ(Candidates(*db, "...", "K"), (std::vector<std::string>{"KOT/0", "OKO/0"}));
}

struct TCandidateCase {
    const char* Pattern;
    const char* Anchor;
    std::vector<std::string> Words;
    std::vector<std::string> Expected;
};

TEST_P(DBQueries, CandidatesFollowThePlacementRules)
{
    const std::vector<TCandidateCase> cases = {
        {"..K..", "K", {"OKO"}, {"OKO/1"}},
        // Both occurrences fit; the later one stands in front.
        {"..K..", "K", {"KOK"}, {"KOK/2", "KOK/0"}},
        // The cell before the word holds a letter.
        {"A.K..", "K", {"OK"}, {}},
        // The word's tail would run past the end.
        {"..K", "K", {"OKO"}, {}},
        // The cell after the word holds a letter.
        {"..K.A", "K", {"KO"}, {}},
        {"..K.A", "K", {"KOA", "KOB"}, {"KOA/0"}},
        // Occurrences do not overlap: in AAA the anchor AA stands only at 1.
        {"..AA..", "AA", {"AAA"}, {"AAA/0"}},
        // Occurrences behind the pattern's anchor position are not tried.
        {"K....", "K", {"OKO", "KOK"}, {"KOK/0"}},
        // Letters of the pattern away from the anchor must agree.
        {".OK.A.", "K", {"OKNA", "OKRY", "SKAŁA"}, {"OKNA/1"}},
        // No anchor, or an anchor missing from the pattern: nothing.
        {"..K..", "", {"OKO"}, {}},
        {"..K..", "Z", {"OZO"}, {}},
        // Words longer than the pattern are never offered.
        {"K..", "K", {"KOTY", "KOT"}, {"KOT/0"}},
    };
    for (const auto& c : cases) {
        auto db = Make(c.Words);
        EXPECT_EQ(Candidates(*db, c.Pattern, c.Anchor), c.Expected) << c.Pattern << " " << c.Anchor;
    }
}

TEST_P(DBQueries, CandidateListRunsInFileOrderAndFollowsMarks)
{
    auto db = Make({"OKA", "KOK", "OKO", "AKT"});
    EXPECT_EQ(Candidates(*db, "..K..", "K"), (std::vector<std::string>{"OKA/1", "KOK/2", "KOK/0", "OKO/1", "AKT/1"}));
    db->MarkUsed("KOK");
    EXPECT_EQ(Candidates(*db, "..K..", "K"), (std::vector<std::string>{"OKA/1", "OKO/1", "AKT/1"}));
    // A released word comes back at the front of Words, so at the end of the list.
    db->ReleaseUsed("KOK");
    EXPECT_EQ(Candidates(*db, "..K..", "K"), (std::vector<std::string>{"OKA/1", "OKO/1", "AKT/1", "KOK/2", "KOK/0"}));
}

struct TFitCase {
    const char* Pattern;
    const char* Anchor;
    std::vector<std::string> Words;
    bool Expected;
};

TEST_P(DBQueries, AnyWordFitsFollowsItsOwnRules)
{
    const std::vector<TFitCase> cases = {
        {"", "", {}, true},
        {"...", "", {"ABCD"}, false},
        {"...", "", {"ABCD", "ABC"}, true},
        {"..K..", "K", {"OKO"}, true},
        // Unlike the candidate search, the word may run past the pattern's end.
        {"..K", "K", {"OKO"}, true},
        {"A.K..", "K", {"OK"}, false},
        // Only the first occurrence counts: KOK lays its first K on the anchor,
        // which would need the cell after it free.
        {"..KA", "K", {"KOK"}, false},
        {"..K.A", "K", {"KO"}, false},
        // The cell after a word that ends inside the pattern must be free.
        {"..KO..A", "KO", {"KOT"}, true},
        {"..KO.A", "KO", {"KOT"}, false},
        {"..KOSA", "KO", {"KOT"}, false},
        {"..K..", "", {"OKO"}, false},
        {"....", "K", {"OKO"}, true},
        {"..K..", "K", {"OKOLICA"}, false},
        {"X.K..", "K", {"AKT"}, false},
        {"X.K..", "K", {"AKT", "KTO"}, true},
    };
    for (const auto& c : cases) {
        auto db = Make(c.Words);
        EXPECT_EQ(db->AnyWordFits(Pat(c.Pattern), c.Anchor), c.Expected) << c.Pattern << " " << c.Anchor;
    }
}

// The composer asks the same question again and again while words are taken
// and given back: every answer must follow the words free at the time.
TEST_P(DBQueries, AnyWordFitsFollowsEveryWordTakenAndGivenBack)
{
    std::vector<std::string> words = {"KOT"};
    for (char a = 'A'; a <= 'Z'; ++a)
        for (char b : std::string("AEIOU"))
            words.push_back(std::string("B") + a + b); // 130 words, none of them K.T
    auto db = Make(words);
    for (uint32_t id = 0; id < words.size(); ++id)
        db->MarkUsedRecord(id);
    const std::string pattern = Pat("K.T");
    EXPECT_FALSE(db->AnyWordFits(pattern, "K"));
    db->ReleaseUsedRecord(1);
    db->ReleaseUsedRecord(0);
    db->MarkUsedRecord(0);
    EXPECT_FALSE(db->AnyWordFits(pattern, "K")) << "KOT was given back and taken again";
    db->ReleaseUsedRecord(0);
    EXPECT_TRUE(db->AnyWordFits(pattern, "K"));
    db->MarkUsedRecord(0);
    EXPECT_FALSE(db->AnyWordFits(pattern, "K"));
    for (uint32_t id = 2; id < words.size(); ++id)
        db->ReleaseUsedRecord(id);
    EXPECT_FALSE(db->AnyWordFits(pattern, "K")) << "after many words given back";
    db->ReleaseUsedRecord(0);
    EXPECT_TRUE(db->AnyWordFits(pattern, "K"));
}

TEST_P(DBQueries, MarkUsedMovesTheFirstEqualWordAndReleaseBringsItToTheFront)
{
    auto db = Make({"KOT", "PIES", "KOT", "LIS"});
    EXPECT_EQ(Chain(db->Words()), (std::vector<std::string>{"LIS", "KOT", "PIES", "KOT"}));
    db->MarkUsed("KOT");
    EXPECT_EQ(Chain(db->Words()), (std::vector<std::string>{"LIS", "PIES", "KOT"}));
    EXPECT_EQ(Chain(db->UsedWords()), (std::vector<std::string>{"KOT"}));
    db->MarkUsed("KOT");
    db->MarkUsed("PIES");
    EXPECT_EQ(Chain(db->Words()), (std::vector<std::string>{"LIS"}));
    EXPECT_EQ(Chain(db->UsedWords()), (std::vector<std::string>{"PIES", "KOT", "KOT"}));
    EXPECT_EQ(db->WordCount(), 1);
    EXPECT_EQ(db->UsedCount(), 3);

    db->MarkUsed("SOWA");   // absent: nothing happens
    db->ReleaseUsed("LIS"); // not used: nothing happens
    EXPECT_EQ(db->WordCount(), 1);
    EXPECT_EQ(db->UsedCount(), 3);

    db->ReleaseUsed("KOT");
    EXPECT_EQ(Chain(db->Words()), (std::vector<std::string>{"KOT", "LIS"}));
    EXPECT_EQ(Chain(db->UsedWords()), (std::vector<std::string>{"PIES", "KOT"}));
    EXPECT_EQ(db->WordCount(), 2);
    EXPECT_EQ(db->UsedCount(), 2);
}

TEST_P(DBQueries, FindRecordPrefersUsedWordsAndNeverFindsExcludedOnes)
{
    std::vector<TDBFileRecord> records = {{DBRecWord, "KOT"},   {DBRecExplanation, "zwierzę"},
                                          {DBRecWord, "KOT"},   {DBRecExplanation, "mruczek"},
                                          {DBRecWord, "KOTKI"}, {DBRecExplanation, "małe"},
                                          {DBRecEnd, {}}};
    TDB db(GetParam());
    db.LoadRecords(101, records, "x.hk", {3, 4});
    ASSERT_NE(db.FindRecord("KOT"), nullptr);
    EXPECT_EQ(db.FindRecord("KOT")->ExplLines, "mruczek\r\n");
    db.MarkUsed("KOT");
    db.MarkUsed("KOT");
    db.ReleaseUsed("KOT"); // "zwierzę" was marked last, so it comes back
    EXPECT_EQ(db.FindRecord("KOT")->ExplLines, "mruczek\r\n");
    EXPECT_EQ(Chain(db.ExcludedWords()), (std::vector<std::string>{"KOTKI"}));
    EXPECT_EQ(db.FindRecord("KOTKI"), nullptr);
    EXPECT_EQ(db.FindRecord("PIES"), nullptr);
}

TEST_P(DBQueries, UsedWordsAreNeverCandidatesAndOtherSourcesCanBeSearched)
{
    auto db = Make({"OKO", "AKT"});
    db->MarkUsed("OKO");
    EXPECT_EQ(Candidates(*db, "..K..", "K"), (std::vector<std::string>{"AKT/1"}));
    TPWordLists list;
    db->FindCandidates(Pat("..K.."), "K", list, dlUsedWords);
    EXPECT_EQ(Described(list), (std::vector<std::string>{"OKO/1"}));
    EXPECT_TRUE(db->AnyWordFits(Pat("..K"), "K", dlUsedWords));
    db->MarkUsed("AKT");
    EXPECT_FALSE(db->AnyWordFits(Pat("..K.."), "K"));
    EXPECT_FALSE(db->AnyWordFits(Pat("....."), ""));
}

// A restart must see the lists exactly as a new load of the same file: every
// record in its chain and at its place, and the next moves landing as they would.
TEST_P(DBQueries, RestorePutsEveryRecordBackAsTheLoadLeftIt)
{
    const std::vector<std::string> words = {"KOT", "PIES", "A", "KOT", "LIS", "HIPOPOTAM", "OKO"};
    auto db = WordsDB(words, GetParam(), {2, 5});
    db->MarkUsed("KOT");
    db->MarkUsed("OKO");
    db->ReleaseUsed("KOT");
    db->MarkUsed("LIS");
    db->ApplyLengthLimits({4, 5});
    db->Restore();
    auto fresh = WordsDB(words, GetParam(), {2, 5});
    for (const TDBList list : {dlWords, dlUsedWords, dlExcludedWords})
        EXPECT_EQ(Chain(db->Head(list)), Chain(fresh->Head(list))) << list;
    EXPECT_EQ(db->WordCount(), 5);
    EXPECT_EQ(db->UsedCount(), 0);
    EXPECT_EQ(db->ExcludedCount(), 2);
    for (TDB* d : {db.get(), fresh.get()}) {
        d->MarkUsed("PIES");
        d->MarkUsed("KOT");
        d->ReleaseUsed("PIES");
    }
    EXPECT_EQ(Chain(db->Words()), Chain(fresh->Words()));
    EXPECT_EQ(Chain(db->UsedWords()), (std::vector<std::string>{"KOT"}));
    EXPECT_EQ(Candidates(*db, ".....", ""), Candidates(*fresh, ".....", ""));
    EXPECT_EQ(Candidates(*db, "..O..", "O"), Candidates(*fresh, "..O..", "O"));
}

// Records by number: file order, with their texts and their chains.
TEST_P(DBQueries, RecordsAreNumberedInFileOrder)
{
    std::vector<TDBFileRecord> records = {{DBRecWord, "KOT"},          {DBRecExplanation, "zwierzę"},
                                          {DBRecAudio, "kot.wav\r\n"}, {DBRecWord, "KOTKI"},
                                          {DBRecExplanation, "małe"},  {DBRecExplanation, "dwa"},
                                          {DBRecWord, "OKO"},          {DBRecEnd, {}}};
    TDB db(GetParam());
    db.LoadRecords(101, records, "x.hk", {3, 4});
    ASSERT_EQ(db.RecordCount(), 3);
    EXPECT_EQ(db.Word(1), "KOTKI");
    EXPECT_EQ(db.ExplLines(1), "małe\r\ndwa\r\n");
    EXPECT_EQ(db.AudioLines(0), "kot.wav\r\n");
    EXPECT_EQ(db.ExplLines(2), "");
    EXPECT_EQ(db.ListOf(1), dlExcludedWords);
    EXPECT_EQ(db.FindWord("OKO"), 2);
    EXPECT_EQ(db.FindWord("KOTKI"), -1);
    db.MarkUsedRecord(2);
    EXPECT_EQ(db.ListOf(2), dlUsedWords);
    EXPECT_EQ(db.FindWord("OKO"), 2);
    db.ReleaseUsedRecord(2);
    EXPECT_EQ(db.ListOf(2), dlWords);
    EXPECT_FALSE(db.HasDuplicates());
    EXPECT_TRUE(WordsDB({"KOT", "OKO", "KOT"}, GetParam())->HasDuplicates());
}

INSTANTIATE_TEST_SUITE_P(BothModes, DBQueries, ::testing::Values(qmPlain, qmIndexed),
                         [](const auto& mode) { return mode.param == qmPlain ? "Plain" : "Indexed"; });

// The composer checks an alternative later against the word lists of its push,
// when the entry's own word, used meanwhile, was still active: the queries are
// lent that record without any chain changing.
TEST(DBQueriesIndexed, ARecordLentToTheQueriesIsSeenByThemOnly)
{
    auto db = WordsDB({"KOT", "OKO"}, qmIndexed);
    db->MarkUsedRecord(0);
    EXPECT_FALSE(db->AnyWordFits(Pat("K.T"), "K"));
    db->SetQueryActive(0, true);
    EXPECT_TRUE(db->AnyWordFits(Pat("K.T"), "K"));
    EXPECT_EQ(Candidates(*db, "K..", "K"), (std::vector<std::string>{"KOT/0"}));
    EXPECT_EQ(Chain(db->UsedWords()), (std::vector<std::string>{"KOT"}));
    EXPECT_EQ(db->WordCount(), 1);
    db->SetQueryActive(0, false);
    EXPECT_FALSE(db->AnyWordFits(Pat("K.T"), "K"));
    EXPECT_EQ(Candidates(*db, "K..", "K"), (std::vector<std::string>{}));
}
