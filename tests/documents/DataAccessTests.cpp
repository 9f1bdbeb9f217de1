#include "TestFiles.h"

#include "core/Random.h"
#include "documents/DataAccess.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

using namespace mz;

// The test access path to the record container's buffer and single steps.
namespace mz {
struct TDataAccessTestAccess {
    static std::array<uint8_t, RecordBufferSize>& Buffer(TDataAccess& access) { return access.Buffer; }
    static int& BufIndex(TDataAccess& access) { return access.BufIndex; }
    static int64_t& StreamOffset(TDataAccess& access) { return access.StreamOffset; }
    static void InitKey(TDataAccess& access) { access.InitKey(); }
    static void Scramble(TDataAccess& access) { access.Scramble(); }
    static void Descramble(TDataAccess& access, int first, int last) { access.Descramble(first, last); }
    static TDataFromBuf ReadRecord(TDataAccess& access) { return access.ReadRecord(); }
};
} // namespace mz
using namespace mz::test;

namespace {

using TRecords = std::vector<std::pair<int, std::string>>;

TRecords ReadAll(const std::string& name, TRecordHeader* header = nullptr)
{
    TRecords records;
    ReadRecordFile(
        name,
        [&](const TRecordHeader& h) {
            if (header)
                *header = h;
        },
        [&](const TDataFromBuf& r) { records.emplace_back(r.RecType, r.Data); });
    return records;
}

TRecords ReadAllData(const std::string& bytes)
{
    TRecords records;
    ReadRecordData(bytes, "plik.krz", {}, [&](const TDataFromBuf& r) { records.emplace_back(r.RecType, r.Data); });
    return records;
}

void Save(const std::string& name, const TRecords& records, std::string_view headerText = "naglowek")
{
    WriteRecordFile(name, MakeRecordHeader(headerText), [&](TDataAccess& access) {
        for (const auto& [type, text] : records)
            access.WriteRecord(static_cast<uint8_t>(type), text);
    });
}

std::string Text(size_t length, char seed)
{
    std::string s(length, ' ');
    for (size_t i = 0; i < length; ++i)
        s[i] = static_cast<char>(seed + i * 7);
    return s;
}

class DataAccessFile : public TTempDirTest { };

} // namespace

// Scrambling feeds back every output byte, so the result must not depend on how
// the stream is cut into buffers, and unscrambling must undo it.
TEST(DataAccessScrambling, DescramblingInAnyChunksUndoesScramblingInOtherChunks)
{
    std::mt19937 rng(5);
    std::string plain(3000, '\0');
    for (char& c : plain)
        c = static_cast<char>(rng());
    TDataAccess writer;
    TDataAccessTestAccess::InitKey(writer);
    std::string scrambled;
    for (size_t pos = 0; pos < plain.size();) {
        const size_t n = std::min<size_t>(1 + rng() % 900, plain.size() - pos);
        std::copy_n(plain.begin() + pos, n, TDataAccessTestAccess::Buffer(writer).begin());
        TDataAccessTestAccess::BufIndex(writer) = static_cast<int>(n);
        TDataAccessTestAccess::Scramble(writer);
        scrambled.append(reinterpret_cast<const char*>(TDataAccessTestAccess::Buffer(writer).data()), n);
        pos += n;
    }
    EXPECT_NE(scrambled, plain);
    EXPECT_EQ(BuildRecordBytes("", plain).substr(64, plain.size()), scrambled);

    TDataAccess reader;
    TDataAccessTestAccess::InitKey(reader);
    std::string back;
    for (size_t pos = 0; pos < scrambled.size();) {
        const size_t n = std::min<size_t>(1 + rng() % 1300, scrambled.size() - pos);
        std::copy_n(scrambled.begin() + pos, n, TDataAccessTestAccess::Buffer(reader).begin() + 100);
        TDataAccessTestAccess::Descramble(reader, 100, 100 + static_cast<int>(n) - 1);
        back.append(reinterpret_cast<const char*>(TDataAccessTestAccess::Buffer(reader).data()) + 100, n);
        pos += n;
    }
    EXPECT_EQ(back, plain);
}

TEST_F(DataAccessFile, RecordsComeBackInOrderWithTheHeaderAndTheLayoutIsFramedByOffsets)
{
    const TRecords records = {{16, "ABCD"}, {17, "H,1,1"}, {2, ""}, {3, "dźwięk.wav"}, {200, "x"}};
    const auto name = PathOf("plik.krz");
    Save(name, records, "Nagłówek pliku");
    TRecordHeader header{};
    TRecords expected = records;
    expected.emplace_back(0, "");
    EXPECT_EQ(ReadAll(name, &header), expected);
    EXPECT_EQ(header, MakeRecordHeader("Nagłówek pliku"));

    const std::string bytes = ReadBytes(name);
    size_t size = 64 + 7 + 4;
    for (const auto& r : expected)
        size += 9 + r.second.size();
    ASSERT_EQ(bytes.size(), size);
    EXPECT_EQ(bytes.substr(0, 64), std::string(reinterpret_cast<const char*>(header.data()), 64));
    EXPECT_EQ(static_cast<uint32_t>(Int32At(bytes, size - 4)), XorChecksum(bytes.substr(0, size - 4)));

    const std::string plain = PlainStreamOf(bytes);
    size_t pos = 7;
    for (const auto& [type, text] : expected) {
        const auto fileOffset = static_cast<int32_t>(64 + pos);
        EXPECT_EQ(static_cast<uint8_t>(plain[pos]), type);
        EXPECT_EQ(Int32At(plain, pos + 1), fileOffset + 9);
        EXPECT_EQ(Int32At(plain, pos + 5), fileOffset + 9 + static_cast<int32_t>(text.size()) - 1);
        EXPECT_EQ(plain.substr(pos + 9, text.size()), text);
        pos += 9 + text.size();
    }
}

TEST_F(DataAccessFile, FillerBytesComeFromTheProcessWideGenerator)
{
    const auto name = PathOf("a.krz");
    GlobalRandom().Seed(12345);
    Save(name, {});
    const std::string first = ReadBytes(name);
    GlobalRandom().Seed(12345);
    Save(name, {});
    EXPECT_EQ(ReadBytes(name), first);

    TRandom expected(12345);
    const std::string plain = PlainStreamOf(first);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(static_cast<uint8_t>(plain[i]), expected.Draw(256)) << i;
}

// Records of the longest allowed length are written and read at every position
// of the first windows: each must come back whole whether it starts before or
// after the refill point.
TEST_F(DataAccessFile, LongestRecordsReadBackAtEveryWindowPosition)
{
    const auto name = PathOf("okno.krz");
    for (size_t pad = 0; pad < 4200; pad += 13) {
        const TRecords records = {{5, Text(pad % 2040, 'a')},
                                  {16, Text(MaxRecordData, 'q')},
                                  {7, Text(pad % 500, 'z')},
                                  {16, Text(MaxRecordData, 'r')}};
        Save(name, records);
        TRecords expected = records;
        expected.emplace_back(0, "");
        ASSERT_EQ(ReadAll(name), expected) << pad;
    }
}

TEST_F(DataAccessFile, ARecordStartingAtWindowPosition2048IsReadWhole)
{
    // A first record of 1968 data bytes puts the second head at window position
    // 71 + 9 + 1968 = 2048, the last one read before a refill; 1969 puts it after.
    const auto name = PathOf("granica.krz");
    for (int first : {1968, 1969}) {
        const TRecords records = {{1, Text(first, 'k')}, {2, Text(MaxRecordData, 'm')}, {3, "ok"}};
        Save(name, records);
        const std::string plain = PlainStreamOf(ReadBytes(name));
        // The second head sits at file offset 71 + 9 + first.
        EXPECT_EQ(Int32At(plain, 7 + 9 + first + 1), 71 + 9 + first + 9);
        TRecords expected = records;
        expected.emplace_back(0, "");
        EXPECT_EQ(ReadAll(name), expected);
    }
}

TEST_F(DataAccessFile, TheWriterRefusesATextTheReaderCouldNotReadBackAndKeepsTheOldFile)
{
    const auto name = PathOf("stary.krz");
    Save(name, {{16, "STARY"}});
    const std::string before = ReadBytes(name);
    EXPECT_EQ(MessageOf([&] {
                  Save(name, {{2, Text(MaxRecordData + 1, 'x')}});
              }),
              "Wystąpił błąd podczas zapisu pliku " + name);
    EXPECT_EQ(ReadBytes(name), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 1);
}

TEST_F(DataAccessFile, AFailedSaveIntoAMissingDirectoryIsAnInputOutputError)
{
    const auto name = PathOf("brak/plik.krz");
    EXPECT_THROW(Save(name, {}), EInOutError);
    EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(DataAccessFile, AMissingFileHasItsOwnMessage)
{
    const auto name = PathOf("nie_ma.krz");
    TDataAccess access(name);
    EXPECT_EQ(MessageOf([&] { access.VerifyChecksum(); }), "Brak wymaganego pliku " + name);
}

// Every single changed byte, header and checksum included, breaks the checksum;
// two equal changes four bytes apart cancel out.
TEST_F(DataAccessFile, ChecksumCatchesEverySingleByteChange)
{
    const auto name = PathOf("suma.krz");
    Save(name, {{16, "ABCDE"}, {17, "V,2,3"}});
    const std::string good = ReadBytes(name);
    EXPECT_TRUE(TDataAccess(name).VerifyChecksum());
    for (size_t i = 0; i < good.size(); ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ (1 << (i % 8)));
        std::istringstream in(bad);
        EXPECT_FALSE(TDataAccess("x").VerifyChecksum(in)) << i;
    }
    std::string twice = good;
    twice[10] ^= 0x21;
    twice[30] ^= 0x21;
    std::istringstream in(twice);
    EXPECT_TRUE(TDataAccess("x").VerifyChecksum(in));
}

TEST(DataAccessChecksum, AFileEndingInsideAWordIsPaddedWithZeros)
{
    for (size_t length : {4u, 5u, 6u, 7u, 8u, 65u, 4099u, 8193u}) {
        std::string body(length - 4, '\0');
        for (size_t i = 0; i < body.size(); ++i)
            body[i] = static_cast<char>(i * 31 + 7);
        const std::string file = body + Int32Bytes(static_cast<int32_t>(XorChecksum(body)));
        std::istringstream in(file);
        EXPECT_TRUE(TDataAccess("x").VerifyChecksum(in)) << length;
    }
}

TEST(DataAccessChecksum, AFileShorterThanTheChecksumIsAnInputOutputError)
{
    for (const char* bytes : {"", "a", "abc"}) {
        std::istringstream in(bytes);
        EXPECT_THROW(TDataAccess("x").VerifyChecksum(in), EInOutError);
    }
}

TEST(DataAccessReader, RecordLengthsOutsideTheWindowAreLogicallyInconsistent)
{
    struct TCase {
        int32_t Start, End;
        bool Accepted;
    };
    // The head sits at window position 71, so 4016 data bytes would fill the
    // window; no record is longer than the writer writes (2039 bytes), so a
    // file that opens can be saved again.
    const TCase cases[] = {
        {80, 79, true},
        {80, 80 + 2038, true},
        {80, 80 + 2039, false},
        {80, 80 + 2040, false},
        {80, 80 + 4015, false},
        {80, 80 + 4016, false},
        {80, 80 + 4095, false}, // 4096 bytes would run past the window
        {80, 80 + 4096, false},
        {81, 79, false},
        {INT32_MIN, INT32_MAX - 1, false},
        {INT32_MAX, INT32_MIN, false},
        {0, INT32_MAX, false},
    };
    for (const auto& c : cases) {
        TDataAccess access("zly.krz");
        auto& buffer = TDataAccessTestAccess::Buffer(access);
        TDataAccessTestAccess::BufIndex(access) = 71;
        TDataAccessTestAccess::StreamOffset(access) = 71;
        buffer[71] = 16;
        const std::string start = Int32Bytes(c.Start), end = Int32Bytes(c.End);
        std::copy(start.begin(), start.end(), buffer.begin() + 72);
        std::copy(end.begin(), end.end(), buffer.begin() + 76);
        if (c.Accepted) {
            const auto record = TDataAccessTestAccess::ReadRecord(access);
            EXPECT_EQ(record.Data.size(), static_cast<size_t>(int64_t{c.End} - c.Start + 1));
            EXPECT_EQ(TDataAccessTestAccess::BufIndex(access), 71 + 9 + static_cast<int>(record.Data.size()));
        } else {
            EXPECT_EQ(MessageOf([&] { TDataAccessTestAccess::ReadRecord(access); }),
                      "Plik zly.krz jest niespójny logicznie")
                << c.Start << " " << c.End;
        }
    }
}

TEST(DataAccessReader, OnlyTheLengthCountsNotWhereStartPoints)
{
    const std::string stream =
        std::string(7, 'f') + std::string(1, 16) + Int32Bytes(1000) + Int32Bytes(1002) + "XYZ" + RecordAt(83, 0, "");
    EXPECT_EQ(ReadAllData(BuildRecordBytes("", stream)), (TRecords{{16, "XYZ"}, {0, ""}}));
}

TEST(DataAccessReader, AStreamWithoutEndRecordOrRunningIntoTheChecksumIsRefused)
{
    const std::string filler(7, 'f');
    const std::string noEnd = filler + RecordAt(71, 16, "ABCD");
    const std::string intoChecksum = filler + RecordAt(71, 16, "ABCD") + RecordAt(84, 0, "").substr(0, 5);
    const std::string dataIntoChecksum =
        filler + RecordAt(71, 16, "ABCD") + std::string(1, 0) + Int32Bytes(93) + Int32Bytes(96);
    for (const auto& stream : {noEnd, intoChecksum, dataIntoChecksum, std::string(), filler})
        EXPECT_EQ(MessageOf([&] { ReadAllData(BuildRecordBytes("", stream)); }),
                  "Plik plik.krz jest niespójny logicznie");
    EXPECT_EQ(ReadAllData(BuildRecordBytes("", noEnd + RecordAt(84, 0, ""))), (TRecords{{16, "ABCD"}, {0, ""}}));
}

TEST(DataAccessReader, AChecksumMismatchIsReportedBeforeAnyRecord)
{
    std::string bytes = BuildRecordBytes("", std::string(7, 'f') + RecordAt(71, 0, ""));
    bytes[70] ^= 1;
    int calls = 0;
    try {
        ReadRecordData(
            bytes, "plik.sz", [&](const TRecordHeader&) { ++calls; }, [&](const TDataFromBuf&) { ++calls; });
        FAIL();
    } catch (const EIOOperation& e) {
        EXPECT_STREQ(e.what(), "Błąd sumy kontrolnej pliku plik.sz");
    }
    EXPECT_EQ(calls, 0);
}

TEST(DataAccessReader, TheHeaderIsHandedOverAsStored)
{
    std::string header(64, '\0');
    header.replace(60, 4, Int32Bytes(20261207));
    const std::string bytes = BuildRecordBytes(header, std::string(7, 'f') + RecordAt(71, 0, ""));
    int32_t edition = 0;
    ReadRecordData(bytes, "baza.hk",
                   [&](const TRecordHeader& h) {
                       edition = Int32At(std::string_view(reinterpret_cast<const char*>(h.data()), h.size()), 60);
                   },
                   {});
    EXPECT_EQ(edition, 20261207);
}

// Streams of random records with a valid checksum: whatever they hold, the
// reader either reads to an end record or refuses the file with one of its
// messages; it never reads outside its window.
TEST(DataAccessReader, RandomStreamsEndInARecordListOrTheInconsistencyMessage)
{
    std::mt19937 rng(77);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string stream(7, 'f');
        const int count = static_cast<int>(rng() % 12);
        for (int i = 0; i < count; ++i) {
            const int64_t offset = 64 + static_cast<int64_t>(stream.size());
            const uint8_t type = static_cast<uint8_t>(rng() % 4 == 0 ? 0 : rng() % 20);
            std::string record = RecordAt(offset, type, Text(rng() % (round % 3 == 0 ? 3000 : 300), 'a'));
            if (rng() % 4 == 0)
                record.replace(1 + rng() % 8, 1, 1, static_cast<char>(rng()));
            if (rng() % 6 == 0)
                record.resize(rng() % (record.size() + 1));
            stream += record;
        }
        try {
            const TRecords records = ReadAllData(BuildRecordBytes("", stream));
            EXPECT_EQ(records.back().first, 0);
        } catch (const EIOOperation& e) {
            EXPECT_STREQ(e.what(), "Plik plik.krz jest niespójny logicznie");
            ++refused;
        }
    }
    EXPECT_GT(refused, 100);
}

TEST_F(DataAccessFile, ADirectoryInPlaceOfTheFileIsAnInputOutputError)
{
    const auto name = PathOf("katalog.hk");
    std::filesystem::create_directory(name);
    EXPECT_THROW(ReadRecordFile(name, {}, {}), EInOutError);
}

// The record window and the scrambling key are pinned by a file made outside
// the program from the format's description: records end exactly at window
// position 2048 (the next head is read there without a refill, and its 2039
// data bytes fill the window to 4096) and at 2049 (a refill comes first).
TEST_F(DataAccessFile, TheRecordWindowAndTheScramblingKeyMatchTheGoldenFile)
{
    const std::string golden = ReadBytes(MZ_TEST_DATA "/window.krz");
    ASSERT_EQ(golden.size(), 8206u);
    const std::vector<std::pair<int, size_t>> layout = {{5, 1968}, {16, 2039}, {7, 1000}, {2, 1031}, {3, 2039}, {0, 0}};
    std::vector<std::pair<int, size_t>> read;
    std::string letters;
    ReadRecordData(golden, "okno.krz", {}, [&](const TDataFromBuf& r) {
        read.emplace_back(r.RecType, r.Data.size());
        letters += r.Data.empty() ? '-' : r.Data.front();
        EXPECT_EQ(r.Data.find_first_not_of(r.Data.empty() ? ' ' : r.Data.front()), std::string::npos);
    });
    EXPECT_EQ(read, layout);
    EXPECT_EQ(letters, "abcde-");

    GlobalRandom().Seed(20240);
    WriteRecordFile(PathOf("okno.krz"), MakeRecordHeader("Okno rekordow"), [&](TDataAccess& out) {
        char letter = 'a';
        for (const auto& [type, length] : layout)
            if (type != 0)
                out.WriteRecord(static_cast<uint8_t>(type), std::string(length, letter++));
    });
    EXPECT_EQ(ReadBytes(PathOf("okno.krz")), golden);
}
