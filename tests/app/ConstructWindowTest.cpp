// Building a crossword by hand in the real window: theme words typed into an
// empty template, locked, given clues, one of them added to the user's word
// database, the rest filled by the composer; and a clue of an open crossword
// edited, undone, saved, read again and printed.

#include "WindowBench.h"

#include "app/ClueCommands.h"
#include "app/ConstructPanel.h"
#include "core/Cp1250.h"
#include "dialogs/ClueEditForm.h"
#include "dialogs/CrossPrint.h"
#include "grid/CrossDocument.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

using namespace mz;
using namespace mz::test;

namespace {

void ClickCell(TCrossSurface& grid, int col, int row)
{
    const int w = grid.ImageWidth() / grid.ColCount();
    const int h = grid.ImageHeight() / grid.RowCount();
    QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint((col - 1) * w + w / 2, (row - 1) * h + h / 2));
}

// "ANSWER: clue" of the word starting at a cell, empty when none starts there.
QString WordAt(const TCrossTXT& doc, int col, int row, bool horizontal)
{
    for (const TExplList& item : doc.ExplsInNumberOrder())
        if (item.Expl.Col == col && item.Expl.Row == row && item.Expl.Horizontal == horizontal)
            return QString::fromStdString(Cp1250ToUtf8(item.Expl.Answer + ": " + item.Expl.Explanation));
    return {};
}

// Questions are answered No (the hand-made crossword is not saved over), messages OK.
QString NoOrOk(const QString& text)
{
    qInfo("%s", qPrintable(text));
    return text.contains(QLatin1Char('?')) ? QStringLiteral("No") : QStringLiteral("OK");
}

QPushButton* PanelButton(const QObject& form, const char* name)
{
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

class ConstructWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Two theme words typed and locked in the empty Normal.sz stay, with their
    // own clues, in the crossword the composer fills around them.
    void themeWordsTypedAndLockedStayInTheFilledCrossword()
    {
        TWindowBench bench;
        QFile::remove(bench.PatternPath());
        QVERIFY(QFile::copy(BuiltProgramDir + QStringLiteral("Szablony/Normal.sz"), bench.PatternPath()));
        auto form = bench.Start();
        TMessageLog boxes(NoOrOk);
        TCrossSurface& grid = *Grid(*form, "CrossVC");
        auto* panel = form->findChild<TConstructPanel*>(QStringLiteral("ConstructPanel"));
        panel->SetClueHook([](const QString& word) -> std::optional<QString> {
            if (word == QStringLiteral("MIRAK"))
                return QStringLiteral("nasz znak");
            return word == QStringLiteral("KOTEK") ? QStringLiteral("mały kot") : QStringLiteral("plan terenu");
        });

        Action(*form, "Construct_FromTemplate")->trigger();
        QVERIFY(panel->isVisible());
        QCOMPARE(CrossWord(*form).ColCount(), 15);
        ClickCell(grid, 2, 2);
        QTest::keyClicks(&grid, QStringLiteral("kotek"));
        ClickCell(grid, 4, 2);
        QVERIFY(form->findChild<QLabel*>(QStringLiteral("WordState"))->text().startsWith(QStringLiteral("KOTEK")));
        PanelButton(*form, "Construct_Lock")->click();
        PanelButton(*form, "Construct_Clue")->click();
        QCOMPARE(CrossWord(*form).GetCell(7, 2), '*');

        // The run right of KOTEK: eight cells, every suggestion eight letters long.
        ClickCell(grid, 9, 2);
        auto* suggestions = form->findChild<QListWidget*>(QStringLiteral("Suggestions"));
        QVERIFY(suggestions->count() > 0);
        QCOMPARE(suggestions->item(0)->text().size(), 8);
        QVERIFY(form->findChild<QLabel*>(QStringLiteral("SlotFits"))->text().contains(QStringLiteral("Poziomo: ")));

        Action(*form, "WriteVert")->trigger();
        ClickCell(grid, 10, 4);
        QTest::keyClicks(&grid, QStringLiteral("mapa"));
        ClickCell(grid, 10, 5);
        PanelButton(*form, "Construct_Lock")->click();
        PanelButton(*form, "Construct_Clue")->click();
        QCOMPARE(CrossWord(*form).LockedWords().size(), size_t{2});

        // A word of one's own with a clue goes into the user's word database in
        // one step (while the change file cannot be read nothing is added, the
        // crossword stays as it was); the filled crossword keeps it too.
        Action(*form, "WriteHoriz")->trigger();
        ClickCell(grid, 2, 10);
        QTest::keyClicks(&grid, QStringLiteral("mirak"));
        ClickCell(grid, 3, 10);
        PanelButton(*form, "Construct_Lock")->click();
        PanelButton(*form, "Construct_Clue")->click();
        auto* unknown = form->findChild<QLabel*>(QStringLiteral("UnknownWords"));
        QCOMPARE(unknown->text(), QStringLiteral("Spoza bazy: MIRAK"));
        const QString changeFile = bench.Dir + UserDataBaseName;
        QVERIFY(QDir().mkpath(changeFile));
        PanelButton(*form, "Construct_AddWords")->click();
        QVERIFY(boxes.Texts.last().startsWith(QStringLiteral("Nie dodano haseł do bazy")));
        QCOMPARE(unknown->text(), QStringLiteral("Spoza bazy: MIRAK"));
        QVERIFY(QDir(changeFile).removeRecursively());
        PanelButton(*form, "Construct_AddWords")->click();
        QCOMPARE(boxes.Texts.last(), QStringLiteral("Dodano do Twojej bazy haseł: 1 (MIRAK)."));
        QCOMPARE(unknown->text(), QString());
        QVERIFY(QFileInfo(changeFile).isFile());

        if (const QString dir = qEnvironmentVariable("MZ_PICTURES"); !dir.isEmpty()) {
            // The picture of docs/constructing.md: the window and the construct window beside it.
            ClickCell(grid, 12, 3);
            QTest::qWait(100);
            const QPixmap window = form->grab();
            const QPixmap tools = panel->grab();
            QPixmap both(window.width() + tools.width() + 8, std::max(window.height(), tools.height()));
            both.fill(Qt::white);
            QPainter painter(&both);
            painter.drawPixmap(0, 0, window);
            painter.drawPixmap(window.width() + 8, 0, tools);
            painter.end();
            both.save(dir + QStringLiteral("/construct-mode.png"));
        }
        PanelButton(*form, "Construct_Fill")->click();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(bench.NewFiles(), QStringList{QStringLiteral("K_0000.krz")});
        TCrossTXT saved;
        saved.LoadFromFile((bench.NewCrossDir() + QStringLiteral("K_0000.krz")).toStdString());
        for (const TCrossTXT* doc : {&CrossWord(*form), static_cast<const TCrossTXT*>(&saved)}) {
            QCOMPARE(WordAt(*doc, 2, 2, true), QStringLiteral("KOTEK: mały kot"));
            QCOMPARE(WordAt(*doc, 10, 4, false), QStringLiteral("MAPA: plan terenu"));
            QCOMPARE(WordAt(*doc, 2, 10, true), QStringLiteral("MIRAK: nasz znak"));
            QCOMPARE(doc->LockedWords().size(), size_t{3});
            QVERIFY(doc->ExplCount() > 10);
        }
    }

    // A clue changed in the dialog can be undone and redone, marks the
    // crossword modified, is saved, read again and printed.
    void anEditedClueIsSavedReadAgainAndPrinted()
    {
        TWindowBench bench;
        QFile::remove(bench.CrossPath());
        QVERIFY(QFile::copy(BuiltProgramDir + QStringLiteral("Krzyżówki/K_0231.krz"), bench.CrossPath()));
        QFile::setPermissions(bench.CrossPath(), QFile::ReadOwner | QFile::WriteOwner);
        auto form = bench.Start();
        TMessageLog boxes(NoOrOk);
        const TExpl first = CrossWord(*form).GetExpl(1);
        Action(*form, first.Horizontal ? "WriteHoriz" : "WriteVert")->trigger();
        ClickCell(*Grid(*form, "CrossVC"), first.Col, first.Row);

        int offered = 0;
        form->findChild<TClueCommands*>(QStringLiteral("ClueCommands"))->SetDialogHook([&](TClueEditForm& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("DatabaseClues"));
            offered = list->count();
            list->setCurrentRow(list->count() - 1);
            const QString picked = dialog.Clue();
            if (picked != list->item(list->count() - 1)->text().trimmed())
                return false;
            dialog.findChild<QLineEdit*>(QStringLiteral("ClueText"))->setText(QStringLiteral("Zwierzę domowe"));
            return true;
        });
        Action(*form, "Clue_Edit")->trigger();
        QVERIFY(offered > 0);
        QCOMPARE(CrossWord(*form).GetExpl(1).Explanation, std::string("Zwierz\xEA domowe"));
        QVERIFY(CrossWord(*form).Modified);
        QVERIFY(Label(*form, "Expl_Label")->text().contains(QStringLiteral("Zwierzę domowe")));
        Action(*form, "Clue_Undo")->trigger();
        QCOMPARE(CrossWord(*form).GetExpl(1).Explanation, first.Explanation);
        Action(*form, "Clue_Redo")->trigger();

        Action(*form, "CrossWord_Save")->trigger();
        QVERIFY(!CrossWord(*form).Modified);
        form->OpenFile(bench.CrossPath());
        // Numbers may change with a save; the place does not.
        QCOMPARE(WordAt(CrossWord(*form), first.Col, first.Row, first.Horizontal),
                 QString::fromStdString(Cp1250ToUtf8(first.Answer)) + QStringLiteral(": Zwierzę domowe"));
        QImage page(900, 1270, QImage::Format_RGB32);
        const TCrossPrintLayout print(CrossWord(*form), QStringLiteral("K_0231"), &page, QSizeF(900, 1270));
        QStringList printed;
        for (int p = 0; p < print.PageCount(); ++p)
            printed << print.PageText(p);
        QVERIFY(printed.join(QLatin1Char(' ')).contains(QStringLiteral("Zwierzę domowe")));
    }
};

QTEST_MAIN(ConstructWindowTest)
#include "ConstructWindowTest.moc"
