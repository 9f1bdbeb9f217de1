#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "app/Settings.h"
#include "dialogs/OptionsForm.h"

#include "WindowBench.h"
#include "WindowProbe.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QPushButton>
#include <QRegularExpression>
#include <QLineEdit>
#include <QTabBar>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QSet>
#include <QTextDocument>
#include <QToolButton>

using namespace mz;
using namespace mz::test;

namespace {

const QString HelpPage = BuiltProgramDir + HelpPageName;

// Where the link to `href` is shown in the browser's viewport.
QPoint LinkPosition(QTextBrowser* browser, const QString& href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() == href) {
                QTextCursor cursor(browser->document());
                cursor.setPosition(fragment.position() + 1);
                return browser->cursorRect(cursor).center();
            }
        }
    return {-1, -1};
}

TOptionsEnvironment Environment()
{
    TOptionsEnvironment environment;
    environment.ProgramDir = BuiltProgramDir;
    environment.TemplateDir = BuiltProgramDir;
    return environment;
}

QString Caption(const QString& text)
{
    QString caption = text;
    caption.remove(u'&');
    while (caption.endsWith(u'.') || caption.endsWith(u' '))
        caption.chop(1);
    return caption;
}

} // namespace

// Receives what the program hands to the system's browser.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void open(const QUrl& url) { Urls << url; }
};

class HelpFormTest : public QObject {
    Q_OBJECT

private slots:
    void aClickOnALinkInsideThePageGoesToItsSectionAndBackReturns()
    {
        THelpForm form(HelpPage);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTextBrowser* browser = form.Browser();
        QCOMPARE(form.windowTitle(), QStringLiteral("Mirakolnik Zodevidar – Pomoc"));
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        auto* back = form.findChild<QToolButton*>(QStringLiteral("Back"));
        QVERIFY(!back->isEnabled());

        const QPoint link = LinkPosition(browser, QStringLiteral("#drukowanie"));
        QVERIFY(link.x() >= 0);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, link);
        QCOMPARE(browser->source().fragment(), QStringLiteral("drukowanie"));
        QVERIFY(browser->verticalScrollBar()->value() > 0);
        QVERIFY(back->isEnabled());

        // With MZ_PICTURES_DIR set, a picture of the window at the section is left there.
        const QString pictures = qEnvironmentVariable("MZ_PICTURES_DIR");
        if (!pictures.isEmpty())
            QVERIFY(form.grab().save(pictures + QStringLiteral("/help-window.png"), "PNG"));

        const int atSection = browser->verticalScrollBar()->value();
        back->click();
        QCOMPARE(browser->source().fragment(), QString());
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        // Forward again lands on the section itself, where its anchor is.
        form.findChild<QToolButton*>(QStringLiteral("Forward"))->click();
        QCOMPARE(browser->source().fragment(), QStringLiteral("drukowanie"));
        QCOMPARE(browser->verticalScrollBar()->value(), atSection);
        browser->scrollToAnchor(QStringLiteral("drukowanie"));
        QCOMPARE(browser->verticalScrollBar()->value(), atSection);
    }

    // F1 opens the help at the section of the window it was pressed in.
    void f1OpensTheHelpAtTheSectionOfTheActiveWindow()
    {
        TWindowBench bench;
        QVERIFY(QDir(bench.Dir).mkpath(QStringLiteral("Pomoc")));
        QVERIFY(QFile::copy(HelpPage, bench.Dir + HelpPageName));
        TMessageLog log([](const QString&) { return QStringLiteral("OK"); });
        auto form = bench.Start();
        QCOMPARE(Action(*form, "HelpList")->shortcut(), QKeySequence(Qt::Key_F1));
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_F1);
        auto* help = form->findChild<THelpForm*>();
        QVERIFY(help);
        QCOMPARE(help->Browser()->source().fragment(), QStringLiteral("rozwiazywanie"));
        TOptionsForm options(TOptionsValues{}, Environment());
        options.setWindowModality(Qt::ApplicationModal);
        options.show();
        QApplication::setActiveWindow(&options);
        QVERIFY(QTest::qWaitForWindowActive(&options));
        QTest::keyClick(&options, Qt::Key_F1);
        help = options.findChild<THelpForm*>();
        QVERIFY(help);
        QCOMPARE(help->Browser()->source().fragment(), QStringLiteral("opcje"));
    }

    void theExternalBrowserGetsThePageAtTheSectionShown()
    {
        TUrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        THelpForm form(HelpPage);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.Browser()->viewport(), Qt::LeftButton, {},
                          LinkPosition(form.Browser(), QStringLiteral("#baza")));
        form.findChild<QToolButton*>(QStringLiteral("External"))->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.Urls.size(), 1);
        QCOMPARE(catcher.Urls.first().toLocalFile(), QFileInfo(HelpPage).absoluteFilePath());
        QCOMPARE(catcher.Urls.first().fragment(), QStringLiteral("baza"));
    }

    void aMissingPageIsReportedAndNoWindowOpens()
    {
        TMessageLog log([](const QString&) { return QStringLiteral("OK"); });
        QCOMPARE(THelpForm::ShowHelp(QStringLiteral("/nonexistent/Pomoc.htm"), nullptr), nullptr);
        QCOMPARE(log.Texts, QStringList{QStringLiteral("Nie można otworzyć pliku pomocy /nonexistent/Pomoc.htm.")});
    }

    void showingHelpAgainBringsBackTheSameWindow()
    {
        QWidget owner;
        THelpForm* first = THelpForm::ShowHelp(HelpPage, &owner);
        QVERIFY(first && first->isVisible());
        QCOMPARE(THelpForm::ShowHelp(HelpPage, &owner), first);
    }

    // Every command of the menu is described on the help page as "Menu → Command",
    // every caption of the settings dialog is named there.
    void theHelpPageDescribesEveryMenuCommandAndEverySetting()
    {
        TWindowBench bench;
        TMessageLog log([](const QString&) { return QStringLiteral("OK"); });
        auto form = bench.Start();
        QTextDocument page;
        QFile file(HelpPage);
        QVERIFY(file.open(QIODevice::ReadOnly));
        page.setHtml(QString::fromUtf8(file.readAll()));
        const QString text = page.toPlainText();
        QStringList missing;
        int commands = 0;
        // No menu key takes a Polish letter from the grid (Ctrl with A C E L N O S X Z, also with
        // Shift), and no access letter stands twice in one menu.
        QStringList clashes;
        QSet<QChar> menuLetters;
        auto sameLetter = [&clashes](QSet<QChar>& letters, const QString& caption) {
            if (const qsizetype amp = caption.indexOf(QLatin1Char('&')); amp >= 0 && amp + 1 < caption.size()) {
                const QChar letter = caption.at(amp + 1).toLower();
                if (letters.contains(letter))
                    clashes << caption;
                letters.insert(letter);
            }
        };
        for (QAction* menuAction : form->menuBar()->actions()) {
            QMenu* menu = menuAction->menu();
            sameLetter(menuLetters, menu->title());
            QSet<QChar> letters;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                for (const QKeySequence& keys : action->shortcuts())
                    if ((keys[0].keyboardModifiers() & Qt::ControlModifier)
                        && QStringLiteral("ACELNOSXZ").contains(QChar(static_cast<int>(keys[0].key()))))
                        clashes << keys.toString();
                sameLetter(letters, action->text());
                ++commands;
                const QString entry = Caption(menu->title()) + QStringLiteral(" → ") + Caption(action->text());
                if (!text.contains(entry))
                    missing << entry;
            }
        }
        QVERIFY(commands >= 20);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral(", "))));

        TOptionsForm options(TOptionsValues{}, Environment());
        QStringList captions;
        for (QWidget* widget : options.findChildren<QWidget*>())
            if (!qobject_cast<QPushButton*>(widget) && !qobject_cast<QLineEdit*>(widget))
                captions << widget->property("text").toString() << widget->property("title").toString();
        for (QTabBar* tabs : options.findChildren<QTabBar*>())
            for (int i = 0; i < tabs->count(); ++i)
                captions << tabs->tabText(i);
        for (QComboBox* combo : options.findChildren<QComboBox*>())
            for (int i = 0; i < combo->count(); ++i)
                captions << combo->itemText(i);
        int settings = 0;
        for (const QString& caption : captions) {
            const QString plain = Caption(caption).remove(QRegularExpression(QStringLiteral(":$")));
            if (plain.isEmpty() || plain.front().isDigit())
                continue;
            ++settings;
            if (!text.contains(plain))
                missing << plain;
        }
        QVERIFY(settings >= 15);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(HelpFormTest)
#include "HelpFormTest.moc"
