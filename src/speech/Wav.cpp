#include "speech/Wav.h"

#include "core/Error.h"
#include "speech/SpeechEngine.h"

namespace mz {

namespace {

constexpr uint32_t FmtChunkSize = 16;
constexpr int PcmFormat = 1;

void Put16(std::string& out, uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

uint32_t Get(std::string_view bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

std::string WavBytes(const TPcm& pcm)
{
    const auto dataBytes = static_cast<uint32_t>(pcm.Samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    Put32(out, 4 + 8 + FmtChunkSize + 8 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, FmtChunkSize);
    Put16(out, PcmFormat);
    Put16(out, 1);
    Put32(out, static_cast<uint32_t>(pcm.SampleRate));
    Put32(out, static_cast<uint32_t>(pcm.SampleRate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (const int16_t sample : pcm.Samples)
        Put16(out, static_cast<uint16_t>(sample));
    return out;
}

double TWavInfo::Seconds() const
{
    const double bytesPerSecond = double(SampleRate) * Channels * BitsPerSample / 8;
    return bytesPerSecond > 0 ? DataBytes / bytesPerSecond : 0.0;
}

TWavInfo ReadWavInfo(std::string_view bytes, const std::string& name)
{
    const auto fail = [&name]() {
        return ESpeechError(FormatMessage("Plik %s nie jest poprawnym plikiem WAV.", name));
    };
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        throw fail();
    TWavInfo info;
    bool haveFormat = false;
    // Chunks are padded to an even length.
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string_view id = bytes.substr(at, 4);
        const uint32_t size = Get(bytes, at + 4, 4);
        const size_t body = at + 8;
        if (size > bytes.size() - body)
            throw fail();
        if (id == "fmt ") {
            if (size < FmtChunkSize)
                throw fail();
            info.Format = int(Get(bytes, body, 2));
            info.Channels = int(Get(bytes, body + 2, 2));
            info.SampleRate = int(Get(bytes, body + 4, 4));
            info.BitsPerSample = int(Get(bytes, body + 14, 2));
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                throw fail();
            info.DataBytes = size;
            return info;
        }
        at = body + size + (size & 1);
    }
    throw fail();
}

} // namespace mz
