#include "composer/Composer.h"

#include "composer/BackjumpSearch.h"
#include "composer/ExactFill.h"
#include "documents/CrossTXT.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <unordered_set>

namespace mz {

TDBSource FileDBSource(std::string fileName, const TDBLoadFilter& filter, TDBQueryMode mode)
{
    return [fileName = std::move(fileName), filter, mode] {
        auto db = std::make_unique<TDB>(mode);
        db->LoadShared(fileName, filter);
        return db;
    };
}

TTable TableFromDocument(const TCrossTXT& pattern)
{
    TTable table(pattern.ColCount(), pattern.RowCount());
    for (int32_t c = 1; c <= pattern.ColCount(); ++c)
        for (int32_t r = 1; r <= pattern.RowCount(); ++r)
            table.SetCell(c, r, static_cast<char>(pattern.GetCell(c, r)));
    return table;
}

uint8_t FillPercentage(const TTable& grid)
{
    const int64_t all = static_cast<int64_t>(grid.ColCount()) * grid.RowCount();
    if (all == 0)
        return 0;
    const int64_t scaled = static_cast<int64_t>(grid.FilledCount()) * 100;
    int64_t percent = scaled / all;
    const int64_t twiceRest = 2 * (scaled % all);
    if (twiceRest > all || (twiceRest == all && percent % 2 == 1))
        ++percent;
    return static_cast<uint8_t>(percent);
}

std::string CheckComposable(const TTable& pattern, TDB& db, const TKwelinSettings& settings)
{
    const int32_t m = std::max(settings.MinLenPWord, 1);
    const int32_t first = settings.AnyWordLocation ? 1 : 2;
    bool open = false;
    int32_t longest = 0;  // longest block-free stretch of a line that may carry words
    int64_t rowsNeed = 0; // non-free cells the rows need at the end, likewise the columns
    int64_t colsNeed = 0;
    auto line = [&](const std::string& cells, int64_t& need) {
        int32_t stretch = 0;
        int32_t free = 0;
        for (size_t i = 0; i <= cells.size(); ++i) {
            const char cell = i < cells.size() ? cells[i] : TTable::Block;
            stretch = cell == TTable::Block ? 0 : stretch + 1;
            longest = std::max(longest, stretch);
            if (cell == TTable::Free) {
                ++free;
                continue;
            }
            need += free / m; // no m free cells may stay side by side
            free = 0;
        }
    };
    for (int32_t r = 1; r <= pattern.RowCount(); ++r) {
        const std::string cells = pattern.RowLine(r);
        open = open || cells.find_first_not_of(TTable::Block) != std::string::npos;
        if (r >= first)
            line(cells, rowsNeed);
    }
    for (int32_t c = first; c <= pattern.ColCount(); ++c)
        line(pattern.ColLine(c), colsNeed);
    if (!open)
        return MsgNoOpenCells;
    if (longest < m)
        return MsgNoRoomForWord + std::to_string(m);

    // The distinct words short enough for the longest stretch are counted
    // only until they cover what the lines need.
    const int64_t need = std::max(rowsNeed, colsNeed);
    std::unordered_set<std::string_view> distinct;
    int64_t covered = 0;
    bool anyFits = false;
    for (uint32_t id = 0; id < static_cast<uint32_t>(db.RecordCount()); ++id) {
        const std::string_view w = db.Word(id);
        if (db.ListOf(id) != dlWords || w.size() > static_cast<size_t>(longest))
            continue;
        anyFits = true;
        if (covered >= need)
            break;
        if (distinct.insert(w).second)
            covered += 3 * static_cast<int64_t>(w.size()) + 4;
    }
    if (!anyFits)
        return MsgNoFittingWord;
    if (covered < need)
        return MsgTooFewWords;
    return {};
}

TComposeRun::TComposeRun(TTable pattern, TDBSource dbSource, const TComposerSettings& settings)
    : Pattern(std::move(pattern)), DBSource(std::move(dbSource)), Settings(settings)
{
}

void TComposeRun::Preview(const TTable& grid, bool final)
{
    if (OnPreview)
        OnPreview(grid, final);
}

std::unique_ptr<TCrossKwelin> TComposeRun::NewAttempt(TDB& db, const TTable& from, uint32_t seed)
{
    auto kwelin = std::make_unique<TCrossKwelin>(from, db, Settings, seed);
    if (OnPreview)
        kwelin->OnPreview = [this](const TTable& grid) { Preview(grid, false); };
    return kwelin;
}

uint32_t TComposeRun::BackjumpBudget(uint32_t k) const
{
    const uint64_t base = Settings.MaxSteps != 0 ? Settings.MaxSteps : DefaultMaxSteps;
    const uint64_t most = std::min<uint64_t>(32 * std::max<uint64_t>(base, DefaultMaxSteps), UINT32_MAX);
    uint64_t budget = base;
    for (uint32_t i = 0; i < k && budget < most; ++i)
        budget += std::max<uint64_t>(budget / 2, 1);
    return static_cast<uint32_t>(std::min(budget, most));
}

void TComposeRun::Polish(TDB& db, std::unique_ptr<TCrossKwelin>& kwelin, TComposeResult& result,
                         const std::atomic<bool>& stopCreating, const std::function<bool()>& hopeless)
{
    const int64_t cells = static_cast<int64_t>(Pattern.ColCount()) * Pattern.RowCount();
    const int64_t enough = cells * PolishLetterShare / 100;
    TTable finished = kwelin->Table();
    int32_t letters = LetterCount(finished);
    TRandom random(kwelin->Random().Draw(0xFFFFFFFFu));
    bool changed = false;
    for (uint32_t round = 0; round < PolishRounds && letters < enough && !stopCreating; ++round) {
        int32_t col = 0;
        int32_t row = 0;
        // Windows of 5, 7 and 9 cells a side in turn.
        const int32_t radius = RepairRadius - 1 + static_cast<int32_t>(round % 3);
        SparseWindow(finished, radius, random, col, row);
        const TTable from = EraseAround(finished, Pattern, col, row, radius, Settings.AnyWordLocation);
        db.Restore();
        MarkStandingWords(db, from, Settings.MinLenPWord);
        TCrossKwelin refill(from, db, Settings, random.Draw(0xFFFFFFFFu));
        TBackjumpSearch search(refill, db);
        int32_t fullest = from.FilledCount();
        uint32_t steps = 0;
        uint32_t fullestStep = 0;
        bool ended = false;
        TPWordCoordinate slot = search.ChooseSlot();
        while (slot.Found() && !stopCreating && steps - fullestStep < RepairStallSteps) {
            if (hopeless())
                break;
            ++steps;
            ++result.TotalSteps;
            if (!search.Step(slot)) {
                ended = true;
                break;
            }
            if (refill.Table().FilledCount() > fullest) {
                fullest = refill.Table().FilledCount();
                fullestStep = steps;
            }
            slot = search.ChooseSlot();
        }
        if (slot.Found() && hopeless())
            break; // out of time: the finished grid stands
        if (ended || slot.Found() || stopCreating)
            continue;
        refill.FillBlanks();
        const int32_t now = LetterCount(refill.Table());
        if (now < letters || !search.GridIsSound())
            continue;
        // Words laid before that the refill kept, and the refill's own.
        const std::vector<std::string> standing = from.Words(Settings.MinLenPWord);
        std::vector<std::string> placed;
        for (const std::string& w : result.PlacedWords)
            if (std::find(standing.begin(), standing.end(), w) != standing.end())
                placed.push_back(w);
        for (const std::string& w : search.PlacedWords())
            placed.push_back(w);
        result.PlacedWords = std::move(placed);
        finished = refill.Table();
        letters = now;
        changed = true;
        ++result.Polished;
        Preview(finished, false);
    }
    if (!changed) {
        db.Restore();
        MarkStandingWords(db, finished, Settings.MinLenPWord);
        return;
    }
    // The kwelin that hands the crossword over holds the denser grid and the database its words.
    db.Restore();
    MarkStandingWords(db, finished, Settings.MinLenPWord);
    kwelin = NewAttempt(db, finished, random.Draw(0xFFFFFFFFu));
}

void TComposeRun::FillExactly(TDB& db, TComposeResult& result, TCrossTXT& newCrossWord,
                              const std::atomic<bool>& stopCreating, std::atomic<uint8_t>& createProgress)
{
    if (Pattern.Cells().find_first_not_of(TTable::Block) == std::string_view::npos) {
        result.Failed = true;
        result.Message = MsgNoOpenCells;
        return;
    }
    TExactFill fill(Pattern, db, Settings.MinLenPWord, result.Seed);
    if (OnPreview)
        fill.OnPreview = [this](const TTable& grid) { Preview(grid, false); };
    TExactFillOutcome outcome = fill.Run(stopCreating, Settings.TimeLimitMs);
    result.TotalSteps = outcome.Nodes;
    result.Steps = static_cast<uint32_t>(std::min<uint64_t>(outcome.Nodes, UINT32_MAX));
    result.Restarts = outcome.Restarts;
    if (outcome.End != feFilled) {
        Preview(Pattern, true);
        result.Stopped = outcome.End == feStopped;
        result.Failed = !result.Stopped;
        result.Message = outcome.Message;
        return;
    }
    result.Grid = *outcome.Grid;
    result.PlacedWords = std::move(outcome.Words);
    Preview(*result.Grid, true);
    TCrossKwelin kwelin(*result.Grid, db, Settings, result.Seed);
    kwelin.TransferTo(newCrossWord);
    createProgress = 100;
    result.HandedOver = true;
}

TComposeResult TComposeRun::Execute(TCrossTXT& newCrossWord, const std::atomic<bool>& stopCreating,
                                    std::atomic<uint8_t>& createProgress, std::optional<uint32_t> seed)
{
    TComposeResult result;
    const auto started = std::chrono::steady_clock::now();
    auto elapsedMs = [&] {
        return static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count());
    };
    try {
        std::unique_ptr<TDB> db = DBSource();
        result.Seed = seed ? *seed : TRandom::ClockSeed();
        result.AttemptSeed = result.Seed;
        if (Settings.FillExact) {
            FillExactly(*db, result, newCrossWord, stopCreating, createProgress);
            return result;
        }
        if (std::string why = CheckComposable(Pattern, *db, Settings); !why.empty()) {
            result.Failed = true;
            result.Message = why;
            return result;
        }

        const int64_t cells = static_cast<int64_t>(Pattern.ColCount()) * Pattern.RowCount();
        const uint32_t plainAttempts = Settings.PlainAttempts != 0 ? Settings.PlainAttempts
            : cells <= SmallTemplateCells                          ? PlainAttemptsSmall
                                                                   : 1;
        const uint64_t idleSteps = IdleStepsFor(Settings.MaxIdleSteps, cells);
        int32_t bestFilled = -1;
        uint64_t lastGain = 0; // TotalSteps when the fullest grid so far was reached
        auto report = [&] {
            if (OnProgress)
                OnProgress(TComposeProgress{result.TotalSteps, result.Restarts,
                                            static_cast<uint8_t>(
                                                bestFilled < 0 ? 0 : bestFilled * 100 / std::max<int64_t>(cells, 1)),
                                            elapsedMs()});
        };
        auto hopeless = [&] {
            return (idleSteps != 0 && result.TotalSteps - lastGain >= idleSteps)
                || (Settings.MaxTotalSteps != 0 && result.TotalSteps >= Settings.MaxTotalSteps)
                || (Settings.TimeLimitMs != 0 && elapsedMs() >= Settings.TimeLimitMs);
        };

        std::unique_ptr<TCrossKwelin> kwelin = NewAttempt(*db, Pattern, result.Seed);
        std::unique_ptr<TBackjumpSearch> backjump;
        uint32_t fresh = 0;                  // backjumping attempts that started from the template
        uint32_t repairsInRow = 0;           // repairs since the last fresh attempt
        bool repaired = false;               // the current attempt grows a repaired grid
        std::vector<std::string> laidBefore; // words of earlier attempts that the repaired grid keeps
        // The fullest grid since the last fresh attempt and the words laid into it.
        TTable best = Pattern;
        int32_t bestOfRepairs = -1;
        std::vector<std::string> bestLaid;
        for (uint32_t attempt = 0;; ++attempt) {
            // The plain attempt: the search as it always was, within MaxSteps.
            // The backjumping one: the stronger search within its growing
            // budget, ended earlier when it stops getting anywhere.
            uint32_t budget = Settings.MaxSteps;
            const bool backjumping = attempt >= plainAttempts;
            if (backjumping) {
                budget = BackjumpBudget(fresh);
                backjump = std::make_unique<TBackjumpSearch>(*kwelin, *db);
                if (OnPreview)
                    backjump->OnPreview = [this](const TTable& grid) { Preview(grid, false); };
                result.Backjumping = true;
            }
            auto choose = [&] { return backjump ? backjump->ChooseSlot() : kwelin->ChooseSlot(); };

            bool searchEnded = false;
            bool gaveUp = false;
            TTable fullest = kwelin->Table(); // the fullest grid of this attempt
            int32_t fullestFilled = fullest.FilledCount();
            uint32_t fullestStep = 0;
            TPWordCoordinate slot = choose();
            while (slot.Found() && !stopCreating) {
                if (budget != 0 && result.Steps >= budget)
                    break;
                if (backjumping && result.Steps - fullestStep >= RepairStallSteps)
                    break;
                if (hopeless()) {
                    gaveUp = true;
                    break;
                }
                ++result.Steps;
                ++result.TotalSteps;
                if (!(backjump ? backjump->Step(slot) : kwelin->Step(slot))) {
                    searchEnded = true;
                    break;
                }
                const TTable& grid = kwelin->Table();
                const int32_t filled = grid.FilledCount();
                createProgress = std::max(createProgress.load(), FillPercentage(grid));
                if (filled > bestFilled) {
                    bestFilled = filled;
                    lastGain = result.TotalSteps;
                }
                if (backjumping && filled > fullestFilled) {
                    fullestFilled = filled;
                    fullest = grid;
                    fullestStep = result.Steps;
                }
                if ((result.TotalSteps & 1023) == 0)
                    report();
                slot = choose();
            }
            // The first slot does not depend on the seed: when nothing fits
            // it, no attempt can do better.
            if (gaveUp || (searchEnded && result.Steps == 1 && !repaired)) {
                result.Failed = true;
                result.Message = MsgComposeFailed;
                return result;
            }

            bool unsound = false; // finished, but breaking a rule: nothing to go on from
            if (stopCreating || (!searchEnded && !slot.Found())) {
                result.PlacedWords = laidBefore;
                const std::vector<std::string> laid = backjump ? backjump->PlacedWords() : kwelin->PlacedWords();
                result.PlacedWords.insert(result.PlacedWords.end(), laid.begin(), laid.end());
                kwelin->FillBlanks();
                // The backjumping search checks its grid as a whole; the plain
                // one is kept exactly as it always was.
                const bool sound = stopCreating || !backjump || backjump->GridIsSound();
                if (sound && (stopCreating || !result.PlacedWords.empty() || repaired))
                    break;
                unsound = !sound;
                if (result.PlacedWords.empty() && !repaired) {
                    result.Failed = true; // no slot from the start: no attempt can lay a word
                    result.Message = MsgComposeFailed;
                    return result;
                }
            }

            // Abandon the attempt; the next seed comes from this run's own
            // generator, so the whole run still follows from its first seed.
            // A backjumping attempt that got stuck hands on the fullest grid so
            // far with the cells around its worst dead end freed again, the
            // more of them the longer no repair made the grid fuller; after
            // MaxRepairs repairs in a row the next attempt starts afresh.
            const uint32_t next = kwelin->Random().Draw(0xFFFFFFFFu);
            TTable from = Pattern;
            repaired = false;
            int32_t col = 0;
            int32_t row = 0;
            if (backjump && !unsound && fullestFilled >= bestOfRepairs) {
                // Only a grid at least as full as the fullest so far is repaired.
                if (fullestFilled > bestOfRepairs)
                    repairsInRow = 0;
                best = fullest;
                bestOfRepairs = fullestFilled;
                bestLaid = laidBefore;
                const std::vector<std::string> laid = backjump->PlacedWords();
                bestLaid.insert(bestLaid.end(), laid.begin(), laid.end());
            }
            if (backjump && !unsound && repairsInRow < MaxRepairs
                && (backjump->WorstDeadEnd(col, row) || slot.Found())) {
                if (col == 0) {
                    col = slot.Col;
                    row = slot.Row;
                }
                const auto radius = RepairRadius + static_cast<int32_t>(repairsInRow / RepairsPerRadius);
                from = EraseAround(best, Pattern, col, row, radius, Settings.AnyWordLocation);
                repaired = true;
            }
            if (repaired) {
                const std::vector<std::string> standing = from.Words(Settings.MinLenPWord);
                laidBefore.clear();
                for (const std::string& w : bestLaid)
                    if (std::find(standing.begin(), standing.end(), w) != standing.end())
                        laidBefore.push_back(w);
                ++repairsInRow;
                ++result.Repairs;
            } else {
                bestOfRepairs = -1;
                laidBefore.clear();
                repairsInRow = 0;
                if (backjumping)
                    ++fresh;
                ++result.Restarts;
            }
            backjump.reset();
            kwelin.reset();
            db->Restore();
            if (repaired)
                MarkStandingWords(*db, from, Settings.MinLenPWord);
            kwelin = NewAttempt(*db, from, next);
            result.AttemptSeed = next;
            result.Steps = 0;
            result.PlacedWords.clear();
            Preview(kwelin->Table(), false);
            report();
        }

        if (!stopCreating && result.Backjumping && cells > SmallTemplateCells)
            Polish(*db, kwelin, result, stopCreating, hopeless);

        Preview(kwelin->Table(), true);
        result.Grid = kwelin->Table();
        if (!stopCreating) {
            kwelin->TransferTo(newCrossWord);
            createProgress = 100;
            result.HandedOver = true;
        } else {
            result.Stopped = true;
        }
    } catch (const std::exception& e) {
        result.Error = e.what();
        result.Failed = true;
        result.Message = e.what();
    }
    return result;
}

} // namespace mz
