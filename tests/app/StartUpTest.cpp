#include "app/Application.h"
#include "app/MessageForm.h"
#include "app/ProgramIcon.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace mz;

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(SetUpApplication(*qApp), "Qt's Polish translations were not found"); }

    // Qt's own dialogs and buttons speak Polish.
    void qtOwnDialogsArePolish()
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("x"),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Save)->text(), QStringLiteral("Zachowaj"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Anuluj"));

        QFileDialog dialog(nullptr, QStringLiteral("t"), QDir::tempPath());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text(), QStringLiteral("Nazwa &pliku:"));
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
    }

    void messageBoxesAreTitledWithTheProgramsName()
    {
        TMessageForm box(QStringLiteral("x"), mtError, mbOK);
        QCOMPARE(box.windowTitle(), QStringLiteral("Mirakolnik Zodevidar"));
    }

    void translationsMissingFromADirectoryAreReported()
    {
        QCOMPARE(InstallQtTranslations(*qApp, QDir::tempPath() + QStringLiteral("/no-such-dir")), false);
    }

    // The icon: transparent corners around a blue tile with a crossword corner;
    // the small sizes leave the letters out.
    void theIconShowsACrosswordCornerOnABlueTile()
    {
        const QImage big = PaintProgramIcon(256);
        QCOMPARE(big.size(), QSize(256, 256));
        QCOMPARE(qAlpha(big.pixel(0, 0)), 0);
        const QColor tile = big.pixelColor(128, 20);
        QVERIFY(tile.blue() > tile.red() + 40);
        const QColor block = big.pixelColor(128, 128); // the middle cell is a block
        QVERIFY(block.lightness() < 40);
        auto redPixels = [](const QImage& image) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    n += c.red() > 120 && c.green() < 90 && c.blue() < 90;
                }
            return n;
        };
        QVERIFY(redPixels(big) > 200);
        QCOMPARE(redPixels(PaintProgramIcon(16)), 0);
        QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(48, 48)));
    }

    void theFileToOpenComesFromTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QString cwd = QDir::currentPath();
        QTest::newRow("none") << QStringList{"mirakolnik"} << QString();
        QTest::newRow("absolute") << QStringList{"mirakolnik", "/tmp/Moja.krz"} << QStringLiteral("/tmp/Moja.krz");
        QTest::newRow("relative") << QStringList{"mirakolnik", "Szablony/Mały.sz"} << cwd + QStringLiteral("/Szablony/Mały.sz");
        QTest::newRow("cleaned") << QStringList{"mirakolnik", "/tmp/a/../b.xwd"} << QStringLiteral("/tmp/b.xwd");
        QTest::newRow("file URL") << QStringList{"mirakolnik", "file:///tmp/Krzy%C5%BC%C3%B3wka%201.krz"}
                                  << QStringLiteral("/tmp/Krzyżówka 1.krz");
        QTest::newRow("options skipped") << QStringList{"mirakolnik", "--foo", "/tmp/x.krz", "/tmp/y.krz"}
                                         << QStringLiteral("/tmp/x.krz");
    }

    void theFileToOpenComesFromTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QCOMPARE(FileNameFromArguments(arguments), expected);
    }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
