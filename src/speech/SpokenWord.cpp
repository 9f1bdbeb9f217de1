#include "speech/SpokenWord.h"

#include "core/Cp1250.h"
#include "documents/FileReplacement.h"

#include <algorithm>
#include <cstdio>

namespace mz {

namespace {

constexpr size_t MaxNameWordBytes = 40;

// 64-bit FNV-1a: a stable hash, the same on every system and in every build.
uint64_t Fnv1a(std::string_view text, uint64_t hash = 0xCBF29CE484222325ULL)
{
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

} // namespace

bool IsSpeakableWord(std::string_view word)
{
    return !word.empty() && word.size() <= MaxSpokenLetters
        && std::all_of(word.begin(), word.end(), [](char c) { return IsWordLetter(static_cast<unsigned char>(c)); });
}

std::string SpeakableWord(std::string_view utf8Word)
{
    bool ok = true;
    std::string word = Utf8ToCp1250(utf8Word, '?', &ok);
    for (char& c : word)
        c = static_cast<char>(Cp1250ToUpper(static_cast<unsigned char>(c)));
    if (!ok || !IsSpeakableWord(word))
        throw ESpeechError(
            FormatMessage("Słowo do przeczytania musi składać się z liter (od 1 do 64), także polskich: %s",
                          std::string(utf8Word)));
    return word;
}

std::string SpokenText(std::string_view cp1250Word)
{
    return Cp1250ToUtf8(Cp1250ToLower(cp1250Word));
}

std::string SpokenFileName(std::string_view cp1250Word, std::string_view voiceId)
{
    std::string name;
    for (const char c : Cp1250ToLower(cp1250Word)) {
        const auto letter = static_cast<unsigned char>(Cp1250ToUpper(static_cast<unsigned char>(c)));
        const std::string part = IsWordLetter(letter) || (c >= '0' && c <= '9') ? Cp1250ToUtf8(std::string(1, c)) : "_";
        if (name.size() + part.size() > MaxNameWordBytes)
            break;
        name += part;
    }
    const uint64_t hash = Fnv1a(cp1250Word, Fnv1a(std::string(voiceId) + '\n'));
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(hash));
    return name + '-' + hex + ".wav";
}

void WriteSpokenWord(TSpeechEngine& engine, std::string_view cp1250Word, const std::string& fileName)
{
    ReplaceFileContents(fileName, WavBytes(engine.Speak(SpokenText(cp1250Word))));
}

TSpokenRun WriteSpokenWords(TSpeechEngine& engine, const std::vector<TSpokenJob>& jobs,
                            const std::function<bool(size_t done, size_t total)>& progress)
{
    TSpokenRun run;
    for (const TSpokenJob& job : jobs) {
        try {
            WriteSpokenWord(engine, job.Word, job.FileName);
        } catch (const EMirakolnikError& e) {
            run.Error = e.what();
            return run;
        }
        ++run.Written;
        if (progress && !progress(run.Written, jobs.size())) {
            run.Stopped = run.Written < jobs.size();
            return run;
        }
    }
    return run;
}

} // namespace mz
