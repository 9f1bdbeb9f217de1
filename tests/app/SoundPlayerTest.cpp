#include "sound/SoundPlayer.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace mz;

namespace {

// A valid PCM WAV file of `ms` milliseconds of a quiet tone.
QByteArray ToneWav(int ms)
{
    const int rate = 8000;
    const int samples = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < samples; ++i)
        data.append(static_cast<char>(128 + ((i / 8) % 2 ? 20 : -20)));
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    QByteArray wav = "RIFF" + le32(static_cast<quint32>(36 + data.size())) + "WAVEfmt " + le32(16) + le16(1) + le16(1)
        + le32(rate) + le32(rate) + le16(1) + le16(8) + "data" + le32(static_cast<quint32>(data.size())) + data;
    return wav;
}

} // namespace

class SoundPlayerTest : public QObject {
    Q_OBJECT
private slots:
    // The media back end plays to no device on a machine without one; these
    // cases are about the player, so it is told there is a device.
    void initTestCase()
    {
        TSoundPlayer::SetDeviceCheck([] { return true; });
    }

    void aFileThatIsNoSoundReportsThePlayersErrorText()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("zepsuty.wav"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("to nie jest dźwięk, tylko zwykły tekst udający plik WAV");
        file.close();
        TSoundPlayer player;
        QSignalSpy failed(&player, &TSoundPlayer::Failed);
        player.Play(name);
        QVERIFY(failed.wait(10000));
        QVERIFY(!failed.first().first().toString().isEmpty());
        // Reported once, however often the back end repeats it.
        QTest::qWait(300);
        QCOMPARE(failed.count(), 1);
    }

    void aValidSoundIsAcceptedAndPlayingReturnsAtOnce()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("ton.wav"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ToneWav(300));
        file.close();
        TSoundPlayer player;
        QSignalSpy failed(&player, &TSoundPlayer::Failed);
        QSignalSpy finished(&player, &TSoundPlayer::Finished);
        player.Play(name);
        QCOMPARE(player.FileName(), name);
        // A second press starts the sound again instead of queueing it.
        player.Play(name);
        QVERIFY(finished.wait(5000));
        QCOMPARE(failed.count(), 0);
    }

    void theInstalledSampleSoundsPlayToTheirEnd()
    {
        const QDir audio(QStringLiteral(MZ_APP_DIR "/Audio"));
        const QStringList sounds = audio.entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name);
        if (sounds.isEmpty())
            QSKIP("this build made no sample sounds");
        for (const QString& name : {sounds.first(), sounds.last()}) {
            TSoundPlayer player;
            QSignalSpy failed(&player, &TSoundPlayer::Failed);
            QSignalSpy finished(&player, &TSoundPlayer::Finished);
            player.Play(audio.filePath(name));
            QVERIFY2(finished.wait(15000), qPrintable(name));
            QCOMPARE(failed.count(), 0);
        }
    }
};

QTEST_MAIN(SoundPlayerTest)
#include "SoundPlayerTest.moc"
