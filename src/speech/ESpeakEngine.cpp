#include "speech/ESpeakEngine.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

namespace mz {

namespace {

const char* const PolishVoice = "pl";

// The library is opened only when a word is first spoken: linked in, it and
// the sound and desktop libraries it needs cost every start of the program,
// most of which never speak, about a third of a short composing run.
struct TLibrary {
    decltype(&espeak_ng_InitializePath) InitializePath = nullptr;
    decltype(&espeak_ng_Initialize) Initialize = nullptr;
    decltype(&espeak_ng_ClearErrorContext) ClearErrorContext = nullptr;
    decltype(&espeak_Info) Info = nullptr;
    decltype(&espeak_ng_InitializeOutput) InitializeOutput = nullptr;
    decltype(&espeak_SetSynthCallback) SetSynthCallback = nullptr;
    decltype(&espeak_ng_SetVoiceByName) SetVoiceByName = nullptr;
    decltype(&espeak_ng_GetSampleRate) GetSampleRate = nullptr;
    decltype(&espeak_ng_Synthesize) Synthesize = nullptr;
};

template <typename F>
void Resolve(void* handle, F& function, const char* name)
{
    function = reinterpret_cast<F>(dlsym(handle, name));
    if (!function)
        throw ESpeechError(FormatMessage("Biblioteka syntezatora mowy espeak-ng nie ma funkcji %s.", name));
}

// The library's functions, opened once for the whole process (never closed).
const TLibrary& Library()
{
    static std::mutex openLock;
    static TLibrary library;
    static bool opened = false;
    const std::lock_guard<std::mutex> guard(openLock);
    if (opened)
        return library;
    void* handle = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        handle = dlopen("libespeak-ng.so", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw ESpeechError("Nie można uruchomić syntezatora mowy: brak biblioteki espeak-ng (pakiet libespeak-ng1).");
    TLibrary found;
    Resolve(handle, found.InitializePath, "espeak_ng_InitializePath");
    Resolve(handle, found.Initialize, "espeak_ng_Initialize");
    Resolve(handle, found.ClearErrorContext, "espeak_ng_ClearErrorContext");
    Resolve(handle, found.Info, "espeak_Info");
    Resolve(handle, found.InitializeOutput, "espeak_ng_InitializeOutput");
    Resolve(handle, found.SetSynthCallback, "espeak_SetSynthCallback");
    Resolve(handle, found.SetVoiceByName, "espeak_ng_SetVoiceByName");
    Resolve(handle, found.GetSampleRate, "espeak_ng_GetSampleRate");
    Resolve(handle, found.Synthesize, "espeak_ng_Synthesize");
    library = found;
    opened = true;
    return library;
}

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
    const TLibrary& espeak = Library();
    espeak.InitializePath(dataDir.empty() ? nullptr : dataDir.c_str());
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak.Initialize(&context);
    espeak.ClearErrorContext(&context);
    if (status != ENS_OK) {
        const char* path = nullptr;
        espeak.Info(&path);
        throw ESpeechError(FormatMessage("Nie można uruchomić syntezatora mowy: brak danych espeak-ng w katalogu %s "
                                         "(pakiet espeak-ng-data).",
                                         path ? path : dataDir));
    }
    status = espeak.InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    if (status != ENS_OK)
        throw ESpeechError("Nie można uruchomić syntezatora mowy (błąd espeak-ng " + StatusCode(status) + ").");
    espeak.SetSynthCallback(&TakeSamples);
    if (espeak.SetVoiceByName(PolishVoice) != ENS_OK)
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
    pcm.SampleRate = Library().GetSampleRate();
    Target = &pcm;
    const espeak_ng_STATUS status =
        Library().Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
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
    return std::string("espeak-ng ") + Library().Info(nullptr) + " " + PolishVoice;
}

std::unique_ptr<TSpeechEngine> MakeSpeechEngine()
{
    return std::make_unique<TESpeakEngine>();
}

} // namespace mz
