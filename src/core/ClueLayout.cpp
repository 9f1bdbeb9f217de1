#include "core/ClueLayout.h"

#include <algorithm>

namespace mz {

namespace {

// Lower case of the letters that matter to the syllables: Latin and Polish.
char16_t Lower(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 32);
    static constexpr std::u16string_view capitals = u"ĄĆĘŁŃÓŚŹŻ";
    static constexpr std::u16string_view small = u"ąćęłńóśźż";
    const size_t at = capitals.find(c);
    return at == std::u16string_view::npos ? c : small[at];
}

// The syllable pattern: '0' vowel, '1' other, '#' a letter of a digraph; plus
// the "11" sentinel so the rules may look two places ahead.
std::u16string SyllablePattern(std::u16string_view word)
{
    std::u16string lower(word.size(), u' ');
    std::transform(word.begin(), word.end(), lower.begin(), Lower);
    std::u16string pattern(lower.size(), u'1');
    for (size_t i = 0; i < lower.size(); ++i)
        if (std::u16string_view(u"aeiouyąęó").find(lower[i]) != std::u16string_view::npos)
            pattern[i] = u'0';
    for (const std::u16string_view digraph : {u"ch", u"rz", u"sz", u"cz", u"dz", u"dź", u"dż"})
        for (size_t at = lower.find(digraph); at != std::u16string::npos; at = lower.find(digraph)) {
            lower[at] = lower[at + 1] = u'#';
            pattern[at] = pattern[at + 1] = u'#';
        }
    return pattern + u"11";
}

} // namespace

std::u16string Hyphenate(std::u16string_view word, int limit)
{
    const int L = static_cast<int>(word.size());
    if (L <= 3)
        return std::u16string(word);
    const std::u16string pattern = SyllablePattern(word);
    auto P = [&](int i) { return pattern[static_cast<size_t>(i - 1)]; };

    std::u16string result;
    std::u16string syllable;
    for (int i = 1; i <= L; ++i) {
        result += word[static_cast<size_t>(i - 1)];
        if (i <= 2) {
            syllable = pattern.substr(0, static_cast<size_t>(i));
            continue;
        }
        if (syllable.find(u'0') == std::u16string::npos || P(i) == u'0') {
            syllable += P(i);
            continue;
        }
        const bool wanted = (P(i) == u'1' && P(i + 1) == u'0') || (P(i - 1) == u'1' && P(i) == u'#' && P(i + 1) == u'#')
            || (P(i - 1) == u'0' && P(i) == u'#' && P(i + 1) == u'#' && P(i + 2) == u'0')
            || (P(i - 2) == u'#' && P(i - 1) == u'#' && P(i) == u'#' && P(i + 1) == u'#');
        if (!wanted)
            continue;
        syllable = std::u16string(1, P(i));
        const std::u16string rest = pattern.substr(static_cast<size_t>(i - 1), static_cast<size_t>(L - i + 1));
        if (rest.size() >= 2 && rest.find(u'0') != std::u16string::npos)
            result.insert(result.size() - 1, 1, u'-');
    }

    // Count the hyphens met within the first `limit` places; the chosen one is
    // the last that leaves the hyphen itself within the limit.
    const int size = static_cast<int>(result.size());
    auto R = [&](int i) { return result[static_cast<size_t>(i - 1)]; };
    int met = 0;
    for (int j = 1; j <= limit; ++j)
        if (j + met <= size && R(j + met) == u'-')
            ++met;
    int chosen = 0;
    for (int at = 1; at <= size && at <= limit + met - 1; ++at)
        if (R(at) == u'-')
            chosen = at;
    std::u16string out;
    for (int i = 1; i <= size; ++i)
        if (R(i) != u'-' || i == chosen)
            out += R(i);
    return out;
}

std::u16string FitClue(std::u16string_view text, const std::function<bool(std::u16string_view)>& fits)
{
    if (fits(text))
        return std::u16string(text);
    constexpr char16_t cr = 13;

    std::u16string_view fitting = text;
    while (!fitting.empty() && !fits(fitting))
        fitting.remove_suffix(1);
    const size_t k = fitting.size();
    if (k == 0)
        return {};

    std::u16string broken;
    if (fitting[k - 1] == u' ') {
        broken = text;
        broken[k - 1] = cr;
    } else {
        const size_t space = fitting.rfind(u' ');
        const size_t s = space == std::u16string_view::npos ? 0 : space + 1;
        const std::u16string_view before = fitting.substr(0, s);
        const size_t wordEnd = std::min(text.find(u' ', s), text.size());
        const std::u16string_view cutWord = text.substr(s, wordEnd - s);
        const std::u16string hyphenated = Hyphenate(cutWord, static_cast<int>(k - s));
        const size_t p = hyphenated.find(u'-');
        broken = std::u16string(before);
        if (p != std::u16string::npos)
            broken += hyphenated.substr(0, p + 1) + cr + hyphenated.substr(p + 1);
        else
            broken += cr + std::u16string(cutWord);
        broken += text.substr(wordEnd);
    }
    if (fits(broken))
        return broken;

    while (!broken.empty() && !fits(broken))
        broken.pop_back();
    // At least three characters normally remain for the dots; fewer become
    // as many dots as there is room for.
    const size_t dots = std::min<size_t>(3, broken.size());
    broken.resize(broken.size() - dots);
    return broken + std::u16string(dots, u'.');
}

} // namespace mz
