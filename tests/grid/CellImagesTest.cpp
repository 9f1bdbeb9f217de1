// The installed cell pictures "tekst.bmp", as the build draws them.

#include "GridTestSupport.h"

#include "core/Cp1250.h"

#include <QApplication>
#include <QFile>

#include <set>

using namespace mz;
using namespace mz::test;

namespace {

const QString TekstBmp = QStringLiteral(MZ_APP_DIR "/tekst.bmp");

// The characters in glyph order, with the four unused places left out.
std::vector<char> DrawnCharacters()
{
    std::vector<char> chars;
    for (char c = 'A'; c <= 'Z'; ++c)
        chars.push_back(c);
    for (char c = '0'; c <= '9'; ++c)
        chars.push_back(c);
    for (unsigned char c : PolishCapitals)
        chars.push_back(static_cast<char>(c));
    chars.push_back('?');
    return chars;
}

QImage CellPicture(TCrossSurface& grid, const QImage& strip, char ch)
{
    const int index = TCrossSurfaceTestAccess::GlyphIndex(ch);
    const int w = grid.CellImageWidth();
    const int h = grid.CellImageHeight();
    return strip.copy((index % 26) * w, (index / 26) * h, w, h);
}

double MeanGrey(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

int DarkPixels(const QImage& image)
{
    int count = 0;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            count += qGray(image.pixel(x, y)) < 100;
    return count;
}

} // namespace

class CellImagesTest : public QObject {
    Q_OBJECT

private slots:
    void fileIsA24BitBitmapOf26By2SquareCells()
    {
        QFile file(TekstBmp);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(TekstBmp));
        const QByteArray head = file.read(30);
        QCOMPARE(head.left(2), QByteArray("BM"));
        QCOMPARE(static_cast<unsigned char>(head[28]), 24); // bits per pixel

        TTestGrid grid;
        grid.SetFileName(TekstBmp);
        QCOMPARE(In(grid).CellImages().width() % 26, 0);
        QCOMPARE(In(grid).CellImages().height() % 2, 0);
        QVERIFY(grid.CellImageWidth() >= 24 && grid.CellImageWidth() <= 32);
        QCOMPARE(grid.CellImageHeight(), grid.CellImageWidth());
    }

    void everyCharacterHasAPictureOfItsOwnWithInk()
    {
        TTestGrid grid;
        grid.SetFileName(TekstBmp);
        std::set<QByteArray> seen;
        for (char ch : DrawnCharacters()) {
            const QImage picture = CellPicture(grid, In(grid).CellImages(), ch);
            QVERIFY2(DarkPixels(picture) >= 15, qPrintable(QString::number(static_cast<unsigned char>(ch))));
            const QByteArray bytes(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
            QVERIFY2(seen.insert(bytes).second, qPrintable(QString::number(static_cast<unsigned char>(ch))));
        }
        // The open cell is empty and light, the blocked cell dark.
        QCOMPARE(DarkPixels(CellPicture(grid, In(grid).CellImages(), ' ')), 0);
        QVERIFY(MeanGrey(CellPicture(grid, In(grid).CellImages(), ' ')) > 220);
        QVERIFY(MeanGrey(CellPicture(grid, In(grid).CellImages(), '*')) < 70);
    }

    void highlightedCellsAreVisiblyLighter()
    {
        TTestGrid grid;
        grid.SetFileName(TekstBmp);
        for (char ch : {' ', 'K', static_cast<char>(0xAF)}) {
            const double plain = MeanGrey(CellPicture(grid, In(grid).CellImages(), ch));
            const double lit = MeanGrey(CellPicture(grid, In(grid).HighlightImages(), ch));
            QVERIFY2(lit - plain >= 12, qPrintable(QStringLiteral("%1 -> %2").arg(plain).arg(lit)));
        }
    }

    void focusFrameStandsOutOnOpenLetterAndBlockedCells()
    {
        QTemporaryDir dir;
        for (char ch : {' ', 'W', '*'}) {
            TTestGrid grid;
            grid.SetFileName(TekstBmp);
            In(grid).SetCell(2, 2, ch);
            const QImage before = In(grid).GridImage();
            In(grid).ShowFocus(2, 2);
            int changed = 0;
            double difference = 0;
            for (int y = 0; y < before.height(); ++y)
                for (int x = 0; x < before.width(); ++x)
                    if (before.pixel(x, y) != In(grid).GridImage().pixel(x, y)) {
                        ++changed;
                        difference += std::abs(qGray(before.pixel(x, y)) - qGray(In(grid).GridImage().pixel(x, y)));
                    }
            QVERIFY(changed > 0);
            QVERIFY2(difference / changed >= 60, qPrintable(QString::number(difference / changed)));
        }
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CellImagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CellImagesTest.moc"
