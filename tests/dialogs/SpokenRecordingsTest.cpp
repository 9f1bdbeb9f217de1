// "Wygeneruj nagranie" in the word database editor: the speech engine reads
// the chosen words into recordings in the user's audio directory, one step to
// undo, with a progress dialog that can stop a long run.

#include "dialogs/DBBrowserForm.h"

#include "core/Cp1250.h"
#include "database/DBBuilder.h"
#include "speech/Wav.h"

#include "DialogTestUtil.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace mz;
using namespace mz::test;

namespace {

const char* const Syllables[] = {"KA", "LE", "MO", "RU", "SY", "TĘ", "ŻA", "ŁO", "NI", "PA", "WĄ", "ŚCI"};

// 144 made-up words of two syllables and KOT, which has a recording.
std::vector<TDBWord> Words()
{
    std::vector<TDBWord> words = {{Utf8ToCp1250("KOT"), {"zwierzę"}, "kot.wav"}};
    for (const char* first : Syllables)
        for (const char* second : Syllables)
            words.push_back({Utf8ToCp1250(std::string(first) + second), {"słowo"}, {}});
    return words;
}

int WordsWithSound(const TDBBrowserForm& form)
{
    int count = 0;
    for (const TBaseWord& word : form.Base().Entries())
        count += word.Audio.empty() ? 0 : 1;
    return count;
}

bool IsSpokenWav(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const TWavInfo info = ReadWavInfo(std::string_view(bytes.constData(), size_t(bytes.size())), "");
    return info.Format == 1 && info.BitsPerSample == 16 && info.Seconds() > 0.2;
}

} // namespace

class SpokenRecordingsTest : public QObject {
    Q_OBJECT

private slots:
    void chosenWordsGetSpokenRecordingsThatOneUndoTakesBack()
    {
        QTemporaryDir dir;
        const QString shipped = dir.filePath(QStringLiteral("baza.hk"));
        WriteDBFile(shipped.toStdString(), 102, Words());
        const QString userAudio = dir.filePath(QStringLiteral("moje/Audio/"));
        TDBBrowserForm form(shipped, dir.filePath(QStringLiteral("baza-użytkownika.hk")),
                            dir.filePath(QStringLiteral("Audio/")), nullptr, userAudio);
        auto* list = Child<QListView>(form, "WordList");
        auto* generate = Child<QPushButton>(form, "GenerateButton");
        QCOMPARE(WordsWithSound(form), 1);

        // One word: its recording replaced by a spoken one, the shipped file kept.
        list->setCurrentIndex(list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, "KOT").first());
        generate->click();
        QCOMPARE(Child<QListWidget>(form, "AudioList")->item(0)->text(), QStringLiteral("KOT.wav"));
        QVERIFY(IsSpokenWav(userAudio + QStringLiteral("KOT.wav")));

        // Three chosen words, one step.
        list->setCurrentIndex(list->model()->index(0, 0));
        for (int row = 1; row < 3; ++row)
            list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
        generate->click();
        QCOMPARE(WordsWithSound(form), 4);
        QCOMPARE(Child<QLabel>(form, "MessageLabel")->text(),
                 QStringLiteral("Wygenerowano nagrania syntezatorem mowy: 3."));
        QVERIFY(IsSpokenWav(userAudio + QStringLiteral("KALE.wav")));
        QVERIFY(IsSpokenWav(userAudio + QStringLiteral("KAŁO.wav")));
        QCOMPARE(Child<QToolButton>(form, "UndoButton")->toolTip(), QStringLiteral("Cofnij nagrania haseł (3)"));
        Child<QToolButton>(form, "UndoButton")->click();
        QCOMPARE(WordsWithSound(form), 1);

        // Every word: the progress dialog's button stops the run after a few words.
        QTimer stopper;
        int seen = 0;
        connect(&stopper, &QTimer::timeout, [&] {
            auto* progress = form.findChild<QProgressDialog*>(QStringLiteral("SpeechProgress"));
            if (progress && progress->isVisible() && ++seen == 3)
                progress->cancel();
        });
        stopper.start(0);
        list->selectAll();
        generate->click();
        stopper.stop();
        const QString message = Child<QLabel>(form, "MessageLabel")->text();
        QVERIFY2(message.startsWith(QStringLiteral("Przerwano: wygenerowano nagrania ")), qPrintable(message));
        QVERIFY2(message.endsWith(QStringLiteral(" z 145 haseł.")), qPrintable(message));
        const int written = message.section(QLatin1Char(' '), 3, 3).toInt();
        // Stopped among the twelve words before KOT in the list.
        QVERIFY(written > 0 && written < 12);
        QCOMPARE(WordsWithSound(form), 1 + written);
    }
};

QTEST_MAIN(SpokenRecordingsTest)
#include "SpokenRecordingsTest.moc"
