#include "speech/ESpeakEngine.h"
#include "speech/SpokenWord.h"
#include "speech/Wav.h"

#include "core/Cp1250.h"

#include "../documents/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace mz;
using namespace mz::test;

namespace {

std::string Cp(const std::string& utf8)
{
    return Utf8ToCp1250(utf8);
}

std::string Le32(uint32_t v)
{
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ESpeechError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

class SpeechFiles : public TTempDirTest { };

// An engine without its data says so in Polish and does not end the program;
// the engine on the system's data speaks afterwards. First in this file: the
// library's data count until its first start.
TEST_F(SpeechFiles, AnEngineWithoutItsDataFailsWithAPolishMessage)
{
    TESpeakEngine broken(Dir.string());
    const std::string message = "Nie można uruchomić syntezatora mowy: brak danych espeak-ng w katalogu " + Dir.string()
        + " (pakiet espeak-ng-data).";
    EXPECT_EQ(ErrorOf([&] { broken.Speak("kot"); }), message);
    EXPECT_EQ(ErrorOf([&] { WriteSpokenWord(broken, "KOT", PathOf("kot.wav")); }), message);
    EXPECT_FALSE(std::filesystem::exists(PathOf("kot.wav")));
    TESpeakEngine working;
    EXPECT_GT(working.Speak("kot").Samples.size(), 0u);
}

TEST(Wav, TheHeaderIsPcm16BitMonoAndReadsBack)
{
    TPcm pcm{8000, {0, 1, -1, 32767, -32768}};
    const std::string bytes = WavBytes(pcm);
    ASSERT_EQ(bytes.size(), 44u + 10u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(4, 4), Le32(46));
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(bytes.substr(28, 4), Le32(16000)); // bytes per second
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(bytes.substr(44), std::string("\0\0\1\0\xFF\xFF\xFF\x7F\0\x80", 10));
    const TWavInfo info = ReadWavInfo(bytes, "a.wav");
    EXPECT_EQ(info.Format, 1);
    EXPECT_EQ(info.Channels, 1);
    EXPECT_EQ(info.SampleRate, 8000);
    EXPECT_EQ(info.BitsPerSample, 16);
    EXPECT_EQ(info.DataBytes, 10u);
    EXPECT_DOUBLE_EQ(info.Seconds(), 10.0 / 16000);
}

// Other chunks before the data (a list of tags, odd-sized and padded) are skipped;
// a file that is no WAV or whose chunks run past its end is refused.
TEST(Wav, ChunksAreWalkedAndDamageIsRefused)
{
    const std::string good = WavBytes({22050, std::vector<int16_t>(100)});
    const std::string fmt = good.substr(12, 24);
    const std::string data = good.substr(36);
    const std::string tagged = "RIFF" + Le32(0) + "WAVE" + fmt + "LIST" + Le32(3) + "abc" + '\0' + data;
    EXPECT_EQ(ReadWavInfo(tagged, "t.wav").DataBytes, 200u);

    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"empty", ""},
        {"no RIFF", "RIFX" + good.substr(4)},
        {"no WAVE", good.substr(0, 8) + "AVI " + good.substr(12)},
        {"data cut short", good.substr(0, good.size() - 1)},
        {"data before its format", "RIFF" + Le32(0) + "WAVE" + data + fmt},
        {"format too short", "RIFF" + Le32(0) + "WAVEfmt " + Le32(4) + "abcd" + data},
        {"no data chunk", "RIFF" + Le32(0) + "WAVE" + fmt},
        {"a chunk longer than the file", "RIFF" + Le32(0) + "WAVE" + fmt + "LIST" + Le32(0xFFFFFFF0)},
    };
    for (const auto& [what, bytes] : damaged)
        EXPECT_EQ(ErrorOf([&] { ReadWavInfo(bytes, "zły.wav"); }), "Plik zły.wav nie jest poprawnym plikiem WAV.")
            << what;
}

TEST(SpokenWord, WordsTypedByTheUserAreTakenAsCapitalLettersOnly)
{
    EXPECT_EQ(SpeakableWord("żółw"), Cp("ŻÓŁW"));
    EXPECT_EQ(SpeakableWord("KoT"), "KOT");
    EXPECT_EQ(SpeakableWord(std::string(64, 'a')), std::string(64, 'A'));
    for (const std::string& bad : {std::string(), std::string("kot1"), std::string("a b"), std::string("../kot"),
                                   std::string("k\xC3"), std::string("naïve"), std::string(65, 'a')})
        EXPECT_EQ(ErrorOf([&] { SpeakableWord(bad); }),
                  "Słowo do przeczytania musi składać się z liter (od 1 do 64), także polskich: " + bad)
            << bad;
    EXPECT_EQ(SpokenText(Cp("ŹDŹBŁO")), "źdźbło");
}

// Cache names keep the word readable, hold no path character, and differ for
// two words or two voices; the hash is pinned, so names stay the same from
// build to build and a cache survives an update.
TEST(SpokenWord, FileNamesAreSafeStableAndDistinct)
{
    EXPECT_EQ(SpokenFileName(Cp("ŻÓŁW"), "espeak-ng 1.51 pl"), "żółw-B8C23735D713D3B9.wav");
    EXPECT_EQ(SpokenFileName("A/B\\C:D", "v"), "a_b_c_d-1984E94F177E6036.wav");
    const std::string name = SpokenFileName(std::string(60, 'K'), "v");
    EXPECT_EQ(name.substr(0, 41), std::string(40, 'k') + "-");
    EXPECT_NE(SpokenFileName("KOT", "v1"), SpokenFileName("KOT", "v2"));
    EXPECT_NE(SpokenFileName("KOT", "v"), SpokenFileName("KOT_", "v"));
    for (const std::string& word : {std::string("..\\..\x01"), std::string("\x8F\xAF")})
        for (const char c : SpokenFileName(word, "v"))
            EXPECT_TRUE(c != '/' && c != '\\' && c != ':' && static_cast<unsigned char>(c) >= 32) << word;
}

// The real engine: every length from 3 to 16 letters is spoken in a fraction
// of a second to a few seconds, with the Polish letters.
TEST(ESpeakEngine, SpeaksPolishWordsOfEveryLength)
{
    TESpeakEngine engine;
    for (const char* word : {"kot", "żółw", "źdźbło", "chrząszcz", "przeciwdziałanie"}) {
        const TPcm pcm = engine.Speak(word);
        EXPECT_EQ(pcm.SampleRate, 22050) << word;
        EXPECT_GT(pcm.Seconds(), 0.2) << word;
        EXPECT_LT(pcm.Seconds(), 3.0) << word;
    }
    EXPECT_NE(engine.VoiceId().find("espeak-ng"), std::string::npos);
}

// The progress callback sees every word and can stop the run; a failing word
// ends it, and the files written before stay.
TEST_F(SpeechFiles, ManyWordsAreWrittenWithProgressAndCanBeStopped)
{
    TESpeakEngine engine;
    std::vector<TSpokenJob> jobs;
    for (const char* word : {"KOT", "PIES", "LAS", "MYSZ"})
        jobs.push_back({word, PathOf(std::string(word) + ".wav")});
    std::vector<std::pair<size_t, size_t>> seen;
    TSpokenRun run = WriteSpokenWords(engine, jobs, [&](size_t done, size_t total) {
        seen.emplace_back(done, total);
        return done < 2;
    });
    EXPECT_EQ(run.Written, 2u);
    EXPECT_TRUE(run.Stopped);
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(seen, (std::vector<std::pair<size_t, size_t>>{{1, 4}, {2, 4}}));
    EXPECT_TRUE(std::filesystem::exists(PathOf("PIES.wav")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("LAS.wav")));

    jobs[1].FileName = PathOf("brak/PIES.wav");
    run = WriteSpokenWords(engine, jobs, {});
    EXPECT_EQ(run.Written, 1u);
    EXPECT_FALSE(run.Stopped);
    EXPECT_NE(run.Error, "");
    const TWavInfo info = ReadWavInfo(ReadBytes(PathOf("KOT.wav")), "KOT.wav");
    EXPECT_EQ(info.BitsPerSample, 16);
    EXPECT_GT(info.Seconds(), 0.2);
}
