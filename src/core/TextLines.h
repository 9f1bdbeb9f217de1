#pragma once

#include "core/Error.h"

#include <cstddef>
#include <iosfwd>
#include <string>

namespace mz {

// The longest line a text source may have; anything longer (a file of zero
// bytes without line ends, say) is no list of words.
inline constexpr size_t MaxTextLine = size_t{1} << 20;

// A text source that cannot be read as lines: the message names the file (and
// the line) and says why.
class ETextLineError : public EMirakolnikError {
public:
    using EMirakolnikError::EMirakolnikError;
};

// The lines of a text file that anyone may have made, each read with the same
// checks: no line longer than MaxTextLine (so /dev/zero costs a megabyte, not
// the memory of the machine), no NUL byte (a UTF-16 file has one in every other
// byte, and a message quoting the line would end at it), no byte-order mark of
// UTF-16, and a read error of the system is an error, never the end of the file.
class TTextLines {
public:
    TTextLines(std::istream& in, std::string name);

    // The next line without its CR LF or LF; false at the end of the source.
    // Throws ETextLineError.
    bool Next(std::string& line);
    // The number of the line Next gave last, from 1.
    int LineNo() const { return FLineNo; }

private:
    std::istream& In;
    std::string Name;
    std::string Buffer;
    int FLineNo = 0;
};

// "name, wiersz N: what", the form of every message about one line of a source.
std::string LineMessage(const std::string& name, int line, const std::string& what);

} // namespace mz
