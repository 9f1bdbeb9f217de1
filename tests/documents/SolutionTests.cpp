#include "TestFiles.h"

#include "core/Cp1250.h"
#include "documents/CrossSolution.h"
#include "documents/CrosswordKind.h"
#include "documents/Numbering.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <set>

using namespace mz;
using namespace mz::test;

namespace {

// K O T Y     across KOTY (1) and SOKI (2),
// A * * S     down KAS (3) and YSI (4)
// S O K I
TCrossTXT Crossword()
{
    TCrossTXT doc = Grid(4, 3, "     **     ");
    doc.AddExpl({1, 1, "Mruczą", "", true, "KOTY"});
    doc.AddExpl({1, 3, "Napoje", "", true, "SOKI"});
    doc.AddExpl({1, 1, "Dawne pieniądze", "", false, "KAS"});
    doc.AddExpl({4, 1, "Młode psy", "", false, "YSI"});
    doc.Modified = false;
    return doc;
}

void Type(TCrossTXT& doc, std::string_view rows)
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (doc.GetCell(int(i % 4) + 1, int(i / 4) + 1) != '*')
            doc.SetCell(int(i % 4) + 1, int(i / 4) + 1, static_cast<unsigned char>(rows[i]));
}

std::string Letters(const TSolutionGrid& grid)
{
    std::string text;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c)
            text.push_back(grid.Letter(c, r) ? char(grid.Letter(c, r)) : '.');
    return text;
}

} // namespace

TEST(Solution, AWordRunsFromItsFirstLetterToTheNextBlockOrTheEdge)
{
    const TCrossTXT doc = Crossword();
    EXPECT_EQ(WordCells(doc, doc.GetExpl(1)), (std::vector<TCellPos>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(WordCells(doc, doc.GetExpl(4)), (std::vector<TCellPos>{{4, 1}, {4, 2}, {4, 3}}));
    EXPECT_EQ(WordCells(doc, {2, 2, "", "", false, ""}), std::vector<TCellPos>{});
    EXPECT_EQ(WordCells(doc, {9, 1, "", "", true, ""}), std::vector<TCellPos>{});
    EXPECT_EQ(ExplNumberAt(doc, 4, 2, false), 4);
    EXPECT_EQ(ExplNumberAt(doc, 4, 2, true), 0);
    EXPECT_EQ(ExplNumberAt(doc, 3, 3, true), 2);
}

TEST(Solution, OnlyAnswersThatFitTheirWordAndAgreeGiveLetters)
{
    TCrossTXT doc = Crossword();
    TSolutionGrid full(doc);
    EXPECT_EQ(Letters(full), "KOTYA..SSOKI");
    EXPECT_TRUE(full.Complete());

    struct TCase {
        int Number;
        const char* Answer;
        const char* Letters;
        bool Any;
    } cases[] = {
        {3, "XAS", ".OTYA..SSOKI", true},  // disagrees with KOTY in the corner
        {3, "KASA", "KOTY...SSOKI", true}, // longer than its word: not used
        {3, "", "KOTY...SSOKI", true},
    };
    for (const TCase& c : cases) {
        TCrossTXT changed = doc;
        TExpl expl = changed.GetExpl(c.Number);
        expl.Answer = c.Answer;
        changed.SetExpl(c.Number, expl);
        const TSolutionGrid grid(changed);
        EXPECT_EQ(Letters(grid), c.Letters) << c.Answer;
        EXPECT_FALSE(grid.Complete()) << c.Answer;
        EXPECT_EQ(grid.Any(), c.Any);
    }
    EXPECT_FALSE(HasAnswers(Grid(4, 3)));
}

TEST(Solution, CheckingMarksOnlyFilledCellsWhoseLetterDiffers)
{
    TCrossTXT doc = Crossword();
    EXPECT_TRUE(WrongCells(doc).empty());
    Type(doc, "KXT A**?SOTI");
    EXPECT_EQ(WrongCells(doc), (std::vector<TCellPos>{{2, 1}, {3, 3}}));
    EXPECT_EQ(WrongCellsOfWord(doc, 2), (std::vector<TCellPos>{{3, 3}}));
    EXPECT_EQ(WrongCellsOfWord(doc, 3), std::vector<TCellPos>{});
    EXPECT_FALSE(IsSolved(doc));
}

TEST(Solution, RevealingPutsTheAnswerLettersInAndMarksThem)
{
    TCrossTXT doc = Crossword();
    Type(doc, "KX          ");
    doc.Modified = false;

    EXPECT_TRUE(RevealLetter(doc, 2, 1));
    EXPECT_EQ(doc.GetCell(2, 1), 'O');
    EXPECT_TRUE(doc.IsRevealed(2, 1));
    EXPECT_TRUE(doc.Modified);
    EXPECT_FALSE(RevealLetter(doc, 2, 1)); // already right
    EXPECT_FALSE(RevealLetter(doc, 1, 1)); // typed right: not marked
    EXPECT_FALSE(doc.IsRevealed(1, 1));
    EXPECT_FALSE(RevealLetter(doc, 2, 2)); // a block

    EXPECT_EQ(RevealWord(doc, 4), 3);
    EXPECT_EQ(doc.GetCell(4, 3), 'I');
    EXPECT_FALSE(IsSolved(doc));
    EXPECT_EQ(RevealAll(doc), 5);
    EXPECT_TRUE(IsSolved(doc));
    EXPECT_EQ(doc.RevealedCells().size(), 9u);
    EXPECT_EQ(doc.TextExport("k.txt").substr(doc.TextExport("k.txt").find("\r\n") + 2, 18), "KOTY\r\nA**S\r\nSOKI\r\n");
}

TEST(Solution, ACrosswordWithAnUnknownAnswerIsNeverSolved)
{
    TCrossTXT doc = Crossword();
    Type(doc, "KOTYA**SSOKI");
    EXPECT_TRUE(IsSolved(doc));
    TExpl expl = doc.GetExpl(4);
    expl.Answer.clear();
    doc.SetExpl(4, expl);
    // (4,2) lies only in YSI.
    EXPECT_FALSE(IsSolved(doc));
    EXPECT_FALSE(RevealLetter(doc, 4, 2));
}

TEST(Phrase, IsStoredUpperCaseWithSingleSpacesAndOnlyLetters)
{
    EXPECT_EQ(NormalizePhrase(Utf8ToCp1250("  ala   ma\tkota ")), "ALA MA KOTA");
    EXPECT_EQ(NormalizePhrase(Utf8ToCp1250("żółw")), Utf8ToCp1250("ŻÓŁW"));
    EXPECT_EQ(MessageOf([] { NormalizePhrase("kot1"); }),
              "Rozwiązanie może składać się tylko z liter i spacji, a zawiera znak „1”.");
    EXPECT_EQ(MessageOf([] { NormalizePhrase("   "); }), "Rozwiązanie nie może być puste.");
    EXPECT_EQ(MessageOf([] { NormalizePhrase(std::string(101, 'a')); }), "Rozwiązanie może mieć najwyżej 100 liter.");
    EXPECT_EQ(NormalizePhrase(std::string(100, 'a')), std::string(100, 'A'));
}

TEST(Phrase, EachLetterComesFromADifferentCellHoldingIt)
{
    const TCrossTXT doc = Crossword();
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        TRandom random(seed);
        const TPhrase phrase = ChoosePhraseCells(doc, "kosy sok", random);
        EXPECT_EQ(phrase.Text, "KOSY SOK");
        ASSERT_EQ(phrase.Cells.size(), 7u);
        const TSolutionGrid solution(doc);
        std::string spelled;
        for (const TCellPos& cell : phrase.Cells)
            spelled.push_back(char(solution.Letter(cell.Col, cell.Row)));
        EXPECT_EQ(spelled, "KOSYSOK");
        EXPECT_EQ(std::set<TCellPos>(phrase.Cells.begin(), phrase.Cells.end()).size(), 7u);
    }
}

TEST(Phrase, APhraseTheCrosswordCannotSpellNamesTheMissingLettersAndChangesNothing)
{
    const TCrossTXT doc = Crossword();
    TRandom random(3);
    EXPECT_EQ(MessageOf([&] { ChoosePhraseCells(doc, "kosz kokon", random); }),
              "Nie można ułożyć rozwiązania „KOSZ KOKON”: w krzyżówce brakuje liter: K (potrzeba 3, jest 2), "
              "N (potrzeba 1, nie ma żadnej), O (potrzeba 3, jest 2), Z (potrzeba 1, nie ma żadnej).");
    EXPECT_EQ(random.GetState(), 3u);
    EXPECT_FALSE(PhraseFits(doc, "KOSZ"));
    EXPECT_TRUE(PhraseFits(doc, "KOSY"));
    EXPECT_EQ(MessageOf([&] { ChoosePhraseCells(Grid(4, 3), "KOT", random); }),
              "Nie można utworzyć rozwiązania: krzyżówka nie zna swoich odpowiedzi.");
}

TEST(Phrase, LettersAreSpreadOverTheGrid)
{
    // A 7 x 7 grid of A's: a picker that takes cells in order would put the
    // four A's side by side; spread out, no two of them touch.
    TCrossTXT doc = Grid(7, 7);
    for (int r = 1; r <= 7; ++r)
        doc.AddExpl({1, r, "", "", true, "AAAAAAA"});
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        TRandom random(seed);
        const TPhrase phrase = ChoosePhraseCells(doc, "AAAA", random);
        for (size_t i = 0; i < phrase.Cells.size(); ++i)
            for (size_t j = i + 1; j < phrase.Cells.size(); ++j) {
                const int dc = phrase.Cells[i].Col - phrase.Cells[j].Col;
                const int dr = phrase.Cells[i].Row - phrase.Cells[j].Row;
                EXPECT_GE(dc * dc + dr * dr, 9) << seed;
            }
    }
}

TEST(Phrase, TheStripShowsWhatTheSolverTypedInTheNumberedCells)
{
    TCrossTXT doc = Crossword();
    doc.SetPhrase({"KO SY", {{1, 1}, {2, 3}, {1, 3}, {4, 1}}});
    EXPECT_EQ(PhraseLetters(doc), "__ __");
    doc.SetCell(2, 3, 'O');
    doc.SetCell(4, 1, 'X');
    EXPECT_EQ(PhraseLetters(doc), "_O _X");
    EXPECT_EQ(PhraseNumberAt(doc, 1, 3), 3);
    EXPECT_EQ(PhraseNumberAt(doc, 2, 1), 0);
}

namespace {

// Printed number, explanation number and length of each word of a list.
std::vector<std::array<int32_t, 3>> Words(const std::vector<TNumberedWord>& words)
{
    std::vector<std::array<int32_t, 3>> out;
    for (const TNumberedWord& w : words)
        out.push_back({w.Number, w.Expl, w.Length});
    return out;
}

} // namespace

// Start cells are numbered in reading order, one number a cell, whatever the
// order of the explanations; an explanation off the grid gets none.
TEST(Numbering, StartCellsInReadingOrderSharedByAcrossAndDown)
{
    using W = std::vector<std::array<int32_t, 3>>;
    const TNumbering numbers(Crossword());
    EXPECT_EQ(Words(numbers.Across()), (W{{1, 1, 4}, {3, 2, 4}}));
    EXPECT_EQ(Words(numbers.Down()), (W{{1, 3, 3}, {2, 4, 3}}));
    EXPECT_EQ(numbers.Count(), 3);
    EXPECT_EQ(numbers.NumberAt(1, 1), 1);
    EXPECT_EQ(numbers.NumberAt(4, 1), 2);
    EXPECT_EQ(numbers.NumberAt(1, 3), 3);
    EXPECT_EQ(numbers.NumberAt(2, 1), 0);
    EXPECT_EQ(numbers.NumberAt(9, 9), 0);
    EXPECT_EQ(numbers.NumberOfExpl(4), 2);

    TCrossTXT reordered = Grid(4, 3, "     **     ");
    reordered.AddExpl({4, 1, "Młode psy", "", false, "YSI"});
    reordered.AddExpl({1, 3, "Napoje", "", true, "SOKI"});
    reordered.AddExpl({1, 1, "Dawne pieniądze", "", false, "KAS"});
    reordered.AddExpl({1, 1, "Mruczą", "", true, "KOTY"});
    reordered.AddExpl({7, 1, "Poza siatką", "", true, ""});
    const TNumbering same(reordered);
    EXPECT_EQ(Words(same.Across()), (W{{1, 4, 4}, {3, 2, 4}}));
    EXPECT_EQ(Words(same.Down()), (W{{1, 3, 3}, {2, 1, 3}}));
    EXPECT_EQ(same.NumberOfExpl(5), 0);
}

// Where typing goes after the last letter of a word: the word's own gap, the
// rest of its direction, the other direction, then its direction from the start.
TEST(Numbering, TypingGoesOnToTheNextEmptyCellInClueListOrder)
{
    struct TCase {
        const char* name;
        std::string_view rows;
        int32_t expl;
        std::optional<TTypingPlace> place;
    };
    const TCase cases[] = {
        {"own gap first", "K TY        ", 1, TTypingPlace{{2, 1}, true}},
        {"next across word", "KOTY        ", 1, TTypingPlace{{1, 3}, true}},
        {"then the down words", "KOTYA   SOKI", 2, TTypingPlace{{4, 2}, false}},
        {"down after across", "K TYA  SSOKI", 4, TTypingPlace{{2, 1}, true}},
        {"its own list from the start", "KOTY   SSOKI", 4, TTypingPlace{{1, 2}, false}},
        {"every word full", "KOTYA  SSOKI", 3, std::nullopt},
        {"no such word", "            ", 99, std::nullopt},
    };
    for (const TCase& c : cases) {
        TCrossTXT doc = Crossword();
        Type(doc, c.rows);
        EXPECT_EQ(NextEmptyPlace(doc, TNumbering(doc), c.expl), c.place) << c.name;
    }
}

// The classic kind on the crossword above, with K typed, the phrase "KI" in
// the last two cells and the first Y revealed.
TEST(ClassicKind, DescribesCellsWordsAndCluesOfACrossword)
{
    TCrossTXT doc = Crossword();
    Type(doc, "K   A       ");
    doc.SetPhrase({"KI", {{3, 3}, {4, 3}}});
    doc.MarkRevealed(4, 1);
    const TCrosswordKind& kind = KindOf(doc);

    struct TCase {
        TCellPos cell;
        TCellShape shape;
        char letter, answer;
        int32_t number, phrase;
        bool revealed, inWord;
        int32_t acrossWord, downWord;
    };
    using S = TCellShape;
    // clang-format off
    const TCase cases[] = {
        {{1, 1}, S::Letter, 'K', 'K', 1, 0, false, true, 1, 3},
        {{4, 1}, S::Letter, ' ', 'Y', 2, 0, true, true, 1, 4},
        {{1, 2}, S::Letter, 'A', 'A', 0, 0, false, true, 0, 3},
        {{2, 2}, S::Block, '*', 0, 0, 0, false, false, 0, 0},
        {{1, 3}, S::Letter, ' ', 'S', 3, 0, false, true, 2, 3},
        {{4, 3}, S::Letter, ' ', 'I', 0, 2, false, true, 2, 4},
        {{5, 1}, S::Missing, ' ', 0, 0, 0, false, false, 0, 0},
    };
    // clang-format on
    const TCellFaces faces = kind.Faces(doc);
    for (const TCase& c : cases) {
        const TCellFace face = kind.Face(doc, c.cell);
        const std::string where = std::to_string(c.cell.Col) + "," + std::to_string(c.cell.Row);
        EXPECT_EQ(face, faces.At(c.cell.Col, c.cell.Row)) << where;
        EXPECT_EQ(face.Shape, c.shape) << where;
        EXPECT_EQ(face.Letter, static_cast<unsigned char>(c.letter)) << where;
        EXPECT_EQ(face.Answer, static_cast<unsigned char>(c.answer)) << where;
        EXPECT_EQ(face.Number, c.number) << where;
        EXPECT_EQ(face.PhraseNumber, c.phrase) << where;
        EXPECT_EQ(face.Revealed, c.revealed) << where;
        EXPECT_EQ(face.InWord, c.inWord) << where;
        EXPECT_EQ(kind.WordAt(doc, c.cell, TDirection::Across), c.acrossWord) << where;
        EXPECT_EQ(kind.WordAt(doc, c.cell, TDirection::Down), c.downWord) << where;
    }

    EXPECT_EQ(kind.WordCells(doc, doc.GetExpl(4)), (std::vector<TCellPos>{{4, 1}, {4, 2}, {4, 3}}));
    // Typing goes on in the word, after its end to the first gap in the clue lists' order.
    EXPECT_EQ(kind.PlaceAfter(doc, {2, 1}, TDirection::Across), (TTypingPlace{{3, 1}, true}));
    EXPECT_EQ(kind.PlaceAfter(doc, {4, 1}, TDirection::Across), (TTypingPlace{{2, 1}, true}));
    EXPECT_EQ(kind.PlaceAfter(doc, {1, 2}, TDirection::Across), std::nullopt);
    // Moving by words along the middle row "A**_" and down the last column.
    EXPECT_EQ(kind.WordStartBefore(doc, {3, 2}, TDirection::Across), (TCellPos{1, 2}));
    EXPECT_EQ(kind.WordStartBefore(doc, {4, 2}, TDirection::Across), (TCellPos{4, 2}));
    EXPECT_EQ(kind.NextWordStart(doc, {1, 2}, TDirection::Across), (TCellPos{4, 2}));
    EXPECT_EQ(kind.NextWordStart(doc, {4, 2}, TDirection::Across), (TCellPos{4, 2}));
    EXPECT_EQ(kind.NextWordStart(doc, {4, 1}, TDirection::Down), (TCellPos{4, 3}));
    std::vector<std::pair<std::string, std::vector<int32_t>>> lists;
    for (const TClueSection& section : kind.Clues(doc)) {
        lists.push_back({section.Heading, {}});
        for (const TNumberedWord& word : section.Words)
            lists.back().second.push_back(word.Number);
    }
    using L = decltype(lists);
    EXPECT_EQ(lists, (L{{"Poziomo", {1, 3}}, {"Pionowo", {1, 2}}}));
    EXPECT_EQ(kind.Composer(), TComposerName::TemplateFill);
}
