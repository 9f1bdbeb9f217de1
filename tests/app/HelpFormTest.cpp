#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "app/Settings.h"

#include "WindowBench.h"

#include <QDesktopServices>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
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

        back->click();
        QCOMPARE(browser->source().fragment(), QString());
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
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

    // Every command of the menu is described on the help page as "Menu → Command".
    void theHelpPageDescribesEveryMenuCommand()
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
        for (QAction* menuAction : form->menuBar()->actions()) {
            QMenu* menu = menuAction->menu();
            for (QAction* action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                ++commands;
                const QString entry = Caption(menu->title()) + QStringLiteral(" → ") + Caption(action->text());
                if (!text.contains(entry))
                    missing << entry;
            }
        }
        QVERIFY(commands >= 20);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(HelpFormTest)
#include "HelpFormTest.moc"
