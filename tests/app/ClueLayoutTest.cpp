#include "app/ClueLayout.h"

#include <QTest>

using namespace mz;

namespace {

// A label as wide as `columns` characters of a fixed-pitch font: a caption fits
// when its widest line (lines split at CR) has at most that many characters.
std::function<bool(const QString&)> FitsColumns(int columns)
{
    return [columns](const QString& caption) {
        for (const QString& line : caption.split(QChar(13)))
            if (line.size() > columns)
                return false;
        return true;
    };
}

} // namespace

class ClueLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void hyphenation_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("samochód, five places: break before the digraph") << "samochód" << 5 << "samo-chód";
        QTest::newRow("samochód, three places: break before m") << "samochód" << 3 << "sa-mochód";
        QTest::newRow("samochód, two places: no room for any syllable") << "samochód" << 2 << "samochód";
        QTest::newRow("samochód, the whole word fits") << "samochód" << 20 << "samo-chód";
        QTest::newRow("three letters are never broken") << "kot" << 2 << "kot";
        QTest::newRow("mama at three places") << "mama" << 3 << "ma-ma";
        QTest::newRow("consonant before a digraph (rule ii)") << "Warszawa" << 4 << "War-szawa";
        QTest::newRow("Warszawa, seven places") << "Warszawa" << 7 << "Warsza-wa";
        QTest::newRow("a word starting with a digraph") << "rzeka" << 4 << "rze-ka";
        QTest::newRow("Polish capitals are lower-cased for the pattern") << "GĘSINA" << 5 << "GĘSI-NA";
        QTest::newRow("no vowel in the rest: no break before it") << "aparcz" << 5 << "aparcz";
        QTest::newRow("consonant cluster without a following vowel") << "tekst" << 4 << "tekst";
        QTest::newRow("consonant before two digraphs") << "odrzchu" << 4 << "od-rzchu";
        QTest::newRow("digraph followed by a digraph (rule iv)") << "aczrza" << 4 << "acz-rza";
        QTest::newRow("y is a vowel") << "ryby" << 3 << "ry-by";
        QTest::newRow("y is a vowel, also before a digraph") << "myszy" << 3 << "my-szy";
        QTest::newRow("dż is one sound: the break comes before it") << "jeżdżę" << 5 << "jeż-dżę";
    }
    void hyphenation()
    {
        QFETCH(QString, word);
        QFETCH(int, limit);
        QFETCH(QString, expected);
        QCOMPARE(Hyphenate(word, limit), expected);
    }

    void clueFitting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("expected");
        const QString cr(QChar(13));
        QTest::newRow("a fitting clue stays on one line") << "stolica Polski" << 20 << "stolica Polski";
        QTest::newRow("break at a space that ends the fitting part")
            << "duży pojazd osobowy" << 12 << QString("duży pojazd" + cr + "osobowy");
        QTest::newRow("the cut word is hyphenated")
            << "szybki samochód osobowy" << 12 << QString("szybki samo-" + cr + "chód osobowy");
        QTest::newRow("no syllable fits: the word moves to the second line")
            << "szybki samochód" << 8 << QString("szybki " + cr + "samochód");
        QTest::newRow("still too wide for two lines ends in three dots")
            << "bardzo długi opis hasła krzyżówki" << 12 << QString("bardzo dłu-" + cr + "gi opis h...");
    }
    void clueFitting()
    {
        QFETCH(QString, text);
        QFETCH(int, columns);
        QFETCH(QString, expected);
        QCOMPARE(FitClue(text, FitsColumns(columns)), expected);
    }

    void aLabelTooNarrowForAnyCharacterShowsNothing()
    {
        QCOMPARE(FitClue(QStringLiteral("stolica"), FitsColumns(0)), QString());
    }
};

QTEST_GUILESS_MAIN(ClueLayoutTest)
#include "ClueLayoutTest.moc"
