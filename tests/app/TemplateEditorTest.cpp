// The template editor in the real window: entering and leaving it, the resize
// grip, clear, open, save, save as and the question about a changed template.

#include "WindowBench.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>

using namespace mz;
using namespace mz::test;

namespace {

// A move of the grip with the left button held, the pointer at a point of the client area.
void DragTo(TMainForm& form, QPoint clientPoint, Qt::MouseButtons buttons = Qt::LeftButton)
{
    const QPoint half(Label(form, "ResizeImage")->width() / 2, Label(form, "ResizeImage")->height() / 2);
    const QPoint local = Label(form, "ResizeImage")->mapFrom(Client(form), clientPoint) - half;
    QMouseEvent move(QEvent::MouseMove, local, Label(form, "ResizeImage")->mapToGlobal(local), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(Label(form, "ResizeImage"), &move);
}

// Drags the grip to where the client area of a template of cols x rows ends.
void DragToSize(TMainForm& form, int cols, int rows)
{
    DragTo(form,
           QPoint(cols * Grid(form, "PatternVC")->CellImageWidth(),
                  26 + rows * Grid(form, "PatternVC")->CellImageHeight()));
}

// A template whose last two columns are told apart: blocks, then letters.
TCrossTXT MarkedTemplate(int cols, int rows)
{
    TCrossTXT doc = TWindowBench::Blank(cols, rows);
    doc.Kind = 1;
    for (int r = 1; r <= rows; ++r) {
        doc.SetCell(cols - 1, r, '*');
        doc.SetCell(cols, r, 'A');
    }
    return doc;
}

QString Column(TCrossSurface& grid, int col)
{
    QString cells;
    for (int r = 1; r <= grid.RowCount(); ++r)
        cells += QLatin1Char(In(grid).GetCell(col, r));
    return cells;
}

} // namespace

class TemplateEditorTest : public QObject {
    Q_OBJECT

private slots:
    void enteringShowsTheTemplateWithItsSizeBoxAndLeavingPutsTheCrosswordBack()
    {
        TWindowBench bench;
        auto form = bench.Start();
        const QImage panel = Label(*form, "Image2")->pixmap().toImage();
        Action(*form, "Editor")->trigger();
        QVERIFY(form->EditorMode());
        QVERIFY(Grid(*form, "PatternVC")->isVisible() && !Grid(*form, "CrossVC")->isVisible());
        QVERIFY(Label(*form, "ResizeImage")->isVisible() && Label(*form, "Lab_X")->isVisible()
                && Label(*form, "Lab_Y")->isVisible());
        QCOMPARE(Label(*form, "Lab_X")->text(), QStringLiteral("8"));
        QCOMPARE(Label(*form, "Lab_Y")->text(), QStringLiteral("6"));
        QCOMPARE(Button(*form, "SBttn_New")->toolTip(), QStringLiteral("Czyść szablon"));
        QCOMPARE(Button(*form, "SBttn_Print")->toolTip(), QStringLiteral("Drukuj szablon"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Normal.sz - Mirakolnik Zodevidar"));
        QCOMPARE(OnClient(*form, Label(*form, "ResizeImage")).bottomRight(),
                 QPoint(Client(*form)->width() - 1, Client(*form)->height() - 1));
        QVERIFY(Label(*form, "Image2")->pixmap().toImage() != panel);

        Button(*form, "SBttn_Close")->click();
        QVERIFY(!form->EditorMode());
        QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "PatternVC")->isVisible()
                && !Label(*form, "ResizeImage")->isVisible());
        QCOMPARE(Button(*form, "SBttn_New")->toolTip(), QStringLiteral("Nowa krzyżówka"));
        QCOMPARE(Button(*form, "SBttn_Print")->toolTip(), QStringLiteral("Drukuj krzyżówkę"));
        QCOMPARE(Label(*form, "Image2")->pixmap().toImage(), panel);
    }

    void theGripResizesCellByCellAndCutOffCellsComeBack()
    {
        TWindowBench bench;
        MarkedTemplate(12, 8).SaveToFile(bench.PatternPath().toStdString());
        auto form = bench.Start();
        Action(*form, "Editor")->trigger();
        const int w = Grid(*form, "PatternVC")->CellImageWidth();
        const int h = Grid(*form, "PatternVC")->CellImageHeight();
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 12);

        DragToSize(*form, 10, 8);
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 10);
        QCOMPARE(Grid(*form, "PatternVC")->RowCount(), 8);
        QCOMPARE(Client(*form)->size(), QSize(10 * w, 8 * h + 26));
        QCOMPARE(Label(*form, "Lab_X")->text(), QStringLiteral("10"));
        QCOMPARE(Label(*form, "Image2")->y(), Client(*form)->height() - Label(*form, "Image2")->height());
        QCOMPARE(OnClient(*form, Label(*form, "ResizeImage")).x(), Client(*form)->width() - Label(*form, "ResizeImage")->width());

        Button(*form, "SBttn_New")->click();
        DragToSize(*form, 12, 8);
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 12);
        for (int c = 1; c <= 10; ++c)
            QCOMPARE(Column(*Grid(*form, "PatternVC"), c), QStringLiteral("        "));
        QCOMPARE(Column(*Grid(*form, "PatternVC"), 11), QStringLiteral("********"));
        QCOMPARE(Column(*Grid(*form, "PatternVC"), 12), QStringLiteral("AAAAAAAA"));

        // A move within the same cell changes nothing; one without the left button is no drag.
        DragTo(*form, QPoint(12 * w + w / 3, 26 + 8 * h + h / 3));
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 12);
        DragTo(*form, QPoint(6 * w, 26 + 5 * h), Qt::NoButton);
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 12);

        DragTo(*form, QPoint(-500, -500));
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 4);
        QCOMPARE(Grid(*form, "PatternVC")->RowCount(), 3);
        QCOMPARE(Label(*form, "Lab_Y")->text(), QStringLiteral("3"));
    }

    void aSmallerTemplateOpenedOverALargerOneShowsItsCellsWhenGrownBack()
    {
        TWindowBench bench;
        MarkedTemplate(12, 10).SaveToFile(bench.PatternPath().toStdString());
        const QString small = bench.Dir + QStringLiteral("Szablony/Mały.sz");
        TCrossTXT six = TWindowBench::Blank(6, 5);
        six.Kind = 1;
        six.SaveToFile(small.toStdString());
        auto form = bench.Start();
        Action(*form, "Editor")->trigger();
        TFileDialogRequest asked;
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            asked = request;
            return small;
        });
        Button(*form, "SBttn_Open")->click();
        QCOMPARE(asked.Title, QStringLiteral("Otwórz szablon krzyżówki..."));
        QCOMPARE(asked.Filter, QStringLiteral("Pliki szablonu krzyżówek|*.sz|Wszystkie pliki|*.*"));
        QCOMPARE(asked.FileName, QStringLiteral("*.sz"));
        QCOMPARE(asked.DefaultExt, QStringLiteral("sz"));
        QCOMPARE(asked.Directory, bench.Dir + QStringLiteral("Szablony/"));
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 6);
        QCOMPARE(Label(*form, "Lab_X")->text(), QStringLiteral("6"));
        QCOMPARE(Client(*form)->width(), 6 * Grid(*form, "PatternVC")->CellImageWidth());
        QCOMPARE(form->windowTitle(), QStringLiteral("Mały.sz - Mirakolnik Zodevidar"));
        QCOMPARE(bench.Settings.PatternFileName, small);

        DragToSize(*form, 12, 10);
        QCOMPARE(Column(*Grid(*form, "PatternVC"), 11), QStringLiteral("**********"));
        QCOMPARE(Column(*Grid(*form, "PatternVC"), 12), QStringLiteral("AAAAAAAAAA"));
    }

    void openingAnotherTemplateAsksAboutTheChangedOne()
    {
        TWindowBench bench;
        const QString other = bench.Dir + QStringLiteral("Szablony/Inny.sz");
        MarkedTemplate(7, 7).SaveToFile(other.toStdString());
        auto form = bench.Start();
        Action(*form, "Editor")->trigger();
        In(Grid(*form, "PatternVC")).SetCell(1, 1, '*');
        form->SetFileDialogHook([&](TFileDialogRequest&) { return other; });
        {
            TMessageLog boxes([](const QString&) { return QStringLiteral("Cancel"); });
            Action(*form, "Pattern_Open")->trigger();
            QCOMPARE(boxes.Texts,
                     QStringList(
                         {QStringLiteral("Zawartość szablonu Normal.sz zmieniła się.\nCzy chcesz zapisać zmiany?")}));
        }
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 8);
        QCOMPARE(In(Grid(*form, "PatternVC")).GetCell(1, 1), '*');
        {
            TMessageLog boxes([](const QString&) { return QStringLiteral("No"); });
            Action(*form, "Pattern_Open")->trigger();
            QCOMPARE(boxes.Texts.size(), 1);
        }
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 7);
        TCrossTXT normal;
        normal.LoadFromFile(bench.PatternPath().toStdString());
        QCOMPARE(normal.GetCell(1, 1), ' ');
    }

    void saveWritesOnlyAChangeAndSaveAsAlwaysWrites()
    {
        TWindowBench bench;
        auto form = bench.Start();
        Action(*form, "Editor")->trigger();
        QFile::remove(bench.PatternPath());
        Button(*form, "SBttn_Save")->click();
        QVERIFY(!QFile::exists(bench.PatternPath()));

        In(Grid(*form, "PatternVC")).SetCell(2, 2, '*');
        Action(*form, "Pattern_Save")->trigger();
        TCrossTXT saved;
        saved.LoadFromFile(bench.PatternPath().toStdString());
        QCOMPARE(saved.GetCell(2, 2), '*');

        const QString copy = bench.Dir + QStringLiteral("Kopia.sz");
        TFileDialogRequest asked;
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            asked = request;
            return copy;
        });
        Action(*form, "Pattern_SaveAs")->trigger();
        QCOMPARE(asked.Title, QStringLiteral("Zapisz szablon krzyżówki jako..."));
        QCOMPARE(asked.FileName, QStringLiteral("Normal.sz"));
        QVERIFY(asked.Save);
        QVERIFY(QFile::exists(copy));
        QCOMPARE(QString::fromStdString(Template(*form).FileName), copy);
        QCOMPARE(form->windowTitle(), QStringLiteral("Kopia.sz - Mirakolnik Zodevidar"));

        form->SetFileDialogHook([](TFileDialogRequest&) { return QString(); });
        QFile::remove(copy);
        Action(*form, "Pattern_SaveAs")->trigger();
        QVERIFY(!QFile::exists(copy));
    }

    void closingTheEditorWithChangesAsksAndAnulujKeepsItOpen()
    {
        TWindowBench bench;
        auto form = bench.Start();
        Action(*form, "Editor")->trigger();
        In(Grid(*form, "PatternVC")).SetCell(3, 3, '*');
        QCOMPARE(form->windowTitle(), QStringLiteral("Normal.sz* - Mirakolnik Zodevidar"));
        QStringList answers{QStringLiteral("Cancel"), QStringLiteral("Yes")};
        TMessageLog boxes([&](const QString&) { return answers.takeFirst(); });
        Action(*form, "Pattern_Close")->trigger();
        QTRY_COMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts[0].startsWith(QStringLiteral("Zawartość szablonu Normal.sz")));
        QVERIFY(form->EditorMode());
        Action(*form, "Pattern_Close")->trigger();
        QTRY_COMPARE(boxes.Texts.size(), 2);
        QVERIFY(!form->EditorMode());
        TCrossTXT saved;
        saved.LoadFromFile(bench.PatternPath().toStdString());
        QCOMPARE(saved.GetCell(3, 3), '*');
        QVERIFY(form->close());
        QCOMPARE(boxes.Texts.size(), 2);
    }

    void theNextCrosswordIsComposedFromTheEditedTemplate()
    {
        TWindowBench bench;
        auto form = bench.Start();
        Action(*form, "Editor")->trigger();
        DragToSize(*form, 6, 5);
        In(Grid(*form, "PatternVC")).SetCell(6, 5, '*');
        // Closing asks to save the template; "Nie" keeps the changes for composing.
        TMessageLog boxes([](const QString&) { return QStringLiteral("No"); });
        Action(*form, "Pattern_Close")->trigger();
        QTRY_VERIFY(!form->EditorMode());
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        TCrossTXT composed;
        composed.LoadFromFile((bench.NewCrossDir() + QStringLiteral("K_0000.krz")).toStdString());
        QCOMPARE(composed.ColCount(), 6);
        QCOMPARE(composed.RowCount(), 5);
        QCOMPARE(composed.GetCell(6, 5), '*');
    }
};

QTEST_MAIN(TemplateEditorTest)
#include "TemplateEditorTest.moc"
