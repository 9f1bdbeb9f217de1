#include "app/MainForm.h"
#include "WindowProbe.h"
#include "app/AboutBox.h"
#include "app/HelpForm.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "core/Cp1250.h"
#include "database/DBBuilder.h"
#include "documents/CrossSolution.h"
#include "documents/Ipuz.h"
#include "sound/SoundPlayer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace mz;
using namespace mz::test;

namespace {

const QString BuiltProgramDir = QStringLiteral(MZ_APP_DIR "/");

// The test crossword, 6 x 6 ('*' blocked, '.' open):
//   r1  . . . * . .
//   r2  . * . . . *
//   r3  . . . * . .
//   r4  * . * . . .
//   r5  . . . * . *
//   r6  . * . . . .
const char* const Layout[6] = {"...*..", ".*...*", "...*..", "*.*...", "...*.*", ".*...."};

struct TClue {
    int Col, Row;
    bool Horizontal;
    const char* Text; // UTF-8
    const char* Audio;
};
const TClue Clues[] = {
    {1, 1, true, "zwierzę domowe", "KOT.wav"},
    {1, 1, false, "pierwsza pionowo", ""},
    {3, 5, false, "stolica", ""},
    {1, 5, true, "bardzo długie objaśnienie hasła, które na pewno nie zmieści się w jednym wierszu pod siatką", ""},
    {3, 6, true, "ostatnie", "BRAK.wav"},
};

TCrossTXT MakeCrossWord(bool withClues = true)
{
    TCrossTXT doc;
    doc.SetColCount(6);
    doc.SetRowCount(6);
    for (int c = 1; c <= 6; ++c)
        for (int r = 1; r <= 6; ++r)
            doc.SetCell(c, r, Layout[r - 1][c - 1] == '*' ? '*' : ' ');
    if (withClues)
        for (const TClue& clue : Clues) {
            TExpl e;
            e.Col = clue.Col;
            e.Row = clue.Row;
            e.Horizontal = clue.Horizontal;
            e.Explanation = Utf8ToCp1250(clue.Text);
            e.Audio = clue.Audio;
            doc.AddExpl(e);
        }
    return doc;
}

QByteArray ToneWav()
{
    const int rate = 8000;
    QByteArray data(rate / 5, char(128));
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    return "RIFF" + le32(static_cast<quint32>(36 + data.size())) + "WAVEfmt " + le32(16) + le16(1) + le16(1)
        + le32(rate) + le32(rate) + le16(1) + le16(8) + "data" + le32(static_cast<quint32>(data.size())) + data;
}

// Answers message boxes as they come, one answer per box, and keeps their texts.
class TBoxAnswers {
public:
    explicit TBoxAnswers(QStringList buttons) : Buttons(std::move(buttons))
    {
        Timer.setInterval(5);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || Buttons.isEmpty())
                return;
            Texts << box->text();
            Places << QRect(box->pos(), box->size());
            box->findChild<QAbstractButton*>(Buttons.takeFirst())->click();
        });
        Timer.start();
    }
    QStringList Texts;
    QList<QRect> Places;

private:
    QStringList Buttons;
    QTimer Timer;
};

QString Word(TCrossSurface& grid, int col, int row, int length, bool horizontal = true)
{
    std::string cells;
    for (int i = 0; i < length; ++i)
        cells += In(grid).GetCell(horizontal ? col + i : col, horizontal ? row : row + i);
    return QString::fromStdString(Cp1250ToUtf8(cells));
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> temp;
    QString dir; // the program directory, ending in '/'
    QString storeDir;
    // The program's settings, handed to every window a test starts.
    TSettings settings;

    QString CrossPath() const { return dir + QStringLiteral("Krzyżówki/K_0231.krz"); }

    std::unique_ptr<QSettings> Store() { return OpenSettingsStore(); }

    // A new program directory with the letter images, a small word database, the
    // sample crossword, the default template and one sound; a fresh settings store.
    void FreshProgram(bool firstStart = true)
    {
        temp = std::make_unique<QTemporaryDir>();
        settings = TSettings();
        dir = temp->path() + QLatin1Char('/');
        QDir(dir).mkpath(QStringLiteral("Krzyżówki/Nowe"));
        QDir(dir).mkpath(QStringLiteral("Szablony"));
        QDir(dir).mkpath(QStringLiteral("Audio"));
        QDir(dir).mkpath(QStringLiteral("settings"));
        QFile::copy(BuiltProgramDir + QStringLiteral("tekst.bmp"), dir + QStringLiteral("tekst.bmp"));
        WriteDBFile((dir + QStringLiteral("baza.hk")).toStdString(), 102,
                    {{"KOT", {Utf8ToCp1250("zwierzę domowe")}, "KOT.wav"},
                     {"PIES", {"przyjaciel", "szczekacz"}, ""},
                     {"KOTEK", {"mały kot"}, ""}});
        MakeCrossWord().SaveToFile(CrossPath().toStdString());
        TCrossTXT pattern = MakeCrossWord(false);
        pattern.Kind = 1;
        pattern.SaveToFile((dir + QStringLiteral("Szablony/Normal.sz")).toStdString());
        QFile sound(dir + QStringLiteral("Audio/KOT.wav"));
        QVERIFY(sound.open(QIODevice::WriteOnly));
        sound.write(ToneWav());
        sound.close();
        storeDir = dir + QStringLiteral("settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeDir);
        if (firstStart)
            WriteFirstStartSettings(*Store(), dir);
    }

    void PutSetting(const QString& name, const QString& value)
    {
        auto store = Store();
        store->setValue(QStringLiteral("1.01/") + name, value);
        store->sync();
    }

    std::unique_ptr<TMainForm> Start()
    {
        auto form = std::make_unique<TMainForm>(dir, settings);
        form->show();
        return form;
    }

    static void Key(TCrossSurface* grid, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(grid, key, mods);
    }

    static void GoTo(TMainForm& form, int col, int row)
    {
        const bool across = Grid(form, "CrossVC")->WriteDir() == TDirection::Across;
        Key(Grid(form, "CrossVC"), Qt::Key_Home, Qt::ControlModifier);
        for (int c = 1; c < col; ++c)
            Key(Grid(form, "CrossVC"), Qt::Key_Right);
        for (int r = 1; r < row; ++r)
            Key(Grid(form, "CrossVC"), Qt::Key_Down);
        QCOMPARE(Grid(form, "CrossVC")->CurrCol(), col);
        QCOMPARE(Grid(form, "CrossVC")->CurrRow(), row);
        // The arrows may have turned the direction on the way; the one before is kept where it has a word.
        if (ExplNumberAt(CrossWord(form), col, row, across) != 0)
            Action(form, across ? "WriteHoriz" : "WriteVert")->trigger();
    }

    static void Drop(TMainForm& form, const QStringList& files)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& f : files)
            urls << QUrl::fromLocalFile(f);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Client(form), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Client(form), &drop);
    }

public slots:
    // Stands in for the desktop: records what the program asks it to open.
    void OpenedUrl(const QUrl& url) { Opened << url; }

private:
    QList<QUrl> Opened;

    // A help page of the program directory; returns its path.
    QString WriteHelpPage()
    {
        const QString page = dir + QStringLiteral("Pomoc/Mirakolnik Zodevidar - Pomoc.htm");
        QDir(dir).mkpath(QStringLiteral("Pomoc"));
        QFile html(page);
        if (html.open(QIODevice::WriteOnly))
            html.write("<html><body><h1>Pomoc</h1></body></html>");
        return page;
    }

private slots:
    void initTestCase()
    {
        for (const char* scheme : {"file", "http", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "OpenedUrl");
        // The sounds here are about which file is played; the machine may have no sound device.
        TSoundPlayer::SetDeviceCheck([] { return true; });
    }

    void cleanupTestCase()
    {
        for (const char* scheme : {"file", "http", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    // Start-up and shut-down ---------------------------------------------------

    void firstStartOpensTheSampleCrosswordCentredByTheGrid()
    {
        FreshProgram();
        auto form = Start();
        QCOMPARE(form->windowTitle(), QStringLiteral("K_0231.krz - Mirakolnik Zodevidar"));
        QCOMPARE(Grid(*form, "CrossVC")->ColCount(), 6);
        QCOMPARE(Grid(*form, "CrossVC")->RowCount(), 6);
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        // Centred by the grid's size, not the window's.
        QCOMPARE(form->pos(),
                 QPoint(screen.width() / 2 - Grid(*form, "CrossVC")->width() / 2,
                        screen.height() / 2 - Grid(*form, "CrossVC")->height() / 2));
        QVERIFY(Grid(*form, "CrossVC")->hasFocus() || QApplication::focusWidget() == nullptr);
        QCOMPARE(form->DBStatistics().WordCount, 3);
        QCOMPARE(form->DBStatistics().ExplCount, 4);
        QCOMPARE(form->DBStatistics().Edition, 102);
        QCOMPARE(form->DBStatistics().MinLen, 3);
        QCOMPARE(form->DBStatistics().MaxLen, 5);
    }

    void aLaterStartRestoresThePlaceAndCorrectsBadValues()
    {
        FreshProgram();
        PutSetting(QStringLiteral("MainFormLeft"), QStringLiteral("0x40"));
        PutSetting(QStringLiteral("MainFormTop"), QStringLiteral("99999"));
        PutSetting(QStringLiteral("MinLenPWord"), QStringLiteral("1"));
        PutSetting(QStringLiteral("MaxLenPWord"), QStringLiteral("2"));
        PutSetting(QStringLiteral("PreViewChecked"), QStringLiteral("0"));
        auto form = Start();
        QCOMPARE(form->pos(), QPoint(64, 0));
        QCOMPARE(settings.MinLenPWord, 3);
        QCOMPARE(settings.MaxLenPWord, 16);
        QVERIFY(!Action(*form, "PreView")->isChecked());
        form->move(120, 70);
        form.reset();
        auto store = Store();
        QCOMPARE(store->value("1.01/MainFormLeft").toString(), QStringLiteral("120"));
        QCOMPARE(store->value("1.01/MainFormTop").toString(), QStringLiteral("70"));
        QCOMPARE(store->value("1.01/MinLenPWord").toString(), QStringLiteral("3"));
        QCOMPARE(store->value("1.01/PreViewChecked").toString(), QStringLiteral("0"));
        QCOMPARE(store->value("1.01/CurrCrossWordFileName").toString(), CrossPath());
    }

    void aMissingTemplateIsReplacedByTheBlankOne()
    {
        FreshProgram();
        PutSetting(QStringLiteral("PatternFileName"), dir + QStringLiteral("Inne/brak.sz"));
        auto form = Start();
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 10);
        QCOMPARE(Grid(*form, "PatternVC")->RowCount(), 8);
        QCOMPARE(In(Grid(*form, "PatternVC")).GetCell(1, 1), '*');
        QCOMPARE(In(Grid(*form, "PatternVC")).GetCell(2, 1), ' ');
        QCOMPARE(QString::fromStdString(Template(*form).FileName), dir + QStringLiteral("Inne/Nowy.sz"));
        QCOMPARE(Grid(*form, "KwelinVC")->ColCount(), 10);
    }

    void missingLetterImagesEndTheProgramButTheSettingsAreWritten()
    {
        FreshProgram();
        QFile::remove(dir + QStringLiteral("tekst.bmp"));
        TBoxAnswers answers({"OK"});
        auto form = std::make_unique<TMainForm>(dir, settings);
        QVERIFY(form->TerminateRequested());
        QCOMPARE(answers.Texts.value(0), QStringLiteral("Nie można załadować pliku grafiki %1tekst.bmp.").arg(dir));
        Store()->remove(QStringLiteral("1.01/MainFormLeft"));
        form.reset();
        QVERIFY(Store()->contains(QStringLiteral("1.01/MainFormLeft")));
    }

    void anUnreadableDatabaseShowsItsErrorAndLeavesTheFiguresZero()
    {
        FreshProgram();
        QFile::remove(dir + QStringLiteral("baza.hk"));
        TBoxAnswers answers({"OK"});
        auto form = Start();
        QCOMPARE(answers.Texts.size(), 1);
        QVERIFY(answers.Texts.first().contains(QStringLiteral("baza.hk")));
        QCOMPARE(form->DBStatistics().Edition, 0);
        QCOMPARE(form->DBStatistics().WordCount, 0);
    }

    // Solving and the clue panel ---------------------------------------------

    void typedLettersAreSavedAndFoundAfterARestart()
    {
        FreshProgram();
        {
            auto form = Start();
            GoTo(*form, 1, 1);
            QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("kot"));
            // A Polish letter arriving as text (AltGr layouts) ...
            QKeyEvent polish(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ż"));
            // (1, 3) lies in a down word only, where typing goes down: (1, 5) starts an across word.
            GoTo(*form, 1, 5);
            QApplication::sendEvent(Grid(*form, "CrossVC"), &polish);
            // ... and through the Ctrl key.
            QTest::keyPress(Grid(*form, "CrossVC"), Qt::Key_Control);
            QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_A, Qt::ControlModifier);
            QTest::keyRelease(Grid(*form, "CrossVC"), Qt::Key_Control);
            Action(*form, "CrossWord_Save")->trigger();
            QVERIFY(!CrossWord(*form).Modified);
        }
        TCrossTXT saved;
        saved.LoadFromFile(CrossPath().toStdString());
        QCOMPARE(saved.GetCell(1, 1), 'K');
        QCOMPARE(saved.GetCell(3, 1), 'T');
        QCOMPARE(saved.ExplCount(), 5);
        auto again = Start();
        QCOMPARE(Word(*Grid(*again, "CrossVC"), 1, 1, 3), QStringLiteral("KOT"));
        QCOMPARE(Word(*Grid(*again, "CrossVC"), 1, 5, 2), QStringLiteral("ŻĄ"));
    }

    void saveWithoutChangesWritesNothing()
    {
        FreshProgram();
        auto form = Start();
        const QDateTime before = QFileInfo(CrossPath()).lastModified();
        QFile::remove(CrossPath());
        Action(*form, "CrossWord_Save")->trigger();
        QVERIFY(!QFile::exists(CrossPath()));
        Q_UNUSED(before);
    }

    void theCluePanelFollowsTheCursor()
    {
        FreshProgram();
        auto form = Start();
        // In the middle of the horizontal word starting at (1,1).
        GoTo(*form, 2, 1);
        QCOMPARE(Label(*form, "Expl_Label")->text(), QStringLiteral("zwierzę domowe"));
        QCOMPARE(Label(*form, "Expl_Label")->toolTip(), QStringLiteral("Poziomo: (1,1) - zwierzę domowe"));
        QVERIFY(Button(*form, "SBttn_Play")->isEnabled());
        QVERIFY(In(Grid(*form, "CrossVC")).CellHighlighted(1, 1) && In(Grid(*form, "CrossVC")).CellHighlighted(3, 1));
        QVERIFY(!In(Grid(*form, "CrossVC")).CellHighlighted(5, 1));

        // Vertical writing shows the crossing word at once.
        GoTo(*form, 1, 2);
        Action(*form, "WriteVert")->trigger();
        QCOMPARE(Label(*form, "Expl_Label")->text(), QStringLiteral("pierwsza pionowo"));
        QVERIFY(!Button(*form, "SBttn_Play")->isEnabled());
        QVERIFY(In(Grid(*form, "CrossVC")).CellHighlighted(1, 3));
        QVERIFY(!In(Grid(*form, "CrossVC")).CellHighlighted(2, 1));
        QVERIFY(Action(*form, "WriteVert")->isChecked() && !Action(*form, "WriteHoriz")->isChecked());
        QVERIFY(Button(*form, "SBttn_ToDown")->isChecked() && !Button(*form, "SBttn_ToRight")->isChecked());

        GoTo(*form, 3, 6);
        QCOMPARE(Label(*form, "Expl_Label")->toolTip(), QStringLiteral("Pionowo: (3,5) - stolica"));

        // A blocked cell: nothing shown, nothing highlighted.
        GoTo(*form, 4, 1);
        QCOMPARE(Label(*form, "Expl_Label")->text(), QString());
        QVERIFY(!Button(*form, "SBttn_Play")->isEnabled());
        QVERIFY(!In(Grid(*form, "CrossVC")).CellHighlighted(1, 1) && !In(Grid(*form, "CrossVC")).CellHighlighted(3, 5));

        // A word whose start has no explanation (horizontal at (3,2)).
        Action(*form, "WriteHoriz")->trigger();
        GoTo(*form, 4, 2);
        QCOMPARE(Label(*form, "Expl_Label")->text(), QString());
        QVERIFY(!Button(*form, "SBttn_Play")->isEnabled());
        QVERIFY(!In(Grid(*form, "CrossVC")).CellHighlighted(3, 2));
    }

    void aWordEndingInTheLastColumnIsHighlightedToItsEnd()
    {
        FreshProgram();
        auto form = Start();
        GoTo(*form, 6, 6);
        QCOMPARE(Label(*form, "Expl_Label")->text(), QStringLiteral("ostatnie"));
        for (int c = 3; c <= 6; ++c)
            QVERIFY2(In(Grid(*form, "CrossVC")).CellHighlighted(c, 6), qPrintable(QString::number(c)));
        QVERIFY(!In(Grid(*form, "CrossVC")).CellHighlighted(1, 6) && !In(Grid(*form, "CrossVC")).CellHighlighted(6, 5));
    }

    void aLongClueIsFittedIntoTwoLinesThatFitTheWindow()
    {
        FreshProgram();
        auto form = Start();
        GoTo(*form, 2, 5);
        // The label shows the caption's line break as a new line.
        const QString caption = Label(*form, "Expl_Label")->text();
        const QStringList lines = caption.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY(caption.endsWith(QStringLiteral("...")));
        const QFontMetrics fm(Label(*form, "Expl_Label")->font());
        for (const QString& line : lines)
            QVERIFY(36 + fm.horizontalAdvance(line) <= Client(*form)->width());
        QVERIFY(Label(*form, "Expl_Label")->toolTip().endsWith(QStringLiteral("pod siatką")));
    }

    void aCrosswordWithoutExplanationsShowsNoClueAnywhere()
    {
        FreshProgram();
        MakeCrossWord(false).SaveToFile(CrossPath().toStdString());
        auto form = Start();
        for (int c = 1; c <= 6; ++c) {
            GoTo(*form, c, 1);
            QCOMPARE(Label(*form, "Expl_Label")->text(), QString());
            QVERIFY(!Button(*form, "SBttn_Play")->isEnabled());
        }
    }

    void enterOnAWordWithASoundPlaysItsFile()
    {
        FreshProgram();
        auto form = Start();
        GoTo(*form, 1, 1);
        QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_Return);
        QCOMPARE(Player(*form)->FileName(), dir + QStringLiteral("Audio/KOT.wav"));
        // A sound file that is missing is ignored.
        GoTo(*form, 5, 6);
        QVERIFY(Button(*form, "SBttn_Play")->isEnabled());
        Button(*form, "SBttn_Play")->click();
        QCOMPARE(Player(*form)->FileName(), dir + QStringLiteral("Audio/KOT.wav"));
    }

    void aSoundThePlayerCannotOpenShowsItsErrorText()
    {
        FreshProgram();
        QFile sound(dir + QStringLiteral("Audio/KOT.wav"));
        QVERIFY(sound.open(QIODevice::WriteOnly | QIODevice::Truncate));
        sound.write("to nie jest nagranie");
        sound.close();
        auto form = Start();
        GoTo(*form, 1, 1);
        TBoxAnswers answers({"OK"});
        QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(answers.Texts.size(), 1, 10000);
        QVERIFY(!answers.Texts.first().isEmpty());
        QCOMPARE(Label(*form, "Expl_Label")->text(), QStringLiteral("zwierzę domowe"));
    }

    // Document commands ----------------------------------------------------------

    // The extension is the text after the last dot: a known one is replaced,
    // any other kept with ".krz" appended, and the title names the file written.
    void saveAsNamesTheCrosswordFileByItsLastDot()
    {
        FreshProgram();
        auto form = Start();
        TFileDialogRequest asked;
        QString chosen;
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            asked = request;
            return chosen;
        });
        const struct {
            const char* chosen;
            const char* written;
        } cases[] = {
            {"plan.txt", "plan.txt.krz"},
            {"plan.old.krz", "plan.old.krz"},
            {"Test 12.05.2025", "Test 12.05.2025.krz"},
            {"lekcja.ipuz", "lekcja.krz"},
        };
        for (const auto& c : cases) {
            chosen = dir + QString::fromUtf8(c.chosen);
            Action(*form, "CrossWord_SaveAs")->trigger();
            QVERIFY2(QFile::exists(dir + QString::fromUtf8(c.written)), c.written);
            QVERIFY(!QFile::exists(dir + QStringLiteral("Test 12.krz")));
            QCOMPARE(QString::fromStdString(CrossWord(*form).FileName), dir + QString::fromUtf8(c.written));
            QCOMPARE(form->windowTitle(), QString::fromUtf8(c.written) + QStringLiteral(" - Mirakolnik Zodevidar"));
        }
        QCOMPARE(asked.Title, QStringLiteral("Zapisz krzyżówkę jako..."));
        QCOMPARE(asked.Filter, QStringLiteral("Pliki krzyżówek|*.krz|Wszystkie pliki|*.*"));
        QCOMPARE(asked.DefaultExt, QStringLiteral("krz"));
        QCOMPARE(asked.FileName, QStringLiteral("Test 12.05.2025.krz"));
        QVERIFY(!QFile::exists(dir + QStringLiteral("lekcja.ipuz")));

        // A crossword whose name has dots opens as any other.
        form->OpenFile(dir + QStringLiteral("Test 12.05.2025.krz"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Test 12.05.2025.krz - Mirakolnik Zodevidar"));

        chosen.clear();
        QFile::remove(dir + QStringLiteral("plan.txt.krz"));
        Action(*form, "CrossWord_SaveAs")->trigger();
        QVERIFY(!QFile::exists(dir + QStringLiteral("plan.txt.krz")));
    }

    // "Tak" to the save question of a crossword read from ipuz or XWD writes a
    // crossword file beside it; the original stays as it was and opens again.
    void theSaveQuestionKeepsAnIpuzOrXwdOriginal_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("closing");
        QTest::newRow("ipuz, open another") << QStringLiteral("ipuz") << false;
        QTest::newRow("ipuz, close") << QStringLiteral("ipuz") << true;
        QTest::newRow("xwd, open another") << QStringLiteral("xwd") << false;
    }

    void theSaveQuestionKeepsAnIpuzOrXwdOriginal()
    {
        QFETCH(QString, extension);
        QFETCH(bool, closing);
        FreshProgram();
        const QString name = dir + QStringLiteral("t2.") + extension;
        if (extension == QStringLiteral("ipuz")) {
            ExportAsIpuz(MakeCrossWord(), name.toStdString());
        } else {
            std::string bytes(3176 + 61 * 10, '\0');
            bytes[0] = 5;
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
        QFile original(name);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();

        auto form = Start();
        form->OpenFile(name);
        GoTo(*form, 1, 1);
        QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("k"));
        TBoxAnswers answers({"Yes"});
        if (closing) {
            QVERIFY(form->close());
            QCOMPARE(form->windowTitle(), QStringLiteral("t2.krz - Mirakolnik Zodevidar"));
        } else {
            form->OpenFile(CrossPath());
            QCOMPARE(form->windowTitle(), QStringLiteral("K_0231.krz - Mirakolnik Zodevidar"));
        }
        QVERIFY(answers.Texts.first().startsWith(QStringLiteral("Zawartość krzyżówki t2.") + extension));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before);
        TCrossTXT saved;
        saved.LoadFromFile((dir + QStringLiteral("t2.krz")).toStdString());
        QCOMPARE(saved.GetCell(1, 1), 'K');
        TCrossTXT reread;
        reread.LoadFromFile(name.toStdString());
        QCOMPARE(reread.ColCount(), extension == QStringLiteral("ipuz") ? 6 : 5);
    }

    void exportWritesTheTextFileAndKeepsTheName()
    {
        FreshProgram();
        auto form = Start();
        TFileDialogRequest asked;
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            asked = request;
            return dir + QStringLiteral("wynik.txt");
        });
        Action(*form, "CrossWord_ExportAsText")->trigger();
        QCOMPARE(asked.Title, QStringLiteral("Eksportuj krzyżówkę jako tekst"));
        QCOMPARE(asked.FileName, QStringLiteral("K_0231"));
        QCOMPARE(asked.DefaultExt, QStringLiteral("txt"));
        QFile text(dir + QStringLiteral("wynik.txt"));
        QVERIFY(text.open(QIODevice::ReadOnly));
        const QByteArray bytes = text.readAll();
        QVERIFY(bytes.contains("\r\n"));
        QVERIFY(bytes.contains(QByteArray::fromStdString(Utf8ToCp1250("zwierzę domowe"))));
        QCOMPARE(form->windowTitle(), QStringLiteral("K_0231.krz - Mirakolnik Zodevidar"));
    }

    void openingOffersTheXwdFilterAfterAnXwdName()
    {
        FreshProgram();
        auto form = Start();
        TFileDialogRequest asked;
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            asked = request;
            return QString();
        });
        Action(*form, "CrossWord_Open")->trigger();
        QCOMPARE(asked.Title, QStringLiteral("Otwórz krzyżówkę..."));
        QCOMPARE(asked.FileName, QString());
        QCOMPARE(asked.FilterIndex, 1);
        QVERIFY(asked.Filter.startsWith(QStringLiteral("Wszystkie krzyżówki|*.krz *.xwd *.ipuz|")));
        CrossWordDoc(*form).SetFileName((dir + QStringLiteral("stara.xwd")).toStdString());
        Action(*form, "CrossWord_Open")->trigger();
        QCOMPARE(asked.FileName, QStringLiteral("*.xwd"));
        QCOMPARE(asked.FilterIndex, 3);
    }

    void aCrosswordTheGridCannotShowChangesNothing_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("reason");
        const QString bad = QStringLiteral("zła.krz");
        QTest::newRow("three columns") << QStringList({"   ", "   ", "   "}) << bad << QString();
        QTest::newRow("two rows") << QStringList({"    ", "    "}) << bad << QString();
        QTest::newRow("no rows") << QStringList() << bad << QString();
        QTest::newRow("a short row leaves cells missing") << QStringList({"     ", "  ", "     "}) << bad << QString();
        QTest::newRow("a character no cell may hold") << QStringList({"    ", " ab ", "    "}) << bad << QString();
        // A failure of the system comes with its reason.
        QTest::newRow("no such file") << QStringList({"    ", "    ", "    "}) << QStringLiteral("brak.krz")
                                      << QStringLiteral(": Plik nie istnieje");
    }
    void aCrosswordTheGridCannotShowChangesNothing()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, opened);
        QFETCH(QString, reason);
        FreshProgram();
        auto form = Start();
        const QString name = dir + QStringLiteral("zła.krz");
        WriteRecordFile(name.toStdString(), MakeRecordHeader(CrossWordHeader), [&](TDataAccess& access) {
            for (const QString& row : rows)
                access.WriteRecord(rtRow, row.toStdString());
            access.WriteRecord(rtPlace, "H,1,1");
            access.WriteRecord(rtExpl, "x");
        });
        TBoxAnswers answers({"OK"});
        form->OpenFile(dir + opened);
        QCOMPARE(answers.Texts,
                 QStringList({QStringLiteral("Wystąpił błąd podczas ładowania pliku ") + dir + opened + reason}));
        QCOMPARE(CrossWord(*form).ColCount(), 6);
        QCOMPARE(CrossWord(*form).ExplCount(), 5);
        QCOMPARE(QString::fromStdString(CrossWord(*form).FileName), CrossPath());
        QCOMPARE(Grid(*form, "CrossVC")->ColCount(), 6);
        QCOMPARE(form->windowTitle(), QStringLiteral("K_0231.krz - Mirakolnik Zodevidar"));
    }

    void aFailedSaveKeepsTheChangesAndAsksAgainOnClose()
    {
        FreshProgram();
        auto form = Start();
        GoTo(*form, 1, 1);
        QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("k"));
        CrossWordDoc(*form).SetFileName((dir + QStringLiteral("nie/ma/katalogu.krz")).toStdString());
        {
            TBoxAnswers answers({"OK"});
            Action(*form, "CrossWord_Save")->trigger();
            QCOMPARE(answers.Texts.size(), 1);
        }
        QVERIFY(CrossWord(*form).Modified);
        TBoxAnswers answers({"No"});
        QVERIFY(form->close());
        QCOMPARE(answers.Texts.size(), 1);
        QVERIFY(answers.Texts.first().startsWith(QStringLiteral("Zawartość krzyżówki katalogu.krz zmieniła się.")));
    }

    // "Tak" to the save question, then a save that fails: the close or the
    // open does not go on and the changes stay.
    void aYesWhoseSaveFailsCancelsTheCloseOrTheOpen_data()
    {
        QTest::addColumn<bool>("closing");
        QTest::newRow("close") << true;
        QTest::newRow("open") << false;
    }

    void aYesWhoseSaveFailsCancelsTheCloseOrTheOpen()
    {
        QFETCH(bool, closing);
        FreshProgram();
        const QString other = dir + QStringLiteral("inna.krz");
        MakeCrossWord(false).SaveToFile(other.toStdString());
        auto form = Start();
        GoTo(*form, 1, 1);
        QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("k"));
        const QString lost = dir + QStringLiteral("nie/ma/katalogu.krz");
        CrossWordDoc(*form).SetFileName(lost.toStdString());
        TBoxAnswers answers({"Yes", "OK"});
        if (closing)
            QVERIFY(!form->close());
        else
            form->OpenFile(other);
        QCOMPARE(answers.Texts.size(), 2);
        QVERIFY(answers.Texts[0].startsWith(QStringLiteral("Zawartość krzyżówki katalogu.krz zmieniła się.")));
        QVERIFY(form->isVisible());
        QVERIFY(CrossWord(*form).Modified);
        QCOMPARE(QString::fromStdString(CrossWord(*form).FileName), lost);
        QCOMPARE(CrossWord(*form).GetCell(1, 1), 'K');
        QCOMPARE(CrossWord(*form).ExplCount(), 5);
        QVERIFY(!QFile::exists(lost));
        TBoxAnswers leave({"No"});
        QVERIFY(form->close());
    }

    // Sound names from a file that lead out of the audio directory are not
    // followed; the user is told once.
    void aCrosswordWithRefusedSoundNamesIsOpenedWithoutThemAndSaysSoOnce()
    {
        FreshProgram();
        TCrossTXT foreign = MakeCrossWord();
        TExpl expl = foreign.GetExpl(1);
        expl.Audio = "../../tajne.txt";
        foreign.SetExpl(1, expl);
        const QString name = dir + QStringLiteral("obca.krz");
        foreign.SaveToFile(name.toStdString());
        auto form = Start();
        {
            TBoxAnswers answers({"OK", "OK"});
            form->OpenFile(name);
            QTest::qWait(50);
            QCOMPARE(answers.Texts,
                     QStringList({QStringLiteral("Plik ") + name
                                  + QStringLiteral(" zawiera niedozwolone nazwy plików dźwiękowych; "
                                                   "te dźwięki pominięto.")}));
        }
        QCOMPARE(QString::fromStdString(CrossWord(*form).FileName), name);
        GoTo(*form, 1, 1);
        QCOMPARE(Label(*form, "Expl_Label")->text(), QStringLiteral("zwierzę domowe"));
        QVERIFY(!Button(*form, "SBttn_Play")->isEnabled());
    }

    void aSoundLinkLeadingOutOfTheAudioDirectoryIsRefusedOnce()
    {
        FreshProgram();
        QFile::remove(dir + QStringLiteral("Audio/KOT.wav"));
        QFile secret(dir + QStringLiteral("tajne.wav"));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write(ToneWav());
        secret.close();
        QVERIFY(QFile::link(dir + QStringLiteral("tajne.wav"), dir + QStringLiteral("Audio/KOT.wav")));
        auto form = Start();
        GoTo(*form, 1, 1);
        TBoxAnswers answers({"OK", "OK"});
        for (int press = 0; press < 2; ++press)
            Button(*form, "SBttn_Play")->click();
        QTest::qWait(50);
        QCOMPARE(answers.Texts, QStringList({QStringLiteral("Niedozwolona nazwa pliku dźwiękowego: KOT.wav")}));
        QVERIFY(Player(*form)->FileName().isEmpty());
    }

    // The user's own sound directory (here the program directory's Audio/) is
    // looked up before the audio directory of the settings.
    void aSoundInTheUsersAudioDirectoryIsPlayedBeforeTheShippedOne()
    {
        FreshProgram();
        const QString shipped = dir + QStringLiteral("Dzwieki/");
        QVERIFY(QDir().mkpath(shipped));
        for (const char* name : {"KOT.wav", "BRAK.wav"})
            QVERIFY(QFile::copy(dir + QStringLiteral("Audio/KOT.wav"), shipped + QString::fromLatin1(name)));
        PutSetting(QStringLiteral("AudioDir"), shipped);
        auto form = Start();
        QCOMPARE(settings.UserAudioDir, dir + QStringLiteral("Audio/"));
        GoTo(*form, 1, 1);
        Button(*form, "SBttn_Play")->click();
        QCOMPARE(Player(*form)->FileName(), QFileInfo(dir + QStringLiteral("Audio/KOT.wav")).canonicalFilePath());
        GoTo(*form, 4, 6);
        Button(*form, "SBttn_Play")->click();
        QCOMPARE(Player(*form)->FileName(), QFileInfo(shipped + QStringLiteral("BRAK.wav")).canonicalFilePath());
    }

    void theSaveQuestionOnCloseHasThreeAnswers()
    {
        FreshProgram();
        auto form = Start();
        GoTo(*form, 1, 1);
        QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("a"));
        {
            TBoxAnswers answers({"Cancel"});
            QVERIFY(!form->close());
            QCOMPARE(answers.Texts,
                     QStringList(
                         {QStringLiteral("Zawartość krzyżówki K_0231.krz zmieniła się.\nCzy chcesz zapisać zmiany?")}));
            // Over the main window.
            QVERIFY(std::abs(answers.Places.first().center().x() - form->frameGeometry().center().x()) <= 4);
            QVERIFY(std::abs(answers.Places.first().center().y() - form->frameGeometry().center().y()) <= 4);
        }
        {
            TBoxAnswers answers({"Yes"});
            QVERIFY(form->close());
        }
        TCrossTXT saved;
        saved.LoadFromFile(CrossPath().toStdString());
        QCOMPARE(saved.GetCell(1, 1), 'A');

        auto second = Start();
        GoTo(*second, 1, 1);
        QTest::keyClicks(Grid(*second, "CrossVC"), QStringLiteral("b"));
        TBoxAnswers answers({"No"});
        QVERIFY(second->close());
        saved.LoadFromFile(CrossPath().toStdString());
        QCOMPARE(saved.GetCell(1, 1), 'A');
    }

    void whileMinimizedTheSaveQuestionIsCentredOnTheScreen()
    {
        FreshProgram();
        auto form = Start();
        form->move(0, 0);
        GoTo(*form, 1, 1);
        QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("a"));
        form->showMinimized();
        QTRY_VERIFY(form->MinimizedByUser());
        TBoxAnswers answers({"Cancel"});
        QVERIFY(!form->close());
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const QRect box = answers.Places.value(0);
        QVERIFY(std::abs(box.center().x() - screen.width() / 2) <= 4);
        QVERIFY(std::abs(box.center().y() - screen.height() / 2) <= 4);
        form->showNormal();
        QTRY_VERIFY(!form->MinimizedByUser());
    }

    void closingWithBothDocumentsChangedAsksForTheCrosswordFirst()
    {
        FreshProgram();
        auto form = Start();
        GoTo(*form, 1, 1);
        QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("a"));
        In(Grid(*form, "PatternVC")).SetCell(1, 1, '*');
        {
            TBoxAnswers answers({"Cancel"});
            QVERIFY(!form->close());
            QCOMPARE(answers.Texts.size(), 1);
        }
        TBoxAnswers answers({"No", "No"});
        QVERIFY(form->close());
        QCOMPARE(answers.Texts.size(), 2);
        QVERIFY(answers.Texts[0].startsWith(QStringLiteral("Zawartość krzyżówki")));
        QVERIFY(answers.Texts[1].startsWith(QStringLiteral("Zawartość szablonu Normal.sz zmieniła się.")));
    }

    // Dropped files ---------------------------------------------------------------

    void droppedFilesOpenByTheirKind()
    {
        FreshProgram();
        auto form = Start();
        TCrossTXT other = MakeCrossWord();
        other.SetCell(6, 6, '*');
        const QString otherName = dir + QStringLiteral("INNA.KRZ");
        other.SaveToFile(otherName.toStdString());
        Drop(*form, {otherName, CrossPath()});
        QCOMPARE(form->windowTitle(), QStringLiteral("INNA.KRZ - Mirakolnik Zodevidar"));
        QCOMPARE(In(Grid(*form, "CrossVC")).GetCell(6, 6), '*');

        {
            TBoxAnswers answers({"OK"});
            Drop(*form, {dir + QStringLiteral("notatki.doc")});
            QCOMPARE(answers.Texts,
                     QStringList(
                         {dir + QStringLiteral("notatki.doc - nie jest obsługiwany przez Mirakolnika Zodevidar.")}));
            QCOMPARE(form->windowTitle(), QStringLiteral("INNA.KRZ - Mirakolnik Zodevidar"));
        }

        TCrossTXT pattern = MakeCrossWord(false);
        pattern.Kind = 1;
        pattern.SetColCount(7);
        for (int r = 1; r <= 6; ++r)
            pattern.SetCell(7, r, '*');
        const QString patternName = dir + QStringLiteral("Szablony/Szeroki.sz");
        pattern.SaveToFile(patternName.toStdString());
        Drop(*form, {patternName});
        QVERIFY(form->EditorMode());
        QVERIFY(Grid(*form, "PatternVC")->isVisible() && !Grid(*form, "CrossVC")->isVisible());
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 7);
        QCOMPARE(form->windowTitle(), QStringLiteral("Szeroki.sz - Mirakolnik Zodevidar"));
        QCOMPARE(settings.PatternFileName, patternName);
        QCOMPARE(Label(*form, "Lab_X")->text(), QStringLiteral("7"));
        QCOMPARE(Button(*form, "SBttn_Save")->toolTip(), QStringLiteral("Zapisz szablon"));
        QCOMPARE(Client(*form)->height(), Grid(*form, "PatternVC")->ImageHeight() + 26);

        // A crossword dropped in the editor leaves it.
        Drop(*form, {CrossPath()});
        QVERIFY(!form->EditorMode());
        QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "PatternVC")->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("K_0231.krz - Mirakolnik Zodevidar"));
        QCOMPARE(Client(*form)->height(), Grid(*form, "CrossVC")->ImageHeight() + 48);
    }

    void anXwdCrosswordIsSavedAsACrosswordFileBesideIt()
    {
        FreshProgram();
        auto form = Start();
        // An open 5 x 5 XWD grid: size byte, then ten clue slots of 61 bytes from offset 3176.
        std::string bytes(3176 + 61 * 10, '\0');
        bytes[0] = 5;
        bytes[1] = 'x';
        for (int n = 0; n < 10; ++n) {
            const std::string clue = "Hasło " + std::to_string(n + 1);
            bytes[3176 + 61 * n] = static_cast<char>(clue.size());
            bytes.replace(3176 + 61 * n + 1, clue.size(), clue);
        }
        const QString name = dir + QStringLiteral("zagadka.xwd");
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.close();

        Drop(*form, {name});
        QCOMPARE(form->windowTitle(), QStringLiteral("zagadka.xwd - Mirakolnik Zodevidar"));
        QCOMPARE(Grid(*form, "CrossVC")->ColCount(), 5);
        QCOMPARE(Client(*form)->width(), Grid(*form, "CrossVC")->ImageWidth());
        Action(*form, "CrossWord_Save")->trigger();
        QVERIFY(!QFile::exists(dir + QStringLiteral("zagadka.krz")));
        GoTo(*form, 1, 1);
        QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("x"));
        Action(*form, "CrossWord_Save")->trigger();
        QVERIFY(QFile::exists(dir + QStringLiteral("zagadka.krz")));
        QCOMPARE(QFileInfo(name).size(), qint64(bytes.size()));
        QCOMPARE(form->windowTitle(), QStringLiteral("zagadka.krz - Mirakolnik Zodevidar"));
    }

    // Window layout -------------------------------------------------------------------

    void theWindowFitsTheGrid()
    {
        FreshProgram();
        auto form = Start();
        QCOMPARE(Client(*form)->width(), Grid(*form, "CrossVC")->ImageWidth());
        QCOMPARE(Client(*form)->height(), Grid(*form, "CrossVC")->ImageHeight() + 48);
        QCOMPARE(Grid(*form, "CrossVC")->pos(), QPoint(0, 0));
        QCOMPARE(OnClient(*form, Label(*form, "Expl_Label")).y(), Grid(*form, "CrossVC")->height() + 8);
        QCOMPARE(Label(*form, "Image2")->y(), Client(*form)->height() - 68);
        QCOMPARE(form->minimumSize(), form->maximumSize());
    }

    // The 6-column crossword's window is narrower than its eight buttons: the
    // ones that do not fit wait under the toolbar's extension and still work.
    void theButtonsANarrowWindowCannotShowWaitUnderTheExtension()
    {
        FreshProgram();
        WriteHelpPage();
        auto form = Start();
        // The clue list beside the grid would widen the window.
        Action(*form, "ClueListShown")->trigger();
        auto* toolbar = form->findChild<QToolBar*>(QStringLiteral("Toolbar"));
        QVERIFY(toolbar && toolbar->isVisible());
        QVERIFY(toolbar->width() >= Client(*form)->width());
        auto* extension = toolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
        QVERIFY(extension && extension->isVisible());
        QVERIFY(Button(*form, "SBttn_New")->isVisible() && Button(*form, "SBttn_Open")->isVisible());
        QVERIFY(!Button(*form, "SBttn_Help")->isVisible());
        extension->click();
        QTRY_VERIFY(Button(*form, "SBttn_Help")->isVisible());
        QCOMPARE(Button(*form, "SBttn_Help")->toolTip(), QStringLiteral("Pomoc"));
        Button(*form, "SBttn_Help")->click();
        QVERIFY(form->findChild<THelpForm*>() && form->findChild<THelpForm*>()->isVisible());
    }

    void eachGridKeepsItsOwnWritingDirection()
    {
        FreshProgram();
        auto form = Start();
        Action(*form, "WriteVert")->trigger();
        Action(*form, "Editor")->trigger();
        QCOMPARE(Grid(*form, "PatternVC")->WriteDir(), TDirection::Across);
        QVERIFY(Action(*form, "WriteVert")->isChecked());
        QVERIFY(!Menu(*form, "CrossWord")->menuAction()->isVisible()
                && Menu(*form, "Pattern")->menuAction()->isVisible());
        Action(*form, "Pattern_Close")->trigger();
        QCOMPARE(Grid(*form, "CrossVC")->WriteDir(), TDirection::Down);
        QCOMPARE(form->windowTitle(), QStringLiteral("K_0231.krz - Mirakolnik Zodevidar"));
    }

    // The help answers in the program's own window; only the web page goes to the desktop.
    void theHelpOpensInItsOwnWindowAndTheWebPageAsksTheDesktop()
    {
        FreshProgram();
        const QString page = WriteHelpPage();
        auto form = Start();
        Opened.clear();
        Action(*form, "HelpList")->trigger();
        auto* help = form->findChild<THelpForm*>();
        QVERIFY(help && help->isVisible());
        // At the section about solving, the main window's.
        QUrl expected = QUrl::fromLocalFile(page);
        expected.setFragment(QStringLiteral("rozwiazywanie"));
        QCOMPARE(help->Browser()->source(), expected);
        Action(*form, "MirakolnikKrzywekwInternecie1")->trigger();
        QCOMPARE(Opened, QList<QUrl>({QUrl(QStringLiteral("http://") + ProductHost())}));
    }

    void everyCommandCanBeChosenAtStart()
    {
        FreshProgram();
        auto form = Start();
        for (QAction* a :
             {Action(*form, "CrossWord_New"), Action(*form, "CrossWord_Series"), Action(*form, "CrossWord_Print"),
              Action(*form, "DB_Edytor"), Action(*form, "Konfiguracja1"), Action(*form, "Pattern_Clear"),
              Action(*form, "Pattern_Open"), Action(*form, "Pattern_Save"), Action(*form, "Pattern_SaveAs")})
            QVERIFY(a->isEnabled());
        QVERIFY(Button(*form, "SBttn_New")->isEnabled() && Button(*form, "SBttn_Print")->isEnabled());
        QCOMPARE(Action(*form, "CrossWord_New")->text(), QStringLiteral("&Nowa"));
        QCOMPARE(Action(*form, "CrossWord_ExportAsText")->text(), QStringLiteral("Eksportuj jako &tekst..."));
        QVERIFY(Action(*form, "CrossWord_Open")->isEnabled() && Action(*form, "CrossWord_Save")->isEnabled());
        QVERIFY(Button(*form, "SBttn_Stop")->isHidden() && !form->findChild<QToolButton*>(QStringLiteral("SBttn_Close")));
    }
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
