#pragma once

#include "speech/SpokenWord.h"

#include <vector>

class QWidget;

namespace mz {

// Speaks the words of `jobs` into their files, one after another on the
// window's thread (a word takes a few milliseconds). More than one word shows
// its progress in a dialog over `parent` whose button stops the run; the
// window takes no other input meanwhile.
TSpokenRun SpeakIntoFiles(QWidget* parent, TSpeechEngine& engine, const std::vector<TSpokenJob>& jobs);

} // namespace mz
