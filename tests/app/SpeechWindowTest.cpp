// Words without a recording read by the speech engine in the solving window:
// the loudspeaker says what it will play, a recording wins, the spoken word is
// kept in the user's cache, and a failing engine or a missing sound device is
// one message while the window works on.

#include "../dialogs/DialogTestUtil.h"
#include "WindowBench.h"

#include "core/Cp1250.h"
#include "dialogs/OptionsForm.h"
#include "documents/CrossSolution.h"
#include "sound/SoundPlayer.h"
#include "sound/SpokenWords.h"
#include "speech/Wav.h"

#include <QCheckBox>
#include <QToolButton>

using namespace mz;
using namespace mz::test;

namespace {

void GoTo(TMainForm& form, int col, int row)
{
    TCrossSurface* grid = Grid(form, "CrossVC");
    const bool across = grid->WriteDir() == TDirection::Across;
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    for (int c = 1; c < col; ++c)
        QTest::keyClick(grid, Qt::Key_Right);
    for (int r = 1; r < row; ++r)
        QTest::keyClick(grid, Qt::Key_Down);
    // The arrows may have turned the direction on the way; the one before is kept where it has a word.
    if (ExplNumberAt(CrossWord(form), col, row, across) != 0)
        Action(form, across ? "WriteHoriz" : "WriteVert")->trigger();
}

QByteArray ReadAll(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SpeechWindowTest : public QObject {
    Q_OBJECT

private slots:
    void aWordWithoutARecordingIsSpokenFromTheCacheOnRequest()
    {
        TWindowBench bench;
        QTemporaryDir cache;
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
        TCrossTXT crossWord = TWindowBench::Blank(6, 5);
        crossWord.SetCell(3, 3, '*');
        crossWord.AddExpl({1, 1, Utf8ToCp1250("zwierzę domowe"), "KOT.wav", true, "KOTKOT"});
        crossWord.AddExpl({1, 1, Utf8ToCp1250("gad w skorupie"), "", false, Utf8ToCp1250("ŻÓŁWIE")});
        crossWord.AddExpl({1, 2, Utf8ToCp1250("przyjaciel"), "BRAK.wav", true, "PIESEK"});
        crossWord.AddExpl({1, 4, Utf8ToCp1250("bez odpowiedzi"), "", true, ""});
        crossWord.SaveToFile(bench.CrossPath().toStdString());
        QFile recording(bench.Dir + QStringLiteral("Audio/KOT.wav"));
        QVERIFY(recording.open(QIODevice::WriteOnly));
        recording.write(QByteArray::fromStdString(WavBytes({8000, std::vector<int16_t>(4000)})));
        recording.close();
        TSoundPlayer::SetDeviceCheck([] { return true; });
        auto form = bench.Start();
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        TCrossSurface* grid = Grid(*form, "CrossVC");
        QToolButton* play = Button(*form, "SBttn_Play");

        // A recording wins over speech.
        GoTo(*form, 2, 1);
        QCOMPARE(Label(*form, "Expl_Label")->text(), QStringLiteral("zwierzę domowe"));
        QVERIFY(play->isEnabled());
        QCOMPARE(play->toolTip(), QStringLiteral("Odtwarza nagranie hasła"));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(Player(*form)->FileName(), bench.Dir + QStringLiteral("Audio/KOT.wav"));

        // A word without one is spoken, only when asked, after the engine had failed once.
        Action(*form, "WriteVert")->trigger();
        GoTo(*form, 1, 2);
        QVERIFY(play->isEnabled());
        QCOMPARE(play->toolTip(), QStringLiteral("Czyta hasło syntezatorem mowy (hasło nie ma nagrania)"));
        QCOMPARE(Player(*form)->FileName(), bench.Dir + QStringLiteral("Audio/KOT.wav"));
        QTemporaryDir noVoices;
        qputenv("ESPEAK_DATA_PATH", noVoices.path().toUtf8());
        QTest::keyClick(grid, Qt::Key_Return);
        QTRY_COMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts.first().startsWith(QStringLiteral("Nie można uruchomić syntezatora mowy")));
        qunsetenv("ESPEAK_DATA_PATH");
        QTest::keyClick(grid, Qt::Key_Return);
        const QString spoken = Player(*form)->FileName();
        QCOMPARE(QFileInfo(spoken).path(), TSpokenWords::DefaultCacheDir());
        QVERIFY(spoken.startsWith(cache.path() + QLatin1Char('/')));
        QVERIFY2(QFileInfo(spoken).fileName().startsWith(QStringLiteral("żółwie-")), qPrintable(spoken));
        const QByteArray wav = ReadAll(spoken);
        const TWavInfo info = ReadWavInfo(std::string_view(wav.constData(), size_t(wav.size())), "mowa.wav");
        QCOMPARE(info.BitsPerSample, 16);
        QVERIFY(info.Seconds() > 0.2 && info.Seconds() < 3.0);
        // The second time the cached file plays as it is.
        const QDateTime written = QFileInfo(spoken).lastModified();
        QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(Player(*form)->FileName(), spoken);
        QCOMPARE(QFileInfo(spoken).lastModified(), written);

        // A recording named but missing gives way to speech; no answer, no sound.
        Action(*form, "WriteHoriz")->trigger();
        GoTo(*form, 1, 2);
        play->click();
        QVERIFY(QFileInfo(Player(*form)->FileName()).fileName().startsWith(QStringLiteral("piesek-")));
        GoTo(*form, 1, 4);
        QVERIFY(!play->isEnabled());

        // No sound device: one message a press, and the window works on.
        TSoundPlayer::SetDeviceCheck([] { return false; });
        GoTo(*form, 1, 2);
        QTest::keyClick(grid, Qt::Key_Return);
        QTRY_COMPARE(boxes.Texts.size(), 2);
        QCOMPARE(boxes.Texts.last(), QStringLiteral("Nie można odtworzyć dźwięku: brak urządzenia audio"));
        TSoundPlayer::SetDeviceCheck([] { return true; });

        // Turned off in the options, a word without a recording has no sound.
        WhenModalOpens([](QWidget* modal) {
            auto* dialog = qobject_cast<TOptionsForm*>(modal);
            QVERIFY(dialog);
            QCheckBox* speech = Child<QCheckBox>(*dialog, "SpeechBox");
            QVERIFY(speech->isChecked());
            speech->setChecked(false);
            Child<QPushButton>(*dialog, "Button1")->click();
        });
        Action(*form, "Konfiguracja1")->trigger();
        // The missing recording is still offered, as it always was (it plays nothing).
        QVERIFY(play->isEnabled());
        Action(*form, "WriteVert")->trigger();
        QVERIFY(!play->isEnabled());
        QCOMPARE(play->toolTip(), QStringLiteral("Odtwarza nagranie hasła"));
        form.reset();
        QCOMPARE(bench.StoredSetting(QStringLiteral("SpeakWithoutRecording")), QStringLiteral("0"));
        QCOMPARE(boxes.Texts.size(), 2);
        TSoundPlayer::SetDeviceCheck(nullptr);
    }
};

QTEST_MAIN(SpeechWindowTest)
#include "SpeechWindowTest.moc"
