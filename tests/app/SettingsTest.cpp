#include "app/Settings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace mz;

class SettingsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> storeDir;
    // A program directory the program may write to, so its own layout is the default.
    QTemporaryDir programDirHolder;
    const QString programDir = programDirHolder.path() + QStringLiteral("/");

    std::unique_ptr<QSettings> FreshStore()
    {
        storeDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeDir->path());
        return OpenSettingsStore();
    }

    void Put(QSettings& store, const QString& name, const QString& value)
    {
        store.setValue(QStringLiteral("1.01/") + name, value);
    }

private slots:
    void firstStartWritesItsValuesAsTextUnderTheSection()
    {
        auto store = FreshStore();
        QVERIFY(!SettingsSectionExists(*store));
        WriteFirstStartSettings(*store, programDir);
        QVERIFY(SettingsSectionExists(*store));
        store->beginGroup(QStringLiteral("1.01"));
        const QStringList expectedKeys = {"AlterAudioDir",   "AlterNewCrossDir", "AlterPatternFileName",
                                          "AnyWordLocation", "AudioDir",         "CurrCrossWordFileName",
                                          "CurrPrefix",      "MainFormLeft",     "MainFormTop",
                                          "NewCrossDir",     "PatternFileName",  "SeriesCount"};
        QStringList keys = store->childKeys();
        keys.sort();
        QCOMPARE(keys, expectedKeys);
        QCOMPARE(store->value("MainFormLeft").toString(), QStringLiteral("65535"));
        QCOMPARE(store->value("AnyWordLocation").toString(), QStringLiteral("0"));
        QCOMPARE(store->value("CurrPrefix").toString(), QStringLiteral("K_????"));
        QCOMPARE(store->value("SeriesCount").toString(), QStringLiteral("10"));
        QCOMPARE(store->value("CurrCrossWordFileName").toString(), programDir + QStringLiteral("Krzyżówki/K_0231.krz"));
        QCOMPARE(store->value("PatternFileName").toString(), programDir + QStringLiteral("Szablony/Normal.sz"));
        QCOMPARE(store->value("AlterNewCrossDir").toString(), programDir + QStringLiteral("Krzyżówki/Nowe/"));
        QCOMPARE(store->value("AudioDir").toString(), programDir + QStringLiteral("Audio/"));
        store->endGroup();
    }

    void readingAnEmptyStoreGivesTheDefaultsOfMissingValues()
    {
        auto store = FreshStore();
        TSettings s;
        SetProgramDir(s, programDir);
        ReadSettings(*store, s, true);
        QCOMPARE(s.MainFormLeft, 0);
        QCOMPARE(s.MainFormTop, 0);
        QCOMPARE(s.MinLenPWord, 3);
        QCOMPARE(s.MaxLenPWord, 16);
        QCOMPARE(s.AnyWordLocation, false);
        QCOMPARE(s.PreViewChecked, true);
        QCOMPARE(s.CurrPrefix, QStringLiteral("K_????"));
        QCOMPARE(s.SeriesCount, 10);
        QCOMPARE(s.Difficulty, int(dfAll));
        QCOMPARE(s.UniqueSeries, false);
        QCOMPARE(s.PatternFileName, programDir + QStringLiteral("Szablony/Normal.sz"));
        QCOMPARE(s.AlterPatternFileName, QString());
        QCOMPARE(s.NewCrossDir, programDir + QStringLiteral("Krzyżówki/Nowe/"));
        QCOMPARE(s.AlterNewCrossDir, QString());
        QCOMPARE(s.AudioDir, programDir + QStringLiteral("Audio/"));
        QCOMPARE(s.AlterAudioDir, QString());
        QCOMPARE(s.TemplateDir, programDir + QStringLiteral("Szablony/"));
        QCOMPARE(ReadCurrCrossWordFileName(*store, programDir), programDir + QStringLiteral("Krzyżówki/K_0231.krz"));
    }

    void theMissingPreviewValueFollowsTheMenuItem()
    {
        auto store = FreshStore();
        TSettings s;
        ReadSettings(*store, s, false);
        QCOMPARE(s.PreViewChecked, false);
    }

    void integerTexts_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << "42" << 42;
        QTest::newRow("lower-case hexadecimal") << "0x10" << 16;
        QTest::newRow("upper-case hexadecimal prefix") << "0X1f" << 31;
        QTest::newRow("negative") << "-7" << -7;
        QTest::newRow("letters give the default") << "abc" << 10;
        QTest::newRow("empty gives the default") << "" << 10;
        QTest::newRow("bad hexadecimal gives the default") << "0xZZ" << 10;
        QTest::newRow("number with trailing text gives the default") << "12abc" << 10;
        QTest::newRow("beyond 32 bits gives the default") << "99999999999" << 10;
    }
    void integerTexts()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        auto store = FreshStore();
        Put(*store, QStringLiteral("SeriesCount"), stored);
        TSettings s;
        ReadSettings(*store, s, true);
        QCOMPARE(s.SeriesCount, expected);
    }

    void booleanTexts_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("one") << "1" << true;
        QTest::newRow("any non-zero number") << "5" << true;
        QTest::newRow("hexadecimal non-zero") << "0x2" << true;
        QTest::newRow("text gives the default") << "tak" << false;
    }
    void booleanTexts()
    {
        QFETCH(QString, stored);
        QFETCH(bool, expected);
        auto store = FreshStore();
        Put(*store, QStringLiteral("AnyWordLocation"), stored);
        TSettings s;
        ReadSettings(*store, s, true);
        QCOMPARE(s.AnyWordLocation, expected);
    }

    void wordLengthValidation_data()
    {
        QTest::addColumn<int>("minIn");
        QTest::addColumn<int>("maxIn");
        QTest::addColumn<int>("minOut");
        QTest::addColumn<int>("maxOut");
        QTest::newRow("valid pair stays") << 4 << 12 << 4 << 12;
        QTest::newRow("minimum 1 becomes 3") << 1 << 12 << 3 << 12;
        QTest::newRow("minimum above 100 becomes 3") << 101 << 12 << 3 << 12;
        QTest::newRow("maximum below the corrected minimum becomes 16") << 1 << 2 << 3 << 16;
        QTest::newRow("maximum above 100 becomes 16") << 5 << 101 << 5 << 16;
        QTest::newRow("limits 2 and 100 are allowed") << 2 << 100 << 2 << 100;
        QTest::newRow("maximum equal to minimum stays") << 7 << 7 << 7 << 7;
    }
    void wordLengthValidation()
    {
        QFETCH(int, minIn);
        QFETCH(int, maxIn);
        QFETCH(int, minOut);
        QFETCH(int, maxOut);
        TSettings s;
        s.MinLenPWord = minIn;
        s.MaxLenPWord = maxIn;
        ValidateWordLengths(s);
        QCOMPARE(s.MinLenPWord, minOut);
        QCOMPARE(s.MaxLenPWord, maxOut);
    }

    void writtenSettingsReadBackEqualAndAreAllText()
    {
        auto store = FreshStore();
        TSettings out;
        SetProgramDir(out, programDir);
        out.MainFormLeft = 120;
        out.MainFormTop = 77;
        out.MinLenPWord = 4;
        out.MaxLenPWord = 9;
        out.AnyWordLocation = true;
        out.PreViewChecked = false;
        out.CurrPrefix = QStringLiteral("Test??");
        out.SeriesCount = 3;
        out.PatternFileName = QStringLiteral("/tmp/wzory/Mały.sz");
        out.AlterPatternFileName = QString();
        out.NewCrossDir = QStringLiteral("/tmp/nowe/");
        out.AlterNewCrossDir = QStringLiteral("/opt/mz/Krzyżówki/Nowe/");
        out.AudioDir = QStringLiteral("/tmp/dźwięki/");
        out.AlterAudioDir = QString();
        out.CurrCrossWordFileName = QStringLiteral("/tmp/krzyżówka.krz");
        out.Difficulty = dfHard;
        out.UniqueSeries = true;
        out.SchoolSafe = false;
        out.SpeakWithoutRecording = false;
        out.FillExact = true;
        out.CellSize = 36;
        QVERIFY(WriteSettings(*store, out));

        const QStringList keys = [&] {
            store->beginGroup(QStringLiteral("1.01"));
            QStringList k = store->childKeys();
            store->endGroup();
            return k;
        }();
        QCOMPARE(keys.size(), 23);
        QCOMPARE(store->value("1.01/SpeakWithoutRecording").toString(), QStringLiteral("0"));
        QCOMPARE(store->value("1.01/CellSize").toString(), QStringLiteral("36"));
        QCOMPARE(store->value("1.01/Difficulty").toString(), QStringLiteral("2"));
        QCOMPARE(store->value("1.01/UniqueSeries").toString(), QStringLiteral("1"));
        QCOMPARE(store->value("1.01/SchoolSafe").toString(), QStringLiteral("0"));
        QCOMPARE(store->value("1.01/FillExact").toString(), QStringLiteral("1"));
        QCOMPARE(store->value("1.01/PreViewChecked").toString(), QStringLiteral("0"));
        QCOMPARE(store->value("1.01/AnyWordLocation").toString(), QStringLiteral("1"));

        auto reread = OpenSettingsStore();
        TSettings in;
        SetProgramDir(in, programDir);
        ReadSettings(*reread, in, true);
        QCOMPARE(in.MainFormLeft, 120);
        QCOMPARE(in.MainFormTop, 77);
        QCOMPARE(in.MinLenPWord, 4);
        QCOMPARE(in.MaxLenPWord, 9);
        QCOMPARE(in.AnyWordLocation, true);
        QCOMPARE(in.PreViewChecked, false);
        QCOMPARE(in.CurrPrefix, out.CurrPrefix);
        QCOMPARE(in.SeriesCount, 3);
        QCOMPARE(in.Difficulty, int(dfHard));
        QCOMPARE(in.UniqueSeries, true);
        QCOMPARE(in.FillExact, true);
        QCOMPARE(in.PatternFileName, out.PatternFileName);
        QCOMPARE(in.TemplateDir, QStringLiteral("/tmp/wzory/"));
        QCOMPARE(in.NewCrossDir, out.NewCrossDir);
        QCOMPARE(in.AlterNewCrossDir, out.AlterNewCrossDir);
        QCOMPARE(in.AudioDir, out.AudioDir);
        QCOMPARE(ReadCurrCrossWordFileName(*reread, programDir), out.CurrCrossWordFileName);
    }

    void windowPlacement_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<QPoint>("expected");
        // Screen 1024 x 768, crossword grid 200 x 160.
        QTest::newRow("both 65535 centre by the grid") << 65535 << 65535 << QPoint(412, 304);
        QTest::newRow("saved place inside the screen") << 100 << 50 << QPoint(100, 50);
        QTest::newRow("only left 65535 is beyond the screen") << 65535 << 50 << QPoint(0, 50);
        QTest::newRow("negative left becomes 0") << -5 << 50 << QPoint(0, 50);
        QTest::newRow("top beyond the screen becomes 0") << 100 << 769 << QPoint(100, 0);
        QTest::newRow("the screen edges themselves are kept") << 1024 << 768 << QPoint(1024, 768);
    }
    void windowPlacement()
    {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(QPoint, expected);
        TSettings s;
        s.MainFormLeft = left;
        s.MainFormTop = top;
        QCOMPARE(PlaceMainWindow(s, QSize(1024, 768), 200, 160), expected);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
