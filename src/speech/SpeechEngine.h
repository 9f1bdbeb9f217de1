#pragma once

#include "core/Error.h"
#include "speech/Wav.h"

#include <memory>
#include <string>
#include <string_view>

namespace mz {

// A speech engine that cannot start or cannot speak; the message is the
// program's own Polish text for the user.
class ESpeechError : public EMirakolnikError {
public:
    using EMirakolnikError::EMirakolnikError;
};

// Speaks Polish text into sound. The program holds engines only through this
// interface, so an engine of another platform can take the place of the one
// built in.
class TSpeechEngine {
public:
    virtual ~TSpeechEngine() = default;
    // The spoken text (UTF-8) as sound. Raises ESpeechError.
    virtual TPcm Speak(std::string_view utf8Text) = 0;
    // Names the engine, its version and its voice: sound cached under one
    // name is not taken for the sound of another engine or voice.
    virtual std::string VoiceId() const = 0;
};

// The engine of this build: espeak-ng with its Polish voice, its data where
// the system keeps it.
std::unique_ptr<TSpeechEngine> MakeSpeechEngine();

} // namespace mz
