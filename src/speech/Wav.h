#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

// Sound as a speech engine gives it: one channel of 16-bit samples.
struct TPcm {
    int SampleRate = 0;
    std::vector<int16_t> Samples;

    double Seconds() const { return SampleRate > 0 ? double(Samples.size()) / SampleRate : 0.0; }
};

// The sound as the bytes of a WAV file: a RIFF "WAVE" with a 16-byte "fmt "
// chunk (PCM, one channel, 16 bits) and the "data" chunk, little-endian.
std::string WavBytes(const TPcm& pcm);

// What the header of a WAV file says.
struct TWavInfo {
    int Format = 0; // 1 = PCM
    int Channels = 0;
    int SampleRate = 0;
    int BitsPerSample = 0;
    uint32_t DataBytes = 0;

    double Seconds() const;
};

// Reads the chunks of a WAV file up to its data, skipping chunks it does not
// know. A file that is no WAV, or whose data chunk runs past its end, raises
// ESpeechError naming `name`.
TWavInfo ReadWavInfo(std::string_view bytes, const std::string& name);

} // namespace mz
