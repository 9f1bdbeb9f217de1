#include "app/SoundPlayer.h"

#include <QTimer>
#include <QUrl>

#ifdef MZ_HAVE_MULTIMEDIA
#include <QAudioOutput>
#include <QMediaPlayer>
#endif

namespace mz {

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent)
{
#ifdef MZ_HAVE_MULTIMEDIA
    Player = new QMediaPlayer(this);
    Output = new QAudioOutput(this);
    Player->setAudioOutput(Output);
    connect(Player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString& text) {
        // The back end may report one failure several times; the user hears of it once per press.
        if (error == QMediaPlayer::NoError || Reported)
            return;
        Reported = true;
        emit Failed(text.isEmpty() ? QStringLiteral("Nie można odtworzyć pliku %1.").arg(Current) : text);
    });
    connect(Player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia)
            emit Finished();
    });
#endif
}

TSoundPlayer::~TSoundPlayer()
{
    Stop();
}

void TSoundPlayer::Play(const QString& fileName)
{
    Current = fileName;
    Reported = false;
#ifdef MZ_HAVE_MULTIMEDIA
    // A new press reopens the source, which stops whatever is still playing.
    Player->stop();
    Player->setSource(QUrl());
    Player->setSource(QUrl::fromLocalFile(fileName));
    Player->play();
#else
    // Queued so that, as with a real player, the caller returns before the error arrives.
    QTimer::singleShot(0, this, [this] {
        emit Failed(QStringLiteral("Ta wersja programu nie odtwarza dźwięku."));
    });
#endif
}

void TSoundPlayer::Stop()
{
#ifdef MZ_HAVE_MULTIMEDIA
    if (Player)
        Player->stop();
#endif
}

bool TSoundPlayer::IsPlaying() const
{
#ifdef MZ_HAVE_MULTIMEDIA
    return Player && Player->playbackState() == QMediaPlayer::PlayingState;
#else
    return false;
#endif
}

} // namespace mz
