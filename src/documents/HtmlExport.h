#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace mz {

class TCrossTXT;

// The crossword as one web page that solves in any browser (docs/web-page.md):
// a single UTF-8 HTML file with its style sheet and script inside, which asks
// nothing of the network and works opened from a disk as well as from a web
// server. The grid carries the standard numbers (Numbering.h), the clues the
// word lengths; the answers, where the crossword keeps them, are written
// scrambled so that the page source does not show them at a glance (no
// protection against anyone who wants them). The letters the solver typed into
// the document are not written: the page starts empty.

// Where the file of a word's sound lies; an empty path for a sound that cannot
// be played (missing or refused). The name is the explanation's, CP1250.
using TSoundFileOf = std::function<std::filesystem::path(std::string_view cp1250Name)>;

struct THtmlOptions {
    // Set: the sound files are embedded and each clue with one gets a
    // loudspeaker. Unset: no sounds, no loudspeakers.
    TSoundFileOf SoundFile;
};

// The sound files a page would embed: each file once, however many clues use it.
struct THtmlSounds {
    int32_t Files = 0;
    uintmax_t PageBytes = 0; // what they add to the page (base64)
};
THtmlSounds HtmlSounds(const TCrossTXT& doc, const TSoundFileOf& soundFile);

// The page (UTF-8). A sound file that cannot be read raises EInOutError.
std::string HtmlPageText(const TCrossTXT& doc, const THtmlOptions& options = {});

// Writes the page to the file; the previous file is replaced only when the
// whole new one was written. Failure: "Wystąpił błąd podczas zapisu pliku %s".
void ExportAsHtml(const TCrossTXT& doc, const std::string& name, const THtmlOptions& options = {});

} // namespace mz
