// XWD crossword files (read only): a square grid of at most 23 × 23 squares
// stored column by column as a block pattern and a letter area, then fixed
// 61-byte clue slots numbered in word order.
#include "documents/CrossTXT.h"

#include "core/SystemError.h"

#include <cerrno>
#include <fstream>

namespace mz {

namespace {

constexpr const char* MsgDamaged = "Plik %s jest uszkodzony";
constexpr size_t PatternOffset = 2;
constexpr size_t LetterOffset = 531;
constexpr size_t ClueOffset = 3176;
constexpr size_t ClueSlotSize = 61;
constexpr int AreaSide = 23; // the areas hold 23 columns of 23 bytes
constexpr unsigned char XwdBlock = 219;
// Every square starts at most an across and a down word, so no grid needs more
// clue slots than this, nor a file more bytes than they end at.
constexpr size_t MaxXwdWords = 2 * AreaSide * AreaSide;
constexpr size_t MaxXwdSize = ClueOffset + ClueSlotSize * MaxXwdWords;

} // namespace

// At most `limit` bytes of the file: a pipe or a device that never ends is
// read no further than the format can reach. Failures of the system are
// input/output errors.
std::string ReadFileStart(const std::string& name, size_t limit)
{
    std::ifstream in(name, std::ios::binary);
    const auto fail = [&](int error) { return EInOutError(name + ": " + SystemErrorText(error ? error : EIO)); };
    if (!in)
        throw fail(errno);
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    if (in.bad())
        throw fail(errno);
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

void TCrossTXT::LoadXwdFile(const std::string& name)
{
    Clear();
    FileName = name;
    LoadXwd(ReadFileStart(name, MaxXwdSize));
}

void TCrossTXT::LoadXwd(std::string_view bytes)
{
    const auto damaged = [&] { return EIOOperation(FormatMessage(MsgDamaged, FileName)); };
    if (bytes.empty())
        throw damaged();
    const int n = static_cast<unsigned char>(bytes[0]);
    // Sizes above 23 would take squares from other columns and areas, so they
    // are refused like any other damage.
    if (n < 4 || n > AreaSide)
        throw damaged();
    // The last byte read of the grid areas is the letter of column n, row n.
    if (bytes.size() < LetterOffset + AreaSide * static_cast<size_t>(n - 1) + static_cast<size_t>(n))
        throw damaged();
    FColCount = n;
    FRowCount = n;
    const auto at = [&](size_t area, int c, int r) {
        return static_cast<unsigned char>(bytes[area + AreaSide * (c - 1) + (r - 1)]);
    };
    for (int c = 1; c <= n; ++c)
        for (int r = 1; r <= n; ++r)
            AddCell(c, r, at(PatternOffset, c, r) == XwdBlock ? '*' : ' ');
    for (int c = 1; c <= n; ++c)
        for (int r = 1; r <= n; ++r) {
            if (GetCell(c, r) == '*')
                continue;
            const unsigned char letter = at(LetterOffset, c, r);
            SetCell(c, r, letter == 0 ? ' ' : letter == XwdBlock ? '*' : letter);
        }
    const auto isBlock = [&](int c, int r) { return c < 1 || r < 1 || c > n || r > n || GetCell(c, r) == '*'; };
    for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= n; ++c) {
            if (isBlock(c - 1, r) && !isBlock(c, r))
                AddExpl({c, r, {}, {}, true});
            if (isBlock(c, r - 1) && !isBlock(c, r))
                AddExpl({c, r, {}, {}, false});
        }
    for (int32_t number = 1; number <= FExplCount; ++number) {
        const size_t slot = ClueOffset + ClueSlotSize * static_cast<size_t>(number - 1);
        if (slot >= bytes.size())
            throw damaged();
        const size_t length = static_cast<unsigned char>(bytes[slot]);
        if (slot + 1 + length > bytes.size())
            throw damaged();
        TExpl expl = GetExpl(number);
        expl.Explanation.assign(bytes.substr(slot + 1, length));
        SetExpl(number, expl);
    }
    Modified = false;
}

} // namespace mz
