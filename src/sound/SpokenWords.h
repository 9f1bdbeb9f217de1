#pragma once

#include <QString>

#include <memory>
#include <string>

namespace mz {

class TSpeechEngine;

// Speech for the words that have no recording: a word is spoken once into a
// WAV file in the user's cache and played from there like a recording. A word
// takes a few milliseconds (the engine's first start some tens), so it is
// spoken when asked for, on the caller's thread.
class TSpokenWords {
public:
    // `cacheDir` empty: DefaultCacheDir(); no engine: the one of this build.
    explicit TSpokenWords(QString cacheDir = QString(), std::unique_ptr<TSpeechEngine> engine = nullptr);
    ~TSpokenWords();
    TSpokenWords(const TSpokenWords&) = delete;
    TSpokenWords& operator=(const TSpokenWords&) = delete;

    // The WAV file of the word (CP1250 capitals, as answers are held), spoken
    // now unless the cache holds it whole. Raises ESpeechError or EInOutError
    // with the message for the user.
    QString File(const std::string& cp1250Word);
    const QString& CacheDir() const { return FCacheDir; }
    TSpeechEngine& Engine() { return *FEngine; }

    // The spoken words' folder in the user's cache directory.
    static QString DefaultCacheDir();

private:
    QString FCacheDir;
    std::unique_ptr<TSpeechEngine> FEngine;
};

} // namespace mz
