// What a run composes from, as the window's settings and files choose it: the
// user's changes to the word database (read once at the start of each run),
// the difficulty, a series that must not repeat its answers, and a run that
// cannot give a crossword.

#include "ComposeTestSupport.h"

#include "../database/WordBaseTestUtil.h"

#include <QSignalSpy>

#include <fstream>

using namespace mz;
using namespace mz::test;

namespace {

// One row of four free cells under two rows of blocks: the crossword is one
// four-letter word lying across, with its clue.
TTable OneRowPattern()
{
    TTable pattern(4, 3);
    for (int32_t col = 1; col <= 4; ++col)
        for (int32_t row = 2; row <= 3; ++row)
            pattern.SetCell(col, row, TTable::Block);
    return pattern;
}

// A bench composing the one-row template from a database of the given words.
struct TWordsBench : TComposeBench {
    explicit TWordsBench(const std::vector<TTestWord>& words)
    {
        WriteWords(Shipped(), 102, words);
        Window.Pattern = OneRowPattern();
        Window.Preview = OneRowPattern();
        Window.AnswerYes = false;
        Window.Options.DataBasePath = QString::fromStdString(Shipped());
        Window.Options.UserDBPath = QString::fromStdString(UserFile());
        Window.Options.Settings.MinLenPWord = 3;
        Window.Options.Settings.MaxLenPWord = 16;
        Window.Options.Settings.AnyWordLocation = true;
    }
    std::string Shipped() const { return Dir.filePath(QStringLiteral("baza.hk")).toStdString(); }
    std::string UserFile() const { return Dir.filePath(QStringLiteral("baza-użytkownika.hk")).toStdString(); }

    // The clue of the one word of a saved crossword (UTF-8).
    QString Clue(const QString& name) const
    {
        TCrossTXT doc;
        doc.LoadFromFile(NewFile(name).toStdString());
        const auto expls = doc.ExplsInNumberOrder();
        return expls.size() == 1 ? QString::fromStdString(Cp1250ToUtf8(expls[0].Expl.Explanation)) : QString();
    }
};

// Every clue of a saved crossword with its place and direction.
QStringList Clues(const QString& fileName)
{
    TCrossTXT doc;
    doc.LoadFromFile(fileName.toStdString());
    QStringList clues;
    for (int i = 1; i <= doc.ExplCount(); ++i) {
        const TExpl& expl = doc.GetExpl(i);
        clues << QStringLiteral("%1,%2%3 %4")
                     .arg(expl.Col)
                     .arg(expl.Row)
                     .arg(expl.Horizontal ? QLatin1Char('-') : QLatin1Char('|'))
                     .arg(QString::fromStdString(Cp1250ToUtf8(expl.Explanation)));
    }
    return clues;
}

} // namespace

class ComposeChoicesTest : public QObject {
    Q_OBJECT

private slots:
    // The user saves in the word database editor while a run goes on: the run
    // keeps the words it started with, the next one composes from the saved ones.
    void aSaveDuringARunChangesOnlyTheNextRun()
    {
        TWordsBench bench({{"ŻABA", {"płaz"}, "", ""}});
        bool saved = false;
        connect(bench.Controller.get(), &TComposeController::PreviewUpdated, this, [&](bool) {
            if (saved)
                return;
            saved = true;
            TWordBase base;
            base.Load(bench.Shipped(), bench.UserFile());
            TBaseWord excluded = *base.Find(Cp("ŻABA"));
            excluded.Excluded = true;
            excluded.UserEdited = true;
            std::vector<TWordChange> changes = {{*base.Find(Cp("ŻABA")), excluded, 0},
                                                {std::nullopt,
                                                 TBaseWord{Cp("SOWA"), {Cp("nocny ptak")}, "", false, true, {}}, 0}};
            for (TWordChange& change : changes)
                base.Apply(change);
            base.Save();
        });
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());
        QVERIFY(saved);
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(bench.SavedFiles(), QStringList({QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}));
        QCOMPARE(bench.Clue(QStringLiteral("K_0000.krz")), QStringLiteral("płaz"));
        QCOMPARE(bench.Clue(QStringLiteral("K_0001.krz")), QStringLiteral("nocny ptak"));
        QVERIFY(bench.Window.Matching(QStringLiteral("tell")).isEmpty());
    }

    // The words are kept from run to run, also when the difficulty changes
    // between them: each crossword is the one the tool composes for its seed
    // from a fresh read with the same filter.
    void theKeptWordsComposeWhatAFreshReadComposes()
    {
        TComposeBench bench;
        bench.Window.PreView = false;
        bench.Window.Options.SeriesCount = 3;
        const int32_t scores[] = {0, 40, 0};
        int runs = 0;
        connect(bench.Controller.get(), &TComposeController::RunCompleted, this,
                [&] { bench.Window.Options.MinScore = scores[std::min(++runs, 2)]; });
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(bench.SavedFiles().size(), 3);
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            const TComposeOptions& options = bench.Window.Options;
            const TDBLoadFilter filter{options.Settings.MinLenPWord, options.Settings.MaxLenPWord, scores[seed - 1],
                                       nullptr, options.SchoolSafe, true};
            TComposeRun run(bench.Window.Pattern, FileDBSource(DataBasePath.toStdString(), filter), options.Settings);
            TCrossTXT tool;
            std::atomic<bool> stop{false};
            std::atomic<uint8_t> progress{0};
            QVERIFY(run.Execute(tool, stop, progress, seed).HandedOver);
            const QString toolFile = bench.Dir.filePath(QStringLiteral("narzędzie.krz"));
            tool.SaveToFile(toolFile.toStdString());
            QCOMPARE(Clues(bench.NewFile(bench.SavedFiles()[seed - 1])), Clues(toolFile));
        }
    }

    // A damaged change file is told about once; the shipped words are composed from.
    void aDamagedUserFileIsToldOnceAndTheShippedWordsAreUsed()
    {
        TWordsBench bench({{"ŻABA", {"płaz"}, "", ""}});
        const std::string userFile = bench.UserFile();
        std::ofstream(std::filesystem::path(std::u8string(userFile.begin(), userFile.end())), std::ios::binary)
            << "to nie jest plik zmian";
        for (int run = 0; run < 2; ++run) {
            bench.Controller->CrossWord_NewClick();
            QVERIFY(bench.WaitIdle());
        }
        const QStringList told = bench.Window.Matching(QStringLiteral("tell"));
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains(QStringLiteral("jest uszkodzony")), qPrintable(told[0]));
        QVERIFY(told[0].contains(QStringLiteral("baza dostarczona z programem")));
        QCOMPARE(bench.Clue(QStringLiteral("K_0000.krz")), QStringLiteral("płaz"));
        QCOMPARE(bench.Clue(QStringLiteral("K_0001.krz")), QStringLiteral("płaz"));
    }

    void aWordBelowTheDifficultysLeastScoreIsNotComposedFrom()
    {
        TWordsBench bench({{"ŻABA", {"płaz"}, "", "10"}, {"SOWA", {"nocny ptak"}, "", "90"}});
        bench.Window.Options.MinScore = 50;
        for (int run = 0; run < 4; ++run) {
            bench.Controller->CrossWord_NewClick();
            QVERIFY(bench.WaitIdle());
        }
        QCOMPARE(bench.SavedFiles().size(), 4);
        for (const QString& name : bench.SavedFiles())
            QCOMPARE(bench.Clue(name), QStringLiteral("nocny ptak"));
    }

    // With two words a series without repeats gives two crosswords with
    // different answers, then cannot go on: it says so and ends. The third
    // crossword is the series' last, which sets aside the earlier answers too.
    void aSeriesWithoutRepeatsSetsAsideTheAnswersOfItsEarlierCrosswords()
    {
        TWordsBench bench({{"ŻABA", {"płaz"}, "", ""}, {"SOWA", {"nocny ptak"}, "", ""}});
        bench.Window.Options.SeriesCount = 3;
        bench.Window.Options.UniqueSeries = true;
        QSignalSpy completed(bench.Controller.get(), &TComposeController::RunCompleted);
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(bench.SavedFiles(), QStringList({QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}));
        QStringList clues{bench.Clue(QStringLiteral("K_0000.krz")), bench.Clue(QStringLiteral("K_0001.krz"))};
        clues.sort();
        QCOMPARE(clues, QStringList({QStringLiteral("nocny ptak"), QStringLiteral("płaz")}));
        QCOMPARE(bench.Window.Matching(QStringLiteral("tell")),
                 QStringList({QStringLiteral("tell ") + QString::fromUtf8(MsgNoFittingWord)}));
        QCOMPARE(completed.size(), 3);
        QVERIFY(!bench.SeriesFlag());
        QCOMPARE(bench.Window.Log.last(), QStringLiteral("caption Moja.krz"));

        // The next series starts afresh: its first crossword may use either word
        // again. A prefix without '?' gets a counter, so every crossword is kept.
        bench.Window.Log.clear();
        bench.Window.Options.SeriesCount = 2;
        bench.Window.Options.CurrPrefix = QStringLiteral("S");
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(bench.SavedFiles().size(), 4);
        QVERIFY(bench.SavedFiles().contains(QStringLiteral("S_00.krz")));
        QVERIFY(bench.SavedFiles().contains(QStringLiteral("S_01.krz")));
        QVERIFY(bench.Window.Matching(QStringLiteral("tell")).isEmpty());
    }

    // A run that lays no word offers and saves nothing; a series ends at once.
    void aRunThatCannotGiveACrosswordSaysWhyAndSavesNothing_data()
    {
        QTest::addColumn<bool>("series");
        QTest::addColumn<bool>("preview");
        QTest::newRow("single run, preview") << false << true;
        QTest::newRow("single run, no preview") << false << false;
        QTest::newRow("series") << true << true;
    }

    void aRunThatCannotGiveACrosswordSaysWhyAndSavesNothing()
    {
        QFETCH(bool, series);
        QFETCH(bool, preview);
        TComposeBench bench;
        bench.Window.PreView = preview;
        bench.Window.Options.SeriesCount = 5;
        for (int32_t col = 1; col <= bench.Window.Pattern.ColCount(); ++col)
            for (int32_t row = 1; row <= bench.Window.Pattern.RowCount(); ++row)
                bench.Window.Pattern.SetCell(col, row, TTable::Block);
        QSignalSpy completed(bench.Controller.get(), &TComposeController::RunCompleted);
        if (series)
            bench.Controller->CrossWord_SeriesClick();
        else
            bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(completed.size(), 1);
        QCOMPARE(completed[0][0].toBool(), false);
        QVERIFY(bench.SavedFiles().isEmpty());
        QCOMPARE(bench.Window.Matching(QStringLiteral("tell")),
                 QStringList({QStringLiteral("tell ") + QString::fromUtf8(MsgNoOpenCells)}));
        QVERIFY(bench.Window.Matching(QStringLiteral("ask")).isEmpty());
        QVERIFY(!bench.Window.Log.contains(QStringLiteral("take")));
        QVERIFY(!bench.SeriesFlag());
        QVERIFY(bench.Window.CrossVCVisible);
        QVERIFY(bench.Window.Matching(QStringLiteral("buttons")).endsWith(QStringLiteral("buttons idle")));
    }
};

QTEST_MAIN(ComposeChoicesTest)
#include "ComposeChoicesTest.moc"
