#include "sound/SoundPlayer.h"

#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#ifdef MZ_HAVE_MULTIMEDIA
#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#endif

namespace mz {

namespace {

const char* const MsgNoDevice = "Nie można odtworzyć dźwięku: brak urządzenia audio";
const char* const MsgNoFile = "Nie można odtworzyć dźwięku: brak pliku %1";

bool SystemHasAudioOutput()
{
#ifdef MZ_HAVE_MULTIMEDIA
    return !QMediaDevices::audioOutputs().isEmpty();
#else
    return true;
#endif
}

TSoundPlayer::TDeviceCheck DeviceCheck = &SystemHasAudioOutput;

} // namespace

bool TSoundPlayer::HasAudioOutput()
{
    return DeviceCheck();
}

void TSoundPlayer::SetDeviceCheck(TDeviceCheck check)
{
    DeviceCheck = check ? check : &SystemHasAudioOutput;
}

void TSoundPlayer::FailLater(const QString& message)
{
    // Queued so that, as with a real player, the caller returns before the error arrives.
    QTimer::singleShot(0, this, [this, message] {
        if (Reported)
            return;
        Reported = true;
        emit Failed(message);
    });
}

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
    Reported = false;
    if (!QFileInfo(fileName).isFile()) {
        Stop();
        FailLater(QString::fromUtf8(MsgNoFile).arg(fileName));
        return;
    }
    if (!HasAudioOutput()) {
        Stop();
        FailLater(QString::fromUtf8(MsgNoDevice));
        return;
    }
    Current = fileName;
#ifdef MZ_HAVE_MULTIMEDIA
    // A new press reopens the source, which stops whatever is still playing.
    Player->stop();
    Player->setSource(QUrl());
    Player->setSource(QUrl::fromLocalFile(fileName));
    Player->play();
#else
    FailLater(QStringLiteral("Ta wersja programu nie odtwarza dźwięku."));
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
