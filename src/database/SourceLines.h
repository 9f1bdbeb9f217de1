#pragma once

#include "core/TextLines.h"

#include <iosfwd>
#include <string>

namespace mz {

// The lines of one source of the database builder (a word list, a thesaurus,
// a stop list, a frequency list) with the checks of TTextLines; its failures
// are EDBInvalidOperation.
class TSourceLines {
public:
    TSourceLines(std::istream& in, const std::string& name) : Lines(in, name) { }
    // The next line without its line end; false at the end of the source.
    bool Next(std::string& line);
    int LineNo = 0;

private:
    TTextLines Lines;
};

} // namespace mz
