#pragma once

#include <QObject>
#include <QString>

class QMediaPlayer;
class QAudioOutput;

namespace mz {

// Plays one sound file at a time, asynchronously. Starting a sound stops the
// one still playing. When a file cannot be played, Failed carries the player's
// own description of the error.
class TSoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit TSoundPlayer(QObject* parent = nullptr);
    ~TSoundPlayer() override;

    // Starts playing and returns at once. A missing file or a machine without
    // a sound device is reported through Failed, once per call.
    void Play(const QString& fileName);
    void Stop();
    bool IsPlaying() const;
    // The file last handed to the player.
    QString FileName() const { return Current; }

    // Whether the machine has a sound device to play on. Tests replace the
    // question to play the part of a machine without one.
    using TDeviceCheck = bool (*)();
    static bool HasAudioOutput();
    static void SetDeviceCheck(TDeviceCheck check);

signals:
    void Failed(const QString& message);
    void Finished();

private:
    void FailLater(const QString& message);

    QString Current;
    bool Reported = false;
    QMediaPlayer* Player = nullptr;
    QAudioOutput* Output = nullptr;
};

} // namespace mz
