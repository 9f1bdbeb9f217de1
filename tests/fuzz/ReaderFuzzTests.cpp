// A short run of the reader fuzzing in every test run: mutated ipuz files and
// change files of the word database, each read in a child process. No file
// may crash or hang its reader, and no change file may stop composing.
// (fuzz_readers runs the same for all readers with many more files.)
#include "ReaderFuzz.h"

#include "../documents/TestFiles.h"

#include <gtest/gtest.h>

using namespace mz::test;

namespace {

class ReaderFuzz : public TTempDirTest, public ::testing::WithParamInterface<const char*> { };

} // namespace

TEST_P(ReaderFuzz, MutatedFilesLoadOrAreRefusedNeverCrashHangOrStopComposing)
{
    const TFuzzReport report = FuzzReader(GetParam(), 150, 2026, PathOf("pliki"));
    EXPECT_EQ(report.Files, 150);
    EXPECT_EQ(report.Crashes, 0);
    EXPECT_EQ(report.Hangs, 0);
    EXPECT_EQ(report.Stopped, 0);
    EXPECT_EQ(report.NotReadBack, 0);
    // Both outcomes occur, or the mutations missed the reader (the files
    // differ from run to run in their random filler bytes, so the shares vary).
    EXPECT_GT(report.Refused, 2);
    EXPECT_GT(report.Loaded, 2);
    for (const std::string& name : report.Failures)
        ADD_FAILURE() << name << ":\n" << ReadBytes(name).substr(0, 400);
}

INSTANTIATE_TEST_SUITE_P(NewerReaders, ReaderFuzz, ::testing::Values("ipuz", "zmiany"));
