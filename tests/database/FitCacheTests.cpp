#include "database/FitCache.h"

#include <gtest/gtest.h>

#include <string>

using namespace mz;

TEST(FitCache, AnAnswerIsFoundOnlyByItsPatternAnchorPlaceAndLength)
{
    TFitCache cache;
    EXPECT_EQ(cache.Find("A B", 1, 1), nullptr);
    cache.Keep("A B", 1, 1, {7, 0});
    cache.Keep("A B", 3, 1, {-1, 5});
    cache.Keep("AB ", 1, 2, {9, 0});
    ASSERT_NE(cache.Find("A B", 1, 1), nullptr);
    EXPECT_EQ(cache.Find("A B", 1, 1)->Witness, 7);
    EXPECT_EQ(cache.Find("A B", 3, 1)->Activations, 5u);
    EXPECT_EQ(cache.Find("AB ", 1, 2)->Witness, 9);
    EXPECT_EQ(cache.Find("AB ", 1, 1), nullptr);
    EXPECT_EQ(cache.Find("A  ", 1, 1), nullptr);
    EXPECT_EQ(cache.Find("A B ", 1, 1), nullptr);
}

TEST(FitCache, GrowsKeepingEveryAnswerAndEmptiesWhenFull)
{
    TFitCache cache;
    auto key = [](size_t i) { return "PATTERN LONGER THAN EIGHT " + std::to_string(i); };
    for (size_t i = 0; i < TFitCache::MaxEntries; ++i)
        cache.Keep(key(i), 1, 1, {static_cast<int64_t>(i), 0});
    EXPECT_EQ(cache.Size(), TFitCache::MaxEntries);
    for (size_t i = 0; i < TFitCache::MaxEntries; i += 997)
        ASSERT_NE(cache.Find(key(i), 1, 1), nullptr) << i;
    EXPECT_EQ(cache.Find(key(12345), 1, 1)->Witness, 12345);
    cache.Keep("ONE MORE", 1, 1, {1, 0});
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_EQ(cache.Find(key(0), 1, 1), nullptr);
    EXPECT_NE(cache.Find("ONE MORE", 1, 1), nullptr);
}
