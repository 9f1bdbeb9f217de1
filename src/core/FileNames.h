#pragma once

#include <string>
#include <string_view>

namespace mz {

// The file-name part of a path: the text after the last '/', '\\' or drive colon.
std::string FileNamePart(std::string_view path);

// The extension of a path: the text after the first '.' of its file-name part,
// so "a.b.krz" has the extension "b.krz"; empty when there is no dot.
std::string ExtensionOf(std::string_view path);

// The extension as opening compares it: lower-cased (ASCII letters only).
std::string OpenExtensionOf(std::string_view path);

// ASCII lower-casing, leaving other bytes alone.
std::string AsciiLower(std::string_view text);

} // namespace mz
