#include "dialogs/OptionsForm.h"
#include "dialogs/SpinEdit.h"

#include "DialogTestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace mz;
using namespace mz::test;

namespace {

const QString ProgramDir = QStringLiteral("/opt/mz/");

TOptionsValues StoredValues()
{
    TOptionsValues v;
    v.MinLenPWord = 4;
    v.MaxLenPWord = 12;
    v.AnyWordLocation = true;
    v.CurrPrefix = QStringLiteral("Moje_??");
    v.SeriesCount = 5;
    v.PatternFileName = QStringLiteral("/home/ala/Wzory/Duży.sz");
    v.AlterPatternFileName = QString();
    v.NewCrossDir = ProgramDir + QStringLiteral("Krzyżówki/Nowe/");
    v.AlterNewCrossDir = QStringLiteral("/home/ala/Gotowe/");
    v.AudioDir = QStringLiteral("/home/ala/Dźwięki/");
    v.AlterAudioDir = QString();
    v.Difficulty = dfMedium;
    v.UniqueSeries = true;
    return v;
}

TOptionsEnvironment Environment(int minLen = 2, int maxLen = 15, const QString& patternDir = ProgramDir + "Szablony/")
{
    return TOptionsEnvironment{ProgramDir, patternDir, minLen, maxLen, {}, {}, {}};
}

// Focuses the field and replaces its text by typing.
void Retype(TSpinEdit* spin, const QString& text)
{
    spin->setFocus();
    spin->Edit()->selectAll();
    QTest::keyClicks(spin->Edit(), text);
}

void Click(QWidget& form, const char* button)
{
    QTest::mouseClick(Child<QPushButton>(form, button), Qt::LeftButton);
}

struct TShownForm {
    std::unique_ptr<TOptionsForm> Form;
    explicit TShownForm(const TOptionsValues& v, const TOptionsEnvironment& e = Environment())
        : Form(std::make_unique<TOptionsForm>(v, e))
    {
        Form->show();
        QApplication::setActiveWindow(Form.get());
        if (!QTest::qWaitForWindowActive(Form.get()))
            qFatal("the dialog did not become active");
    }
    TOptionsForm& operator*() { return *Form; }
};

} // namespace

class TestOptionsForm : public QObject {
    Q_OBJECT
private slots:
    void everyGroupShowsTheRememberedTextWhenTheDefaultIsChosenAndTheSettingOtherwise_data();
    void everyGroupShowsTheRememberedTextWhenTheDefaultIsChosenAndTheSettingOtherwise();
    void choosingADefaultLocationDisablesItsEditAndBrowseButtonAndTheOtherChoiceEnablesThem();
    void okStoresTheWordSeriesAndPlacementControls();
    void okStoresEachLocationGroupWithATrailingSeparatorOnDirectories_data();
    void okStoresEachLocationGroupWithATrailingSeparatorOnDirectories();
    void anEmptyRememberedTextReopensWithTheOtherChoiceAndTheDefaultPath();
    void cancelEscapeAndTheCloseBoxLeaveEverySettingAsItWas_data();
    void cancelEscapeAndTheCloseBoxLeaveEverySettingAsItWas();
    void defaultsResetTheActivePageOnly_data();
    void defaultsResetTheActivePageOnly();
    void wordLengthsAreBoundedByTheDatabaseShortestAndLongestWord();
    void anUnreadableOrEmptyDatabaseLeavesTheWordLengthsUnbounded_data();
    void anUnreadableOrEmptyDatabaseLeavesTheWordLengthsUnbounded();
    void leavingALengthFieldKeepsTheShortestAtMostTheLongest();
    void aLengthFieldHoldingNoNumberStoresItsRangeMinimum();
    void theSeriesLengthStaysBetweenTwoAndTwelve_data();
    void theSeriesLengthStaysBetweenTwoAndTwelve();
    void arrowKeysStepTheValueWithinTheRange();
    void theTemplateBrowserOffersTemplatesFromTheTemplateDirectory();
    void theFolderBrowserReplacesTheLocationAndCancellingKeepsIt();
    void theDifficultyAndTheSeriesUniquenessAreShownAndStored();
};

void TestOptionsForm::everyGroupShowsTheRememberedTextWhenTheDefaultIsChosenAndTheSettingOtherwise_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("remembered");
    for (int group = 1; group <= 3; ++group) {
        QTest::addRow("group %d, remembered text", group) << group << true;
        QTest::addRow("group %d, no remembered text", group) << group << false;
    }
}

void TestOptionsForm::everyGroupShowsTheRememberedTextWhenTheDefaultIsChosenAndTheSettingOtherwise()
{
    QFETCH(int, group);
    QFETCH(bool, remembered);
    TOptionsValues v = StoredValues();
    QString* setting[] = {&v.PatternFileName, &v.NewCrossDir, &v.AudioDir};
    QString* alter[] = {&v.AlterPatternFileName, &v.AlterNewCrossDir, &v.AlterAudioDir};
    *setting[group - 1] = QStringLiteral("/ustawienie/");
    *alter[group - 1] = remembered ? QStringLiteral("/pamiętane/") : QString();

    TOptionsForm form(v, Environment());
    const QByteArray defaultName = "RadioButton" + QByteArray::number(2 * group - 1);
    const QByteArray otherName = "RadioButton" + QByteArray::number(2 * group);
    const QByteArray editName = "Edit" + QByteArray::number(group);
    const QByteArray browseName = "Button" + QByteArray::number(group + 1);
    QCOMPARE(Child<QRadioButton>(form, defaultName)->isChecked(), remembered);
    QCOMPARE(Child<QRadioButton>(form, otherName)->isChecked(), !remembered);
    QCOMPARE(Child<QLineEdit>(form, editName)->text(),
             remembered ? QStringLiteral("/pamiętane/") : QStringLiteral("/ustawienie/"));
    QCOMPARE(Child<QLineEdit>(form, editName)->isEnabled(), !remembered);
    QCOMPARE(Child<QPushButton>(form, browseName)->isEnabled(), !remembered);
}

void TestOptionsForm::choosingADefaultLocationDisablesItsEditAndBrowseButtonAndTheOtherChoiceEnablesThem()
{
    TShownForm form(StoredValues());
    Child<QTabWidget>(*form, "PageControl1")->setCurrentIndex(1);
    auto* defaultChoice = Child<QRadioButton>(*form, "RadioButton1");
    auto* otherChoice = Child<QRadioButton>(*form, "RadioButton2");
    // A radio button reacts to clicks on its mark and caption only.
    QTest::mouseClick(defaultChoice, Qt::LeftButton, {}, QPoint(6, defaultChoice->height() / 2));
    QVERIFY(!Child<QLineEdit>(*form, "Edit1")->isEnabled());
    QVERIFY(!Child<QPushButton>(*form, "Button2")->isEnabled());
    // The other groups are not touched.
    QVERIFY(!Child<QLineEdit>(*form, "Edit2")->isEnabled());
    QVERIFY(Child<QLineEdit>(*form, "Edit3")->isEnabled());
    QTest::mouseClick(otherChoice, Qt::LeftButton, {}, QPoint(6, otherChoice->height() / 2));
    QVERIFY(Child<QLineEdit>(*form, "Edit1")->isEnabled());
    QVERIFY(Child<QPushButton>(*form, "Button2")->isEnabled());
}

void TestOptionsForm::okStoresTheWordSeriesAndPlacementControls()
{
    TOptionsForm form(StoredValues(), Environment());
    Child<TSpinEdit>(form, "SpinEdit1")->SetText(QStringLiteral("5"));
    Child<TSpinEdit>(form, "SpinEdit2")->SetText(QStringLiteral("9"));
    Child<QCheckBox>(form, "CheckBox1")->setChecked(false);
    Child<QLineEdit>(form, "Edit4")->setText(QStringLiteral("Seria_???"));
    Child<TSpinEdit>(form, "SpinEdit3")->SetText(QStringLiteral("3"));
    QSignalSpy accepted(&form, &QDialog::accepted);
    Click(form, "Button1");

    QCOMPARE(accepted.count(), 1);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    const TOptionsValues& v = form.Values();
    QCOMPARE(v.MinLenPWord, 5);
    QCOMPARE(v.MaxLenPWord, 9);
    QCOMPARE(v.AnyWordLocation, false);
    QCOMPARE(v.CurrPrefix, QStringLiteral("Seria_???"));
    QCOMPARE(v.SeriesCount, 3);
    // Untouched groups come back as they went in.
    QCOMPARE(v.PatternFileName, StoredValues().PatternFileName);
    QCOMPARE(v.AlterNewCrossDir, StoredValues().AlterNewCrossDir);
    QCOMPARE(v.NewCrossDir, ProgramDir + QStringLiteral("Krzyżówki/Nowe/"));
    QCOMPARE(v.AudioDir, StoredValues().AudioDir);
}

void TestOptionsForm::okStoresEachLocationGroupWithATrailingSeparatorOnDirectories_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("defaultChosen");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("alter");

    const QString normal = ProgramDir + QStringLiteral("Szablony/Normal.sz");
    const QString newDir = ProgramDir + QStringLiteral("Krzyżówki/Nowe/");
    const QString audio = ProgramDir + QStringLiteral("Audio/");
    // The template is a file: its text is stored as typed.
    QTest::newRow("other template") << 1 << false << "/t/Mały.sz"
                                    << "/t/Mały.sz"
                                    << "";
    QTest::newRow("default template keeps the typed path") << 1 << true << "/t/Mały.sz" << normal << "/t/Mały.sz";
    QTest::newRow("other template, empty") << 1 << false << ""
                                           << ""
                                           << "";
    QTest::newRow("other new dir gets a separator") << 2 << false << "/k/nowe"
                                                    << "/k/nowe/"
                                                    << "";
    QTest::newRow("other new dir keeps its separator") << 2 << false << "/k/nowe/"
                                                       << "/k/nowe/"
                                                       << "";
    QTest::newRow("default new dir, remembered with a separator") << 2 << true << "/k/inne" << newDir << "/k/inne/";
    QTest::newRow("default new dir, empty edit") << 2 << true << "" << newDir << "";
    QTest::newRow("other new dir, empty") << 2 << false << ""
                                          << ""
                                          << "";
    QTest::newRow("other audio dir gets a separator") << 3 << false << "/a/b c"
                                                      << "/a/b c/"
                                                      << "";
    QTest::newRow("default audio dir, remembered") << 3 << true << "/a/x/" << audio << "/a/x/";
    QTest::newRow("default audio dir, empty edit") << 3 << true << "" << audio << "";
}

void TestOptionsForm::okStoresEachLocationGroupWithATrailingSeparatorOnDirectories()
{
    QFETCH(int, group);
    QFETCH(bool, defaultChosen);
    QFETCH(QString, typed);
    QFETCH(QString, setting);
    QFETCH(QString, alter);

    TOptionsForm form(StoredValues(), Environment());
    const QByteArray choice = "RadioButton" + QByteArray::number(defaultChosen ? 2 * group - 1 : 2 * group);
    // Typing happens with the other choice (the edit is enabled), the choice is made after.
    Child<QRadioButton>(form, "RadioButton" + QByteArray::number(2 * group))->setChecked(true);
    Child<QLineEdit>(form, "Edit" + QByteArray::number(group))->setText(typed);
    Child<QRadioButton>(form, choice)->setChecked(true);
    Click(form, "Button1");

    const TOptionsValues& v = form.Values();
    const QString storedSetting[] = {v.PatternFileName, v.NewCrossDir, v.AudioDir};
    const QString storedAlter[] = {v.AlterPatternFileName, v.AlterNewCrossDir, v.AlterAudioDir};
    QCOMPARE(storedSetting[group - 1], setting);
    QCOMPARE(storedAlter[group - 1], alter);
}

void TestOptionsForm::anEmptyRememberedTextReopensWithTheOtherChoiceAndTheDefaultPath()
{
    TOptionsValues v = StoredValues();
    v.AlterNewCrossDir = QStringLiteral("/stare/");
    TOptionsForm first(v, Environment());
    Child<QRadioButton>(first, "RadioButton4")->setChecked(true);
    Child<QLineEdit>(first, "Edit2")->clear();
    Child<QRadioButton>(first, "RadioButton3")->setChecked(true);
    Click(first, "Button1");
    QCOMPARE(first.Values().AlterNewCrossDir, QString());

    TOptionsForm second(first.Values(), Environment());
    QVERIFY(Child<QRadioButton>(second, "RadioButton4")->isChecked());
    QCOMPARE(Child<QLineEdit>(second, "Edit2")->text(), ProgramDir + QStringLiteral("Krzyżówki/Nowe/"));
}

void TestOptionsForm::cancelEscapeAndTheCloseBoxLeaveEverySettingAsItWas_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Anuluj") << "Anuluj";
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("close box") << "close";
}

void TestOptionsForm::cancelEscapeAndTheCloseBoxLeaveEverySettingAsItWas()
{
    QFETCH(QString, way);
    TShownForm form(StoredValues());
    Child<TSpinEdit>(*form, "SpinEdit1")->SetText(QStringLiteral("7"));
    Child<QCheckBox>(*form, "CheckBox1")->setChecked(false);
    Child<QLineEdit>(*form, "Edit1")->setText(QStringLiteral("/inny.sz"));
    Child<QRadioButton>(*form, "RadioButton5")->setChecked(true);
    Child<QLineEdit>(*form, "Edit4")->setText(QStringLiteral("X"));

    if (way == "Anuluj")
        Click(*form, "Button5");
    else if (way == "Esc")
        QTest::keyClick(Child<QPushButton>(*form, "Button6"), Qt::Key_Escape);
    else
        (*form).close();

    QVERIFY(!(*form).isVisible());
    QCOMPARE((*form).result(), int(QDialog::Rejected));
    QVERIFY((*form).Values() == StoredValues());
}

void TestOptionsForm::defaultsResetTheActivePageOnly_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("Hasła") << 0;
    QTest::newRow("Szablony") << 1;
    QTest::newRow("Nowe krzyżówki") << 2;
    QTest::newRow("Audio") << 3;
    QTest::newRow("Seria krzyżówek") << 4;
}

void TestOptionsForm::defaultsResetTheActivePageOnly()
{
    QFETCH(int, page);
    TOptionsValues v = StoredValues(); // every location group starts on its other choice
    v.AlterNewCrossDir.clear();
    v.NewCrossDir = QStringLiteral("/k/");
    TOptionsForm form(v, Environment(2, 15));
    Child<QTabWidget>(form, "PageControl1")->setCurrentIndex(page);
    Click(form, "Button6");

    QCOMPARE(Child<TSpinEdit>(form, "SpinEdit1")->Value(), page == 0 ? 3 : 4);
    QCOMPARE(Child<TSpinEdit>(form, "SpinEdit2")->Value(), page == 0 ? 15 : 12); // 16 clamped to 15
    QCOMPARE(Child<QCheckBox>(form, "CheckBox1")->isChecked(), page != 0);
    for (int group = 1; group <= 3; ++group) {
        const bool reset = page == group;
        QCOMPARE(Child<QRadioButton>(form, "RadioButton" + QByteArray::number(2 * group - 1))->isChecked(), reset);
        QCOMPARE(Child<QLineEdit>(form, "Edit" + QByteArray::number(group))->isEnabled(), !reset);
    }
    // The location edits keep their texts.
    QCOMPARE(Child<QLineEdit>(form, "Edit1")->text(), v.PatternFileName);
    QCOMPARE(Child<QLineEdit>(form, "Edit2")->text(), QStringLiteral("/k/"));
    QCOMPARE(Child<QLineEdit>(form, "Edit4")->text(), page == 4 ? QStringLiteral("K_????") : v.CurrPrefix);
    QCOMPARE(Child<TSpinEdit>(form, "SpinEdit3")->Value(), page == 4 ? 10 : 5);
    QCOMPARE(Child<QComboBox>(form, "DifficultyBox")->currentText(),
             page == 0 ? QStringLiteral("wszystkie słowa") : QStringLiteral("średni"));
    QCOMPARE(Child<QCheckBox>(form, "UniqueSeriesBox")->isChecked(), page != 4);
}

void TestOptionsForm::wordLengthsAreBoundedByTheDatabaseShortestAndLongestWord()
{
    TOptionsValues v = StoredValues();
    v.MinLenPWord = 3;
    v.MaxLenPWord = 16;
    TOptionsForm form(v, Environment(2, 15));
    auto* longest = Child<TSpinEdit>(form, "SpinEdit2");
    auto* shortest = Child<TSpinEdit>(form, "SpinEdit1");
    QCOMPARE(longest->Text(), QStringLiteral("15"));
    longest->SetValue(40);
    QCOMPARE(longest->Value(), 15);
    shortest->SetValue(1);
    QCOMPARE(shortest->Value(), 2);
    QTest::keyClick(longest->Edit(), Qt::Key_Up);
    QCOMPARE(longest->Value(), 15);
    Click(form, "Button1");
    QCOMPARE(form.Values().MaxLenPWord, 15);
    QCOMPARE(form.Values().MinLenPWord, 2);
}

void TestOptionsForm::anUnreadableOrEmptyDatabaseLeavesTheWordLengthsUnbounded_data()
{
    QTest::addColumn<int>("dbMinLen");
    QTest::addColumn<int>("dbMaxLen");
    QTest::newRow("unreadable") << 0 << 0;
    QTest::newRow("no words") << 255 << 0;
}

void TestOptionsForm::anUnreadableOrEmptyDatabaseLeavesTheWordLengthsUnbounded()
{
    QFETCH(int, dbMinLen);
    QFETCH(int, dbMaxLen);
    TOptionsValues v = StoredValues();
    v.MinLenPWord = 40;
    v.MaxLenPWord = 90;
    TShownForm form(v, Environment(dbMinLen, dbMaxLen));
    auto* shortest = Child<TSpinEdit>(*form, "SpinEdit1");
    auto* longest = Child<TSpinEdit>(*form, "SpinEdit2");
    QCOMPARE(shortest->Value(), 40);
    QCOMPARE(longest->Value(), 90);
    Retype(longest, QStringLiteral("1234"));
    QCOMPARE(longest->Text(), QStringLiteral("123")); // three characters at most
    shortest->setFocus();
    QCOMPARE(longest->Value(), 123);
    Click(*form, "Button1");
    QCOMPARE((*form).Values().MinLenPWord, 40);
    QCOMPARE((*form).Values().MaxLenPWord, 123);
}

void TestOptionsForm::leavingALengthFieldKeepsTheShortestAtMostTheLongest()
{
    TOptionsValues v = StoredValues();
    v.MinLenPWord = 3;
    v.MaxLenPWord = 7;
    TShownForm form(v, Environment(2, 15));
    auto* shortest = Child<TSpinEdit>(*form, "SpinEdit1");
    auto* longest = Child<TSpinEdit>(*form, "SpinEdit2");

    Retype(shortest, QStringLiteral("9"));
    QCOMPARE(longest->Value(), 7); // nothing happens before the field is left
    longest->setFocus();
    QCOMPARE(longest->Value(), 9);

    Retype(longest, QStringLiteral("4"));
    shortest->setFocus();
    QCOMPARE(shortest->Value(), 4);

    // The field clamps itself after the rule ran with the typed value.
    Retype(shortest, QStringLiteral("99"));
    longest->setFocus();
    QCOMPARE(shortest->Text(), QStringLiteral("15"));
    QCOMPARE(longest->Value(), 15);
}

void TestOptionsForm::aLengthFieldHoldingNoNumberStoresItsRangeMinimum()
{
    TShownForm form(StoredValues(), Environment(2, 15));
    auto* shortest = Child<TSpinEdit>(*form, "SpinEdit1");
    shortest->setFocus();
    shortest->Edit()->selectAll();
    QTest::keyClick(shortest->Edit(), Qt::Key_Delete);
    QTest::keyClicks(shortest->Edit(), QStringLiteral("x-")); // only the sign gets through
    QCOMPARE(shortest->Text(), QStringLiteral("-"));
    Child<TSpinEdit>(*form, "SpinEdit2")->setFocus();
    QCOMPARE(shortest->Text(), QStringLiteral("-")); // the minimum needs no clamping
    Click(*form, "Button1");
    QCOMPARE((*form).Values().MinLenPWord, 2);
}

void TestOptionsForm::theSeriesLengthStaysBetweenTwoAndTwelve_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("below") << 1 << 2;
    QTest::newRow("lowest") << 2 << 2;
    QTest::newRow("inside") << 7 << 7;
    QTest::newRow("highest") << 12 << 12;
    QTest::newRow("above") << 20 << 12;
}

void TestOptionsForm::theSeriesLengthStaysBetweenTwoAndTwelve()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    TOptionsValues v = StoredValues();
    v.SeriesCount = stored;
    TOptionsForm form(v, Environment());
    QCOMPARE(Child<TSpinEdit>(form, "SpinEdit3")->Value(), shown);
    Click(form, "Button1");
    QCOMPARE(form.Values().SeriesCount, shown);
}

void TestOptionsForm::arrowKeysStepTheValueWithinTheRange()
{
    TOptionsValues v = StoredValues();
    v.SeriesCount = 11;
    TOptionsForm form(v, Environment());
    auto* series = Child<TSpinEdit>(form, "SpinEdit3");
    QTest::keyClick(series->Edit(), Qt::Key_Up);
    QCOMPARE(series->Value(), 12);
    QTest::keyClick(series->Edit(), Qt::Key_Up);
    QCOMPARE(series->Value(), 12);
    series->SetText(QStringLiteral("3"));
    QTest::keyClick(series->Edit(), Qt::Key_Down);
    QTest::keyClick(series->Edit(), Qt::Key_Down);
    QCOMPARE(series->Value(), 2);
}

void TestOptionsForm::theTemplateBrowserOffersTemplatesFromTheTemplateDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString chosen = dir.filePath(QStringLiteral("Wąski.sz"));
    QFile file(chosen);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    TOptionsForm form(StoredValues(), Environment(2, 15, dir.path() + '/'));
    QString title, directory;
    QStringList filters;
    QString suffix;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            qFatal("the template browser is not a file dialog");
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        directory = dialog->directory().absolutePath();
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept();
    });
    Click(form, "Button2");
    QCOMPARE(title, QStringLiteral("Wybierz bieżący szablon krzyżówek"));
    QCOMPARE(filters,
             QStringList({QStringLiteral("Pliki szablonu krzyżówek (*.sz)"), QStringLiteral("Wszystkie pliki (*)")}));
    QCOMPARE(suffix, QStringLiteral("sz"));
    QCOMPARE(directory, QDir(dir.path()).absolutePath());
    QCOMPARE(Child<QLineEdit>(form, "Edit1")->text(), chosen);
}

void TestOptionsForm::theFolderBrowserReplacesTheLocationAndCancellingKeepsIt()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString picked = dir.filePath(QStringLiteral("Nagrania"));
    QVERIFY(QDir().mkpath(picked));

    TOptionsForm form(StoredValues(), Environment());
    QString title;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            qFatal("the folder browser is not a file dialog");
        title = dialog->windowTitle();
        dialog->reject();
    });
    Click(form, "Button4");
    QCOMPARE(title, QStringLiteral("Wybierz katalog audio dla Mirakolnik Zodevidar"));
    QCOMPARE(Child<QLineEdit>(form, "Edit3")->text(), StoredValues().AudioDir);

    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        title = dialog->windowTitle();
        dialog->setDirectory(dir.path());
        dialog->selectFile(picked);
        static_cast<QDialog*>(dialog)->accept();
    });
    Click(form, "Button4");
    QCOMPARE(Child<QLineEdit>(form, "Edit3")->text(), picked);
    Click(form, "Button1");
    QCOMPARE(form.Values().AudioDir, picked + '/');

    TOptionsForm second(StoredValues(), Environment());
    Child<QRadioButton>(second, "RadioButton4")->setChecked(true);
    WhenModalOpens([&](QWidget* modal) {
        title = modal->windowTitle();
        static_cast<QDialog*>(modal)->reject();
    });
    Click(second, "Button3");
    QCOMPARE(title, QStringLiteral("Wybierz katalog dla nowych krzyżówek"));
}

void TestOptionsForm::theDifficultyAndTheSeriesUniquenessAreShownAndStored()
{
    TOptionsForm form(StoredValues(), Environment());
    auto* difficulty = Child<QComboBox>(form, "DifficultyBox");
    auto* unique = Child<QCheckBox>(form, "UniqueSeriesBox");
    QStringList levels;
    for (int i = 0; i < difficulty->count(); ++i)
        levels << difficulty->itemText(i);
    QCOMPARE(levels,
             QStringList({QStringLiteral("łatwy"), QStringLiteral("średni"), QStringLiteral("wszystkie słowa"),
                          QStringLiteral("trudny")}));
    QCOMPARE(difficulty->currentText(), QStringLiteral("średni"));
    QCOMPARE(unique->text(), QStringLiteral("Hasła nie powtarzają się w serii"));
    QVERIFY(unique->isChecked());

    auto* school = Child<QCheckBox>(form, "SchoolSafeBox");
    QVERIFY(school->isChecked());
    auto* exact = Child<QCheckBox>(form, "FillExactBox");
    QVERIFY(!exact->isChecked());
    difficulty->setCurrentIndex(0);
    unique->setChecked(false);
    school->setChecked(false);
    exact->setChecked(true);
    Click(form, "Button1");
    QCOMPARE(form.Values().Difficulty, int(dfEasy));
    QCOMPARE(form.Values().UniqueSeries, false);
    QCOMPARE(form.Values().SchoolSafe, false);
    QCOMPARE(form.Values().FillExact, true);
    TOptionsValues exactValues;
    exactValues.FillExact = true;
    TOptionsForm exactForm(exactValues, Environment());
    QVERIFY(Child<QCheckBox>(exactForm, "FillExactBox")->isChecked());

    // A new user's values: every word, answers may repeat.
    TOptionsForm fresh(TOptionsValues{}, Environment());
    QCOMPARE(Child<QComboBox>(fresh, "DifficultyBox")->currentText(), QStringLiteral("wszystkie słowa"));
    QVERIFY(!Child<QCheckBox>(fresh, "UniqueSeriesBox")->isChecked());
    QVERIFY(Child<QCheckBox>(fresh, "SchoolSafeBox")->isChecked());
}

QTEST_MAIN(TestOptionsForm)
#include "OptionsFormTest.moc"
