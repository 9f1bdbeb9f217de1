#pragma once

#include "database/DB.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace mz {

// The words a composing run reads, taken once when the run starts: the shipped
// database with the user's changes applied (docs/worddb.md). Each attempt of
// the run gets its own database of exactly these words, so a save during the
// run changes nothing in it and the next run reads the saved words.
class TComposeWords {
public:
    // Reads the shipped file and, when there is one, the user's change file
    // (an empty name: none). A shipped file that cannot be read raises its
    // loading error; a damaged change file is left out and Problem() says why.
    static std::shared_ptr<const TComposeWords> Read(const std::string& shippedFile, const std::string& userFile);

    // A fresh database of these words; excluded words are dropped by the load.
    // The words are parsed (and indexed) at the first call; later calls, any
    // filter, share them.
    std::unique_ptr<TDB> NewDB(const TDBLoadFilter& filter, TDBQueryMode mode = qmIndexed) const;
    // Edition, counts and length bounds of the words composed from, for the
    // about box and the options dialog.
    TDBStatistics Statistics() const;

    // Empty, or why the user's change file was not used (Polish).
    const std::string& Problem() const { return Problem_; }
    bool UsesUserFile() const { return UsesUserFile_; }

private:
    std::string ShippedFile;
    std::string Bytes;                  // the shipped file, when there are no changes to apply
    std::vector<TDBFileRecord> Records; // the merged words, otherwise
    int32_t Edition = -1;
    std::string Problem_;
    bool UsesUserFile_ = false;
    mutable std::mutex ParseLock;
    mutable std::unique_ptr<const TDB> Parsed;
};

// A word-database source for a composing run (TComposeRun, TCrossCreator):
// every call gives a new database of the same words.
std::function<std::unique_ptr<TDB>()> ComposeDBSource(std::shared_ptr<const TComposeWords> words,
                                                      const TDBLoadFilter& filter, TDBQueryMode mode = qmIndexed);

} // namespace mz
