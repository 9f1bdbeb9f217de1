#pragma once

#include "composer/Kwelin.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace mz {

class TCrossTXT;

// Steps one attempt may take before it is abandoned and started afresh from the
// template. The search itself has no bound: on an open 15 x 11 grid a few seeds
// wander for tens of thousands of steps, while nearly every attempt finishes in
// a few hundred (docs/composer.md has the measured distribution).
inline constexpr uint32_t DefaultMaxSteps = 2000;

// Templates of up to this many cells (the largest shipped one, 20 x 15) keep
// restarting the plain search for PlainAttemptsSmall attempts before the run
// turns to the backjumping search; larger ones turn to it after the first
// attempt. So a seed gives on such a template exactly the crossword it always
// gave, while a large open template, where the plain search nearly never
// finishes, gets the search that does.
inline constexpr int64_t SmallTemplateCells = 300;
inline constexpr uint32_t PlainAttemptsSmall = 100;

// A backjumping attempt that has not made its grid fuller within
// RepairStallSteps steps ends. The next attempt goes on from the fullest grid
// so far with the cells around the worst dead end of the attempt freed again:
// those within RepairRadius, one more for every RepairsPerRadius repairs in a
// row that did not make the grid fuller. After MaxRepairs such repairs in a
// row the next attempt starts afresh from the template.
inline constexpr uint32_t RepairStallSteps = 500;
inline constexpr int32_t RepairRadius = 3;
inline constexpr uint32_t RepairsPerRadius = 10;
inline constexpr uint32_t MaxRepairs = 50;

// A finished grid of a template larger than SmallTemplateCells with fewer
// than PolishLetterShare per cent letters (the shipped templates get about 68)
// has one of its sparsest parts freed and grown anew in each of at most
// PolishRounds rounds; a refill with no fewer letters is kept.
inline constexpr int64_t PolishLetterShare = 69;
inline constexpr uint32_t PolishRounds = 100;

// A run gives up when this many steps in a row have not brought a grid fuller
// than the fullest one so far (the plain attempts of a small template take at
// most 200 000 steps, so they never reach it).
inline constexpr uint64_t DefaultMaxIdleSteps = 500000;

// On a template of more than IdleScaledCells cells one attempt afresh with its
// repairs takes tens of thousands of steps (about 50 000 to 150 000 on 60 x 50)
// and seldom ends fuller than the fullest grid of the attempts before it, though
// any of them may finish: there the run gives up only after IdleStepsPerCell
// idle steps a cell (1.5 million on 60 x 50), if MaxIdleSteps is fewer.
inline constexpr int64_t IdleScaledCells = 1000;
inline constexpr uint64_t IdleStepsPerCell = 500;
inline constexpr uint64_t IdleStepsFor(uint64_t maxIdleSteps, int64_t cells)
{
    return maxIdleSteps != 0 && cells > IdleScaledCells
            && static_cast<uint64_t>(cells) * IdleStepsPerCell > maxIdleSteps
        ? static_cast<uint64_t>(cells) * IdleStepsPerCell
        : maxIdleSteps;
}

// A run with no other end (a large open template where each attempt makes the
// grid a little fuller, so the idle steps never add up) gives up after
// RunStepsPerCell steps for each cell of the template, and never before
// MinRunSteps: a few minutes for the largest template.
inline constexpr uint64_t RunStepsPerCell = 1000;
inline constexpr uint64_t MinRunSteps = 5000000;
inline constexpr uint64_t RunStepsFor(int64_t cells)
{
    return cells > 0 && static_cast<uint64_t>(cells) * RunStepsPerCell > MinRunSteps
        ? static_cast<uint64_t>(cells) * RunStepsPerCell
        : MinRunSteps;
}

struct TComposerSettings : TKwelinSettings {
    uint32_t MaxSteps = DefaultMaxSteps;         // steps of one attempt; 0: no limit
    uint64_t MaxIdleSteps = DefaultMaxIdleSteps; // 0: never give up for that; see IdleStepsFor
    uint32_t TimeLimitMs = 0;                    // whole run; 0: no limit
    uint64_t MaxTotalSteps = 0;                  // steps of the whole run; 0: no limit
    // Attempts of the plain search before the backjumping one takes over;
    // 0: PlainAttemptsSmall on templates of up to SmallTemplateCells cells, else 1.
    uint32_t PlainAttempts = 0;
    // Fill the template exactly (TExactFill): no block added, every open cell
    // a letter, every run of at least MinLenPWord cells a word.
    bool FillExact = false;
};

// What a run cannot do, in the user's words.
inline constexpr const char* MsgComposeFailed = "Nie udało się ułożyć krzyżówki z tego szablonu i tej bazy haseł";
inline constexpr const char* MsgNoOpenCells = "Szablon nie ma wolnych pól";
// Followed by the shortest word length.
inline constexpr const char* MsgNoRoomForWord = "W szablonie nie ma ciągu wolnych pól, w którym zmieściłoby się hasło "
                                                "o długości co najmniej ";
inline constexpr const char* MsgNoFittingWord = "W bazie haseł nie ma żadnego hasła o długości, jaką przyjmuje szablon";
inline constexpr const char* MsgTooFewWords = "W bazie haseł jest za mało różnych haseł dla tego szablonu";

// Whether the template and the words can give a crossword at all: empty when
// they might, otherwise why not. It asks for open cells, a stretch of at least
// MinLenPWord cells in a row or column that may carry words, an active word no
// longer than the longest stretch, and enough distinct words: once the run
// ends, no row or column may keep MinLenPWord free cells side by side, and a
// word of n letters can fill at most 3n + 4 cells of the rows (and of the
// columns): its letters, its closing blocks and the blocks that close a lone
// crossing letter on both sides.
std::string CheckComposable(const TTable& pattern, TDB& db, const TKwelinSettings& settings);

// How far a run has come, for a progress display.
struct TComposeProgress {
    uint64_t TotalSteps = 0;
    uint32_t Restarts = 0;
    uint8_t BestFill = 0; // fill percentage of the fullest grid so far
    uint64_t ElapsedMs = 0;
};

// Gives every run its own word database. A restart within the run puts the
// database back as the source gave it (TDB::Restore), so that it sees the word
// lists exactly as a new run would.
using TDBSource = std::function<std::unique_ptr<TDB>()>;
// The file is parsed once per process while it stays unchanged (TDB::LoadShared).
TDBSource FileDBSource(std::string fileName, const TDBLoadFilter& filter, TDBQueryMode mode = qmIndexed);

// The template's cells as the composer sees them: ' ' free, '*' block, anything else a letter.
TTable TableFromDocument(const TCrossTXT& pattern);

struct TComposeResult {
    bool HandedOver = false; // the result document was filled and the progress set to 100
    bool Stopped = false;
    // The run ended without a crossword and not by a stop: the template and the
    // words cannot give one, the run gave up, or an error ended it. Message
    // says why, in Polish, for the user; nothing was handed over.
    bool Failed = false;
    std::string Message;
    std::string Error;          // message of the error that ended the run (also in Message)
    bool Backjumping = false;   // the attempt that ended the run used the backjumping search
    uint32_t Seed = 0;          // the generator's state at the start of the run
    uint32_t AttemptSeed = 0;   // the seed of the attempt that ended the run
    uint32_t Steps = 0;         // steps of that attempt
    uint64_t TotalSteps = 0;    // steps of all attempts
    uint32_t Restarts = 0;      // attempts started afresh from the template
    uint32_t Repairs = 0;       // attempts that went on from a repaired grid
    uint32_t Polished = 0;      // refills that made the finished grid denser
    std::optional<TTable> Grid; // the final working grid, letters included
    // The words the search laid, in the order they were laid. A run that
    // crossings completed without a step laying it is not among them.
    std::vector<std::string> PlacedWords;
};

// One composing run without any window: load the database, fill the template
// step by step, close the blanks and hand the result to the document. The stop
// request is read between steps and between restarts; the progress never falls.
class TComposeRun {
public:
    TComposeRun(TTable pattern, TDBSource dbSource, const TComposerSettings& settings);

    // Called after every placed or undone word (final false) and once with the
    // closed grid at the end (final true). Runs on the composing thread.
    std::function<void(const TTable& grid, bool final)> OnPreview;
    // Called every 1024 steps and at every restart, on the composing thread.
    std::function<void(const TComposeProgress&)> OnProgress;

    // Without a seed the generator starts from the clock. Errors end the run
    // and are reported in the result, never thrown.
    TComposeResult Execute(TCrossTXT& newCrossWord, const std::atomic<bool>& stopCreating,
                           std::atomic<uint8_t>& createProgress, std::optional<uint32_t> seed = std::nullopt);

private:
    std::unique_ptr<TCrossKwelin> NewAttempt(TDB& db, const TTable& from, uint32_t seed);
    // The run of FillExact.
    void FillExactly(TDB& db, TComposeResult& result, TCrossTXT& newCrossWord, const std::atomic<bool>& stopCreating,
                     std::atomic<uint8_t>& createProgress);
    // Steps a backjumping attempt may take after k backjumping attempts that
    // started afresh from the template: the budget grows by half (at least one
    // step) with every such attempt, up to 32 times the larger of MaxSteps and
    // DefaultMaxSteps. Most attempts end earlier, at RepairStallSteps.
    uint32_t BackjumpBudget(uint32_t k) const;
    void Preview(const TTable& grid, bool final);
    // Frees a sparse part of a finished grid again and grows it anew, keeping
    // a sound refill with no fewer letters, until PolishLetterShare is reached
    // or PolishRounds rounds are over. On return the kwelin holds the grid
    // to hand over and the database the state its words give.
    void Polish(TDB& db, std::unique_ptr<TCrossKwelin>& kwelin, TComposeResult& result,
                const std::atomic<bool>& stopCreating, const std::function<bool()>& hopeless);

    TTable Pattern;
    TDBSource DBSource;
    TComposerSettings Settings;
};

// Fill percentage of a grid: letters and blocks over all cells, rounded to the
// nearest integer with halves to the even neighbour.
uint8_t FillPercentage(const TTable& grid);

} // namespace mz
