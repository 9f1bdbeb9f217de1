#pragma once

#include <filesystem>

namespace mz {

// The file a path finally names: symbolic links are followed one by one, also
// a last one that points to a file not yet there (which is where writing
// through that link creates it). Paths without links come back unchanged.
std::filesystem::path FinalTarget(const std::filesystem::path& path);

// Whether two paths name the same file: the same existing file under any
// name, link or hard link (device and file identity), or, for a file that is
// not there yet, the same place once links and "." and ".." are resolved.
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace mz
