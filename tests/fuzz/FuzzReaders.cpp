// The long run of the reader fuzzing: fuzz_readers [FILES [SEED [READER...]]]
// reads FILES mutated files (default 3000) with each reader and prints, per
// reader, the files tried, how they ended and the largest memory of one
// reading. Files that crashed, hung, stopped composing or were not read back
// stay in the printed folder. Run it in the sanitizer build (build-asan) to
// have memory errors and undefined behaviour end as crashes.
#include "ReaderFuzz.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::atoi(argv[1]) : 3000;
    const auto seed = static_cast<uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1);
    std::vector<std::string> readers(argv + std::min(argc, 3), argv + argc);
    if (readers.empty())
        readers = mz::test::FuzzReaders();
    const std::string dir = (std::filesystem::temp_directory_path() / ("mz-fuzz-" + std::to_string(seed))).string();
    std::printf("%-7s %6s %7s %8s %7s %5s %9s %10s %9s %7s\n", "czytnik", "pliki", "wczytane", "odrzucone", "awarie",
                "zawis", "składanie", "nieodczyt", "pamięć MB", "czas s");
    int failures = 0;
    for (const std::string& reader : readers) {
        const auto start = std::chrono::steady_clock::now();
        const mz::test::TFuzzReport r = mz::test::FuzzReader(reader, files, seed, dir + "/" + reader);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-7s %6d %7d %8d %7d %5d %9d %10d %9.1f %7.1f\n", reader.c_str(), r.Files, r.Loaded, r.Refused,
                    r.Crashes, r.Hangs, r.Stopped, r.NotReadBack, static_cast<double>(r.PeakKb) / 1024.0, seconds);
        for (const std::string& name : r.Failures)
            std::printf("  %s\n", name.c_str());
        failures += static_cast<int>(r.Failures.size());
    }
    std::printf("pliki: %s\n", dir.c_str());
    return failures == 0 ? 0 : 1;
}
