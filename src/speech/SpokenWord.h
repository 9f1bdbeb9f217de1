#pragma once

#include "speech/SpeechEngine.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

// The longest word spoken, in letters: longer than any answer a grid holds.
inline constexpr size_t MaxSpokenLetters = 64;

// Whether a word (CP1250) can be spoken: 1 to MaxSpokenLetters letters, each
// 'A'-'Z' or a Polish capital, as answers are held.
bool IsSpeakableWord(std::string_view cp1250Word);

// A word the user typed (UTF-8, small or capital letters) as the program holds
// it (CP1250 capitals); anything but a speakable word raises ESpeechError.
std::string SpeakableWord(std::string_view utf8Word);

// The text the engine is given for a word: small letters, UTF-8, so that it
// is read as a word and not spelt out as an abbreviation.
std::string SpokenText(std::string_view cp1250Word);

// The file name (UTF-8, no folder) of a word's spoken sound: the word in
// small letters (other characters as '_', at most 40 bytes), a hash of the
// whole word and the engine's voice, ".wav". It holds no path character on
// any system, and two words or two voices never share a name by accident.
std::string SpokenFileName(std::string_view cp1250Word, std::string_view voiceId);

// Speaks the word into a WAV file. The file is written beside its place and
// put there only when complete. Raises ESpeechError or EInOutError.
void WriteSpokenWord(TSpeechEngine& engine, std::string_view cp1250Word, const std::string& fileName);

// One word of many to speak into a file of its own.
struct TSpokenJob {
    std::string Word;     // CP1250
    std::string FileName; // UTF-8
};

struct TSpokenRun {
    size_t Written = 0;   // the first Written jobs have their file
    bool Stopped = false; // the progress callback asked to stop
    std::string Error;    // why the run ended early (Polish), empty when it did not fail
};

// Speaks the words of `jobs` in order into their files. After each word
// `progress(done, total)` is called; when it returns false the run stops.
// The first failure ends the run; the files written before it stay.
TSpokenRun WriteSpokenWords(TSpeechEngine& engine, const std::vector<TSpokenJob>& jobs,
                            const std::function<bool(size_t done, size_t total)>& progress);

} // namespace mz
