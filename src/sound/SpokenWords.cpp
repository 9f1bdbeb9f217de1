#include "sound/SpokenWords.h"

#include "speech/SpokenWord.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace mz {

namespace {

// Whether the file is a whole WAV file: a cache file cut short or damaged is spoken again.
bool IsWholeWav(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    try {
        return ReadWavInfo(std::string_view(bytes.constData(), size_t(bytes.size())), fileName.toStdString()).DataBytes
            > 0;
    } catch (const ESpeechError&) {
        return false;
    }
}

} // namespace

TSpokenWords::TSpokenWords(QString cacheDir, std::unique_ptr<TSpeechEngine> engine)
    : FCacheDir(cacheDir.isEmpty() ? DefaultCacheDir() : std::move(cacheDir)),
      FEngine(engine ? std::move(engine) : MakeSpeechEngine())
{
}

TSpokenWords::~TSpokenWords() = default;

QString TSpokenWords::DefaultCacheDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/mowa");
}

QString TSpokenWords::File(const std::string& cp1250Word)
{
    if (!IsSpeakableWord(cp1250Word))
        throw ESpeechError("Tego hasła nie można przeczytać: nie składa się z samych liter.");
    const QString name =
        FCacheDir + QLatin1Char('/') + QString::fromStdString(SpokenFileName(cp1250Word, FEngine->VoiceId()));
    if (IsWholeWav(name))
        return name;
    if (!QDir().mkpath(FCacheDir))
        throw ESpeechError(
            FormatMessage("Nie można utworzyć katalogu %s na przeczytane hasła.", FCacheDir.toStdString()));
    WriteSpokenWord(*FEngine, cp1250Word, name.toStdString());
    return name;
}

} // namespace mz
