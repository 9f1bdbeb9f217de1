#include "composer/NumberedName.h"

#include "core/Table.h"

#include <algorithm>

namespace mz {

std::string NumberedName(const std::string& prefix, uint64_t n)
{
    const auto q = static_cast<size_t>(std::count(prefix.begin(), prefix.end(), '?'));
    std::string digits = std::to_string(n);
    if (digits.size() < q)
        digits.insert(0, q - digits.size(), '0');
    std::string name = prefix;
    size_t next = 0;
    for (char& c : name)
        if (c == '?')
            c = digits[next++];
    return name;
}

std::string CountedPrefix(const std::string& prefix, long long count)
{
    if (count <= 1 || prefix.empty() || prefix.find('?') != std::string::npos)
        return prefix;
    const size_t digits = std::max<size_t>(2, std::to_string(count - 1).size());
    return prefix + "_" + std::string(digits, '?');
}

std::filesystem::path NumberedFileName(const std::filesystem::path& dir, const std::string& extension,
                                       std::string prefix)
{
    if (prefix.empty())
        prefix = "K_????";
    const auto q = std::count(prefix.begin(), prefix.end(), '?');
    // Counters beyond 10^q repeat the first q digits, so only these are distinct.
    uint64_t names = 1;
    for (int i = 0; i < std::min<std::ptrdiff_t>(q, 12); ++i)
        names *= 10;
    for (uint64_t n = 0; n < names; ++n) {
        std::filesystem::path candidate = dir / (NumberedName(prefix, n) + "." + extension);
        std::error_code error;
        if (!std::filesystem::exists(candidate, error) && !error)
            return candidate;
    }
    throw EInvalidCrossKwelinOperation("Wszystkie nazwy plików z przedrostkiem " + prefix + " w katalogu "
                                       + dir.string() + " są już zajęte");
}

} // namespace mz
