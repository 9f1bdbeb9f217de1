#pragma once

#include "documents/CrossTXT.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace mz::test {

// A fresh directory per test, removed afterwards.
class TTempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    std::filesystem::path Dir;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);

// XOR of the little-endian words of `bytes`, zero-padded; computed here
// independently of the container code.
uint32_t XorChecksum(std::string_view bytes);

// A complete record file from a header and the plain (unscrambled) stream that
// follows it: the stream is scrambled with the program's key and the checksum
// appended. Lets tests build any stream, well-formed or not.
std::string BuildRecordBytes(std::string_view header64, std::string_view plainStream);
// The plain stream of a record file (bytes 64 .. size-4, unscrambled).
std::string PlainStreamOf(std::string_view fileBytes);

// One record head and its data as the writer lays them out at `offset`.
std::string RecordAt(int64_t offset, uint8_t type, std::string_view data);
std::string Int32Bytes(int32_t value);
int32_t Int32At(std::string_view bytes, size_t pos);

// The message of the EIOOperation the action throws, or "(no error)".
std::string MessageOf(const std::function<void()>& action);
// A complete grid of spaces with the letters filled in row by row; clean.
TCrossTXT Grid(int cols, int rows, std::string_view letters = {});

} // namespace mz::test
