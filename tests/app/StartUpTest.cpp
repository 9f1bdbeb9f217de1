#include "app/Application.h"
#include "app/MessageBox.h"

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
        QCOMPARE(ApplicationTitle(), QStringLiteral("Mirakolnik Zodevidar"));
    }

    void translationsMissingFromADirectoryAreReported()
    {
        QCOMPARE(InstallQtTranslations(*qApp, QDir::tempPath() + QStringLiteral("/no-such-dir")), false);
    }

    void theFileToOpenComesFromTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QString cwd = QDir::currentPath();
        QTest::newRow("none") << QStringList{"mirakolnik"} << QString();
        QTest::newRow("absolute") << QStringList{"mirakolnik", "/tmp/Moja.krz"} << QStringLiteral("/tmp/Moja.krz");
        QTest::newRow("relative") << QStringList{"mirakolnik", "Szablony/Mały.sz"}
                                  << cwd + QStringLiteral("/Szablony/Mały.sz");
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
