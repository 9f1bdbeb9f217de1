#include "composer/AnswerRecovery.h"

#include "core/Cp1250.h"
#include "database/DB.h"
#include "documents/CrossSolution.h"
#include "documents/CrossTXT.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>

namespace mz {

namespace {

using TLetters = std::bitset<256>;

// The clues a record can hand over: its CR LF terminated lines, or the empty
// clue when it has none (what the hand-over draws from such a record).
std::vector<std::string_view> CluesOf(const TDBRec& rec)
{
    std::vector<std::string_view> clues;
    const std::string_view lines = rec.ExplLines;
    size_t start = 0;
    for (size_t end = lines.find("\r\n"); end != std::string_view::npos; end = lines.find("\r\n", start)) {
        clues.push_back(lines.substr(start, end - start));
        start = end + 2;
    }
    if (clues.empty())
        clues.emplace_back();
    return clues;
}

// One explanation's word in the narrowing.
struct TWord {
    int32_t Number = 0;
    std::vector<int32_t> Cells;          // indices into the cell table
    std::vector<std::string> Candidates; // sorted, distinct
    bool Constrained = false;            // takes part in the narrowing
    bool Given = false;                  // the document already had its answer
};

class TNarrowing {
public:
    TNarrowing(std::vector<TWord> words, size_t cellCount) : Words(std::move(words)), CellCount(cellCount) { }

    // Narrows until nothing changes; false on a contradiction.
    static bool Propagate(std::vector<TWord>& words, size_t cellCount)
    {
        for (bool changed = true; changed;) {
            changed = false;
            std::vector<TLetters> allowed(cellCount, TLetters().set());
            for (const TWord& word : words) {
                if (!word.Constrained)
                    continue;
                for (size_t i = 0; i < word.Cells.size(); ++i) {
                    TLetters here;
                    for (const std::string& candidate : word.Candidates)
                        here.set(static_cast<unsigned char>(candidate[i]));
                    allowed[size_t(word.Cells[i])] &= here;
                }
            }
            for (TWord& word : words) {
                if (!word.Constrained)
                    continue;
                const auto fits = [&](const std::string& candidate) {
                    for (size_t i = 0; i < word.Cells.size(); ++i)
                        if (!allowed[size_t(word.Cells[i])].test(static_cast<unsigned char>(candidate[i])))
                            return false;
                    return true;
                };
                const auto kept = std::stable_partition(word.Candidates.begin(), word.Candidates.end(), fits);
                if (kept == word.Candidates.begin())
                    return false;
                if (kept != word.Candidates.end()) {
                    word.Candidates.erase(kept, word.Candidates.end());
                    changed = true;
                }
            }
        }
        return true;
    }

    // Propagation, then dropping every candidate that contradicts when assumed.
    std::vector<TWord> Solve()
    {
        // Words whose candidates cannot agree even before any assumption: one
        // of them lacks its true word (a clue of another database). Which one
        // cannot be told, so every word whose removal alone would settle the
        // contradiction is left out; when none would, all unanswered ones are.
        while (true) {
            std::vector<TWord> trial = Words;
            if (Propagate(trial, CellCount)) {
                Words = std::move(trial);
                break;
            }
            std::vector<size_t> suspects;
            for (size_t w = 0; w < Words.size(); ++w) {
                if (!Words[w].Constrained || Words[w].Given)
                    continue;
                std::vector<TWord> without = Words;
                without[w].Constrained = false;
                if (Propagate(without, CellCount))
                    suspects.push_back(w);
            }
            if (suspects.empty())
                for (size_t w = 0; w < Words.size(); ++w)
                    if (Words[w].Constrained && !Words[w].Given)
                        suspects.push_back(w);
            if (suspects.empty())
                return Words;
            for (const size_t w : suspects)
                Words[w].Constrained = false;
        }
        for (bool changed = true; changed;) {
            changed = false;
            for (size_t w = 0; w < Words.size(); ++w) {
                if (!Words[w].Constrained || Words[w].Candidates.size() < 2)
                    continue;
                std::vector<std::string> kept;
                for (const std::string& candidate : Words[w].Candidates) {
                    std::vector<TWord> trial = Words;
                    trial[w].Candidates = {candidate};
                    if (Propagate(trial, CellCount))
                        kept.push_back(candidate);
                }
                if (kept.size() != Words[w].Candidates.size() && !kept.empty()) {
                    Words[w].Candidates = std::move(kept);
                    if (!Propagate(Words, CellCount))
                        return Words;
                    changed = true;
                }
            }
        }
        return Words;
    }

private:
    std::vector<TWord> Words;
    size_t CellCount;
};

// Every word of the database with its record, all three chains.
template <class Visit> void ForEachRecord(const TDB& db, Visit&& visit)
{
    for (const TDBList list : {dlWords, dlUsedWords, dlExcludedWords})
        for (const TDBRec* rec = db.Head(list); rec; rec = rec->Next)
            visit(*rec);
}

} // namespace

TRecoveryResult RecoverAnswers(TCrossTXT& doc, const TDB& db)
{
    TRecoveryResult result;
    const std::vector<TExplList> expls = doc.ExplsInNumberOrder();
    result.Explanations = static_cast<int32_t>(expls.size());

    // Clue text -> the words that carry it, so each explanation is one lookup.
    std::unordered_map<std::string_view, std::vector<const std::string*>> byClue;
    ForEachRecord(db, [&](const TDBRec& rec) {
        for (const std::string_view clue : CluesOf(rec))
            byClue[clue].push_back(&rec.PWord);
    });

    const int32_t rows = std::max(doc.RowCount(), 0);
    std::vector<TWord> words;
    for (const TExplList& item : expls) {
        TWord word;
        word.Number = item.Number;
        for (const TCellPos& cell : WordCells(doc, item.Expl))
            word.Cells.push_back((cell.Col - 1) * rows + (cell.Row - 1));
        const size_t length = word.Cells.size();
        if (length > 0 && item.Expl.Answer.size() == length) {
            word.Candidates = {item.Expl.Answer};
            word.Given = true;
        } else if (length > 0) {
            if (const auto it = byClue.find(item.Expl.Explanation); it != byClue.end())
                for (const std::string* candidate : it->second)
                    if (candidate->size() == length)
                        word.Candidates.push_back(*candidate);
            std::sort(word.Candidates.begin(), word.Candidates.end());
            word.Candidates.erase(std::unique(word.Candidates.begin(), word.Candidates.end()), word.Candidates.end());
        }
        word.Constrained = !word.Candidates.empty();
        words.push_back(std::move(word));
    }

    const size_t cellCount = size_t(std::max(doc.ColCount(), 0)) * size_t(rows);
    const std::vector<TWord> solved = TNarrowing(std::move(words), cellCount).Solve();
    for (size_t i = 0; i < expls.size(); ++i) {
        const TWord& word = solved[i];
        if (!expls[i].Expl.Answer.empty()) {
            ++result.Known;
            continue;
        }
        if (word.Constrained && word.Candidates.size() == 1) {
            TExpl expl = expls[i].Expl;
            expl.Answer = word.Candidates.front();
            doc.SetExpl(word.Number, expl);
            ++result.Recovered;
        } else {
            ++result.Unknown;
        }
    }
    return result;
}

std::string PickPhraseWord(const TCrossTXT& doc, const TDB& db, TRandom& random)
{
    std::set<std::string> answers;
    for (const TExplList& item : doc.ExplsInNumberOrder())
        answers.insert(item.Expl.Answer);
    // How many cells hold each letter: a word fits when it needs no more.
    const TSolutionGrid solution(doc);
    std::array<int32_t, 256> available{};
    for (int32_t c = 1; c <= doc.ColCount(); ++c)
        for (int32_t r = 1; r <= doc.RowCount(); ++r)
            ++available[solution.Letter(c, r)];
    available[0] = 0;
    std::set<std::string> fitting;
    ForEachRecord(db, [&](const TDBRec& rec) {
        const std::string& word = rec.PWord;
        if (word.size() < size_t(MinPhraseWord) || word.size() > size_t(MaxPhraseWord) || answers.count(word)
            || fitting.count(word))
            return;
        std::array<int32_t, 256> needed{};
        for (const char c : word)
            if (!IsWordLetter(static_cast<unsigned char>(c))
                || ++needed[static_cast<unsigned char>(c)] > available[static_cast<unsigned char>(c)])
                return;
        fitting.insert(word);
    });
    if (fitting.empty())
        throw EIOOperation("W bazie haseł nie ma słowa od " + std::to_string(MinPhraseWord) + " do "
                           + std::to_string(MaxPhraseWord) + " liter, które dałoby się ułożyć z liter tej krzyżówki.");
    auto it = fitting.begin();
    std::advance(it, random.Draw(static_cast<uint32_t>(fitting.size())));
    return *it;
}

} // namespace mz
