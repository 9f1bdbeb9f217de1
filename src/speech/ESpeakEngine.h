#pragma once

#include "speech/SpeechEngine.h"

namespace mz {

// espeak-ng called in the program, its Polish voice rendering into memory
// (no sound device is opened). The library keeps one state for the whole
// process, so every engine object shares it under one lock; it starts at the
// first word, so making an engine costs nothing.
class TESpeakEngine : public TSpeechEngine {
public:
    // `dataDir`: the folder of espeak-ng's data; empty: where the system keeps
    // it (or ESPEAK_DATA_PATH says). It counts until the library has started.
    explicit TESpeakEngine(std::string dataDir = {});

    TPcm Speak(std::string_view utf8Text) override;
    std::string VoiceId() const override;

private:
    std::string FDataDir;
};

} // namespace mz
