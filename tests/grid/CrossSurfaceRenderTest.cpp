// Drawing of the grid control, checked on the pixels of its grid image.

#include "GridTestSupport.h"

#include <QApplication>
#include <QFile>

#include <memory>

using namespace mz;
using namespace mz::test;

namespace {

// The pixels of the rectangle that differ between two images of equal size.
std::vector<QPoint> ChangedPixels(const QImage& before, const QImage& after)
{
    std::vector<QPoint> changed;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                changed.push_back({x, y});
    return changed;
}

// A focused grid in a shown, active window, with 20 x 30 position-coded cell pictures.
struct TFocusedGrid {
    QTemporaryDir dir;
    QWidget host;
    TCrossSurface* grid = nullptr;

    TFocusedGrid()
    {
        grid = new TTestGrid(&host);
        In(grid).SetColCount(6);
        In(grid).SetRowCount(4);
        grid->SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        host.resize(200, 200);
        host.show();
        host.activateWindow();
        if (!QTest::qWaitForWindowActive(&host))
            qFatal("the test window did not become active");
        grid->setFocus();
    }
};

} // namespace

class CrossSurfaceRenderTest : public QObject {
    Q_OBJECT

private slots:
    // The mark of a wrong letter keeps off the letter: the middle of the cell,
    // where the bar of Ł and the accent of Ń are, stays as it was; the mark
    // is red along the cell's edge.
    void aWrongLetterIsMarkedAroundItNeverAcrossIt()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        In(grid).SetColCount(4);
        In(grid).SetRowCount(3);
        In(grid).SetCell(2, 2, static_cast<char>(0xA3)); // Ł
        const QImage before = In(grid).GridImage();
        grid.MarkWrong(2, 2);
        const auto changed = ChangedPixels(before, In(grid).GridImage());
        QVERIFY(changed.size() > 40);
        const QRect cell(20, 30, 20, 30);
        const QRect letter = cell.adjusted(6, 6, -6, -6);
        for (const QPoint& p : changed) {
            QVERIFY(cell.contains(p));
            QVERIFY2(!letter.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
            const QRgb mark = In(grid).GridImage().pixel(p);
            QVERIFY(qRed(mark) > 150 && qGreen(mark) < 100 && qBlue(mark) < 100);
        }
    }

    void cellPicturesAreCutFromTheStripByGlyphIndex_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QPoint>("source");
        QTest::newRow("A") << int('A') << QPoint(0, 0);
        QTest::newRow("M") << int('M') << QPoint(240, 0);
        QTest::newRow("Z") << int('Z') << QPoint(500, 0);
        QTest::newRow("0") << int('0') << QPoint(0, 30);
        QTest::newRow("9") << int('9') << QPoint(180, 30);
        QTest::newRow("Ą") << 0xA5 << QPoint(200, 30);
        QTest::newRow("Ć") << 0xC6 << QPoint(220, 30);
        QTest::newRow("Ę") << 0xCA << QPoint(240, 30);
        QTest::newRow("Ł") << 0xA3 << QPoint(260, 30);
        QTest::newRow("Ń") << 0xD1 << QPoint(280, 30);
        QTest::newRow("Ó") << 0xD3 << QPoint(300, 30);
        QTest::newRow("Ś") << 0x8C << QPoint(320, 30);
        QTest::newRow("Ź") << 0x8F << QPoint(340, 30);
        QTest::newRow("Ż") << 0xAF << QPoint(360, 30);
        QTest::newRow("?") << int('?') << QPoint(460, 30);
        QTest::newRow("open cell") << int(' ') << QPoint(480, 30);
        QTest::newRow("blocked cell") << int('*') << QPoint(500, 30);
    }
    void cellPicturesAreCutFromTheStripByGlyphIndex()
    {
        QFETCH(int, code);
        QFETCH(QPoint, source);
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        QCOMPARE(grid.CellImageWidth(), 20);
        QCOMPARE(grid.CellImageHeight(), 30);
        QCOMPARE(In(grid).GridImage().size(), QSize(80, 90));
        QCOMPARE(In(grid).GridImage().format(), QImage::Format_RGB888);

        In(grid).SetCell(3, 2, static_cast<char>(code));
        const QImage& image = In(grid).GridImage();
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 20; ++x)
                QCOMPARE(SourceOf(image.pixel(40 + x, 30 + y)), source + QPoint(x, y));
        // The neighbours still show the open-cell picture.
        QCOMPARE(SourceOf(image.pixel(39, 30)), QPoint(480 + 19, 30));
        QCOMPARE(SourceOf(image.pixel(60, 59)), QPoint(480, 59));
    }

    void drawingACharacterOutsideTheAlphabetFailsAndDrawsNothing()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        const QImage before = In(grid).GridImage();
        QVERIFY_THROWS_EXCEPTION(EInvalidCrossSurfaceOperation, In(grid).DrawCell(1, 1, 'a'));
        QVERIFY_THROWS_EXCEPTION(EInvalidCrossSurfaceOperation, In(grid).DrawCell(1, 1, '#'));
        QCOMPARE(In(grid).GridImage(), before);
    }

    void highlightAddsThirtyToEveryColourByteUpTo255_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("lightened");
        QTest::newRow("0") << 0 << 30;
        QTest::newRow("200") << 200 << 230;
        QTest::newRow("224") << 224 << 254;
        QTest::newRow("225") << 225 << 255;
        QTest::newRow("226") << 226 << 255;
        QTest::newRow("255") << 255 << 255;
    }
    void highlightAddsThirtyToEveryColourByteUpTo255()
    {
        QFETCH(int, value);
        QFETCH(int, lightened);
        QTemporaryDir dir;
        QImage strip(520, 60, QImage::Format_RGB888);
        strip.fill(qRgb(value, 10, 240)); // red, green and blue each take the step on their own
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", strip));
        QCOMPARE(In(grid).HighlightImages().format(), QImage::Format_RGB888);
        QCOMPARE(In(grid).HighlightImages().pixel(519, 59), qRgb(lightened, 40, 255));
        QCOMPARE(In(grid).CellImages().pixel(0, 0), qRgb(value, 10, 240));

        In(grid).SetCell(2, 1, 'K');
        grid.SetCellHighlight(2, 1, true);
        QCOMPARE(In(grid).GridImage().pixel(25, 10), qRgb(lightened, 40, 255));
        QCOMPARE(In(grid).GridImage().pixel(15, 10), qRgb(value, 10, 240));
        grid.ClearHighlights();
        QCOMPARE(In(grid).GridImage().pixel(25, 10), qRgb(value, 10, 240));
    }

    void highlightedCellsAreCutFromTheLightenedStripAtTheSamePlace()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        In(grid).SetCell(4, 3, static_cast<char>(0xAF));
        grid.SetCellHighlight(4, 3, true);
        for (int y = 0; y < 30; y += 7)
            for (int x = 0; x < 20; x += 3)
                QCOMPARE(In(grid).GridImage().pixel(60 + x, 60 + y), In(grid).HighlightImages().pixel(360 + x, 30 + y));
    }

    void picturesOfOtherPixelFormatsAreUsedAs24Bit()
    {
        QTemporaryDir dir;
        QImage strip(520, 60, QImage::Format_Indexed8);
        strip.setColorTable({qRgb(10, 20, 30), qRgb(240, 230, 220)});
        strip.fill(0);
        for (int x = 0; x < 520; ++x)
            strip.setPixel(x, 59, 1);
        const QString path = dir.filePath("indexed.bmp");
        QVERIFY(strip.save(path, "BMP"));
        TTestGrid grid;
        grid.SetFileName(path);
        grid.SetCellHighlight(1, 1, true);
        QCOMPARE(In(grid).GridImage().pixel(5, 5), qRgb(40, 50, 60));
        QCOMPARE(In(grid).GridImage().pixel(25, 29), qRgb(240, 230, 220));
    }

    void focusFrameOfCellThreeTwoIsTheOutlineOfItsPicture()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        const QImage before = In(grid).GridImage();
        In(grid).ShowFocus(3, 2);
        const auto changed = ChangedPixels(before, In(grid).GridImage());
        QVERIFY(!changed.empty());
        bool sides[4] = {};
        for (const QPoint& p : changed) {
            QVERIFY(p.x() >= 40 && p.x() < 60 && p.y() >= 30 && p.y() < 60);
            QVERIFY(p.x() == 40 || p.x() == 59 || p.y() == 30 || p.y() == 59);
            sides[0] |= p.x() == 40;
            sides[1] |= p.x() == 59;
            sides[2] |= p.y() == 30;
            sides[3] |= p.y() == 59;
            // The frame inverts the pixels it covers.
            const QRgb old = before.pixel(p);
            QCOMPARE(In(grid).GridImage().pixel(p), qRgb(255 - qRed(old), 255 - qGreen(old), 255 - qBlue(old)));
        }
        QVERIFY(sides[0] && sides[1] && sides[2] && sides[3]);
        // Dotted: every second pixel of a side.
        QVERIFY(changed.size() > 20 && changed.size() <= 50);
    }

    void focusFrameWithABorderIsShiftedByHalfTheBorder()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        In(grid).SetBorder(4);
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        QCOMPARE(grid.ImageWidth(), 24 * 4);
        QCOMPARE(grid.ImageHeight(), 34 * 3);
        const QImage before = In(grid).GridImage();
        In(grid).ShowFocus(2, 1);
        // The frame of (2, 1) runs from (24 + 2, 0 + 2) to (24 + 24 + 2, 34 + 2), clipped to the image.
        for (const QPoint& p : ChangedPixels(before, In(grid).GridImage())) {
            QVERIFY(p.x() == 26 || p.x() == 49 || p.y() == 2 || p.y() == 35);
            QVERIFY(p.x() >= 26 && p.x() <= 49 && p.y() >= 2 && p.y() <= 35);
        }
    }

    void drawingTheFocusFrameTwiceRemovesIt()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        const QImage before = In(grid).GridImage();
        In(grid).ShowFocus(1, 1);
        const QImage shown = In(grid).GridImage();
        QVERIFY(shown != before);
        QVERIFY(In(grid).FocusDrawn(1, 1));
        In(grid).ShowFocus(1, 1); // already drawn: drawn only once
        QCOMPARE(In(grid).GridImage(), shown);
        In(grid).ShowFocus(4, 3); // moving the cursor does not remove the old frame ...
        QVERIFY(In(grid).FocusDrawn(1, 1));
        QVERIFY(In(grid).FocusDrawn(4, 3));
        In(grid).HideFocus(); // ... hiding removes every frame
        QCOMPARE(In(grid).GridImage(), before);
        QVERIFY(!In(grid).FocusDrawn(1, 1));
        QVERIFY(!In(grid).FocusDrawn(4, 3));
        In(grid).HideFocus();
        QCOMPARE(In(grid).GridImage(), before);
    }

    void frameOfACellCutOffByShrinkingIsForgottenSafely()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        In(grid).SetColCount(8);
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        In(grid).ShowFocus(8, 3);
        In(grid).SetColCount(5);
        In(grid).SetRowCount(3);
        In(grid).HideFocus(); // its frame lies outside the smaller image
        QVERIFY(!In(grid).FocusDrawn(8, 3));
        In(grid).SetColCount(8);
        QCOMPARE(SourceOf(In(grid).GridImage().pixel(140, 60)), QPoint(480, 30)); // an open cell, no frame
    }

    void noFrameIsDrawnWhileTheFocusIsNotVisible()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        grid.SetFocusVisible(false);
        const QImage before = In(grid).GridImage();
        In(grid).ShowFocus(3, 3);
        QCOMPARE(grid.CurrCol(), 3); // the cursor still moves
        QCOMPARE(In(grid).GridImage(), before);
        QVERIFY(!In(grid).FocusDrawn(3, 3));
        QVERIFY(!In(grid).BlinkTimerActive());
    }

    void switchingTheFocusOnDrawsNothingAtOnceAndOffRemovesItAtOnce()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        const QImage clean = In(grid).GridImage();
        grid.SetFocusVisible(false);
        grid.SetFocusVisible(true);
        QVERIFY(In(grid).BlinkTimerActive());
        QCOMPARE(In(grid).GridImage(), clean);
        In(grid).BlinkStep(); // the next tick shows it
        QVERIFY(In(grid).FocusDrawn(2, 2));
        grid.SetFocusVisible(false);
        QVERIFY(!In(grid).BlinkTimerActive());
        QCOMPARE(In(grid).GridImage(), clean);
        In(grid).BlinkStep(); // ticks do nothing while the focus is not visible
        QCOMPARE(In(grid).GridImage(), clean);
    }

    void blinkingShowsAndHidesTheCursorInTurn()
    {
        TFocusedGrid f;
        const QImage clean = In(f.grid).GridImage();
        QVERIFY(In(f.grid).BlinkTimerActive());
        QVERIFY(In(f.grid).BlinkPhase());
        In(f.grid).BlinkStep();
        QVERIFY(In(f.grid).FocusDrawn(2, 2));
        QVERIFY(In(f.grid).GridImage() != clean);
        In(f.grid).BlinkStep();
        QCOMPARE(In(f.grid).GridImage(), clean);
        In(f.grid).BlinkStep();
        QVERIFY(In(f.grid).FocusDrawn(2, 2));
    }

    void redrawingTheCurrentCellKeepsTheCursorWhileItBlinks()
    {
        TFocusedGrid f;
        In(f.grid).BlinkStep();
        In(f.grid).BlinkStep(); // the hidden half
        QVERIFY(!In(f.grid).FocusDrawn(2, 2));
        const QImage clean = In(f.grid).GridImage();
        In(f.grid).SetCell(2, 2, 'K');
        QVERIFY(In(f.grid).FocusDrawn(2, 2));
        // The cell shows K with the frame inverted over it.
        QCOMPARE(SourceOf(In(f.grid).GridImage().pixel(25, 35)), QPoint(205, 5));
        const QRgb corner = In(f.grid).GridImage().pixel(20, 30);
        QCOMPARE(qBlue(corner), 255 - 100);
        QVERIFY(In(f.grid).GridImage() != clean);

        // Other cells are redrawn without one.
        In(f.grid).SetCell(3, 2, 'O');
        QVERIFY(!In(f.grid).FocusDrawn(3, 2));
    }

    void redrawingTheCurrentCellWithoutFocusLeavesNoCursor()
    {
        TFocusedGrid f;
        In(f.grid).BlinkStep();
        QVERIFY(In(f.grid).FocusDrawn(2, 2));
        f.grid->clearFocus(); // losing the focus removes the cursor at once
        QVERIFY(!In(f.grid).BlinkTimerActive());
        QVERIFY(!In(f.grid).FocusDrawn(2, 2));
        In(f.grid).SetCell(2, 2, 'K');
        QVERIFY(!In(f.grid).FocusDrawn(2, 2));
        QCOMPARE(SourceOf(In(f.grid).GridImage().pixel(20, 30)), QPoint(200, 0));
    }

    void gainingTheFocusStartsTheBlinkingWithThePhaseAsItWas()
    {
        TFocusedGrid f;
        In(f.grid).BlinkStep();
        QVERIFY(!In(f.grid).BlinkPhase());
        f.grid->clearFocus();
        QVERIFY(!In(f.grid).FocusDrawn(2, 2));
        f.grid->setFocus();
        QVERIFY(In(f.grid).BlinkTimerActive());
        QVERIFY(!In(f.grid).BlinkPhase());
        In(f.grid).BlinkStep(); // first tick: the hidden half
        QVERIFY(!In(f.grid).FocusDrawn(2, 2));
        In(f.grid).BlinkStep(); // second tick shows it
        QVERIFY(In(f.grid).FocusDrawn(2, 2));
    }

    void disablingAFocusedGridRemovesTheCursorAndStopsTheBlinking()
    {
        TFocusedGrid f;
        In(f.grid).BlinkStep();
        QVERIFY(In(f.grid).FocusDrawn(2, 2));
        f.grid->setEnabled(false);
        QVERIFY(!In(f.grid).FocusDrawn(2, 2));
        QVERIFY(!In(f.grid).BlinkTimerActive());
        f.grid->setEnabled(true);
        QVERIFY(f.grid->isEnabled());
    }

    void enablingOrDisablingAnUnfocusedGridOnlyStoresTheValue()
    {
        QTemporaryDir dir;
        TTestGrid grid;
        grid.SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        const QImage clean = In(grid).GridImage();
        grid.setEnabled(false);
        grid.setEnabled(true);
        QCOMPARE(In(grid).GridImage(), clean);
        QVERIFY(!In(grid).BlinkTimerActive());
    }

    void loadingPicturesSizesOnlyAControlWithoutASize()
    {
        QTemporaryDir dir;
        const QString path = WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60));
        TTestGrid fresh;
        In(fresh).SetColCount(5);
        QCOMPARE(fresh.width(), 0); // no cell size known yet
        fresh.SetFileName(path);
        QCOMPARE(fresh.size(), QSize(100, 90));

        TTestGrid sized;
        sized.resize(333, 222);
        sized.SetFileName(path);
        QCOMPARE(sized.size(), QSize(333, 222));
        QCOMPARE(In(sized).GridImage().size(), QSize(80, 90));

        // Later size changes follow the grid image.
        In(sized).SetColCount(7);
        QCOMPARE(sized.size(), QSize(140, 222));
        In(sized).SetRowCount(5);
        QCOMPARE(sized.size(), QSize(140, 150));
        QCOMPARE(In(sized).GridImage().size(), QSize(140, 150));
        QCOMPARE(SourceOf(In(sized).GridImage().pixel(139, 149)), QPoint(499, 59)); // new cells drawn
    }

    void reloadingPicturesRedrawsEveryCellAndKeepsABlinkingCursor()
    {
        TFocusedGrid f;
        In(f.grid).SetCell(1, 1, 'B');
        In(f.grid).BlinkStep();
        QImage bigger = PositionCodedStrip(780, 80); // 30 x 40 cells
        f.grid->SetFileName(WriteBitmap(f.dir, "bigger.bmp", bigger));
        QCOMPARE(f.grid->CellImageWidth(), 30);
        QCOMPARE(In(f.grid).GridImage().size(), QSize(180, 160));
        QCOMPARE(SourceOf(In(f.grid).GridImage().pixel(5, 5)), QPoint(35, 5));
        QVERIFY(In(f.grid).BlinkTimerActive());
        QVERIFY(In(f.grid).FocusDrawn(2, 2));
    }

    void unreadablePictureFileFailsAndLeavesTheControlAsItWas_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("this is no bitmap at all");
        QTest::newRow("truncated bitmap") << QByteArray("BM\x36\x00\x00\x00\x00\x00", 8);
    }
    void unreadablePictureFileFailsAndLeavesTheControlAsItWas()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        TTestGrid grid;
        const QString good = WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60));
        grid.SetFileName(good);
        const QImage before = In(grid).GridImage();
        const QString bad = dir.filePath("bad.bmp");
        if (!content.isEmpty()) {
            QFile file(bad);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QVERIFY_THROWS_EXCEPTION(EInvalidCrossSurfaceOperation, grid.SetFileName(bad));
        QCOMPARE(grid.CellImageWidth(), 20);
        QCOMPARE(In(grid).GridImage(), before);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CrossSurfaceRenderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CrossSurfaceRenderTest.moc"
