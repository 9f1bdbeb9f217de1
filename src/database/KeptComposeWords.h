#pragma once

#include "database/ComposeWords.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace mz {

// What tells one state of a file from another: whether it is there, its size,
// its modification time and which file it is (device and inode), so that a
// file replaced by a save is new even with the same size and time.
struct TFileStamp {
    bool Exists = false;
    uintmax_t Size = 0;
    std::filesystem::file_time_type Time{};
    uint64_t Device = 0;
    uint64_t Inode = 0;

    static TFileStamp Of(const std::string& fileName);
    bool operator==(const TFileStamp&) const = default;
};

// The words for composing, kept between runs: the shipped database and the
// user's change file are read, parsed and indexed again only when either has
// changed (or other files are named); otherwise every run gets the same words,
// and a different filter (lengths, least score, a series' answers) only sets
// up a new state of them (TComposeWords::NewDB).
class TKeptComposeWords {
public:
    // As TComposeWords::Read; the same object while nothing changed.
    std::shared_ptr<const TComposeWords> Read(const std::string& shippedFile, const std::string& userFile);

private:
    std::string ShippedFile;
    std::string UserFile;
    TFileStamp ShippedStamp;
    TFileStamp UserStamp;
    std::shared_ptr<const TComposeWords> Words;
};

} // namespace mz
