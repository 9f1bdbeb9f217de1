#include "FileIdentity.h"

namespace mz {

namespace fs = std::filesystem;

fs::path FinalTarget(const fs::path& path)
{
    // As many hops as the system itself follows before it gives up on a loop.
    constexpr int MaxHops = 40;
    fs::path current = path;
    std::error_code ec;
    for (int hop = 0; hop < MaxHops && fs::is_symlink(current, ec); ++hop) {
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

bool IsSameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) {
        const bool same = fs::equivalent(a, b, ec);
        if (!ec)
            return same;
    }
    const fs::path placeA = fs::weakly_canonical(fs::absolute(FinalTarget(a), ec), ec);
    const fs::path placeB = fs::weakly_canonical(fs::absolute(FinalTarget(b), ec), ec);
    return !placeA.empty() && placeA == placeB;
}

} // namespace mz
