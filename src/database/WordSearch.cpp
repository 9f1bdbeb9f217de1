#include "database/WordSearch.h"

#include "core/Cp1250.h"

#include <algorithm>
#include <array>

namespace mz {

namespace {

// Sort keys of the CP1250 bytes: digits, then the Polish alphabet, then the rest.
const std::array<int, 256>& SortKeys()
{
    static const std::array<int, 256> keys = [] {
        std::array<int, 256> result{};
        for (int byte = 0; byte < 256; ++byte)
            result[byte] = 1000 + byte;
        const std::string order = "0123456789A\xA5"
                                  "BC\xC6"
                                  "DE\xCA"
                                  "FGHIJKL\xA3"
                                  "MN\xD1"
                                  "O\xD3"
                                  "PQRS\x8C"
                                  "TUVWXYZ\x8F\xAF";
        for (std::size_t i = 0; i < order.size(); ++i)
            result[static_cast<unsigned char>(order[i])] = int(i);
        return result;
    }();
    return keys;
}

} // namespace

std::string UpperCp1250(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(Cp1250ToUpper(static_cast<unsigned char>(c)));
    return upper;
}

bool WildcardMatch(std::string_view text, std::string_view pattern)
{
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string_view::npos) {
            // Let the last '*' swallow one more character and try again.
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool PolishLess(std::string_view a, std::string_view b)
{
    const auto& keys = SortKeys();
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ka = keys[Cp1250ToUpper(static_cast<unsigned char>(a[i]))];
        const int kb = keys[Cp1250ToUpper(static_cast<unsigned char>(b[i]))];
        if (ka != kb)
            return ka < kb;
    }
    return a.size() < b.size();
}

TWordFilter::TWordFilter(std::string_view utf8, bool inExplanations)
{
    const std::size_t first = utf8.find_first_not_of(" \t\n\v\f\r");
    if (first != std::string_view::npos)
        utf8 = utf8.substr(first, utf8.find_last_not_of(" \t\n\v\f\r") - first + 1);
    else
        utf8 = {};
    // A character CP1250 cannot hold becomes a byte no word contains.
    FText = UpperCp1250(Utf8ToCp1250(utf8, '\0'));
    FPattern = FText.find_first_of("?*") != std::string::npos;
    FInExplanations = inExplanations && !FPattern;
}

bool TWordFilter::Matches(std::string_view upperWord, std::string_view upperExplLines) const
{
    if (FText.empty())
        return true;
    if (FPattern)
        return WildcardMatch(upperWord, FText);
    return upperWord.find(FText) != std::string_view::npos
        || (FInExplanations && upperExplLines.find(FText) != std::string_view::npos);
}

bool TWordFilter::Matches(const TBaseWord& word) const
{
    std::string explanations;
    if (FInExplanations && !FText.empty())
        for (const std::string& clue : word.Explanations)
            explanations += UpperCp1250(clue) + "\r\n";
    return Matches(word.PWord, explanations);
}

bool TWordConditions::Accepts(const TBaseWord& word) const
{
    return (!NoSound || word.Audio.empty()) && (!UserEdited || word.UserEdited)
        && (Length == 0 || word.PWord.size() == static_cast<std::size_t>(Length));
}

TWordBaseList::TWordBaseList(const TWordBase& base, bool excluded) : FBase(base), FExcluded(excluded)
{
    Reset();
}

void TWordBaseList::Reset()
{
    FWords.clear();
    for (const TBaseWord& word : FBase.Entries())
        if (word.Excluded == FExcluded)
            FWords.push_back(word.PWord);
    std::sort(FWords.begin(), FWords.end(), PolishLess);
    Refilter();
}

void TWordBaseList::Update(const std::string& word)
{
    const auto it = std::lower_bound(FWords.begin(), FWords.end(), word, PolishLess);
    const bool listed = it != FWords.end() && *it == word;
    const TBaseWord* entry = FBase.Find(word);
    const bool belongs = entry && entry->Excluded == FExcluded;
    if (belongs && !listed)
        FWords.insert(it, word);
    else if (listed && !belongs)
        FWords.erase(it);
}

void TWordBaseList::SetFilter(const TWordFilter& filter, const TWordConditions& conditions)
{
    FFilter = filter;
    FConditions = conditions;
    Refilter();
}

bool TWordBaseList::Shown(const std::string& word) const
{
    const TBaseWord* entry = FBase.Find(word);
    return entry && FConditions.Accepts(*entry) && FFilter.Matches(*entry);
}

void TWordBaseList::Refilter()
{
    FShown.clear();
    for (std::size_t i = 0; i < FWords.size(); ++i)
        if (Shown(FWords[i]))
            FShown.push_back(int(i));
}

std::string TWordBaseList::Word(int row) const
{
    return row >= 0 && row < ShownCount() ? FWords[FShown[row]] : std::string();
}

int TWordBaseList::RowOf(const std::string& word) const
{
    const auto it = std::lower_bound(FWords.begin(), FWords.end(), word, PolishLess);
    if (it == FWords.end() || *it != word)
        return -1;
    const int index = int(it - FWords.begin());
    const auto shown = std::lower_bound(FShown.begin(), FShown.end(), index);
    return shown != FShown.end() && *shown == index ? int(shown - FShown.begin()) : -1;
}

std::vector<std::string> TWordBaseList::ShownWords() const
{
    std::vector<std::string> words;
    words.reserve(FShown.size());
    for (const int index : FShown)
        words.push_back(FWords[index]);
    return words;
}

} // namespace mz
