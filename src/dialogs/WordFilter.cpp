#include "dialogs/WordFilter.h"

#include "core/Cp1250.h"

#include <algorithm>
#include <array>
#include <vector>

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

TWordFilter::TWordFilter(const QString& text, bool inExplanations) : FInExplanations(inExplanations)
{
    // A character CP1250 cannot hold becomes a byte no word contains.
    FText = UpperCp1250(Utf8ToCp1250(text.trimmed().toStdString(), '\0'));
    FPattern = FText.find_first_of("?*") != std::string::npos;
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

bool TWordConditions::Accepts(const TBaseWord& word) const
{
    return (!NoSound || word.Audio.empty()) && (!UserEdited || word.UserEdited)
        && (Length == 0 || word.PWord.size() == static_cast<std::size_t>(Length));
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

std::vector<std::string> TerminatedLines(std::string_view text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string_view::npos; start = end + 2)
        lines.emplace_back(text.substr(start, end - start));
    return lines;
}

} // namespace mz
