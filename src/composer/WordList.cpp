#include "composer/WordList.h"

#include "core/Table.h"
#include "core/Cp1250.h"
#include "documents/DataAccess.h"

#include <unordered_map>

namespace mz {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string LineMessage(size_t line, const std::string& text)
{
    return "Wiersz " + std::to_string(line) + ": " + text;
}

// The word's problem as a message without the line, empty for a good word.
std::string WordProblem(const std::string& word, bool converted)
{
    const std::string shown = "„" + Cp1250ToUtf8(word) + "”";
    if (!converted)
        return "słowo " + shown + " ma znak spoza polskiego alfabetu";
    for (const unsigned char c : word)
        if (c == ' ' || c == '-')
            return "słowo " + shown
                + " ma spację lub łącznik; wpisz je razem (bez spacji i łączników) albo podaj inne słowo";
    for (const unsigned char c : word)
        if (!IsWordLetter(c))
            return "słowo " + shown + " ma znak spoza polskiego alfabetu: " + Cp1250ToUtf8(std::string(1, char(c)));
    if (word.size() < MinListWordLetters)
        return "słowo " + shown + " jest za krótkie (potrzeba co najmniej " + std::to_string(MinListWordLetters)
            + " liter)";
    if (word.size() > MaxListWordLetters)
        return "słowo " + shown + " jest za długie (najwyżej " + std::to_string(MaxListWordLetters) + " liter)";
    return {};
}

} // namespace

TWordList ParseWordList(std::string_view utf8)
{
    TWordList list;
    std::unordered_map<std::string, size_t> seen;
    size_t lineNumber = 0;
    while (!utf8.empty() || lineNumber == 0) {
        ++lineNumber;
        const size_t end = utf8.find('\n');
        const std::string_view line = utf8.substr(0, end);
        utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
        if (Trimmed(line).empty())
            continue;
        const size_t tab = line.find('\t');
        const std::string_view wordPart = Trimmed(line.substr(0, tab));
        std::string_view cluePart = tab == std::string_view::npos ? std::string_view() : Trimmed(line.substr(tab + 1));

        bool converted = true;
        std::string word = Utf8ToCp1250(wordPart, '?', &converted);
        for (char& c : word)
            c = static_cast<char>(Cp1250ToUpper(static_cast<unsigned char>(c)));
        if (wordPart.empty()) {
            list.Problems.push_back(LineMessage(lineNumber, "brak słowa przed objaśnieniem"));
            continue;
        }
        if (const std::string problem = WordProblem(word, converted); !problem.empty()) {
            list.Problems.push_back(LineMessage(lineNumber, problem));
            continue;
        }
        bool clueConverted = true;
        std::string clue = Utf8ToCp1250(cluePart, '?', &clueConverted);
        // Further tabs belong to the clue's text.
        for (char& c : clue)
            if (static_cast<unsigned char>(c) < ' ')
                c = ' ';
        if (!clueConverted) {
            list.Problems.push_back(
                LineMessage(lineNumber, "objaśnienie ma znak, którego nie da się zapisać w krzyżówce"));
            continue;
        }
        if (clue.size() > static_cast<size_t>(MaxRecordData)) {
            list.Problems.push_back(
                LineMessage(lineNumber,
                            "objaśnienie jest za długie (najwyżej " + std::to_string(MaxRecordData) + " znaków)"));
            continue;
        }
        const auto [at, fresh] = seen.emplace(word, list.Words.size());
        if (fresh) {
            list.Words.push_back({std::move(word), std::move(clue)});
            continue;
        }
        ++list.Merged;
        TWordEntry& first = list.Words[at->second];
        if (first.Clue.empty())
            first.Clue = std::move(clue);
    }
    return list;
}

std::string WordListFileText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return Cp1250ToUtf8(bytes);
}

void RequireTwoWords(const std::vector<TWordEntry>& words)
{
    if (words.empty())
        throw EInvalidCrossKwelinOperation(
            "Lista słów jest pusta: wpisz co najmniej dwa słowa, każde w osobnym wierszu.");
    if (words.size() == 1)
        throw EInvalidCrossKwelinOperation(
            "Na liście jest tylko jedno słowo: krzyżówka potrzebuje co najmniej dwóch słów.");
}

} // namespace mz
