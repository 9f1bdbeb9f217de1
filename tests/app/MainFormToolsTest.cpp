// The options dialog, printing, the PDF export and the word-database browser
// as the window runs them.

#include "../dialogs/DialogTestUtil.h"
#include "WindowBench.h"

#include "core/Cp1250.h"
#include "dialogs/DBBrowserForm.h"
#include "dialogs/OptionsForm.h"

#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

using namespace mz;
using namespace mz::test;

namespace {

QString PdfText(const QString& pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Opens the options dialog, lets `edit` change it, then presses the named button.
void RunOptions(TMainForm& form, std::function<void(TOptionsForm&)> edit, const char* button)
{
    WhenModalOpens([edit, button](QWidget* modal) {
        auto* dialog = qobject_cast<TOptionsForm*>(modal);
        if (!dialog)
            qFatal("the options dialog did not open");
        edit(*dialog);
        Child<QPushButton>(*dialog, button)->click();
    });
    Action(form, "Konfiguracja1")->trigger();
}

} // namespace

class MainFormToolsTest : public QObject {
    Q_OBJECT

private slots:
    void okStoresTheOptionsWhichTheNextCrosswordAndTheEndOfTheProgramUse()
    {
        TWindowBench bench;
        auto form = bench.Start();
        const QString ownDir = bench.Dir + QStringLiteral("moje");
        RunOptions(
            *form,
            [&](TOptionsForm& dialog) {
                Child<QLineEdit>(dialog, "Edit4")->setText(QStringLiteral("X_??"));
                Child<QRadioButton>(dialog, "RadioButton4")->click();
                Child<QLineEdit>(dialog, "Edit2")->setText(ownDir);
            },
            "Button1");
        QCOMPARE(bench.Settings.CurrPrefix, QStringLiteral("X_??"));
        // A location typed without the final separator gets one.
        QCOMPARE(bench.Settings.NewCrossDir, ownDir + QLatin1Char('/'));
        QCOMPARE(bench.Settings.AlterNewCrossDir, QString());

        TMessageLog boxes([](const QString&) { return QStringLiteral("No"); });
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QVERIFY(QFile::exists(ownDir + QStringLiteral("/X_00.krz")));
        form.reset();
        QCOMPARE(bench.StoredSetting(QStringLiteral("CurrPrefix")), QStringLiteral("X_??"));
        QCOMPARE(bench.StoredSetting(QStringLiteral("NewCrossDir")), ownDir + QLatin1Char('/'));
    }

    void cancelChangesNothingAndDefaultsResetOnlyTheActivePage()
    {
        TWindowBench bench;
        bench.PutSetting(QStringLiteral("SeriesCount"), QStringLiteral("3"));
        bench.PutSetting(QStringLiteral("CurrPrefix"), QStringLiteral("Q_??"));
        auto form = bench.Start();
        const TSettings before = bench.Settings;
        RunOptions(
            *form,
            [](TOptionsForm& dialog) {
                Child<QLineEdit>(dialog, "Edit4")->setText(QStringLiteral("ZMIANA"));
                Child<QRadioButton>(dialog, "RadioButton6")->click();
            },
            "Button5");
        QCOMPARE(bench.Settings.CurrPrefix, QStringLiteral("Q_??"));
        QCOMPARE(bench.Settings.AudioDir, before.AudioDir);
        QCOMPARE(bench.Settings.AlterAudioDir, before.AlterAudioDir);

        RunOptions(
            *form,
            [](TOptionsForm& dialog) {
                Child<QRadioButton>(dialog, "RadioButton4")->click();
                Child<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(4);
                Child<QPushButton>(dialog, "Button6")->click();
            },
            "Button1");
        QCOMPARE(bench.Settings.CurrPrefix, QStringLiteral("K_????"));
        QCOMPARE(bench.Settings.SeriesCount, 10);
        // The other page kept its change.
        QCOMPARE(bench.Settings.AlterNewCrossDir, QString());
    }

    void theTemplateIsReloadedWhenItsSettingNoLongerNamesTheOneShown()
    {
        TWindowBench bench;
        const QString other = bench.Dir + QStringLiteral("Szablony/Inny.sz");
        TCrossTXT seven = TWindowBench::Blank(7, 4);
        seven.Kind = 1;
        seven.SaveToFile(other.toStdString());
        auto form = bench.Start();

        RunOptions(
            *form,
            [&](TOptionsForm& dialog) {
                Child<QRadioButton>(dialog, "RadioButton2")->click();
                Child<QLineEdit>(dialog, "Edit1")->setText(other);
            },
            "Button1");
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 7);
        QCOMPARE(QString::fromStdString(Template(*form).FileName), other);
        QVERIFY(!Template(*form).Modified);

        // Saved under another name, the template is taken again from its setting, whichever button closes.
        Action(*form, "Editor")->trigger();
        form->SetFileDialogHook([&](TFileDialogRequest&) { return bench.Dir + QStringLiteral("Kopia.sz"); });
        Action(*form, "Pattern_SaveAs")->trigger();
        In(Grid(*form, "PatternVC")).SetCell(1, 1, '*');
        {
            TMessageLog boxes([](const QString&) { return QStringLiteral("No"); });
            RunOptions(
                *form, [](TOptionsForm&) {}, "Button5");
            // The edit made after the save is not dropped without a word.
            QCOMPARE(boxes.Texts.size(), 1);
            QVERIFY(boxes.Texts[0].startsWith(QStringLiteral("Zawartość szablonu Kopia.sz")));
        }
        QCOMPARE(QString::fromStdString(Template(*form).FileName), other);
        QCOMPARE(In(Grid(*form, "PatternVC")).GetCell(1, 1), ' ');
        QCOMPARE(form->windowTitle(), QStringLiteral("Inny.sz - Mirakolnik Zodevidar"));

        // A template that cannot be loaded leaves the one shown, without a message.
        bench.Settings.PatternFileName = bench.Dir + QStringLiteral("brak.sz");
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        RunOptions(
            *form, [](TOptionsForm&) {}, "Button5");
        QVERIFY(boxes.Texts.isEmpty());
        QCOMPARE(Grid(*form, "PatternVC")->ColCount(), 7);
        QCOMPARE(QString::fromStdString(Template(*form).FileName), other);
    }

    void theOptionsDialogStaysOnTheScreen()
    {
        TWindowBench bench;
        // The window without the clue list, narrow enough to be centred over.
        bench.PutSetting(QStringLiteral("ClueListShown"), QStringLiteral("0"));
        auto form = bench.Start();
        const QSize screen = ScreenSize();
        const QSize dialog(473, 300);
        form->move(screen.width() - form->frameGeometry().width(), 0);
        const QPoint at = OptionsPlace(form->frameGeometry(), dialog);
        // Centred over a window this narrow it would pass the right edge and the top.
        QCOMPARE(at, QPoint(screen.width() - dialog.width(), 0));
        form->move(screen.width() / 2, screen.height() / 2);
        const QPoint centred = OptionsPlace(form->frameGeometry(), dialog);
        QCOMPARE(centred.x(), form->x() + form->frameGeometry().width() / 2 - dialog.width() / 2);
    }

    void aCrosswordAndATemplateAreExportedAsPdf()
    {
        TWindowBench bench;
        auto form = bench.Start();
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(form->windowTitle(), QStringLiteral("K_0000.krz - Mirakolnik Zodevidar"));
        QVERIFY(CrossWord(*form).ExplCount() > 0);
        const QString clue = QString::fromStdString(Cp1250ToUtf8(CrossWord(*form).GetExpl(1).Explanation));

        TFileDialogRequest asked;
        const QString pdf = bench.Dir + QStringLiteral("wydruk.pdf");
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            asked = request;
            return pdf;
        });
        Action(*form, "CrossWord_ExportAsPdf")->trigger();
        QCOMPARE(asked.FileName, QStringLiteral("K_0000.pdf"));
        QCOMPARE(asked.DefaultExt, QStringLiteral("pdf"));
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Poziomo:")));
        // A long clue may be broken over two lines in print.
        QVERIFY2(text.simplified().contains(clue.simplified()), qPrintable(clue));

        Action(*form, "Editor")->trigger();
        const QString templatePdf = bench.Dir + QStringLiteral("szablon.pdf");
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            asked = request;
            return templatePdf;
        });
        Action(*form, "CrossWord_ExportAsPdf")->trigger();
        QCOMPARE(asked.FileName, QStringLiteral("Normal.pdf"));
        QVERIFY(QFileInfo(templatePdf).size() > 0);
        QVERIFY(!PdfText(templatePdf).contains(QStringLiteral("Poziomo:")));
    }

    void thePrintButtonOpensThePrintDialogOnTheGridShown()
    {
        TWindowBench bench;
        auto form = bench.Start();
        QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_K);
        bool printDialog = false;
        WhenModalOpens([&](QWidget* modal) {
            printDialog = qobject_cast<QPrintDialog*>(modal) != nullptr;
            static_cast<QDialog*>(modal)->reject();
        });
        Button(*form, "SBttn_Print")->click();
        QVERIFY(printDialog);
        // The typed letter reached the document that was offered for printing.
        QCOMPARE(CrossWord(*form).GetCell(2, 2), 'K');
    }

    void theWordDatabaseBrowserOpensOrReportsAnUnreadableDatabase()
    {
        TWindowBench bench;
        auto form = bench.Start();
        QString opened;
        WhenModalOpens([&](QWidget* modal) {
            opened = modal->metaObject()->className();
            modal->close();
        });
        Action(*form, "DB_Edytor")->trigger();
        QCOMPARE(opened, QStringLiteral("mz::TDBBrowserForm"));

        QFile::remove(bench.Dir + QStringLiteral("baza.hk"));
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        Action(*form, "DB_Edytor")->trigger();
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts[0].contains(QStringLiteral("baza.hk")));
    }

    // A word added and saved in the editor goes to the user's change file in
    // the user's data directory, and the figures of the about box follow.
    void aWordSavedInTheEditorCountsInTheDatabaseFigures()
    {
        TWindowBench bench;
        auto form = bench.Start();
        const int32_t before = form->DBStatistics().WordCount;
        QVERIFY(before > 0);
        bool saved = false;
        WhenModalOpens([&](QWidget* modal) {
            auto* editor = qobject_cast<TDBBrowserForm*>(modal);
            if (!editor) {
                modal->close();
                return;
            }
            editor->findChild<QLineEdit*>(QStringLiteral("NewWordEdit"))->setText(QStringLiteral("qwqwq"));
            editor->findChild<QLineEdit*>(QStringLiteral("NewClueEdit"))->setText(QStringLiteral("próba"));
            editor->findChild<QPushButton*>(QStringLiteral("AddWordButton"))->click();
            editor->findChild<QPushButton*>(QStringLiteral("SaveButton"))->click();
            saved = editor->DiskChanged();
            editor->findChild<QPushButton*>(QStringLiteral("CloseButton"))->click();
        });
        Action(*form, "DB_Edytor")->trigger();
        QVERIFY(saved);
        QVERIFY(QFile::exists(bench.Dir + QStringLiteral("baza-użytkownika.hk")));
        QCOMPARE(form->DBStatistics().WordCount, before + 1);

        // A new window reads the same figures at start-up.
        form.reset();
        auto again = bench.Start();
        QCOMPARE(again->DBStatistics().WordCount, before + 1);
    }
};

QTEST_MAIN(MainFormToolsTest)
#include "MainFormToolsTest.moc"
