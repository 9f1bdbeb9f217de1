#include "FileNames.h"

namespace mz {

std::string FileNamePart(std::string_view path)
{
    const auto pos = path.find_last_of("/\\:");
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtensionOf(std::string_view path)
{
    const std::string name = FileNamePart(path);
    const auto dot = name.find('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string OpenExtensionOf(std::string_view path)
{
    return AsciiLower(ExtensionOf(path));
}

} // namespace mz
