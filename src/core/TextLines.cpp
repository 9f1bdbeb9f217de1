#include "core/TextLines.h"

#include "core/SystemError.h"

#include <cerrno>
#include <cstring>
#include <istream>

namespace mz {

std::string LineMessage(const std::string& name, int line, const std::string& what)
{
    return name + ", wiersz " + std::to_string(line) + ": " + what;
}

TTextLines::TTextLines(std::istream& in, std::string name)
    : In(in), Name(std::move(name)), Buffer(MaxTextLine + 2, '\0')
{
}

bool TTextLines::Next(std::string& line)
{
    errno = 0;
    In.getline(Buffer.data(), static_cast<std::streamsize>(Buffer.size()));
    if (In.bad())
        throw ETextLineError("Błąd odczytu pliku " + Name + ": " + SystemErrorText(errno ? errno : EIO));
    const auto got = static_cast<size_t>(In.gcount());
    if (In.fail()) {
        if (got == 0)
            return false;
        throw ETextLineError(
            LineMessage(Name, FLineNo + 1, "wiersz dłuższy niż " + std::to_string(MaxTextLine) + " bajtów"));
    }
    ++FLineNo;
    line.assign(Buffer.data(), std::strlen(Buffer.data()));
    // getline stops storing at nothing but the line end, so a shorter string
    // than what was read means a NUL byte.
    const size_t stored = In.eof() ? got : got - 1;
    if (FLineNo == 1 && (line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF")))
        throw ETextLineError(Name + ": plik jest zapisany w UTF-16; zapisz go w UTF-8");
    if (line.size() != stored)
        throw ETextLineError(LineMessage(Name, FLineNo, "bajt zerowy: to nie jest plik tekstowy (UTF-16?)"));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace mz
