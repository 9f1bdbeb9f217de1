#include "composer/KeywordLayout.h"

#include "core/Table.h"
#include "core/CellChars.h"
#include "core/Cp1250.h"
#include "database/DB.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace mz {

namespace {

// The place of the letter in the word nearest the word's middle, so the rows
// spread evenly on both sides of the keyword's column.
int32_t MiddleOccurrence(const std::string& word, unsigned char letter)
{
    int32_t best = -1;
    for (int32_t i = 0; i < int32_t(word.size()); ++i)
        if (static_cast<unsigned char>(word[i]) == letter
            && (best < 0 || std::abs(2 * i - int32_t(word.size()) + 1) < std::abs(2 * best - int32_t(word.size()) + 1)))
            best = i;
    return best;
}

void Shuffle(std::vector<int32_t>& items, TRandom& random)
{
    for (size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[random.Draw(uint32_t(i))]);
}

// Lays the rows out; `chosen[i]` is the entry of keyword letter i.
void BuildDocument(const std::string& keyword, const std::vector<TWordEntry>& chosen, TKeywordResult& result)
{
    std::vector<int32_t> offsets;
    int32_t column = 0;
    for (size_t i = 0; i < keyword.size(); ++i) {
        offsets.push_back(MiddleOccurrence(chosen[i].Word, static_cast<unsigned char>(keyword[i])));
        column = std::max(column, offsets.back());
    }
    int32_t cols = MinLayoutCols;
    for (size_t i = 0; i < keyword.size(); ++i)
        cols = std::max(cols, column - offsets[i] + int32_t(chosen[i].Word.size()));

    TCrossTXT& doc = result.Document;
    doc.Clear();
    doc.Kind = 0;
    doc.SetColCount(cols);
    doc.SetRowCount(int32_t(keyword.size()));
    TPhrase phrase{keyword, {}};
    for (int32_t r = 1; r <= int32_t(keyword.size()); ++r) {
        const TWordEntry& entry = chosen[r - 1];
        const int32_t first = column - offsets[r - 1] + 1;
        const int32_t last = first + int32_t(entry.Word.size()) - 1;
        for (int32_t c = 1; c <= cols; ++c)
            doc.SetCell(c, r, c >= first && c <= last ? BlankCell : BlockedCell);
        phrase.Cells.push_back({column + 1, r});
        result.Rows.push_back(entry.Word);
    }
    // A crossword file numbers its explanations in the reverse order of
    // adding them: added from the bottom, the rows open numbered from the top.
    for (int32_t r = int32_t(keyword.size()); r >= 1; --r)
        doc.AddExpl(TExpl(column - offsets[r - 1] + 1, r, chosen[r - 1].Clue, {}, true, chosen[r - 1].Word));
    doc.SetPhrase(phrase);
    doc.Modified = false;
}

// One of the lines as the level chooses it: drawn, the first (the most common
// terms) or the last. The draw is made at every level, so the words drawn
// after it stay the same.
std::string ChosenLine(std::string_view lines, TRandom& random, TClueChoice choice)
{
    std::vector<std::string_view> found;
    for (size_t at = lines.find("\r\n"); at != std::string_view::npos; at = lines.find("\r\n")) {
        found.push_back(lines.substr(0, at));
        lines.remove_prefix(at + 2);
    }
    if (found.empty())
        return {};
    const uint32_t drawn = random.Draw(uint32_t(found.size()));
    if (choice == ccCommonest)
        return std::string(found.front());
    return std::string(choice == ccRarest ? found.back() : found[drawn]);
}

} // namespace

std::string NormalizeKeyword(std::string_view cp1250)
{
    std::string keyword;
    for (const unsigned char c : cp1250) {
        if (c == ' ' || c == '-')
            throw EInvalidCrossKwelinOperation("Hasło musi być jednym słowem, bez spacji i łączników.");
        const unsigned char upper = Cp1250ToUpper(c);
        if (!IsWordLetter(upper))
            throw EInvalidCrossKwelinOperation("Hasło może mieć tylko litery polskiego alfabetu, a ma znak: "
                                               + Cp1250ToUtf8(std::string(1, char(c))));
        keyword += char(upper);
    }
    if (keyword.size() < MinKeywordLetters || keyword.size() > MaxKeywordLetters)
        throw EInvalidCrossKwelinOperation("Hasło musi mieć od " + std::to_string(MinKeywordLetters) + " do "
                                           + std::to_string(MaxKeywordLetters) + " liter.");
    return keyword;
}

TKeywordResult ComposeKeyword(std::string_view keywordText, const std::vector<TWordEntry>& words, TRandom& random)
{
    RequireTwoWords(words);
    const std::string keyword = NormalizeKeyword(keywordText);
    const auto letters = int32_t(keyword.size());

    // Each letter's candidate words, in an order the seed draws.
    std::vector<std::vector<int32_t>> candidates(letters);
    for (int32_t i = 0; i < letters; ++i) {
        for (int32_t w = 0; w < int32_t(words.size()); ++w)
            if (words[w].Word != keyword && words[w].Word.find(keyword[i]) != std::string::npos)
                candidates[i].push_back(w);
        Shuffle(candidates[i], random);
    }
    // A largest matching of letters to distinct words, by augmenting paths:
    // a letter takes a free word or one whose letter can move to another.
    std::vector<int32_t> letterOf(words.size(), -1);
    std::vector<int32_t> wordOf(letters, -1);
    std::vector<bool> visited;
    const std::function<bool(int32_t)> assign = [&](int32_t letter) {
        for (const int32_t w : candidates[letter]) {
            if (visited[w])
                continue;
            visited[w] = true;
            if (letterOf[w] < 0 || assign(letterOf[w])) {
                letterOf[w] = letter;
                wordOf[letter] = w;
                return true;
            }
        }
        return false;
    };
    TKeywordResult result;
    for (int32_t i = 0; i < letters; ++i) {
        visited.assign(words.size(), false);
        if (!assign(i))
            result.Uncovered.push_back(i);
    }
    if (!result.Uncovered.empty())
        return result;
    std::vector<TWordEntry> chosen;
    for (int32_t i = 0; i < letters; ++i)
        chosen.push_back(words[wordOf[i]]);
    BuildDocument(keyword, chosen, result);
    return result;
}

TKeywordResult ComposeKeywordFromDB(std::string_view keywordText, const TDB& db, TRandom& random,
                                    TClueChoice clueChoice)
{
    const std::string keyword = NormalizeKeyword(keywordText);
    const auto records = uint32_t(db.RecordCount());
    const auto usable = [&](uint32_t id, unsigned char letter, const std::vector<TWordEntry>& chosen) {
        if (db.ListOf(id) != dlWords)
            return false;
        const std::string_view word = db.Word(id);
        if (word.size() < MinKeywordRowLetters || word.size() > MaxKeywordRowLetters || word == keyword
            || word.find(char(letter)) == std::string_view::npos)
            return false;
        if (!std::all_of(word.begin(), word.end(), [](char c) { return IsWordLetter(static_cast<unsigned char>(c)); }))
            return false;
        return std::none_of(chosen.begin(), chosen.end(), [&](const TWordEntry& e) { return e.Word == word; });
    };

    TKeywordResult result;
    std::vector<TWordEntry> chosen;
    for (int32_t i = 0; i < int32_t(keyword.size()); ++i) {
        const auto letter = static_cast<unsigned char>(keyword[i]);
        // Random draws find a word with a common letter at once; a rare letter
        // falls back to a walk from a random record, which finds any word there is.
        int64_t found = -1;
        for (int tries = 0; tries < 2000 && found < 0 && records > 0; ++tries)
            if (const uint32_t id = random.Draw(records); usable(id, letter, chosen))
                found = id;
        const uint32_t from = random.Draw(records);
        for (uint32_t k = 0; k < records && found < 0; ++k)
            if (const uint32_t id = (from + k) % records; usable(id, letter, chosen))
                found = id;
        if (found < 0) {
            result.Uncovered.push_back(i);
            chosen.push_back({});
            continue;
        }
        const auto id = uint32_t(found);
        chosen.push_back({std::string(db.Word(id)), ChosenLine(db.ExplLines(id), random, clueChoice)});
    }
    if (result.Uncovered.empty())
        BuildDocument(keyword, chosen, result);
    return result;
}

std::string UncoveredMessage(std::string_view keyword, const std::vector<int32_t>& uncovered)
{
    if (uncovered.empty())
        return {};
    std::string text = "Żadne wolne słowo nie ma ";
    text += uncovered.size() == 1 ? "tej litery hasła: " : "tych liter hasła: ";
    for (size_t k = 0; k < uncovered.size(); ++k) {
        if (k > 0)
            text += ", ";
        text += Cp1250ToUtf8(keyword.substr(size_t(uncovered[k]), 1)) + " (" + std::to_string(uncovered[k] + 1) + ".)";
    }
    return text + ". Dopisz słowa z tymi literami.";
}

} // namespace mz
