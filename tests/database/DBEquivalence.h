#pragma once

#include "DBTestUtil.h"

#include "core/Cp1250.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace mz::test {

// Drives a plain and an indexed database through the same random queries,
// marks and releases, comparing every answer.
class TEquivalence {
public:
    TEquivalence(TDB& plain, TDB& indexed, std::string alphabet, uint32_t seed)
        : Plain(plain), Indexed(indexed), Alphabet(std::move(alphabet)), Rng(seed)
    {
        for (const TDBRec* rec = plain.Words(); rec; rec = rec->Next)
            All.push_back(rec->PWord);
    }

    void Run(int rounds)
    {
        for (int round = 0; round < rounds; ++round) {
            const auto [pattern, anchor] = Query();
            Compare(pattern, anchor);
            for (int k = static_cast<int>(Rng() % 4); k > 0; --k)
                MarkOrRelease();
            if (round % 400 == 399) {
                // Both go back to the lists of their load, as a restarted search does.
                Plain.Restore();
                Indexed.Restore();
                ASSERT_EQ(Chain(Plain.Words()), Chain(Indexed.Words())) << round;
                ASSERT_EQ(Plain.UsedCount(), 0) << round;
            }
            if (round % 250 == 0) {
                ASSERT_EQ(Chain(Plain.Words()), Chain(Indexed.Words())) << round;
            }
            if (::testing::Test::HasFailure())
                return;
        }
        EXPECT_EQ(Chain(Plain.Words()), Chain(Indexed.Words()));
        EXPECT_EQ(Chain(Plain.UsedWords()), Chain(Indexed.UsedWords()));
        // The random queries must exercise both answers, or they prove nothing.
        EXPECT_GT(NonEmptyLists, rounds / 20);
        EXPECT_GT(Fits, rounds / 10);
        EXPECT_GT(Misfits, rounds / 100);
    }

private:
    size_t Below(size_t n) { return n == 0 ? 0 : Rng() % n; }
    char Letter() { return Alphabet[Below(Alphabet.size())]; }

    std::pair<std::string, std::string> Query()
    {
        const size_t len = Below(21);
        std::string pattern(len, ' ');
        const int kind = static_cast<int>(Rng() % 20);
        if (kind == 0)
            return {pattern, kind % 2 ? std::string(1, Letter()) : std::string()};
        if (kind < 14 && !All.empty()) {
            // A word laid somewhere into the stretch, partly hidden, plus a few strangers.
            const std::string& w = All[Below(All.size())];
            const long start = static_cast<long>(Below(len + 4)) - 3;
            const auto keep = static_cast<uint32_t>(30 + Rng() % 71);
            for (size_t j = 0; j < w.size(); ++j) {
                const long at = start + static_cast<long>(j);
                if (at >= 0 && at < static_cast<long>(len) && Rng() % 100 < keep)
                    pattern[at] = w[j];
            }
            for (size_t i = 0; i < len; ++i)
                if (Rng() % 100 < 4)
                    pattern[i] = Letter();
        } else {
            for (auto& c : pattern)
                if (Rng() % 100 < 35)
                    c = Letter();
        }
        std::string anchor;
        const size_t letters =
            static_cast<size_t>(std::count_if(pattern.begin(), pattern.end(), [](char c) { return c != ' '; }));
        if (letters > 0 && kind != 19) {
            // The group of letters around a random letter, or a piece of it.
            size_t at = Below(len);
            while (pattern[at] == ' ')
                at = (at + 1) % len;
            size_t from = at;
            size_t to = at + 1;
            while (from > 0 && pattern[from - 1] != ' ')
                --from;
            while (to < len && pattern[to] != ' ')
                ++to;
            if (Rng() % 4 == 0) {
                from += Below(at - from + 1);
                to = at + 1 + Below(to - at);
            }
            anchor = pattern.substr(from, to - from);
        } else if (kind == 19) {
            anchor = std::string(1 + Below(2), Letter());
        }
        return {pattern, anchor};
    }

    void Compare(const std::string& pattern, const std::string& anchor)
    {
        TPWordLists plain;
        TPWordLists indexed;
        Plain.FindCandidates(pattern, anchor, plain);
        Indexed.FindCandidates(pattern, anchor, indexed);
        const std::string where = "\"" + Cp1250ToUtf8(pattern) + "\" / \"" + Cp1250ToUtf8(anchor) + "\"";
        ASSERT_EQ(Described(plain), Described(indexed)) << where;
        ASSERT_EQ(Plain.FoundCount(), Indexed.FoundCount()) << where;
        // The composer's form: record numbers, in order or with their order.
        for (const bool ordered : {true, false}) {
            std::vector<TDBCandidate> ids;
            Indexed.FindCandidates(pattern, anchor, ids, ordered);
            std::stable_sort(ids.begin(), ids.end(),
                             [](const TDBCandidate& x, const TDBCandidate& y) { return x.Order < y.Order; });
            TPWordLists named;
            for (const TDBCandidate& c : ids)
                named.push_back(TPWordList{std::string(Indexed.Word(c.Word)), c.Offset, 0});
            ASSERT_EQ(Described(plain), Described(named)) << where << (ordered ? " ordered" : " unordered");
        }
        // The bounded count, below, at and above the list's size.
        for (const size_t limit : {size_t{0}, size_t{1}, plain.size(), plain.size() + 1, size_t{3}}) {
            ASSERT_EQ(Indexed.CountCandidates(pattern, anchor, limit), std::min(plain.size(), limit)) << where;
            ASSERT_EQ(Plain.CountCandidates(pattern, anchor, limit), std::min(plain.size(), limit)) << where;
        }
        NonEmptyLists += plain.empty() ? 0 : 1;
        const bool fits = Plain.AnyWordFits(pattern, anchor);
        ASSERT_EQ(fits, Indexed.AnyWordFits(pattern, anchor)) << where;
        (fits ? Fits : Misfits) += 1;
    }

    void MarkOrRelease()
    {
        std::string word;
        const auto choice = Rng() % 10;
        if (choice < 5 && !All.empty()) {
            word = All[Below(All.size())];
            Plain.MarkUsed(word);
            Indexed.MarkUsed(word);
        } else if (choice < 9 && Plain.UsedWords()) {
            // Mostly one of the newest used words, as the composer's backtracking does.
            const TDBRec* rec = Plain.UsedWords();
            for (size_t skip = Below(3); skip > 0 && rec->Next; --skip)
                rec = rec->Next;
            word = rec->PWord;
            Plain.ReleaseUsed(word);
            Indexed.ReleaseUsed(word);
        } else {
            word = std::string(1 + Below(4), Letter());
            Plain.ReleaseUsed(word);
            Indexed.ReleaseUsed(word);
        }
        ASSERT_EQ(Plain.WordCount(), Indexed.WordCount());
        ASSERT_EQ(Plain.UsedCount(), Indexed.UsedCount());
        const TDBRec* a = Plain.FindRecord(word);
        const TDBRec* b = Indexed.FindRecord(word);
        ASSERT_EQ(a == nullptr, b == nullptr) << word;
        if (a) {
            ASSERT_EQ(a->ExplLines, b->ExplLines) << word;
        }
    }

    TDB& Plain;
    TDB& Indexed;
    std::string Alphabet;
    std::mt19937 Rng;
    std::vector<std::string> All;
    int NonEmptyLists = 0;
    int Fits = 0;
    int Misfits = 0;
};

} // namespace mz::test
