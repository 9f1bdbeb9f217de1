// XWD crossword files (read only): a square grid of at most 23 × 23 squares
// stored column by column as a block pattern and a letter area, then fixed
// 61-byte clue slots numbered in word order.
#include "documents/CrossTXT.h"

#include "core/SystemError.h"
#include "documents/FailureReason.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mz {

namespace {

constexpr const char* MsgDamaged = "Plik %s jest uszkodzony";
constexpr const char* MsgPipeWithoutWriter = "Nikt nie zapisuje do tego potoku";
constexpr int PipeWaitMs = 10000;
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
// read no further than the format can reach, and a pipe nobody writes into
// is given up after a while instead of waited for. Failures of the system are
// input/output errors.
std::string ReadFileStart(const std::string& name, size_t limit)
{
    const auto fail = [&](int error) { return ESystemFailure(name, SystemErrorText(error ? error : EIO)); };
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec))
        throw fail(EISDIR);
#ifdef _WIN32
    std::ifstream in(name, std::ios::binary);
    if (!in)
        throw fail(errno);
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    if (in.bad())
        throw fail(errno);
    bytes.resize(static_cast<size_t>(in.gcount()));
#else
    // Opening a pipe without O_NONBLOCK waits for a writer for ever; this
    // waits PipeWaitMs for its first bytes, then gives up.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw fail(errno);
    struct stat info { };
    if (::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode)) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, PipeWaitMs) == 0) {
            ::close(fd);
            throw ESystemFailure(name, MsgPipeWithoutWriter);
        }
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        throw fail(error);
    }
    std::string bytes(limit, '\0');
    size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, bytes.data() + got, limit - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw fail(error);
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
#endif
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
