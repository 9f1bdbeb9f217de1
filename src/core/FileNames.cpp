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
    const auto dot = name.rfind('.');
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

namespace {

bool IsOneOf(const std::string& extension, std::initializer_list<std::string_view> known)
{
    for (std::string_view k : known)
        if (extension == AsciiLower(k))
            return true;
    return false;
}

} // namespace

std::string WithExtension(std::string_view path, std::string_view extension,
                          std::initializer_list<std::string_view> replaced)
{
    const std::string old = OpenExtensionOf(path);
    std::string_view kept = path;
    if (!old.empty() && IsOneOf(old, replaced))
        kept = path.substr(0, path.size() - old.size() - 1);
    return std::string(kept) + "." + std::string(extension);
}

std::string StemOf(std::string_view path, std::initializer_list<std::string_view> known)
{
    std::string name = FileNamePart(path);
    const std::string old = OpenExtensionOf(name);
    if (!old.empty() && IsOneOf(old, known))
        name.resize(name.size() - old.size() - 1);
    return name;
}

} // namespace mz
