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

    // Starts playing and returns at once.
    void Play(const QString& fileName);
    void Stop();
    bool IsPlaying() const;
    QString FileName() const { return Current; }

signals:
    void Failed(const QString& message);
    void Finished();

private:
    QString Current;
    bool Reported = false;
    QMediaPlayer* Player = nullptr;
    QAudioOutput* Output = nullptr;
};

} // namespace mz
