#include "composer/ClueChoice.h"

#include "core/Cp1250.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <set>
#include <string_view>
#include <unordered_map>

namespace mz {

namespace {

constexpr std::string_view KindPrefix = "rodzaj: ";
// Shortened forms are tried by every choice of terms up to this many terms;
// a longer clue only loses one term or keeps one.
constexpr size_t AllSubsetsUpTo = 6;
constexpr size_t MaxOptions = 64;
// Choices tried by the search before it gives up (a crossword has some 40
// answers; a clash is mostly settled in a few choices).
constexpr uint32_t SearchBudget = 3000;

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(Cp1250ToUpper(static_cast<unsigned char>(c)));
    return upper;
}

struct TOption {
    std::string Text;
    std::vector<std::string> Terms; // upper case
};

using TOptions = std::vector<TOption>;

// The terms of a clue in their order, a repeat said once.
std::vector<std::string_view> Parts(std::string_view text)
{
    std::vector<std::string_view> parts;
    std::set<std::string> seen;
    while (true) {
        const size_t comma = text.find(", ");
        const std::string_view part = text.substr(0, comma);
        if (seen.insert(Upper(part)).second)
            parts.push_back(part);
        if (comma == std::string_view::npos)
            return parts;
        text.remove_prefix(comma + 2);
    }
}

// Every clue whole first (in the given order), then shortened: the more
// terms kept and the earlier ones, the sooner.
TOptions OptionsOf(const std::vector<std::string>& clues)
{
    TOptions options;
    std::set<std::vector<std::string>> seen;
    auto add = [&](std::string_view prefix, const std::vector<std::string_view>& parts, uint32_t mask) {
        TOption option{std::string(prefix), {}};
        for (size_t i = 0; i < parts.size(); ++i) {
            if ((mask >> (parts.size() - 1 - i) & 1) == 0)
                continue;
            option.Text += (option.Terms.empty() ? "" : ", ") + std::string(parts[i]);
            option.Terms.push_back(Upper(parts[i]));
        }
        std::vector<std::string> key = option.Terms;
        std::sort(key.begin(), key.end());
        if (option.Text.size() - prefix.size() >= 3 && options.size() < MaxOptions && seen.insert(key).second)
            options.push_back(std::move(option));
    };
    struct TSplit {
        std::string_view Prefix;
        std::vector<std::string_view> Parts;
    };
    std::vector<TSplit> splits;
    for (const std::string& clue : clues) {
        std::string_view text = clue;
        const std::string_view prefix = text.starts_with(KindPrefix) ? KindPrefix : std::string_view();
        text.remove_prefix(prefix.size());
        splits.push_back({prefix, Parts(text)});
    }
    for (const auto& split : splits) {
        const size_t n = split.Parts.size();
        if (n <= 31)
            add(split.Prefix, split.Parts, uint32_t((uint64_t(1) << n) - 1));
    }
    for (const auto& split : splits) {
        const size_t n = split.Parts.size();
        if (n < 2 || n > 31)
            continue;
        const uint32_t all = uint32_t((uint64_t(1) << n) - 1);
        if (n <= AllSubsetsUpTo) {
            for (size_t kept = n - 1; kept >= 1; --kept)
                for (uint32_t mask = all - 1; mask > 0; --mask)
                    if (size_t(std::popcount(mask)) == kept)
                        add(split.Prefix, split.Parts, mask);
            continue;
        }
        for (size_t bit = 0; bit < n; ++bit) // the last term dropped first
            add(split.Prefix, split.Parts, all & ~(uint32_t(1) << bit));
        for (size_t bit = n; bit-- > 0;) // the first term kept first
            add(split.Prefix, split.Parts, uint32_t(1) << bit);
    }
    return options;
}

class TClueSearch {
public:
    explicit TClueSearch(const std::vector<TOptions>& options) : Options(options), Chosen(options.size(), -1) {}

    // The first free option of each answer in turn; false when an answer had none.
    bool Greedy()
    {
        bool clean = true;
        for (size_t i = 0; i < Options.size(); ++i) {
            if (Options[i].empty())
                continue;
            const auto free = std::find_if(Options[i].begin(), Options[i].end(), [&](const TOption& o) { return Free(o); });
            clean = clean && free != Options[i].end();
            Take(i, free != Options[i].end() ? int(free - Options[i].begin()) : 0);
        }
        return clean;
    }

    // Backtracking, the answer with the fewest free options first.
    bool Solve()
    {
        if (++Steps > SearchBudget)
            return false;
        size_t best = Options.size();
        int bestCount = INT_MAX;
        for (size_t i = 0; i < Options.size(); ++i) {
            if (Chosen[i] >= 0 || Options[i].empty())
                continue;
            int count = 0;
            for (const TOption& o : Options[i])
                if (Free(o) && ++count >= bestCount)
                    break;
            if (count == 0)
                return false;
            if (count < bestCount) {
                best = i;
                bestCount = count;
            }
        }
        if (best == Options.size())
            return true;
        for (size_t k = 0; k < Options[best].size(); ++k) {
            if (!Free(Options[best][k]))
                continue;
            Take(best, int(k));
            if (Solve())
                return true;
            Drop(best);
        }
        return false;
    }

    void Clear()
    {
        Used.clear();
        std::fill(Chosen.begin(), Chosen.end(), -1);
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts(Options.size());
        for (size_t i = 0; i < Options.size(); ++i)
            if (Chosen[i] >= 0)
                texts[i] = Options[i][size_t(Chosen[i])].Text;
        return texts;
    }

private:
    bool Free(const TOption& option) const
    {
        return std::none_of(option.Terms.begin(), option.Terms.end(), [&](const std::string& t) {
            const auto at = Used.find(t);
            return at != Used.end() && at->second > 0;
        });
    }
    void Take(size_t answer, int option)
    {
        Chosen[answer] = option;
        for (const std::string& term : Options[answer][size_t(option)].Terms)
            ++Used[term];
    }
    void Drop(size_t answer)
    {
        for (const std::string& term : Options[answer][size_t(Chosen[answer])].Terms)
            --Used[term];
        Chosen[answer] = -1;
    }

    const std::vector<TOptions>& Options;
    std::vector<int> Chosen;
    std::unordered_map<std::string, int> Used;
    uint32_t Steps = 0;
};

} // namespace

std::vector<std::string> ChooseDistinctClues(const std::vector<std::vector<std::string>>& clues)
{
    std::vector<TOptions> options;
    options.reserve(clues.size());
    for (const auto& answerClues : clues)
        options.push_back(OptionsOf(answerClues));
    TClueSearch search(options);
    if (search.Greedy())
        return search.Texts();
    const std::vector<std::string> greedy = search.Texts();
    search.Clear();
    return search.Solve() ? search.Texts() : greedy;
}

} // namespace mz
