#include "dialogs/DBBrowserForm.h"
#include "dialogs/WordFilter.h"

#include "core/Cp1250.h"
#include "database/DB.h"
#include "database/DBBuilder.h"

#include "DialogTestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <string>
#include <vector>

using namespace mz;
using namespace mz::test;

namespace {

std::string Cp(const char* utf8)
{
    return Utf8ToCp1250(utf8);
}

// Words with explanations and sounds, as a database file lists them (UTF-8 here).
struct TSample {
    const char* Word;
    std::vector<const char*> Explanations;
    const char* Audio;  // nullptr for none
};

const std::vector<TSample> Samples = {
    {"KOT", {"zwierzę domowe", "mruczek"}, "kot.wav"},
    {"KIT", {"masa do szyb"}, nullptr},
    {"ŻABA", {"płaz skaczący"}, "żaba.wav"},
    {"ŁOŚ", {"duży jeleniowaty"}, "brak.wav"},
    {"LAS", {"wiele drzew"}, nullptr},
    {"OK", {"dwuliterowe, poza limitem długości"}, nullptr},
    {"KONSTANTYNOPOLITAŃCZYK", {"dawny mieszkaniec miasta nad Bosforem"}, nullptr},
    {"ĆMA", {"nocny motyl"}, nullptr},
    {"AKT", {"dokument, ale i Kot na obrazie"}, nullptr},
};

std::vector<TDBFileRecord> Records()
{
    std::vector<TDBFileRecord> records;
    for (const TSample& sample : Samples) {
        records.push_back({DBRecWord, Cp(sample.Word)});
        for (const char* expl : sample.Explanations)
            records.push_back({DBRecExplanation, Cp(expl)});
        if (sample.Audio)
            records.push_back({DBRecAudio, Cp(sample.Audio) + "\r\n"});
    }
    records.push_back({DBRecEnd, {}});
    return records;
}

QStringList ShownWords(QWidget& form)
{
    QStringList words;
    auto* list = Child<QListView>(form, "WordList");
    for (int row = 0; row < list->model()->rowCount(); ++row)
        words << list->model()->index(row, 0).data().toString();
    return words;
}

void Choose(QWidget& form, const QString& word)
{
    auto* list = Child<QListView>(form, "WordList");
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, word, 1,
                                                       Qt::MatchExactly);
    if (found.isEmpty())
        qFatal("word not shown");
    list->setCurrentIndex(found.first());
}

QStringList Items(QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

class TestDBBrowserForm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void theFilterFindsTextOrAWholeWordPattern_data();
    void theFilterFindsTextOrAWholeWordPattern();
    void wordsSortInPolishAlphabeticalOrder();
    void onlyLineEndTerminatedLinesAreLines();
    void everyWordOfTheDatabaseIsListedIncludingExcludedOnes();
    void typingNarrowsTheListAndCountsWhatIsShown_data();
    void typingNarrowsTheListAndCountsWhatIsShown();
    void theChosenWordShowsItsExplanationsAndSoundNames();
    void playingHandsTheSoundFileOfTheAudioDirectoryToThePlayer();
    void aMissingOrAbsentSoundCannotBePlayed();
    void browsingAFileLeavesTheDatabaseFileUntouched();
    void anUnreadableDatabaseFileRaisesItsLoadingError();

private:
    QTemporaryDir* Dir = nullptr;
    TDB* DB = nullptr;
    QString AudioDir;
};

void TestDBBrowserForm::init()
{
    delete DB;
    delete Dir;
    Dir = new QTemporaryDir;
    QVERIFY(Dir->isValid());
    AudioDir = Dir->path() + QStringLiteral("/Audio/");
    QVERIFY(QDir().mkpath(AudioDir));
    QFile sound(AudioDir + QStringLiteral("kot.wav"));
    QVERIFY(sound.open(QIODevice::WriteOnly));
    sound.write("RIFF");
    sound.close();
    QFile frog(AudioDir + QStringLiteral("żaba.wav"));
    QVERIFY(frog.open(QIODevice::WriteOnly));
    frog.close();
    DB = new TDB(qmPlain);
    DB->LoadRecords(102, Records(), "test.hk");
}

void TestDBBrowserForm::theFilterFindsTextOrAWholeWordPattern_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("inExplanations");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("explanations");
    QTest::addColumn<bool>("matches");

    QTest::newRow("empty matches all") << "" << false << "KOT" << "" << true;
    QTest::newRow("blanks alone match all") << "  " << false << "KOT" << "" << true;
    QTest::newRow("text inside the word") << "ot" << false << "KOT" << "" << true;
    QTest::newRow("text not in the word") << "ta" << false << "KOT" << "" << false;
    QTest::newRow("Polish small letters find capitals") << "żab" << false << "ŻABA" << "" << true;
    QTest::newRow("a letter differs from its Polish twin") << "zab" << false << "ŻABA" << "" << false;
    QTest::newRow("explanations not searched") << "domowe" << false << "KOT" << "zwierzę domowe" << false;
    QTest::newRow("explanations searched") << "DOMOWE" << true << "KOT" << "zwierzę domowe" << true;
    QTest::newRow("question mark is one letter") << "k?t" << false << "KOT" << "" << true;
    QTest::newRow("question mark is exactly one letter") << "k?t" << false << "KOTA" << "" << false;
    QTest::newRow("pattern covers the whole word") << "?o" << false << "KOT" << "" << false;
    QTest::newRow("star is any run") << "k*" << false << "KONSTANTYNOPOLITAŃCZYK" << "" << true;
    QTest::newRow("star may be empty") << "kot*" << false << "KOT" << "" << true;
    QTest::newRow("stars on both sides") << "*ń*" << false << "KONSTANTYNOPOLITAŃCZYK" << "" << true;
    QTest::newRow("star backtracks") << "*a?a" << false << "ŻABABA" << "" << true;
    QTest::newRow("pattern ignores explanations") << "?ot" << true << "LAS" << "kot" << false;
    QTest::newRow("a letter outside CP1250 matches nothing") << "k€t" << false << "KOT" << "" << false;
}

void TestDBBrowserForm::theFilterFindsTextOrAWholeWordPattern()
{
    QFETCH(QString, filter);
    QFETCH(bool, inExplanations);
    QFETCH(QString, word);
    QFETCH(QString, explanations);
    QFETCH(bool, matches);
    const TWordFilter wordFilter(filter, inExplanations);
    QCOMPARE(wordFilter.Matches(UpperCp1250(Cp(word.toUtf8().constData())),
                                UpperCp1250(Cp(explanations.toUtf8().constData()))),
             matches);
}

void TestDBBrowserForm::wordsSortInPolishAlphabeticalOrder()
{
    std::vector<std::string> words = {Cp("ŻABA"), Cp("ZEBRA"), Cp("ŹDŹBŁO"), Cp("ŁOŚ"), Cp("LAS"), Cp("ĆMA"),
                                      Cp("CZAS"), Cp("ĄB"),  Cp("ABC"),    Cp("A"),   Cp("7A"),  Cp("abd")};
    std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) { return PolishLess(a, b); });
    QStringList sorted;
    for (const std::string& word : words)
        sorted << QString::fromStdString(Cp1250ToUtf8(word));
    QCOMPARE(sorted, QStringList({"7A", "A", "ABC", "abd", "ĄB", "CZAS", "ĆMA", "LAS", "ŁOŚ", "ZEBRA", "ŹDŹBŁO",
                                  "ŻABA"}));
}

void TestDBBrowserForm::onlyLineEndTerminatedLinesAreLines()
{
    QCOMPARE(TerminatedLines("a\r\nbb\r\n"), (std::vector<std::string>{"a", "bb"}));
    QCOMPARE(TerminatedLines("a\r\nniedokończona"), (std::vector<std::string>{"a"}));
    QCOMPARE(TerminatedLines("\r\n"), (std::vector<std::string>{""}));
    QVERIFY(TerminatedLines("").empty());
    QVERIFY(TerminatedLines("bez końca").empty());
}

void TestDBBrowserForm::everyWordOfTheDatabaseIsListedIncludingExcludedOnes()
{
    // With the usual limits 3..16 the two outsized words are excluded from composing.
    QCOMPARE(DB->ExcludedCount(), 2);
    TDBBrowserForm form(*DB, AudioDir);
    QCOMPARE(ShownWords(form), QStringList({"AKT", "ĆMA", "KIT", "KONSTANTYNOPOLITAŃCZYK", "KOT", "LAS", "ŁOŚ", "OK",
                                            "ŻABA"}));
    QCOMPARE(Child<QLabel>(form, "CountLabel")->text(), QStringLiteral("Hasła: 9 z 9"));
    QCOMPARE(Child<QLabel>(form, "WordLabel")->text(), QStringLiteral("AKT"));
}

void TestDBBrowserForm::typingNarrowsTheListAndCountsWhatIsShown_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("inExplanations");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("pattern") << "k?t" << false << QStringList{"KIT", "KOT"};
    QTest::newRow("text") << "ko" << false << QStringList{"KONSTANTYNOPOLITAŃCZYK", "KOT"};
    QTest::newRow("text in explanations") << "kot" << true << QStringList{"AKT", "KOT"};
    QTest::newRow("nothing") << "xyz" << false << QStringList{};
}

void TestDBBrowserForm::typingNarrowsTheListAndCountsWhatIsShown()
{
    QFETCH(QString, typed);
    QFETCH(bool, inExplanations);
    QFETCH(QStringList, shown);
    TDBBrowserForm form(*DB, AudioDir);
    Child<QCheckBox>(form, "SearchExpl")->setChecked(inExplanations);
    QTest::keyClicks(Child<QLineEdit>(form, "FilterEdit"), typed);
    QCOMPARE(ShownWords(form), shown);
    QCOMPARE(Child<QLabel>(form, "CountLabel")->text(), QStringLiteral("Hasła: %1 z 9").arg(shown.size()));
    // The first word found is the chosen one; with none, nothing is shown.
    QCOMPARE(Child<QLabel>(form, "WordLabel")->text(), shown.isEmpty() ? QString() : shown.first());
    if (shown.isEmpty())
        QCOMPARE(Child<QListWidget>(form, "ExplList")->count(), 0);
}

void TestDBBrowserForm::theChosenWordShowsItsExplanationsAndSoundNames()
{
    TDBBrowserForm form(*DB, AudioDir);
    Choose(form, QStringLiteral("KOT"));
    QCOMPARE(Child<QLabel>(form, "WordLabel")->text(), QStringLiteral("KOT"));
    QCOMPARE(Items(Child<QListWidget>(form, "ExplList")), QStringList({"zwierzę domowe", "mruczek"}));
    QCOMPARE(Items(Child<QListWidget>(form, "AudioList")), QStringList({"kot.wav"}));
    QVERIFY(Child<QPushButton>(form, "PlayButton")->isEnabled());

    Choose(form, QStringLiteral("ŻABA"));
    QCOMPARE(Items(Child<QListWidget>(form, "ExplList")), QStringList({"płaz skaczący"}));
    QCOMPARE(Items(Child<QListWidget>(form, "AudioList")), QStringList({"żaba.wav"}));
}

void TestDBBrowserForm::playingHandsTheSoundFileOfTheAudioDirectoryToThePlayer()
{
    TDBBrowserForm form(*DB, AudioDir);
    Choose(form, QStringLiteral("ŻABA"));
    QTest::mouseClick(Child<QPushButton>(form, "PlayButton"), Qt::LeftButton);
    QCOMPARE(form.PlayedSource(), QUrl::fromLocalFile(AudioDir + QStringLiteral("żaba.wav")));
    Choose(form, QStringLiteral("KOT"));
    QTest::mouseClick(Child<QPushButton>(form, "PlayButton"), Qt::LeftButton);
    QCOMPARE(form.PlayedSource(), QUrl::fromLocalFile(AudioDir + QStringLiteral("kot.wav")));
}

void TestDBBrowserForm::aMissingOrAbsentSoundCannotBePlayed()
{
    TDBBrowserForm form(*DB, AudioDir);
    Choose(form, QStringLiteral("ŁOŚ"));
    QVERIFY(!Child<QPushButton>(form, "PlayButton")->isEnabled());
    QCOMPARE(Child<QLabel>(form, "StatusLabel")->text(),
             QStringLiteral("Nie odnaleziono pliku ") + AudioDir + QStringLiteral("brak.wav"));
    Choose(form, QStringLiteral("LAS"));
    QVERIFY(!Child<QPushButton>(form, "PlayButton")->isEnabled());
    QCOMPARE(Child<QListWidget>(form, "AudioList")->count(), 0);
    QCOMPARE(Child<QLabel>(form, "StatusLabel")->text(), QStringLiteral("Hasło nie ma nagrania."));
    QTest::mouseClick(Child<QPushButton>(form, "PlayButton"), Qt::LeftButton);
    QVERIFY(form.PlayedSource().isEmpty());
}

void TestDBBrowserForm::browsingAFileLeavesTheDatabaseFileUntouched()
{
    std::vector<TDBWord> words;
    for (const TSample& sample : Samples) {
        TDBWord word{Cp(sample.Word), {}, sample.Audio ? Cp(sample.Audio) : std::string()};
        for (const char* expl : sample.Explanations)
            word.Explanations.push_back(Cp(expl));
        words.push_back(word);
    }
    const QString fileName = Dir->filePath(QStringLiteral("baza.hk"));
    WriteDBFile(fileName.toStdString(), 102, words);
    auto hash = [&] {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read the database");
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray before = hash();
    const QDateTime modified = QFileInfo(fileName).lastModified();

    QStringList seen;
    WhenModalOpens([&](QWidget* modal) {
        auto* form = qobject_cast<TDBBrowserForm*>(modal);
        if (!form)
            qFatal("the browser did not open");
        seen = ShownWords(*form);
        QTest::mouseClick(Child<QPushButton>(*form, "CloseButton"), Qt::LeftButton);
    });
    TDBBrowserForm::Browse(fileName, AudioDir, nullptr);
    QCOMPARE(seen.size(), int(Samples.size()));
    QCOMPARE(hash(), before);
    QCOMPARE(QFileInfo(fileName).lastModified(), modified);
}

void TestDBBrowserForm::anUnreadableDatabaseFileRaisesItsLoadingError()
{
    const QString fileName = Dir->filePath(QStringLiteral("zepsuta.hk"));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(100, 'x'));
    file.close();
    try {
        TDBBrowserForm::Browse(fileName, AudioDir, nullptr);
        QFAIL("no error raised");
    } catch (const EDBInvalidOperation& error) {
        QCOMPARE(QString::fromStdString(error.Message()),
                 QStringLiteral("Wystąpił błąd podczas otwarcia pliku ") + fileName);
    }
}

QTEST_MAIN(TestDBBrowserForm)
#include "TestDBBrowserForm.moc"
