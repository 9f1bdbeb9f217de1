#pragma once

#include <string>
#include <system_error>

namespace mz {

// The operating system's description of an error number, in Polish for the
// errors a user meets when opening and saving files (missing file, no access,
// read-only or full disk, too long a name, ...); other errors keep the
// system's own text.
std::string SystemErrorText(int errorNumber);
// The same for an error code of the standard library's file functions.
std::string SystemErrorText(const std::error_code& error);

} // namespace mz
