#pragma once

#include <stdexcept>
#include <string>

namespace mz {

// Common base of every module's exception. The message is the program's own
// Polish text, UTF-8, already formatted with the file name where it has one.
class EMirakolnikError : public std::runtime_error {
public:
    explicit EMirakolnikError(const std::string& message) : std::runtime_error(message) { }
    std::string Message() const { return what(); }
};

// Replaces the first "%s" of a message template with the argument.
std::string FormatMessage(const std::string& pattern, const std::string& arg);

} // namespace mz
