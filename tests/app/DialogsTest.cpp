#include "app/AboutBox.h"
#include "app/LogoForm.h"
#include "app/LogoPicture.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace mz;

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void theAboutBoxShowsTheDatabaseEditionAndCounts_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<QString>("expected");
        QTest::newRow("101 is the basic edition") << 101 << "podstawowa";
        QTest::newRow("102 is the extended edition") << 102 << "rozszerzona";
        QTest::newRow("an unreadable database (0) is basic") << 0 << "podstawowa";
    }
    void theAboutBoxShowsTheDatabaseEditionAndCounts()
    {
        QFETCH(int, edition);
        QFETCH(QString, expected);
        TAboutBox box(edition, 25322, 36654);
        QCOMPARE(box.Lab_DataBaseInfo->text(), expected);
        QCOMPARE(box.Lab_DBWordCounter->text(), QStringLiteral("25322"));
        QCOMPARE(box.Lab_DBExplCounter->text(), QStringLiteral("36654"));
        QCOMPARE(box.windowTitle(), QStringLiteral("Mirakolnik Zodevidar - informacje"));
        // Centred on the screen, at the size its texts need.
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(box.pos(), QPoint(screen.width() / 2 - box.width() / 2, screen.height() / 2 - box.height() / 2));
        QCOMPARE(box.www->text(), ProductHost());
        QCOMPARE(box.www->toolTip(), QStringLiteral("Połącz się ze stroną: ") + ProductHost());
        QCOMPARE(box.email->toolTip(), QStringLiteral("Wyślij e-mail do: ") + ProductEmail());
        QCOMPARE(box.email->Url, QStringLiteral("mailto:") + ProductEmail());
        QCOMPARE(box.www->Url, QStringLiteral("http://") + ProductHost());
    }

    // At the default font and at 125 % and 150 % of it, no text of the box is
    // cut or overlaps another, and the counts stand apart from their captions.
    void everyTextOfTheAboutBoxFits_data()
    {
        QTest::addColumn<int>("percent");
        QTest::newRow("100 %") << 100;
        QTest::newRow("125 %") << 125;
        QTest::newRow("150 %") << 150;
    }
    void everyTextOfTheAboutBoxFits()
    {
        QFETCH(int, percent);
        const QFont saved = QApplication::font();
        QFont font = saved;
        font.setPointSizeF(saved.pointSizeF() * percent / 100);
        QApplication::setFont(font);
        {
            TAboutBox box(102, 25322, 36654);
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            QList<QLabel*> labels = box.findChildren<QLabel*>();
            QVERIFY(labels.size() >= 10);
            for (QLabel* l : labels) {
                const QRect r(l->mapTo(&box, QPoint(0, 0)), l->size());
                QVERIFY2(box.rect().contains(r), qPrintable(l->objectName()));
                if (l->wordWrap())
                    QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(l->objectName()));
                else if (l->pixmap().isNull())
                    QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(),
                             qPrintable(l->objectName()));
                for (QLabel* other : labels) {
                    if (other == l || other->isAncestorOf(l) || l->isAncestorOf(other))
                        continue;
                    const QRect o(other->mapTo(&box, QPoint(0, 0)), other->size());
                    QVERIFY2(!r.intersects(o), qPrintable(l->objectName() + QLatin1Char('/') + other->objectName()));
                }
            }
            auto* caption = box.findChild<QLabel*>(QStringLiteral("Label3"));
            QVERIFY(caption->mapTo(&box, QPoint(caption->fontMetrics().horizontalAdvance(caption->text()), 0)).x()
                    < box.Lab_DBExplCounter->mapTo(&box, QPoint(0, 0)).x());
        }
        QApplication::setFont(saved);
    }

    void theLinkUnderTheMouseIsUnderlined()
    {
        TAboutBox box(102, 1, 1);
        box.show();
        QEnterEvent enterWww(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(box.www, &enterWww);
        QVERIFY(box.www->IsUnderlined() && !box.email->IsUnderlined());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(box.www, &leave);
        QEnterEvent enterEmail(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(box.email, &enterEmail);
        QVERIFY(box.email->IsUnderlined() && !box.www->IsUnderlined());
        QApplication::sendEvent(box.email, &leave);
        QVERIFY(!box.email->IsUnderlined() && !box.www->IsUnderlined());
    }

    void theAboutBoxLinksHintsGoAfterTwoSeconds()
    {
        TAboutBox box(102, 1, 1);
        QCOMPARE(box.www->toolTipDuration(), 2000);
        QCOMPARE(box.email->toolTipDuration(), 2000);
    }

    void theSplashTakesTheSizeOfItsPictureAndClosesAtAClick()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("logo.bmp"));
        QVERIFY(PaintProductPicture(QSize(240, 72)).save(file, "BMP"));
        TLogoForm splash;
        QVERIFY(splash.LoadPicture(file));
        QCOMPARE(splash.size(), QSize(240, 72));
        QCOMPARE(splash.LogoImage->pos(), QPoint(0, 0));
        QCOMPARE(splash.Timer.interval(), 5000);
        QVERIFY(splash.Timer.isActive());
        QTimer::singleShot(0, &splash, [&] { QTest::mouseClick(splash.LogoImage, Qt::LeftButton); });
        QElapsedTimer clock;
        clock.start();
        splash.exec();
        QVERIFY(clock.elapsed() < 4000);
    }

    void theSplashClosesByItselfWhenItsTimerTicks()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("logo.bmp"));
        QVERIFY(PaintProductPicture(QSize(120, 40)).save(file, "BMP"));
        TLogoForm splash;
        QVERIFY(splash.LoadPicture(file));
        splash.Timer.setInterval(10);
        splash.exec();
        QVERIFY(!splash.Timer.isActive());
    }

    void aMissingSplashPictureIsSkippedSilently()
    {
        QTemporaryDir dir;
        TLogoForm splash;
        QVERIFY(!splash.LoadPicture(dir.filePath(QStringLiteral("logo.bmp"))));
        // ShowSplash returns at once instead of showing an empty window.
        QElapsedTimer clock;
        clock.start();
        ShowSplash(dir.path());
        QVERIFY(clock.elapsed() < 4000);
    }

    void theBuiltSplashPictureIsABitmapOfTheProduct()
    {
        QImage logo(QStringLiteral(MZ_APP_DIR "/logo.bmp"));
        QVERIFY(!logo.isNull());
        QVERIFY(logo.width() > logo.height());
        // Not a blank picture: it has a dark background and light lettering.
        QVERIFY(logo.pixelColor(2, 2).lightness() < 100);
        int light = 0;
        for (int x = 0; x < logo.width(); x += 2)
            for (int y = 0; y < logo.height(); y += 2)
                light += logo.pixelColor(x, y).lightness() > 180;
        QVERIFY(light > 100);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
