#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace mz {

// The file-name part of a path: the text after the last '/', '\\' or drive colon.
std::string FileNamePart(std::string_view path);

// The extension of a path: the text after the last '.' of its file-name part,
// so "Lekcja 12.05.krz" has the extension "krz"; empty when there is no dot.
std::string ExtensionOf(std::string_view path);

// The path with its extension replaced by `extension` when the old one is one
// of `replaced` (compared as opening compares), and with ".extension" appended
// otherwise: "t2.ipuz" becomes "t2.krz", but "Test 12.05.2025" becomes
// "Test 12.05.2025.krz", never "Test 12.krz".
std::string WithExtension(std::string_view path, std::string_view extension,
                          std::initializer_list<std::string_view> replaced);

// The file-name part without an extension that is one of `known`.
std::string StemOf(std::string_view path, std::initializer_list<std::string_view> known);

// The extension as opening compares it: lower-cased (ASCII letters only).
std::string OpenExtensionOf(std::string_view path);

// ASCII lower-casing, leaving other bytes alone.
std::string AsciiLower(std::string_view text);

} // namespace mz
