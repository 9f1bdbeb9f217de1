#pragma once

#include "core/Table.h"
#include "core/Random.h"
#include "database/DB.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mz {

// What an exact fill cannot do, in the user's words.
inline constexpr const char* MsgNoExactFill =
    "Tego szablonu nie da się wypełnić hasłami z bazy bez dodawania czarnych pól";
inline constexpr const char* MsgExactFillTimedOut =
    "Nie znaleziono wypełnienia szablonu w limicie czasu; może ono nie istnieć";
// Followed by the shortest word length.
inline constexpr const char* MsgCellOutsideWords =
    "Szablon ma wolne pole, które nie leży w żadnym ciągu wolnych pól o długości co najmniej ";

// How an exact fill ended.
enum TExactFillEnd : uint8_t {
    feFilled,     // every open cell has a letter
    feNone,       // the search went through every possibility: there is no fill
    feTimedOut,   // the time limit came first
    feStopped,    // the stop request came first
    feUnfillable, // the template itself cannot be filled (a cell in no run of MinLen cells)
};

struct TExactFillOutcome {
    TExactFillEnd End = feNone;
    std::string Message;            // Polish, for the user; empty when filled
    std::optional<TTable> Grid;     // the filled grid
    std::vector<std::string> Words; // the words of the fill in the order they were chosen
    uint64_t Nodes = 0;             // words tried
    uint64_t Backjumps = 0;
    uint32_t Restarts = 0;
};

// Fills a fixed pattern exactly: no block is added, every open cell gets a
// letter, every run of at least minLen open cells of a row or column becomes
// a word of the database's Words, no word stands twice, and the template's
// letters stay. Runs shorter than minLen are no words and need no check.
//
// The search takes the run with the fewest fitting words first, tries its
// words in the order that leaves the crossing runs the most words (ties and
// near ties broken by the seed), prunes a word that leaves a crossing run
// without any, and on a dead end jumps back straight to the newest word that
// took part in it (conflict-directed backjumping), so it never undoes words
// that had nothing to do with the dead end. Attempts restart with a fresh
// order after a number of backjumps that doubles each time; an attempt that
// runs out of words with nobody to blame proves that no fill exists.
class TExactFill {
public:
    TExactFill(const TTable& pattern, const TDB& db, int32_t minLen, uint32_t seed);
    ~TExactFill();
    TExactFill(const TExactFill&) = delete;
    TExactFill& operator=(const TExactFill&) = delete;

    // Called now and then with the grid as it stands.
    std::function<void(const TTable&)> OnPreview;

    // timeLimitMs 0: no limit.
    TExactFillOutcome Run(const std::atomic<bool>& stop, uint32_t timeLimitMs);

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

} // namespace mz
