#pragma once

#include <filesystem>
#include <string>

namespace mz {

// The first free numbered file name in `dir`: the '?' characters of the prefix
// (default "K_????" when empty) are replaced by a zero-padded counter from 0, so
// K_0000.krz, K_0001.krz, ... An existing file is never chosen; when all 10^q
// names of a prefix with q '?' (or the one name of a prefix without any) exist,
// EInvalidCrossKwelinOperation says so.
std::filesystem::path NumberedFileName(const std::filesystem::path& dir, const std::string& extension,
                                       std::string prefix);

// The prefix a run of `count` crosswords numbers its files with: a prefix
// without '?' names only one file, so for more than one it gets "_" and a
// counter of at least two digits ("S" becomes "S_??"); any other is kept.
std::string CountedPrefix(const std::string& prefix, long long count);

// The name for counter n: n right-aligned in a field of q '0'-padded
// characters, of which the first q replace the prefix's '?' from left to right.
std::string NumberedName(const std::string& prefix, uint64_t n);

} // namespace mz
