#include "TestFiles.h"

#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <random>
#include <thread>
#include <tuple>

using namespace mz;
using namespace mz::test;

namespace {

// An XWD image: size byte, block pattern and letters column by column, and
// clue slots of 61 bytes from offset 3176.
struct TXwd {
    int Size = 4;
    std::vector<std::pair<int, int>> Blocks;
    std::vector<std::tuple<int, int, unsigned char>> Letters;
    std::vector<std::string> Clues;

    std::string Bytes() const
    {
        std::string bytes(3176 + 61 * std::max<size_t>(Clues.size(), 1), '\0');
        bytes[0] = static_cast<char>(Size);
        bytes[1] = 'x';
        for (auto [c, r] : Blocks)
            bytes[2 + 23 * (c - 1) + (r - 1)] = static_cast<char>(219);
        for (auto [c, r, letter] : Letters)
            bytes[531 + 23 * (c - 1) + (r - 1)] = static_cast<char>(letter);
        for (size_t n = 0; n < Clues.size(); ++n) {
            bytes[3176 + 61 * n] = static_cast<char>(Clues[n].size());
            bytes.replace(3176 + 61 * n + 1, Clues[n].size(), Clues[n]);
        }
        return bytes;
    }
};

std::vector<std::tuple<int, int, bool>> Words(const TCrossTXT& doc)
{
    std::vector<std::tuple<int, int, bool>> words;
    for (const auto& e : doc.ExplsInNumberOrder())
        words.emplace_back(e.Expl.Col, e.Expl.Row, e.Expl.Horizontal);
    return words;
}

class XwdFile : public TTempDirTest { };

} // namespace

TEST_F(XwdFile, AnOpenFourByFourGridHasEightWordsNumberedRowByRow)
{
    TXwd xwd;
    for (int i = 1; i <= 8; ++i)
        xwd.Clues.push_back("Hasło " + std::to_string(i));
    const auto name = PathOf("otwarta.XWD");
    WriteBytes(name, xwd.Bytes());
    TCrossTXT doc;
    doc.LoadFromFile(name);
    EXPECT_EQ(doc.ColCount(), 4);
    EXPECT_EQ(doc.RowCount(), 4);
    EXPECT_EQ(doc.FileName, name);
    EXPECT_FALSE(doc.Modified);
    const std::vector<std::tuple<int, int, bool>> expected = {{1, 1, true},  {1, 1, false}, {2, 1, false},
                                                              {3, 1, false}, {4, 1, false}, {1, 2, true},
                                                              {1, 3, true},  {1, 4, true}};
    EXPECT_EQ(Words(doc), expected);
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(doc.GetExpl(n).Explanation, "Hasło " + std::to_string(n));
    for (int c = 1; c <= 4; ++c)
        for (int r = 1; r <= 4; ++r)
            EXPECT_EQ(doc.GetCell(c, r), ' ');
}

TEST_F(XwdFile, BlocksLettersAndOneSquareWordsFollowThePattern)
{
    TXwd xwd;
    xwd.Size = 5;
    // Row 1: . * . * .   the middle square of row 1 is a one-square across word.
    xwd.Blocks = {{2, 1}, {4, 1}};
    xwd.Letters = {{1, 1, 'A'}, {2, 1, 'Q'}, {3, 1, 0}, {5, 1, 219}, {1, 2, 0xA5}};
    xwd.Clues.assign(20, "");
    const std::string bytes = xwd.Bytes();
    TCrossTXT doc;
    doc.LoadFromData(bytes, "a.xwd");
    EXPECT_EQ(doc.GetCell(1, 1), 'A');
    EXPECT_EQ(doc.GetCell(2, 1), '*'); // a block keeps its block whatever its letter byte
    EXPECT_EQ(doc.GetCell(3, 1), ' ');
    EXPECT_EQ(doc.GetCell(5, 1), '*'); // letter 219 turns the square into a block
    EXPECT_EQ(doc.GetCell(1, 2), 0xA5);
    const auto words = Words(doc);
    ASSERT_GE(words.size(), 4u);
    EXPECT_EQ(words[0], std::make_tuple(1, 1, true));
    EXPECT_EQ(words[1], std::make_tuple(1, 1, false));
    EXPECT_EQ(words[2], std::make_tuple(3, 1, true));
    EXPECT_EQ(words[3], std::make_tuple(3, 1, false));
    // Row 2 starts an across word and down words below the blocks of row 1.
    EXPECT_EQ(words[4], std::make_tuple(1, 2, true));
    EXPECT_EQ(words[5], std::make_tuple(2, 2, false));
    EXPECT_EQ(words[6], std::make_tuple(4, 2, false));
    EXPECT_EQ(words[7], std::make_tuple(5, 2, false));
}

TEST_F(XwdFile, SizesOutsideFourToTwentyThreeAreDamaged)
{
    for (int size : {0, 3, 4, 23, 24, 32, 33, 255}) {
        TXwd xwd;
        xwd.Size = size;
        xwd.Clues.assign(2 * 23 * 23, "x");
        TCrossTXT doc;
        const std::string message = MessageOf([&] { doc.LoadFromData(xwd.Bytes(), "r.xwd"); });
        if (size >= 4 && size <= 23)
            EXPECT_EQ(message, "(no error)") << size;
        else
            EXPECT_EQ(message, "Plik r.xwd jest uszkodzony") << size;
    }
}

TEST_F(XwdFile, AFileShorterThanWhatIsReadIsDamaged)
{
    TXwd xwd;
    xwd.Clues.assign(8, std::string(60, 'k'));
    const std::string full = xwd.Bytes();
    // The eighth clue ends at 3176 + 61*7 + 61: one byte less must be refused.
    const size_t needed = 3176 + 61 * 7 + 61;
    ASSERT_EQ(full.size(), needed);
    for (size_t length : {size_t{0}, size_t{1}, size_t{1059}, size_t{1060}, size_t{3176}, needed - 1}) {
        TCrossTXT doc;
        EXPECT_EQ(MessageOf([&] { doc.LoadFromData(full.substr(0, length), "k.xwd"); }), "Plik k.xwd jest uszkodzony")
            << length;
    }
    TCrossTXT doc;
    doc.LoadFromData(full, "k.xwd");
    EXPECT_EQ(doc.GetExpl(8).Explanation, std::string(60, 'k'));
}

TEST_F(XwdFile, AGridWithoutWordsNeedsOnlyTheBytesOfItsOwnSquares)
{
    // Every square blocked: no word, so no clue slot is read. The last byte read
    // is the letter of column 4, row 4 at 531 + 23 * 3 + 3.
    TXwd xwd;
    for (int c = 1; c <= 4; ++c)
        for (int r = 1; r <= 4; ++r)
            xwd.Blocks.emplace_back(c, r);
    const size_t needed = 531 + 23 * 3 + 4;
    const std::string bytes = xwd.Bytes().substr(0, needed);
    TCrossTXT doc;
    doc.LoadFromData(bytes, "pelna.xwd");
    EXPECT_EQ(doc.ColCount(), 4);
    EXPECT_EQ(doc.RowCount(), 4);
    EXPECT_EQ(doc.ExplCount(), 0);
    for (int c = 1; c <= 4; ++c)
        for (int r = 1; r <= 4; ++r)
            EXPECT_EQ(doc.GetCell(c, r), '*');
    EXPECT_EQ(MessageOf([&] { doc.LoadFromData(bytes.substr(0, needed - 1), "pelna.xwd"); }),
              "Plik pelna.xwd jest uszkodzony");
}

TEST_F(XwdFile, AMissingFileIsAnInputOutputError)
{
    TCrossTXT doc;
    EXPECT_THROW(doc.LoadFromFile(PathOf("brak.xwd")), EInOutError);
}

// Random and mutated images: each either loads a square grid or is refused
// as damaged.
TEST(XwdBadInput, RandomAndMutatedFilesLoadOrAreRefusedAsDamaged)
{
    std::mt19937 rng(31);
    TXwd base;
    base.Size = 12;
    base.Blocks = {{3, 3}, {5, 7}};
    base.Clues.assign(200, "Trzydzieści znaków objaśnienia");
    const std::string good = base.Bytes();
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        switch (round % 4) {
        case 0:
            bytes.resize(rng() % 20000);
            for (char& c : bytes)
                c = static_cast<char>(rng());
            if (!bytes.empty() && rng() % 2)
                bytes[0] = static_cast<char>(4 + rng() % 20);
            break;
        case 1:
            bytes = good.substr(0, rng() % good.size());
            break;
        case 2:
            bytes = good;
            for (int i = 0; i < 20; ++i)
                bytes[rng() % bytes.size()] ^= static_cast<char>(1 << (rng() % 8));
            break;
        default:
            bytes = good;
            bytes[0] = static_cast<char>(rng());
            for (int i = 0; i < 40; ++i)
                bytes[3176 + rng() % (bytes.size() - 3176)] = static_cast<char>(rng());
            break;
        }
        TCrossTXT doc;
        try {
            doc.LoadFromData(bytes, "los.xwd");
            EXPECT_GE(doc.ColCount(), 4);
            EXPECT_LE(doc.ColCount(), 23);
            EXPECT_EQ(doc.ColCount(), doc.RowCount());
            EXPECT_FALSE(doc.Modified);
        } catch (const EIOOperation& e) {
            EXPECT_STREQ(e.what(), "Plik los.xwd jest uszkodzony");
            ++refused;
        }
    }
    EXPECT_GT(refused, 500);
}

TEST_F(XwdFile, ADirectoryInPlaceOfTheFileIsAnInputOutputError)
{
    const auto name = PathOf("katalog.xwd");
    std::filesystem::create_directory(name);
    TCrossTXT doc;
    EXPECT_THROW(doc.LoadFromFile(name), EInOutError);
}

// A pipe or a device gives no end: only the bytes the format can reach are
// read (an XWD file never needs more than 67,714), never until memory runs out.
TEST_F(XwdFile, APipeOrADeviceIsReadOnlyAsFarAsTheFormatReaches)
{
    const auto zero = PathOf("zero.xwd");
    std::filesystem::create_symlink("/dev/zero", zero);
    TCrossTXT doc;
    EXPECT_EQ(MessageOf([&] { doc.LoadFromFile(zero); }), "Plik " + zero + " jest uszkodzony");

    const auto pipe = PathOf("potok.xwd");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    TXwd xwd;
    xwd.Clues.assign(8, "k");
    std::atomic<size_t> written{0};
    std::thread writer([&] {
        // Writes the image, then zeros for as long as the reader keeps the pipe open.
        const int fd = ::open(pipe.c_str(), O_WRONLY);
        const std::string first = xwd.Bytes();
        const std::string more(65536, '\0');
        for (std::string_view chunk = first; fd >= 0;) {
            const ssize_t n = ::write(fd, chunk.data(), chunk.size());
            if (n <= 0 || written.fetch_add(static_cast<size_t>(n)) > (size_t{64} << 20))
                break;
            chunk.remove_prefix(static_cast<size_t>(n));
            if (chunk.empty())
                chunk = more;
        }
        if (fd >= 0)
            ::close(fd);
    });
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    doc.LoadFromFile(pipe);
    writer.join();
    std::signal(SIGPIPE, previous);
    EXPECT_EQ(doc.ExplCount(), 8);
    EXPECT_EQ(doc.GetExpl(8).Explanation, "k");
    EXPECT_LT(written.load(), size_t{64} << 20);
}
