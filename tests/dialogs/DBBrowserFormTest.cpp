#include "dialogs/DBBrowserForm.h"
#include "sound/SoundPlayer.h"

#include "core/Cp1250.h"
#include "database/DB.h"
#include "database/DBBuilder.h"

#include "../database/WordBaseTestUtil.h"
#include "DialogTestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#if __has_include(<QMediaDevices>)
#include <QAudioDevice>
#include <QMediaDevices>
#endif

#include <algorithm>
#include <string>
#include <vector>

using namespace mz;
using namespace mz::test;

namespace {

// Words with explanations and sounds, as a database file lists them (UTF-8 here).
struct TSample {
    const char* Word;
    std::vector<const char*> Explanations;
    const char* Audio; // nullptr for none
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

std::vector<TDBWord> Words()
{
    std::vector<TDBWord> words;
    for (const TSample& sample : Samples) {
        TDBWord word{Cp(sample.Word), {}, sample.Audio ? Cp(sample.Audio) : std::string()};
        for (const char* expl : sample.Explanations)
            word.Explanations.push_back(Cp(expl));
        words.push_back(word);
    }
    return words;
}

QStringList ShownWords(QWidget& form, const char* listName = "WordList")
{
    QStringList words;
    auto* list = Child<QListView>(form, listName);
    for (int row = 0; row < list->model()->rowCount(); ++row)
        words << list->model()->index(row, 0).data().toString();
    return words;
}

void Choose(QWidget& form, const QString& word)
{
    auto* list = Child<QListView>(form, "WordList");
    const QModelIndexList found =
        list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, word, 1, Qt::MatchExactly);
    if (found.isEmpty())
        qFatal("word not shown");
    list->setCurrentIndex(found.first());
}

void ClickCaption(QWidget* modal, const QString& caption)
{
    for (auto* button : modal->findChildren<QAbstractButton*>())
        if (button->text() == caption) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    qFatal("no button %s", qPrintable(caption));
}

// Clicks the button of that caption on the next modal dialog.
void AnswerModal(const QString& caption)
{
    WhenModalOpens([caption](QWidget* modal) { ClickCaption(modal, caption); });
}

void Click(QWidget& form, const char* name)
{
    QTest::mouseClick(Child<QAbstractButton>(form, name), Qt::LeftButton);
}

// Types the text as key presses; letters beyond ASCII arrive as text, as
// a Polish keyboard layout delivers them.
void Type(QWidget& form, const char* name, const QString& text)
{
    auto* edit = Child<QLineEdit>(form, name);
    edit->clear();
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(edit, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
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
    void everyWordOfTheDatabaseIsListedIncludingExcludedOnes();
    void typingNarrowsTheListAndCountsWhatIsShown_data();
    void typingNarrowsTheListAndCountsWhatIsShown();
    void theChosenWordShowsItsExplanationsAndSoundNames();
    void playingHandsTheSoundFileOfTheAudioDirectoryToThePlayer();
    void aMissingOrAbsentSoundCannotBePlayed();
    void savedEditsAreReadBackAndTheShippedFileStaysUntouched();
    void anUnreadableDatabaseFileRaisesItsLoadingError();
    void addingAWordChecksItAndShowsItAsTheUsers();
    void cluesAreAddedReorderedChangedAndRemoved();
    void renamingAndExcludingMoveTheWordAndUndoTakesThemBack();
    void conditionsNarrowTheList_data();
    void conditionsNarrowTheList();
    void anImportIsPreviewedAndOneUndoTakesItBack();
    void theShownWordsAreExportedAsAWordList();
    void closingWithUnsavedChangesAsksFirst();
    void aFailedSaveSaysWhyAndKeepsTheEdits();
    void aDamagedUserFileIsRefusedAndTheShippedWordsShown();
    void restoringTheShippedDatabaseAsksFirst();
    void aChosenSoundIsCopiedUnderTheWordsName();
    void recordingNeedsAnInputDevice();
    void soundsTheUserAddsGoToTheUsersOwnDirectory();
    void eachWordShowsItsCommonnessScoreAndRegister();

private:
    QTemporaryDir* Dir = nullptr;
    QString Shipped;
    QString User;
    QString AudioDir;
};

void TestDBBrowserForm::init()
{
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
    Shipped = Dir->filePath(QStringLiteral("baza.hk"));
    User = Dir->filePath(QStringLiteral("użytkownik/baza-użytkownika.hk"));
    WriteDBFile(Shipped.toStdString(), 102, Words());
}

void TestDBBrowserForm::everyWordOfTheDatabaseIsListedIncludingExcludedOnes()
{
    // The editor lists the words the length limits set aside from composing too.
    TDBBrowserForm form(Shipped, User, AudioDir);
    QCOMPARE(ShownWords(form),
             QStringList({"AKT", "ĆMA", "KIT", "KONSTANTYNOPOLITAŃCZYK", "KOT", "LAS", "ŁOŚ", "OK", "ŻABA"}));
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
    TDBBrowserForm form(Shipped, User, AudioDir);
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
    TDBBrowserForm form(Shipped, User, AudioDir);
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
    TDBBrowserForm form(Shipped, User, AudioDir);
    Choose(form, QStringLiteral("ŻABA"));
    QTest::mouseClick(Child<QPushButton>(form, "PlayButton"), Qt::LeftButton);
    QCOMPARE(form.PlayedSource(), QUrl::fromLocalFile(AudioDir + QStringLiteral("żaba.wav")));
    Choose(form, QStringLiteral("KOT"));
    QTest::mouseClick(Child<QPushButton>(form, "PlayButton"), Qt::LeftButton);
    QCOMPARE(form.PlayedSource(), QUrl::fromLocalFile(AudioDir + QStringLiteral("kot.wav")));

    // Without a sound device the press is answered, as in the main window.
    TSoundPlayer::SetDeviceCheck([] { return false; });
    QString shown;
    WhenModalOpens([&](QWidget* modal) {
        shown = qobject_cast<QMessageBox*>(modal)->text();
        ClickCaption(modal, QStringLiteral("OK"));
    });
    QTest::mouseClick(Child<QPushButton>(form, "PlayButton"), Qt::LeftButton);
    QTRY_COMPARE(shown, QStringLiteral("Nie można odtworzyć dźwięku: brak urządzenia audio"));
    QCOMPARE(Child<QLabel>(form, "StatusLabel")->text(), shown);
    TSoundPlayer::SetDeviceCheck(nullptr);
}

void TestDBBrowserForm::aMissingOrAbsentSoundCannotBePlayed()
{
    TDBBrowserForm form(Shipped, User, AudioDir);
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

void TestDBBrowserForm::savedEditsAreReadBackAndTheShippedFileStaysUntouched()
{
    auto hash = [&] {
        QFile file(Shipped);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read the database");
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray before = hash();
    const QDateTime modified = QFileInfo(Shipped).lastModified();

    WhenModalOpens([&](QWidget* modal) {
        auto* form = qobject_cast<TDBBrowserForm*>(modal);
        if (!form)
            qFatal("the editor did not open");
        QCOMPARE(ShownWords(*form).size(), int(Samples.size()));
        Type(*form, "NewWordEdit", QStringLiteral("sowa"));
        Type(*form, "NewClueEdit", QStringLiteral("nocny ptak"));
        Click(*form, "AddWordButton");
        Choose(*form, QStringLiteral("LAS"));
        Click(*form, "ExcludeButton");
        QVERIFY(form->isWindowModified());
        Click(*form, "SaveButton");
        QVERIFY(!form->isWindowModified());
        QVERIFY(!Child<QPushButton>(*form, "SaveButton")->isEnabled());
        Click(*form, "CloseButton");
    });
    QVERIFY(TDBBrowserForm::Edit(Shipped, User, AudioDir, nullptr));
    QCOMPARE(hash(), before);
    QCOMPARE(QFileInfo(Shipped).lastModified(), modified);

    TDBBrowserForm again(Shipped, User, AudioDir);
    QVERIFY(ShownWords(again).contains(QStringLiteral("SOWA")));
    QCOMPARE(ShownWords(again, "ExcludedList"), QStringList({"LAS"}));
    Choose(again, QStringLiteral("SOWA"));
    QCOMPARE(Items(Child<QListWidget>(again, "ExplList")), QStringList({"nocny ptak"}));
    QCOMPARE(Child<QLabel>(again, "StateLabel")->text(), QStringLiteral("Hasło dodane przez użytkownika."));
}

void TestDBBrowserForm::anUnreadableDatabaseFileRaisesItsLoadingError()
{
    const QString fileName = Dir->filePath(QStringLiteral("zepsuta.hk"));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(100, 'x'));
    file.close();
    try {
        TDBBrowserForm::Edit(fileName, User, AudioDir, nullptr);
        QFAIL("no error raised");
    } catch (const EDBInvalidOperation& error) {
        QCOMPARE(QString::fromStdString(error.Message()),
                 QStringLiteral("Wystąpił błąd podczas otwarcia pliku ") + fileName);
    }
}

void TestDBBrowserForm::addingAWordChecksItAndShowsItAsTheUsers()
{
    TDBBrowserForm form(Shipped, User, AudioDir);
    Type(form, "NewWordEdit", QStringLiteral("sowa1"));
    Type(form, "NewClueEdit", QStringLiteral("ptak"));
    Click(form, "AddWordButton");
    QCOMPARE(Child<QLabel>(form, "MessageLabel")->text(),
             QStringLiteral("Hasło może składać się tylko z liter A–Z oraz Ą Ć Ę Ł Ń Ó Ś Ź Ż; znak „1” do nich nie "
                            "należy."));
    Type(form, "NewWordEdit", QStringLiteral("kot"));
    Click(form, "AddWordButton");
    QCOMPARE(Child<QLabel>(form, "MessageLabel")->text(), QStringLiteral("Hasło KOT już jest w bazie."));
    QCOMPARE(Child<QLabel>(form, "WordLabel")->text(), QStringLiteral("KOT"));
    Type(form, "NewWordEdit", QStringLiteral("sowa"));
    Type(form, "NewClueEdit", QStringLiteral(" "));
    Click(form, "AddWordButton");
    QCOMPARE(Child<QLabel>(form, "MessageLabel")->text(), QStringLiteral("Objaśnienie nie może być puste."));
    QCOMPARE(form.Base().Count(), Samples.size());

    Type(form, "NewClueEdit", QStringLiteral("nocny ptak"));
    QTest::keyClick(Child<QLineEdit>(form, "NewClueEdit"), Qt::Key_Return);
    QCOMPARE(ShownWords(form),
             QStringList({"AKT", "ĆMA", "KIT", "KONSTANTYNOPOLITAŃCZYK", "KOT", "LAS", "ŁOŚ", "OK", "SOWA", "ŻABA"}));
    QCOMPARE(Child<QLabel>(form, "WordLabel")->text(), QStringLiteral("SOWA"));
    QCOMPARE(Child<QLabel>(form, "StateLabel")->text(), QStringLiteral("Hasło dodane przez użytkownika."));
    QCOMPARE(Items(Child<QListWidget>(form, "ExplList")), QStringList({"nocny ptak"}));
    QCOMPARE(Child<QLabel>(form, "CountLabel")->text(), QStringLiteral("Hasła: 10 z 10"));
    QVERIFY(Child<QLineEdit>(form, "NewWordEdit")->text().isEmpty());
}

void TestDBBrowserForm::cluesAreAddedReorderedChangedAndRemoved()
{
    TDBBrowserForm form(Shipped, User, AudioDir);
    auto* clues = Child<QListWidget>(form, "ExplList");
    Choose(form, QStringLiteral("KOT"));
    // A clue with its own answer is kept only when the user insists.
    Type(form, "ClueEdit", QStringLiteral("kot w butach"));
    AnswerModal(QStringLiteral("Popraw"));
    Click(form, "AddClueButton");
    QCOMPARE(Items(clues), QStringList({"zwierzę domowe", "mruczek"}));
    AnswerModal(QStringLiteral("Zachowaj"));
    Click(form, "AddClueButton");
    QCOMPARE(Items(clues), QStringList({"zwierzę domowe", "mruczek", "kot w butach"}));
    QCOMPARE(clues->currentRow(), 2);

    Click(form, "ClueUpButton");
    QCOMPARE(Items(clues), QStringList({"zwierzę domowe", "kot w butach", "mruczek"}));
    QCOMPARE(clues->currentRow(), 1);
    Type(form, "ClueEdit", QStringLiteral("łowca myszy"));
    Click(form, "ChangeClueButton");
    clues->setCurrentRow(0);
    Click(form, "RemoveClueButton");
    QCOMPARE(Items(clues), QStringList({"łowca myszy", "mruczek"}));
    QCOMPARE(Child<QLabel>(form, "StateLabel")->text(), QStringLiteral("Hasło zmienione przez użytkownika."));

    // The last clue of a word stays.
    Choose(form, QStringLiteral("LAS"));
    QVERIFY(!Child<QPushButton>(form, "RemoveClueButton")->isEnabled());
}

void TestDBBrowserForm::renamingAndExcludingMoveTheWordAndUndoTakesThemBack()
{
    TDBBrowserForm form(Shipped, User, AudioDir);
    const std::vector<std::string> start = Describe(form.Base());
    Choose(form, QStringLiteral("ŻABA"));
    Type(form, "WordEdit", QStringLiteral("żabka"));
    Click(form, "RenameButton");
    QCOMPARE(ShownWords(form).last(), QStringLiteral("ŻABKA"));
    QVERIFY(!ShownWords(form).contains(QStringLiteral("ŻABA")));
    QCOMPARE(Items(Child<QListWidget>(form, "ExplList")), QStringList({"płaz skaczący"}));
    QCOMPARE(Items(Child<QListWidget>(form, "AudioList")), QStringList({"żaba.wav"}));

    Click(form, "ExcludeButton");
    QVERIFY(!ShownWords(form).contains(QStringLiteral("ŻABKA")));
    QCOMPARE(ShownWords(form, "ExcludedList"), QStringList({"ŻABKA"}));
    QCOMPARE(Child<QTabWidget>(form, "ListTabs")->tabText(1), QStringLiteral("Wykluczone (1)"));
    // Its place in the list goes to its neighbour.
    QCOMPARE(Child<QLabel>(form, "WordLabel")->text(), QStringLiteral("OK"));

    Click(form, "UndoButton");
    Click(form, "UndoButton");
    QCOMPARE(Describe(form.Base()), start);
    QVERIFY(ShownWords(form, "ExcludedList").isEmpty());
    QCOMPARE(Child<QLabel>(form, "WordLabel")->text(), QStringLiteral("ŻABA"));
    QVERIFY(!form.isWindowModified());
    Click(form, "RedoButton");
    QCOMPARE(ShownWords(form).last(), QStringLiteral("ŻABKA"));
    QVERIFY(form.isWindowModified());
}

void TestDBBrowserForm::conditionsNarrowTheList_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("without a sound") << "NoSoundFilter"
                                     << QStringList{"AKT", "ĆMA", "KIT", "KONSTANTYNOPOLITAŃCZYK", "LAS", "OK", "SOWA"};
    QTest::newRow("edited by the user") << "EditedFilter" << QStringList{"SOWA"};
    QTest::newRow("four letters") << "LengthFilter" << QStringList{"SOWA", "ŻABA"};
}

void TestDBBrowserForm::conditionsNarrowTheList()
{
    QFETCH(QString, condition);
    QFETCH(QStringList, shown);
    TDBBrowserForm form(Shipped, User, AudioDir);
    Type(form, "NewWordEdit", QStringLiteral("sowa"));
    Type(form, "NewClueEdit", QStringLiteral("nocny ptak"));
    Click(form, "AddWordButton");
    if (condition == QLatin1String("LengthFilter"))
        Child<QSpinBox>(form, "LengthFilter")->setValue(4);
    else
        Child<QCheckBox>(form, condition.toLatin1().constData())->setChecked(true);
    QCOMPARE(ShownWords(form), shown);
    QCOMPARE(Child<QLabel>(form, "CountLabel")->text(), QStringLiteral("Hasła: %1 z 10").arg(shown.size()));
}

void TestDBBrowserForm::anImportIsPreviewedAndOneUndoTakesItBack()
{
    const QString list = Dir->filePath(QStringLiteral("lista.tsv"));
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("sowa\tnocny ptak\nkot\tłowca myszy\n1x\tzłe\n");
    file.close();
    TDBBrowserForm form(Shipped, User, AudioDir);
    form.ChooseFile = [&](const QString&, const QString&, bool) { return list; };
    const std::vector<std::string> start = Describe(form.Base());

    QString summary;
    QStringList refused;
    WhenModalOpens([&](QWidget* modal) {
        summary = Child<QLabel>(*modal, "SummaryLabel")->text();
        refused = Items(Child<QListWidget>(*modal, "RefusedList"));
        Click(*modal, "CancelButton");
    });
    Child<QAction>(form, "ImportTsvAction")->trigger();
    QCOMPARE(summary, QStringLiteral("Nowe hasła: 1. Uzupełnione hasła: 1. Odrzucone wiersze: 1. Bez zmian: 0."));
    QCOMPARE(refused,
             QStringList({"wiersz 3: 1x ⇥ złe – Hasło może składać się tylko z liter A–Z oraz Ą Ć Ę Ł Ń Ó Ś "
                          "Ź Ż; znak „1” do nich nie należy."}));
    QCOMPARE(Describe(form.Base()), start);

    WhenModalOpens([](QWidget* modal) { Click(*modal, "ImportButton"); });
    Child<QAction>(form, "ImportTsvAction")->trigger();
    QVERIFY(ShownWords(form).contains(QStringLiteral("SOWA")));
    Choose(form, QStringLiteral("KOT"));
    QCOMPARE(Items(Child<QListWidget>(form, "ExplList")), QStringList({"zwierzę domowe", "mruczek", "łowca myszy"}));
    QCOMPARE(Child<QLabel>(form, "MessageLabel")->text(),
             QStringLiteral("Zaimportowano z pliku lista.tsv: nowe hasła – 1, uzupełnione – 1."));
    Click(form, "UndoButton");
    QCOMPARE(Describe(form.Base()), start);
}

void TestDBBrowserForm::theShownWordsAreExportedAsAWordList()
{
    TDBBrowserForm form(Shipped, User, AudioDir);
    form.ChooseFile = [&](const QString&, const QString&, bool save) {
        return save ? Dir->filePath(QStringLiteral("wynik")) : QString();
    };
    QTest::keyClicks(Child<QLineEdit>(form, "FilterEdit"), QStringLiteral("k?t"));
    Child<QAction>(form, "ExportShownAction")->trigger();
    QFile file(Dir->filePath(QStringLiteral("wynik.tsv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             QStringLiteral("# hasło\tobjaśnienie\tobjaśnienie…\t@plik dźwięku\n"
                            "KIT\tmasa do szyb\n"
                            "KOT\tzwierzę domowe\tmruczek\t@kot.wav\n"));
}

void TestDBBrowserForm::closingWithUnsavedChangesAsksFirst()
{
    for (const QString& answer : {QStringLiteral("Nie"), QStringLiteral("Tak")}) {
        TDBBrowserForm form(Shipped, User, AudioDir);
        form.show();
        Choose(form, QStringLiteral("LAS"));
        Click(form, "ExcludeButton");
        AnswerModal(QStringLiteral("Anuluj"));
        Click(form, "CloseButton");
        QVERIFY(form.isVisible());
        AnswerModal(answer);
        Click(form, "CloseButton");
        QVERIFY(!form.isVisible());
        QCOMPARE(QFile::exists(User), answer == QLatin1String("Tak"));
    }
}

void TestDBBrowserForm::aFailedSaveSaysWhyAndKeepsTheEdits()
{
    QFile blocker(Dir->filePath(QStringLiteral("plik")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString user = Dir->filePath(QStringLiteral("plik/baza-użytkownika.hk"));
    TDBBrowserForm form(Shipped, user, AudioDir);
    Choose(form, QStringLiteral("LAS"));
    Click(form, "ExcludeButton");
    QString shown;
    WhenModalOpens([&](QWidget* modal) {
        shown = qobject_cast<QMessageBox*>(modal)->text();
        ClickCaption(modal, QStringLiteral("OK"));
    });
    Click(form, "SaveButton");
    QVERIFY2(shown.startsWith(QStringLiteral("Nie udało się zapisać zmian w bazie haseł do pliku ") + user
                              + QStringLiteral(": nie można utworzyć katalogu ")),
             qPrintable(shown));
    QVERIFY(form.isWindowModified());
    QCOMPARE(ShownWords(form, "ExcludedList"), QStringList({"LAS"}));
}

void TestDBBrowserForm::aDamagedUserFileIsRefusedAndTheShippedWordsShown()
{
    QVERIFY(QDir().mkpath(QFileInfo(User).path()));
    QFile file(User);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(100, 'x'));
    file.close();
    TDBBrowserForm form(Shipped, User, AudioDir);
    auto* problem = Child<QLabel>(form, "ProblemLabel");
    QCOMPARE(problem->text(),
             QStringLiteral("Plik zmian w bazie haseł ") + User
                 + QStringLiteral(" jest uszkodzony i nie został użyty; używana jest baza dostarczona "
                                  "z programem."));
    QVERIFY(!problem->isHidden());
    QCOMPARE(ShownWords(form).size(), int(Samples.size()));
}

void TestDBBrowserForm::restoringTheShippedDatabaseAsksFirst()
{
    TDBBrowserForm form(Shipped, User, AudioDir);
    Choose(form, QStringLiteral("LAS"));
    Click(form, "ExcludeButton");
    Click(form, "SaveButton");
    AnswerModal(QStringLiteral("Anuluj"));
    Click(form, "RestoreButton");
    QCOMPARE(ShownWords(form, "ExcludedList"), QStringList({"LAS"}));
    AnswerModal(QStringLiteral("Przywróć"));
    Click(form, "RestoreButton");
    QVERIFY(ShownWords(form, "ExcludedList").isEmpty());
    QVERIFY(!QFile::exists(User));
    QVERIFY(QFile::exists(User + QStringLiteral(".bak")));
    QVERIFY(!Child<QToolButton>(form, "UndoButton")->isEnabled());
}

void TestDBBrowserForm::aChosenSoundIsCopiedUnderTheWordsName()
{
    const QString recording = Dir->filePath(QStringLiteral("nagranie.WAV"));
    QFile file(recording);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RIFF");
    file.close();
    TDBBrowserForm form(Shipped, User, AudioDir);
    QString chosen = recording;
    form.ChooseFile = [&](const QString&, const QString&, bool) { return chosen; };
    Choose(form, QStringLiteral("ŁOŚ"));
    Click(form, "ChooseSoundButton");
    QCOMPARE(Items(Child<QListWidget>(form, "AudioList")), QStringList({"ŁOŚ.wav"}));
    QVERIFY(QFile::exists(AudioDir + QStringLiteral("ŁOŚ.wav")));
    QVERIFY(Child<QPushButton>(form, "PlayButton")->isEnabled());
    // A file of that name is not overwritten: the undo still finds the old sound.
    Click(form, "ChooseSoundButton");
    QCOMPARE(Items(Child<QListWidget>(form, "AudioList")), QStringList({"ŁOŚ (2).wav"}));
    Click(form, "RemoveSoundButton");
    QVERIFY(Items(Child<QListWidget>(form, "AudioList")).isEmpty());
    QCOMPARE(Child<QLabel>(form, "StatusLabel")->text(), QStringLiteral("Hasło nie ma nagrania."));

    chosen = Dir->filePath(QStringLiteral("tekst.txt"));
    Click(form, "ChooseSoundButton");
    QCOMPARE(Child<QLabel>(form, "MessageLabel")->text(), QStringLiteral("Wybierz plik WAV, MP3 lub OGG."));
}

void TestDBBrowserForm::recordingNeedsAnInputDevice()
{
    TDBBrowserForm form(Shipped, User, AudioDir);
    auto* record = Child<QPushButton>(form, "RecordButton");
#if __has_include(<QMediaDevices>)
    const bool device = !QMediaDevices::audioInputs().isEmpty();
#else
    const bool device = false;
#endif
    QCOMPARE(record->isEnabled(), device);
    QCOMPARE(record->toolTip(),
             device ? QString()
                    : QStringLiteral("Nagrywanie niedostępne: nie znaleziono mikrofonu ani innego wejścia dźwięku."));
}

// An installed program's audio directory cannot be written: the user's sounds
// go to a directory of their own, which playing looks into first.
void TestDBBrowserForm::soundsTheUserAddsGoToTheUsersOwnDirectory()
{
    const QString own = Dir->filePath(QStringLiteral("moje/Audio/"));
    const QString recording = Dir->filePath(QStringLiteral("nagranie.wav"));
    QFile file(recording);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RIFF");
    file.close();
    TDBBrowserForm form(Shipped, User, AudioDir, nullptr, own);
    form.ChooseFile = [&](const QString&, const QString&, bool) { return recording; };
    Choose(form, QStringLiteral("ŁOŚ"));
    Click(form, "ChooseSoundButton");
    QCOMPARE(Items(Child<QListWidget>(form, "AudioList")), QStringList({"ŁOŚ.wav"}));
    QVERIFY(QFile::exists(own + QStringLiteral("ŁOŚ.wav")));
    QVERIFY(!QFile::exists(AudioDir + QStringLiteral("ŁOŚ.wav")));
    Click(form, "PlayButton");
    QCOMPARE(form.PlayedSource(), QUrl::fromLocalFile(QFileInfo(own + QStringLiteral("ŁOŚ.wav")).canonicalFilePath()));
    // A shipped sound is still found in the audio directory.
    Choose(form, QStringLiteral("KOT"));
    Click(form, "PlayButton");
    QCOMPARE(form.PlayedSource(),
             QUrl::fromLocalFile(QFileInfo(AudioDir + QStringLiteral("kot.wav")).canonicalFilePath()));
    // A sound of the user's of the same name is played instead.
    QVERIFY(QFile::copy(recording, own + QStringLiteral("kot.wav")));
    Choose(form, QStringLiteral("ŁOŚ"));
    Choose(form, QStringLiteral("KOT"));
    Click(form, "PlayButton");
    QCOMPARE(form.PlayedSource(), QUrl::fromLocalFile(QFileInfo(own + QStringLiteral("kot.wav")).canonicalFilePath()));
}

void TestDBBrowserForm::eachWordShowsItsCommonnessScoreAndRegister()
{
    const QString scored = Dir->filePath(QStringLiteral("oceny.hk"));
    WriteWords(scored.toStdString(), 102,
               {{"KOT", {"mruczek"}, "", "87"}, {"ABAKA", {"rzadkie"}, "", "0"}, {"LAS", {"wiele drzew"}, "", ""}});
    TDBBrowserForm form(scored, Dir->filePath(QStringLiteral("oceny-zmiany.hk")), AudioDir);
    const struct {
        const char* Word;
        const char* Shown;
    } cases[] = {{"KOT", "Popularność: 87 na 100."},
                 {"ABAKA", "Popularność: 0 na 100."},
                 {"LAS", "Popularność: brak oceny."}};
    for (const auto& c : cases) {
        Choose(form, QString::fromUtf8(c.Word));
        QCOMPARE(Child<QLabel>(form, "ScoreLabel")->text(), QString::fromUtf8(c.Shown));
    }

    // The register: shown, changed as one undoable edit, kept in the user's file.
    auto* reg = Child<QComboBox>(form, "RegisterBox");
    Choose(form, QStringLiteral("KOT"));
    QCOMPARE(reg->currentText(), QStringLiteral("Rejestr: zwykłe"));
    const int insult = reg->findData(int(rgInsult));
    reg->setCurrentIndex(insult);
    emit reg->activated(insult);
    QCOMPARE(form.Base().Find("KOT")->Register(), rgInsult);
    Choose(form, QStringLiteral("LAS"));
    QCOMPARE(reg->currentText(), QStringLiteral("Rejestr: zwykłe"));
    Choose(form, QStringLiteral("KOT"));
    QCOMPARE(reg->currentText(), QStringLiteral("Rejestr: obraźliwe"));
    Click(form, "UndoButton");
    QCOMPARE(form.Base().Find("KOT")->Register(), rgOrdinary);
    QCOMPARE(reg->currentText(), QStringLiteral("Rejestr: zwykłe"));
}

QTEST_MAIN(TestDBBrowserForm)
#include "DBBrowserFormTest.moc"
