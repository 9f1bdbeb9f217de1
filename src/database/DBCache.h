#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace mz {

class TDBData;

// Which state of a database file a cache file was made from: its size, its
// modification and change times and which file it is (device and inode).
// Any write to the file changes the change time, so a file rewritten with the
// same size and modification time is still told apart.
struct TDBSourceStamp {
    uint64_t Size = 0;
    int64_t MTimeSec = 0;
    int64_t MTimeNsec = 0;
    int64_t CTimeSec = 0;
    int64_t CTimeNsec = 0;
    uint64_t Device = 0;
    uint64_t Inode = 0;

    // False when the file cannot be examined.
    static bool Of(const std::string& fileName, TDBSourceStamp& stamp);
    bool operator==(const TDBSourceStamp&) const = default;
};

// The parsed words of a database file and their index kept on disk in the
// form they have in memory, so that a later process maps them instead of
// reading, unscrambling and parsing the file (docs/formats.md, "Word cache").
//
// A cache file is used only when it was made from the same state of the same
// file by this version of the format and every byte is as written (a checksum
// over the whole file); every offset and length in it is checked before
// anything is read through it. Otherwise the caller parses the database as
// before and writes a new cache file in place of the old one.
class TDBCache {
public:
    // The cache file for a database file: in $XDG_CACHE_HOME, else ~/.cache,
    // under mirakolnik/. Empty when neither is known.
    static std::string PathFor(const std::string& databaseFile);

    // The data of a sound cache file made from `source`; nullptr for a missing,
    // stale, damaged or foreign one.
    static std::shared_ptr<const TDBData> Map(const std::string& cacheFile, const TDBSourceStamp& source);

    // Writes the data (building its lookup table and index first) as the
    // cache file for `source`: into a new file beside it, then renamed over
    // it, so that a reader sees the old file or the whole new one. Creates the
    // cache directory. False, with nothing left behind, when that fails.
    static bool Write(const std::string& cacheFile, const TDBSourceStamp& source, const TDBData& data);
    // Puts the checksum of a cache file's bytes into its header.
    static void Seal(std::string& image);
};

} // namespace mz
