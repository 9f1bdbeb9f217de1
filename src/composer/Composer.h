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

struct TComposerSettings : TKwelinSettings {
    uint32_t MaxSteps = DefaultMaxSteps; // 0: no limit
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
    bool HandedOver = false;  // the result document was filled and the progress set to 100
    bool Stopped = false;
    std::string Error;        // message of the error that ended the run (the window ignores it)
    uint32_t Seed = 0;        // the generator's state at the start of the run
    uint32_t AttemptSeed = 0; // the seed of the attempt that ended the run
    uint32_t Steps = 0;       // steps of that attempt
    uint64_t TotalSteps = 0;  // steps of all attempts
    uint32_t Restarts = 0;
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

    // Without a seed the generator starts from the clock. Errors end the run
    // and are reported in the result, never thrown.
    TComposeResult Execute(TCrossTXT& newCrossWord, const std::atomic<bool>& stopCreating,
                           std::atomic<uint8_t>& createProgress, std::optional<uint32_t> seed = std::nullopt);

private:
    std::unique_ptr<TCrossKwelin> NewAttempt(TDB& db, uint32_t seed);
    void Preview(const TTable& grid, bool final);

    TTable Pattern;
    TDBSource DBSource;
    TComposerSettings Settings;
};

// Fill percentage of a grid: letters and blocks over all cells, rounded to the
// nearest integer with halves to the even neighbour.
uint8_t FillPercentage(const TTable& grid);

} // namespace mz
