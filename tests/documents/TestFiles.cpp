#include "TestFiles.h"

#include "documents/DataAccess.h"

#include <fstream>
#include <iterator>
#include <random>

namespace mz::test {

void TTempDirTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device rd;
    Dir = std::filesystem::temp_directory_path()
        / ("mz-" + std::string(info->test_suite_name()) + "-" + std::to_string(rd()));
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
}

void TTempDirTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::remove_all(Dir, ignored);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

uint32_t XorChecksum(std::string_view bytes)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        sum ^= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << ((i % 4) * 8);
    return sum;
}

std::string Int32Bytes(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

int32_t Int32At(std::string_view bytes, size_t pos)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(bytes[pos + i]);
    return static_cast<int32_t>(v);
}

std::string RecordAt(int64_t offset, uint8_t type, std::string_view data)
{
    const auto start = static_cast<int32_t>(offset + 9);
    const auto end = static_cast<int32_t>(start + static_cast<int32_t>(data.size()) - 1);
    return std::string(1, static_cast<char>(type)) + Int32Bytes(start) + Int32Bytes(end) + std::string(data);
}

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EIOOperation& e) {
        return e.what();
    }
    return "(no error)";
}

TCrossTXT Grid(int cols, int rows, std::string_view letters)
{
    TCrossTXT doc;
    doc.SetColCount(cols);
    doc.SetRowCount(rows);
    for (size_t i = 0; i < letters.size(); ++i)
        doc.SetCell(static_cast<int>(i % cols) + 1, static_cast<int>(i / cols) + 1,
                    static_cast<unsigned char>(letters[i]));
    doc.Modified = false;
    return doc;
}

namespace {

// The scrambler is a plain feedback XOR over a seven-byte register, so tests
// keep their own copy rather than trusting the code under test.
std::string Transform(std::string_view in, bool scramble)
{
    uint8_t key[7];
    for (int i = 0; i < 7; ++i)
        key[i] = RecordFileSeed[i] ^ RecordFileSeed[i + 1];
    std::string out(in);
    int pos = 0;
    for (char& ch : out) {
        const auto b = static_cast<uint8_t>(ch);
        const uint8_t r = b ^ key[pos];
        key[pos] = scramble ? r : b;
        ch = static_cast<char>(r);
        pos = (pos + 1) % 7;
    }
    return out;
}

} // namespace

std::string BuildRecordBytes(std::string_view header64, std::string_view plainStream)
{
    std::string header(header64);
    header.resize(64, '\0');
    std::string file = header + Transform(plainStream, true);
    return file + Int32Bytes(static_cast<int32_t>(XorChecksum(file)));
}

std::string PlainStreamOf(std::string_view fileBytes)
{
    return Transform(fileBytes.substr(64, fileBytes.size() - 68), false);
}

} // namespace mz::test
