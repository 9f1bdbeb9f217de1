#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace mz {

// Sound names come from crossword files and word databases that anyone may
// have made, yet they are joined to the audio directory. Only a plain file name
// may be joined: no directory separator of either kind, no "..", no drive
// colon, no control character, not empty.
bool IsPlainSoundName(std::string_view cp1250Name);

// A word database's sound text: file names each followed by CR LF. Keeps the
// lines that are plain names (and empty ones) as they are, drops the others and
// adds their number to `refused`.
std::string PlainSoundLines(std::string_view text, int32_t& refused);

enum class TSoundStatus {
    Playable, // an existing file inside the audio directory
    Missing,  // a plain name with no file behind it: ignored silently
    Refused,  // not a plain name, or a link leading out of the audio directory
};

struct TSoundFile {
    TSoundStatus Status = TSoundStatus::Missing;
    std::filesystem::path Path; // the file itself, links followed (Playable only)
};

// The file a sound name stands for. The name (CP1250) is checked with
// IsPlainSoundName, joined to `audioDir` and followed through symbolic links;
// the file it leads to must be a regular file inside the audio directory
// (itself taken with its links followed).
TSoundFile ResolveSoundFile(const std::filesystem::path& audioDir, std::string_view cp1250Name);
// The same over the user's own sound directory first and the shipped one
// after it: a name missing from the first is looked up in the second. An
// empty first directory is skipped.
TSoundFile ResolveSoundFile(const std::filesystem::path& userAudioDir, const std::filesystem::path& audioDir,
                            std::string_view cp1250Name);

// What the user is told, once, when sounds were refused: the crossword file
// (or database) name goes into the first placeholder.
inline constexpr const char* MsgSoundsRefused =
    "Plik %s zawiera niedozwolone nazwy plików dźwiękowych; te dźwięki pominięto.";
// What the user is told when a sound name leads outside the audio directory.
inline constexpr const char* MsgSoundRefused = "Niedozwolona nazwa pliku dźwiękowego: %s";

} // namespace mz
