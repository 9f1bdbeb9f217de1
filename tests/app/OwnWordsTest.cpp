// "Krzyżówka z własnych haseł..." in the real window: a list imported from a
// file, mended, laid out freely and as a "krzyżówka z hasłem", a word picked
// in the word database editor, and the result opened as the current crossword.

#include "../dialogs/DialogTestUtil.h"
#include "WindowBench.h"

#include "core/Cp1250.h"
#include "dialogs/OwnWordsForm.h"
#include "documents/CrossSolution.h"
#include "grid/CrossDocument.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace mz;
using namespace mz::test;

class OwnWordsTest : public QObject {
    Q_OBJECT

private slots:
    void aWordListBecomesTheCurrentCrosswordFreelyOrWithAKeyword()
    {
        TWindowBench bench;
        auto form = bench.Start();
        auto* command = form->findChild<QAction*>(QStringLiteral("CrossWord_OwnWords"));
        QVERIFY(command);
        QVERIFY(form->findChild<QMenu*>(QStringLiteral("CrossWord"))->actions().contains(command));

        const QString listFile = bench.Dir + QStringLiteral("lekcja.txt");
        QFile file(listFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("las\tdrzewa\nkoń morski\tryba\nsowa\tptak nocny\n");
        file.close();
        const QString goodList = QStringLiteral("las\tdużo drzew\nsowa\tptak nocny\nosa\towad\nkos\tczarny ptak\n"
                                                "laska\tpomaga chodzić\nwoda\tpłynie w rzece\nsok\tz owoców\n"
                                                "kawa\tnapój\nSOWA\tpowtórzona\n");

        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<TOwnWordsForm*>(modal);
            QVERIFY(dialog);
            auto* report = Child<QLabel>(*dialog, "ResultText");
            auto* ok = Child<QPushButton>(*dialog, "OkButton");
            QVERIFY(!ok->isEnabled());

            // A line with a space is refused by its number; nothing is laid out.
            dialog->ChooseFile = [&](QWidget*) { return listFile; };
            QTest::mouseClick(Child<QPushButton>(*dialog, "ImportWords"), Qt::LeftButton);
            QVERIFY2(report->text().contains(QStringLiteral("Wiersz 2")), qPrintable(report->text()));
            QVERIFY(!ok->isEnabled());

            // The mended list is laid out once typing pauses; the repeat is merged.
            Child<QPlainTextEdit>(*dialog, "WordsEdit")->setPlainText(goodList);
            QTRY_VERIFY(ok->isEnabled());
            QVERIFY2(report->text().startsWith(QStringLiteral("Ułożono 8 z 8 słów")), qPrintable(report->text()));
            QVERIFY(report->text().contains(QStringLiteral("połączono (1)")));
            QCOMPARE(dialog->Result().ExplCount(), 8);
            QTest::mouseClick(Child<QPushButton>(*dialog, "Recompose"), Qt::LeftButton);
            QCOMPARE(dialog->Result().ExplCount(), 8);

            // The keyword: one word a row, its column the "rozwiązanie".
            QTest::mouseClick(Child<QRadioButton>(*dialog, "KeywordKind"), Qt::LeftButton);
            QVERIFY(!ok->isEnabled());
            QTest::keyClicks(Child<QLineEdit>(*dialog, "Keyword"), QStringLiteral("kosa"));
            QTRY_VERIFY(ok->isEnabled());
            QCOMPARE(dialog->Result().Phrase().Text, std::string("KOSA"));
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        command->trigger();

        auto* crossWord = form->findChild<TCrossDocument*>(QStringLiteral("CrossWordDocument"));
        QCOMPARE(bench.NewFiles(), QStringList{QStringLiteral("K_0000.krz")});
        QCOMPARE(QString::fromStdString(crossWord->FileName()), bench.NewCrossDir() + QStringLiteral("K_0000.krz"));
        QCOMPARE(crossWord->Document().Phrase().Text, std::string("KOSA"));
        QCOMPARE(crossWord->Document().ExplCount(), 4);
        QVERIFY(HasAnswers(crossWord->Document()));

        // Once more, the free layout of the list and a word picked in the word
        // database editor with the clue chosen there.
        QString pickedClue;
        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<TOwnWordsForm*>(modal);
            QVERIFY(dialog);
            auto* edit = Child<QPlainTextEdit>(*dialog, "WordsEdit");
            edit->setPlainText(goodList);
            WhenModalOpens([&](QWidget* browser) {
                auto* list = Child<QListView>(*browser, "WordList");
                const QModelIndexList kot = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                                 QStringLiteral("KOT"), 1, Qt::MatchExactly);
                QCOMPARE(kot.size(), 1);
                list->setCurrentIndex(kot.first());
                auto* clues = Child<QListWidget>(*browser, "ExplList");
                clues->setCurrentRow(clues->count() - 1);
                pickedClue = clues->currentItem()->text();
                QTest::mouseClick(Child<QPushButton>(*browser, "PickButton"), Qt::LeftButton);
                QCOMPARE(Child<QLabel>(*browser, "MessageLabel")->text(),
                         QStringLiteral("Dodano do własnej listy: KOT."));
                QTest::mouseClick(Child<QPushButton>(*browser, "CloseButton"), Qt::LeftButton);
            });
            QTest::mouseClick(Child<QPushButton>(*dialog, "PickWords"), Qt::LeftButton);
            QVERIFY(!pickedClue.isEmpty());
            QVERIFY2(edit->toPlainText().endsWith(QStringLiteral("KOT\t") + pickedClue + QStringLiteral("\n")),
                     qPrintable(edit->toPlainText()));
            dialog->ComposeNow();
            const QString report = Child<QLabel>(*dialog, "ResultText")->text();
            QVERIFY2(report.contains(QStringLiteral(" z 9 słów")), qPrintable(report));
            QTest::mouseClick(Child<QPushButton>(*dialog, "OkButton"), Qt::LeftButton);
        });
        command->trigger();
        QCOMPARE(bench.NewFiles(), (QStringList{QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}));
        QVERIFY(crossWord->Document().Phrase().Empty());
        TCrossTXT saved;
        saved.LoadFromFile((bench.NewCrossDir() + QStringLiteral("K_0001.krz")).toStdString());
        QCOMPARE(saved.ExplCount(), crossWord->Document().ExplCount());
        QVERIFY(saved.ExplCount() >= 8);
        QVERIFY(TSolutionGrid(saved).Complete());
    }
};

QTEST_MAIN(OwnWordsTest)
#include "OwnWordsTest.moc"
