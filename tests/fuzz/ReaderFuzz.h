#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mz::test {

// Mutated files fed to one of the program's readers, each in a child process
// of its own, so that a crash, a sanitizer report or a hang is counted and
// the run goes on.
struct TFuzzReport {
    std::string Reader;
    int Files = 0;
    int Loaded = 0;                    // read as a document, database or list
    int Refused = 0;                   // refused with the reader's documented error
    int Crashes = 0;                   // ended by a signal, a sanitizer or another exception
    int Hangs = 0;                     // still reading after the time allowed
    int Stopped = 0;                   // change files after which composing could not load its words
    int NotReadBack = 0;               // documents that opened but whose saved or exported file did not
    long PeakKb = 0;                   // the largest resident memory of one reading child
    std::vector<std::string> Failures; // names of the files kept for the ones above
};

// The six readers: "krz" (crosswords and templates), "xwd", "ipuz", "hk" (the
// word database), "zmiany" (the user's change file, read by the editor and
// then by composing) and "tsv" (word lists of the database builder).
const std::vector<std::string>& FuzzReaders();

// Writes `files` mutated files of the reader's kind into `dir` (each derived
// from a valid file, seeded by `seed`) and reads each in a child process
// allowed `timeoutMs`. Files that failed stay in `dir`; the others go.
TFuzzReport FuzzReader(const std::string& reader, int files, uint32_t seed, const std::string& dir,
                       int timeoutMs = 10000);

} // namespace mz::test
