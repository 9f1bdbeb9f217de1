#include "SoundNames.h"

#include "Cp1250.h"

#include <algorithm>

namespace mz {

bool IsPlainSoundName(std::string_view name)
{
    if (name.empty() || name.find("..") != std::string_view::npos || name == ".")
        return false;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':')
            return false;
    }
    return true;
}

std::string PlainSoundLines(std::string_view text, int32_t& refused)
{
    std::string kept;
    while (!text.empty()) {
        const size_t end = text.find("\r\n");
        const size_t next = end == std::string_view::npos ? text.size() : end + 2;
        const std::string_view name = text.substr(0, std::min(end, text.size()));
        if (name.empty() || IsPlainSoundName(name))
            kept += text.substr(0, next);
        else
            ++refused;
        text.remove_prefix(next);
    }
    return kept;
}

TSoundFile ResolveSoundFile(const std::filesystem::path& audioDir, std::string_view cp1250Name)
{
    namespace fs = std::filesystem;
    TSoundFile result;
    if (!IsPlainSoundName(cp1250Name)) {
        result.Status = TSoundStatus::Refused;
        return result;
    }
    const std::string utf8 = Cp1250ToUtf8(cp1250Name);
    const fs::path joined = audioDir / fs::path(std::u8string(utf8.begin(), utf8.end()));
    std::error_code ec;
    const fs::path dir = fs::canonical(audioDir, ec);
    if (ec)
        return result;
    const fs::path file = fs::canonical(joined, ec);
    if (ec)
        return result;
    // The file must lie below the directory: every element of the directory
    // path starts the file's path.
    auto d = dir.begin();
    auto f = file.begin();
    for (; d != dir.end(); ++d, ++f)
        if (f == file.end() || *d != *f) {
            result.Status = TSoundStatus::Refused;
            return result;
        }
    if (!fs::is_regular_file(file, ec)) {
        // A directory or device inside the audio directory is no sound either.
        result.Status = fs::exists(file, ec) ? TSoundStatus::Refused : TSoundStatus::Missing;
        return result;
    }
    result.Status = TSoundStatus::Playable;
    result.Path = file;
    return result;
}

TSoundFile ResolveSoundFile(const std::filesystem::path& userAudioDir, const std::filesystem::path& audioDir,
                            std::string_view cp1250Name)
{
    if (!userAudioDir.empty()) {
        TSoundFile own = ResolveSoundFile(userAudioDir, cp1250Name);
        if (own.Status != TSoundStatus::Missing)
            return own;
    }
    return ResolveSoundFile(audioDir, cp1250Name);
}

} // namespace mz
