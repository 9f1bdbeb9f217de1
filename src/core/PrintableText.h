#pragma once

#include <string>
#include <string_view>

namespace mz {

// A UTF-8 message for a terminal that may quote a file: control characters
// but the line end become their visible pictures (U+2400..U+241F, U+2421), C1
// controls and bytes that are no UTF-8 become U+FFFD, so nothing of it can act
// as a terminal escape sequence. (Cp1250ToPrintableUtf8 does the same for
// CP1250 text.)
std::string PrintableUtf8(std::string_view utf8);

} // namespace mz
