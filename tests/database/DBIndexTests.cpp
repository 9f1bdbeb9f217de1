// The index must answer every query exactly as the plain walk does, element
// for element and in the same order, after any sequence of marks and releases.
#include "DBEquivalence.h"
#include "DBTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using namespace mz;
using namespace mz::test;

namespace {

// Words over two letters repeat their letters and each other a lot, which is
// where occurrence rules and duplicates bite.
std::vector<TDBFileRecord> TwoLetterWords(uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<TDBFileRecord> records;
    for (int i = 0; i < 400; ++i) {
        std::string w;
        for (int n = 1 + static_cast<int>(rng() % 9); n > 0; --n)
            w += rng() % 2 ? 'A' : 'B';
        records.push_back({DBRecWord, w});
        records.push_back({DBRecExplanation, std::to_string(i)});
    }
    return records;
}

} // namespace

TEST(DBIndex, AgreesWithThePlainWalkOnRepetitiveWords)
{
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        const auto records = TwoLetterWords(seed);
        TDB plain(qmPlain);
        TDB indexed(qmIndexed);
        plain.LoadRecords(101, records, "ab.hk", {1, 8});
        indexed.LoadRecords(101, records, "ab.hk", {1, 8});
        TEquivalence(plain, indexed, "AB", seed).Run(1500);
    }
}

TEST(DBIndex, FollowsLengthLimitsAppliedAgainAfterQueries)
{
    const auto records = TwoLetterWords(11);
    TDB plain(qmPlain);
    TDB indexed(qmIndexed);
    plain.LoadRecords(101, records, "ab.hk", {1, 9});
    indexed.LoadRecords(101, records, "ab.hk", {1, 9});
    TEquivalence(plain, indexed, "AB", 5).Run(300);
    plain.ApplyLengthLimits({3, 6});
    indexed.ApplyLengthLimits({3, 6});
    EXPECT_EQ(Chain(plain.ExcludedWords()), Chain(indexed.ExcludedWords()));
    TEquivalence(plain, indexed, "AB", 6).Run(1000);
}
