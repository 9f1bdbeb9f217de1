#include "documents/CrossSolution.h"

#include "core/Cp1250.h"

#include <algorithm>
#include <limits>
#include <map>

namespace mz {

namespace {

bool IsLetterCell(unsigned char c)
{
    return c != ' ' && c != '*' && c != '?';
}

bool IsOpen(const TCrossTXT& doc, int32_t col, int32_t row)
{
    return col >= 1 && row >= 1 && col <= doc.ColCount() && row <= doc.RowCount() && doc.HasCell(col, row)
        && doc.GetCell(col, row) != '*';
}

// A letter in a message: the CP1250 byte shown as UTF-8.
std::string Shown(std::string_view cp1250)
{
    return Cp1250ToUtf8(cp1250);
}

} // namespace

std::vector<TCellPos> WordCells(const TCrossTXT& doc, const TExpl& expl)
{
    std::vector<TCellPos> cells;
    const int32_t dc = expl.Horizontal ? 1 : 0;
    const int32_t dr = expl.Horizontal ? 0 : 1;
    for (int32_t c = expl.Col, r = expl.Row; IsOpen(doc, c, r); c += dc, r += dr)
        cells.push_back({c, r});
    return cells;
}

TSolutionGrid::TSolutionGrid(const TCrossTXT& doc)
    : FColCount(std::max(doc.ColCount(), 0)), FRowCount(std::max(doc.RowCount(), 0))
{
    const size_t size = size_t(FColCount) * size_t(FRowCount);
    FLetters.assign(size, 0);
    FInWord.assign(size, false);
    std::vector<bool> conflict(size, false);
    const auto expls = doc.ExplsInNumberOrder();
    FComplete = !expls.empty();
    for (const TExplList& item : expls) {
        const std::vector<TCellPos> cells = WordCells(doc, item.Expl);
        for (const TCellPos& cell : cells)
            FInWord[Index(cell.Col, cell.Row)] = true;
        const std::string& answer = item.Expl.Answer;
        if (answer.empty() || cells.empty() || answer.size() != cells.size()) {
            FComplete = false;
            continue;
        }
        FAny = true;
        for (size_t i = 0; i < cells.size(); ++i) {
            const int32_t at = Index(cells[i].Col, cells[i].Row);
            const auto letter = static_cast<unsigned char>(answer[i]);
            if (FLetters[at] != 0 && FLetters[at] != letter) {
                conflict[at] = true;
                FComplete = false;
            }
            FLetters[at] = letter;
        }
    }
    for (size_t i = 0; i < size; ++i)
        if (conflict[i])
            FLetters[i] = 0;
}

int32_t TSolutionGrid::Index(int32_t col, int32_t row) const
{
    return (col - 1) * FRowCount + (row - 1);
}

unsigned char TSolutionGrid::Letter(int32_t col, int32_t row) const
{
    if (col < 1 || row < 1 || col > FColCount || row > FRowCount)
        return 0;
    return FLetters[Index(col, row)];
}

bool TSolutionGrid::InWord(int32_t col, int32_t row) const
{
    if (col < 1 || row < 1 || col > FColCount || row > FRowCount)
        return false;
    return FInWord[Index(col, row)];
}

bool HasAnswers(const TCrossTXT& doc)
{
    return TSolutionGrid(doc).Any();
}

int32_t ExplNumberAt(const TCrossTXT& doc, int32_t col, int32_t row, bool horizontal)
{
    for (const TExplList& item : doc.ExplsInNumberOrder()) {
        if (item.Expl.Horizontal != horizontal)
            continue;
        for (const TCellPos& cell : WordCells(doc, item.Expl))
            if (cell.Col == col && cell.Row == row)
                return item.Number;
    }
    return 0;
}

std::vector<TCellPos> WrongCells(const TCrossTXT& doc)
{
    const TSolutionGrid solution(doc);
    std::vector<TCellPos> wrong;
    for (int32_t c = 1; c <= doc.ColCount(); ++c)
        for (int32_t r = 1; r <= doc.RowCount(); ++r) {
            const unsigned char expected = solution.Letter(c, r);
            if (expected != 0 && doc.HasCell(c, r) && IsLetterCell(doc.GetCell(c, r)) && doc.GetCell(c, r) != expected)
                wrong.push_back({c, r});
        }
    return wrong;
}

std::vector<TCellPos> WrongCellsOfWord(const TCrossTXT& doc, int32_t number)
{
    const TSolutionGrid solution(doc);
    std::vector<TCellPos> wrong;
    for (const TCellPos& cell : WordCells(doc, doc.GetExpl(number))) {
        const unsigned char expected = solution.Letter(cell.Col, cell.Row);
        const unsigned char letter = doc.GetCell(cell.Col, cell.Row);
        if (expected != 0 && IsLetterCell(letter) && letter != expected)
            wrong.push_back(cell);
    }
    return wrong;
}

namespace {

int32_t RevealCells(TCrossTXT& doc, const TSolutionGrid& solution, const std::vector<TCellPos>& cells)
{
    int32_t changed = 0;
    for (const TCellPos& cell : cells) {
        const unsigned char expected = solution.Letter(cell.Col, cell.Row);
        if (expected == 0 || doc.GetCell(cell.Col, cell.Row) == expected)
            continue;
        doc.SetCell(cell.Col, cell.Row, expected);
        doc.MarkRevealed(cell.Col, cell.Row);
        ++changed;
    }
    return changed;
}

} // namespace

bool RevealLetter(TCrossTXT& doc, int32_t col, int32_t row)
{
    if (!IsOpen(doc, col, row))
        return false;
    return RevealCells(doc, TSolutionGrid(doc), {{col, row}}) == 1;
}

int32_t RevealWord(TCrossTXT& doc, int32_t number)
{
    const std::vector<TCellPos> cells = WordCells(doc, doc.GetExpl(number));
    return RevealCells(doc, TSolutionGrid(doc), cells);
}

int32_t RevealAll(TCrossTXT& doc)
{
    std::vector<TCellPos> cells;
    for (int32_t c = 1; c <= doc.ColCount(); ++c)
        for (int32_t r = 1; r <= doc.RowCount(); ++r)
            if (IsOpen(doc, c, r))
                cells.push_back({c, r});
    return RevealCells(doc, TSolutionGrid(doc), cells);
}

bool IsSolved(const TCrossTXT& doc)
{
    const TSolutionGrid solution(doc);
    if (!solution.Any())
        return false;
    for (int32_t c = 1; c <= doc.ColCount(); ++c)
        for (int32_t r = 1; r <= doc.RowCount(); ++r) {
            if (!solution.InWord(c, r))
                continue;
            const unsigned char expected = solution.Letter(c, r);
            if (expected == 0 || doc.GetCell(c, r) != expected)
                return false;
        }
    return true;
}

std::string NormalizePhrase(std::string_view cp1250)
{
    std::string phrase;
    int32_t letters = 0;
    for (const char ch : cp1250) {
        const unsigned char c = Cp1250ToUpper(static_cast<unsigned char>(ch));
        if (c == ' ' || c == '\t') {
            if (!phrase.empty() && phrase.back() != ' ')
                phrase.push_back(' ');
            continue;
        }
        if (!IsWordLetter(c))
            throw EIOOperation("Rozwiązanie może składać się tylko z liter i spacji, a zawiera znak „"
                               + Shown(std::string(1, ch)) + "”.");
        phrase.push_back(static_cast<char>(c));
        ++letters;
    }
    if (!phrase.empty() && phrase.back() == ' ')
        phrase.pop_back();
    if (letters == 0)
        throw EIOOperation("Rozwiązanie nie może być puste.");
    if (letters > MaxPhraseLetters)
        throw EIOOperation("Rozwiązanie może mieć najwyżej " + std::to_string(MaxPhraseLetters) + " liter.");
    return phrase;
}

namespace {

// Open cells with a known letter, grouped by that letter, column by column.
std::map<unsigned char, std::vector<TCellPos>> CellsByLetter(const TCrossTXT& doc)
{
    const TSolutionGrid solution(doc);
    std::map<unsigned char, std::vector<TCellPos>> cells;
    for (int32_t c = 1; c <= doc.ColCount(); ++c)
        for (int32_t r = 1; r <= doc.RowCount(); ++r)
            if (const unsigned char letter = solution.Letter(c, r); letter != 0)
                cells[letter].push_back({c, r});
    return cells;
}

// The letters the crossword lacks for the phrase, as "K (potrzeba 2, jest 1)".
std::vector<std::string> MissingLetters(const std::map<unsigned char, std::vector<TCellPos>>& cells,
                                        const std::string& phrase)
{
    std::map<unsigned char, int32_t> needed;
    for (const char ch : phrase)
        if (ch != ' ')
            ++needed[static_cast<unsigned char>(ch)];
    std::vector<std::string> missing;
    for (const auto& [letter, count] : needed) {
        const auto it = cells.find(letter);
        const int32_t have = it == cells.end() ? 0 : static_cast<int32_t>(it->second.size());
        if (have < count)
            missing.push_back(Shown(std::string(1, static_cast<char>(letter))) + " (potrzeba " + std::to_string(count)
                              + ", " + (have == 0 ? std::string("nie ma żadnej") : "jest " + std::to_string(have))
                              + ")");
    }
    return missing;
}

} // namespace

bool PhraseFits(const TCrossTXT& doc, std::string_view phrase)
{
    return MissingLetters(CellsByLetter(doc), NormalizePhrase(phrase)).empty();
}

TPhrase ChoosePhraseCells(const TCrossTXT& doc, std::string_view text, TRandom& random)
{
    const std::string phrase = NormalizePhrase(text);
    auto cells = CellsByLetter(doc);
    if (cells.empty())
        throw EIOOperation("Nie można utworzyć rozwiązania: krzyżówka nie zna swoich odpowiedzi.");
    const std::vector<std::string> missing = MissingLetters(cells, phrase);
    if (!missing.empty()) {
        std::string list;
        for (const std::string& item : missing)
            list += (list.empty() ? "" : ", ") + item;
        throw EIOOperation("Nie można ułożyć rozwiązania „" + Shown(phrase) + "”: w krzyżówce brakuje liter: " + list
                           + ".");
    }

    // Greedy spreading: each letter goes to the candidate cell farthest from
    // every cell chosen so far (squared distance to the nearest one). The
    // letters compete only with equal letters, so enough cells per letter is
    // all it takes for every letter to find one.
    TPhrase result;
    result.Text = phrase;
    for (const char ch : phrase) {
        if (ch == ' ')
            continue;
        std::vector<TCellPos>& pool = cells[static_cast<unsigned char>(ch)];
        int64_t best = -1;
        std::vector<size_t> bestAt;
        for (size_t i = 0; i < pool.size(); ++i) {
            int64_t nearest = std::numeric_limits<int64_t>::max();
            for (const TCellPos& chosen : result.Cells) {
                const int64_t dc = pool[i].Col - chosen.Col;
                const int64_t dr = pool[i].Row - chosen.Row;
                nearest = std::min(nearest, dc * dc + dr * dr);
            }
            if (nearest > best) {
                best = nearest;
                bestAt.clear();
            }
            if (nearest == best)
                bestAt.push_back(i);
        }
        const size_t pick = bestAt[random.Draw(static_cast<uint32_t>(bestAt.size()))];
        result.Cells.push_back(pool[pick]);
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(pick));
    }
    return result;
}

int32_t PhraseNumberAt(const TCrossTXT& doc, int32_t col, int32_t row)
{
    const std::vector<TCellPos>& cells = doc.Phrase().Cells;
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i].Col == col && cells[i].Row == row)
            return static_cast<int32_t>(i + 1);
    return 0;
}

std::string PhraseLetters(const TCrossTXT& doc)
{
    const TPhrase& phrase = doc.Phrase();
    std::string letters;
    size_t next = 0;
    for (const char ch : phrase.Text) {
        if (ch == ' ') {
            letters.push_back(' ');
            continue;
        }
        const TCellPos cell = next < phrase.Cells.size() ? phrase.Cells[next] : TCellPos{};
        ++next;
        const unsigned char letter = doc.HasCell(cell.Col, cell.Row) ? doc.GetCell(cell.Col, cell.Row) : ' ';
        letters.push_back(IsLetterCell(letter) ? static_cast<char>(letter) : '_');
    }
    return letters;
}

} // namespace mz
