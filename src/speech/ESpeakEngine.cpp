#include "speech/ESpeakEngine.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <cstdio>
#include <mutex>

namespace mz {

namespace {

const char* const PolishVoice = "pl";

// The library's one state: whether it runs, on which data, and where the
// samples of the word being spoken go.
std::mutex Lock;
bool Started = false;
TPcm* Target = nullptr;

int TakeSamples(short* samples, int count, espeak_EVENT*)
{
    if (samples && count > 0 && Target)
        Target->Samples.insert(Target->Samples.end(), samples, samples + count);
    return 0;
}

std::string StatusCode(espeak_ng_STATUS status)
{
    char code[16];
    std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(status));
    return code;
}

// Starts the library on the data of `dataDir` (empty: the system's) with the
// Polish voice, once: it is never stopped, as its stop waits for ever in the
// synchronous mode, so the data of the first start that succeeded stays. A
// start that failed is tried again at the next word. Called under the lock.
void Start(const std::string& dataDir)
{
    if (Started)
        return;
    espeak_ng_InitializePath(dataDir.empty() ? nullptr : dataDir.c_str());
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    if (status != ENS_OK) {
        const char* path = nullptr;
        espeak_Info(&path);
        throw ESpeechError(FormatMessage("Nie można uruchomić syntezatora mowy: brak danych espeak-ng w katalogu %s "
                                         "(pakiet espeak-ng-data).",
                                         path ? path : dataDir));
    }
    status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    if (status != ENS_OK)
        throw ESpeechError("Nie można uruchomić syntezatora mowy (błąd espeak-ng " + StatusCode(status) + ").");
    espeak_SetSynthCallback(&TakeSamples);
    if (espeak_ng_SetVoiceByName(PolishVoice) != ENS_OK)
        throw ESpeechError("Syntezator mowy nie ma polskiego głosu (pakiet espeak-ng-data).");
    Started = true;
}

} // namespace

TESpeakEngine::TESpeakEngine(std::string dataDir) : FDataDir(std::move(dataDir))
{
}

TPcm TESpeakEngine::Speak(std::string_view utf8Text)
{
    const std::lock_guard<std::mutex> guard(Lock);
    Start(FDataDir);
    const std::string text(utf8Text);
    TPcm pcm;
    pcm.SampleRate = espeak_ng_GetSampleRate();
    Target = &pcm;
    const espeak_ng_STATUS status =
        espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    Target = nullptr;
    if (status != ENS_OK)
        throw ESpeechError(FormatMessage("Syntezator mowy nie przeczytał słowa %s", text) + " (błąd espeak-ng "
                           + StatusCode(status) + ").");
    if (pcm.Samples.empty() || pcm.SampleRate <= 0)
        throw ESpeechError(FormatMessage("Syntezator mowy nie wydał dźwięku dla słowa %s.", text));
    return pcm;
}

std::string TESpeakEngine::VoiceId() const
{
    return std::string("espeak-ng ") + espeak_Info(nullptr) + " " + PolishVoice;
}

std::unique_ptr<TSpeechEngine> MakeSpeechEngine()
{
    return std::make_unique<TESpeakEngine>();
}

} // namespace mz
