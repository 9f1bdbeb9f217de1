#include "Error.h"

namespace mz {

std::string FormatMessage(const std::string& pattern, const std::string& arg)
{
    const auto pos = pattern.find("%s");
    if (pos == std::string::npos)
        return pattern;
    std::string result = pattern;
    result.replace(pos, 2, arg);
    return result;
}

} // namespace mz
