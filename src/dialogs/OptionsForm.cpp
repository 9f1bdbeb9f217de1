#include "dialogs/OptionsForm.h"

#include "dialogs/SpinEdit.h"
#include "dialogs/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mz {

namespace {

constexpr int DefaultMinLen = 3;
constexpr int DefaultMaxLen = 16;
constexpr int DefaultSeriesCount = 10;
constexpr int SeriesMin = 2;
constexpr int SeriesMax = 12;

} // namespace

TOptionsForm::TOptionsForm(const TOptionsValues& values, const TOptionsEnvironment& environment, QWidget* parent)
    : QDialog(parent), FValues(values), FEnvironment(environment)
{
    setWindowTitle(QStringLiteral("Konfiguracja Mirakolnika Zodevidar"));
    CreateControls();
    FormCreate();
}

// Hiding the dialog as it is destroyed takes the focus from a spin edit, whose
// exit must not reach the handlers of a dialog that is half gone.
TOptionsForm::~TOptionsForm()
{
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

QString TOptionsForm::DefaultTemplateFileName(const QString& programDir)
{
    return programDir + QStringLiteral("Szablony/Normal.sz");
}

QString TOptionsForm::DefaultNewCrossDir(const QString& programDir)
{
    return programDir + QStringLiteral("Krzyżówki/Nowe/");
}

QString TOptionsForm::DefaultAudioDir(const QString& programDir)
{
    return programDir + QStringLiteral("Audio/");
}

QString TOptionsForm::WithTrailingSeparator(const QString& dir)
{
    if (dir.isEmpty() || dir.endsWith(u'/'))
        return dir;
#ifdef Q_OS_WIN
    if (dir.endsWith(u'\\'))
        return dir;
#endif
    return dir + u'/';
}

void TOptionsForm::CreateControls()
{
    PageControl1 = Named<QTabWidget>("PageControl1", this);

    // "Hasła"
    auto* words = Named<QWidget>("TabSheet_1");
    auto* lengths = new QGroupBox(QStringLiteral("Długość haseł"), words);
    SpinEdit1 = Named<TSpinEdit>("SpinEdit1", lengths);
    SpinEdit1->SetMaxLength(3);
    SpinEdit2 = Named<TSpinEdit>("SpinEdit2", lengths);
    SpinEdit2->SetMaxLength(3);
    SpinEdit1->setFixedWidth(64);
    SpinEdit2->setFixedWidth(64);
    // Each caption is its field's buddy.
    auto* lengthsLayout = new QFormLayout(lengths);
    lengthsLayout->addRow(QStringLiteral("Rozmiar najkrótszego hasła:"), SpinEdit1);
    lengthsLayout->addRow(QStringLiteral("Rozmiar najdłuższego hasła:"), SpinEdit2);
    CheckBox1 =
        Named<QCheckBox>("CheckBox1", QStringLiteral("Zezwalaj na hasła w pierwszej kolumnie (wierszu)"), words);
    auto* difficultyLabel = new QLabel(QStringLiteral("Poziom trudności:"), words);
    DifficultyBox = Named<QComboBox>("DifficultyBox", words);
    for (const TDifficulty level : DifficultyLevels)
        DifficultyBox->addItem(QString::fromStdString(DifficultyName(level)), int(level));
    difficultyLabel->setBuddy(DifficultyBox);
    auto* difficultyLayout = new QHBoxLayout;
    difficultyLayout->addWidget(difficultyLabel);
    difficultyLayout->addWidget(DifficultyBox);
    difficultyLayout->addStretch(1);
    SchoolSafeBox = Named<QCheckBox>("SchoolSafeBox",
                                     QStringLiteral("Hasła odpowiednie dla szkoły (bez słów wulgarnych, seksualnych, "
                                                    "obraźliwych i narkotykowych)"),
                                     words);
    auto* wordsLayout = new QVBoxLayout(words);
    wordsLayout->addWidget(lengths);
    wordsLayout->addWidget(CheckBox1);
    wordsLayout->addLayout(difficultyLayout);
    wordsLayout->addWidget(SchoolSafeBox);
    FillExactBox = Named<QCheckBox>("FillExactBox",
                                    QStringLiteral("Wypełniaj szablon dokładnie (bez dodawania czarnych pól)"), words);
    wordsLayout->addWidget(FillExactBox);
    wordsLayout->addStretch(1);
    PageControl1->addTab(words, QStringLiteral("Hasła"));

    PageControl1->addTab(CreateLocationPage(QStringLiteral("Do układania krzyżówek użyj szablonu"),
                                            QStringLiteral("Normal.sz"), QStringLiteral("innego:"), 1, FTemplate),
                         QStringLiteral("Szablony"));
    PageControl1->addTab(CreateLocationPage(QStringLiteral("Katalog nowych krzyżówek"),
                                            QStringLiteral("bieżący katalog krzyżówek"),
                                            QStringLiteral("podana lokalizacja:"), 2, FNewCross),
                         QStringLiteral("Nowe krzyżówki"));
    QWidget* audio = CreateLocationPage(QStringLiteral("Katalog audio"), QStringLiteral("domyślny katalog audio"),
                                        QStringLiteral("podana lokalizacja:"), 3, FAudio);
    SpeechBox = Named<QCheckBox>("SpeechBox", QStringLiteral("Czytaj hasła bez nagrania syntezatorem mowy"), audio);
    static_cast<QBoxLayout*>(audio->layout())->insertWidget(1, SpeechBox);
    PageControl1->addTab(audio, QStringLiteral("Audio"));

    // "Seria krzyżówek"
    auto* series = Named<QWidget>("TabSheet_5");
    Edit4 = Named<QLineEdit>("Edit4", series);
    SpinEdit3 = Named<TSpinEdit>("SpinEdit3", series);
    SpinEdit3->SetMaxLength(4);
    SpinEdit3->setFixedWidth(64);
    SpinEdit3->SetRange(SeriesMin, SeriesMax);
    UniqueSeriesBox = Named<QCheckBox>("UniqueSeriesBox", QStringLiteral("Hasła nie powtarzają się w serii"), series);
    auto* seriesLayout = new QFormLayout(series);
    seriesLayout->addRow(QStringLiteral("Prefiks nowych krzyżówek:"), Edit4);
    seriesLayout->addRow(QStringLiteral("Długość serii:"), SpinEdit3);
    seriesLayout->addRow(UniqueSeriesBox);
    PageControl1->addTab(series, QStringLiteral("Seria krzyżówek"));

    auto* Button6 = DialogButton(QStringLiteral("Domyślnie"), "Button6", this);
    auto* Button1 = DialogButton(QStringLiteral("OK"), "Button1", this);
    auto* Button5 = DialogButton(QStringLiteral("Anuluj"), "Button5", this);
    // Enter in a spin edit commits its value first and reaches OK only when pressed again.
    Button1->setDefault(true);
    Button6->setToolTip(QStringLiteral("Przywraca wartości domyślne tylko na widocznej karcie"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button6);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button5);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TOptionsForm::Button1Click);
    connect(Button5, &QPushButton::clicked, this, &TOptionsForm::reject);
    connect(Button6, &QPushButton::clicked, this, &TOptionsForm::Button6Click);
    connect(SpinEdit1, &TSpinEdit::Exited, this, &TOptionsForm::SpinEdit1Exit);
    connect(SpinEdit2, &TSpinEdit::Exited, this, &TOptionsForm::SpinEdit2Exit);
    connect(FTemplate.Browse, &QPushButton::clicked, this, &TOptionsForm::Button2Click);
    connect(FNewCross.Browse, &QPushButton::clicked, this,
            [this] { BrowseDirectory(FNewCross, QStringLiteral("Wybierz katalog dla nowych krzyżówek")); });
    connect(FAudio.Browse, &QPushButton::clicked, this,
            [this] { BrowseDirectory(FAudio, QStringLiteral("Wybierz katalog audio dla Mirakolnik Zodevidar")); });

    // The dialog keeps its fixed size unless the platform's fonts need more.
    layout->activate();
    setFixedSize(sizeHint().expandedTo(QSize(473, 240)));
}

// Builds page number+1 with radio buttons 2n−1 and 2n, edit n and browse button n+1.
QWidget* TOptionsForm::CreateLocationPage(const QString& group, const QString& defaultCaption,
                                          const QString& otherCaption, int number, TLocationGroup& controls)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_%1").arg(number + 1));
    auto* box = new QGroupBox(group, page);
    controls.DefaultChoice = new QRadioButton(defaultCaption, box);
    controls.DefaultChoice->setObjectName(QStringLiteral("RadioButton%1").arg(2 * number - 1));
    controls.OtherChoice = new QRadioButton(otherCaption, box);
    controls.OtherChoice->setObjectName(QStringLiteral("RadioButton%1").arg(2 * number));
    controls.Edit = new QLineEdit(box);
    controls.Edit->setObjectName(QStringLiteral("Edit%1").arg(number));
    controls.Browse = new QPushButton(QStringLiteral("Przeglądaj..."), box);
    controls.Browse->setObjectName(QStringLiteral("Button%1").arg(number + 1));
    controls.Browse->setAutoDefault(false);

    auto* boxLayout = new QGridLayout(box);
    boxLayout->addWidget(controls.DefaultChoice, 0, 0, 1, 3);
    boxLayout->addWidget(controls.OtherChoice, 1, 0);
    boxLayout->addWidget(controls.Edit, 1, 1);
    boxLayout->addWidget(controls.Browse, 1, 2);
    boxLayout->setColumnStretch(1, 1);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(box);
    pageLayout->addStretch(1);

    // Checking a choice from code has the same effect on the group as a click.
    const TLocationGroup copy = controls;
    connect(controls.DefaultChoice, &QRadioButton::toggled, this, [copy] { RadioButtonClick(copy); });
    connect(controls.OtherChoice, &QRadioButton::toggled, this, [copy] { RadioButtonClick(copy); });
    return page;
}

void TOptionsForm::RadioButtonClick(const TLocationGroup& group)
{
    const bool other = group.OtherChoice->isChecked();
    group.Edit->setEnabled(other);
    group.Browse->setEnabled(other);
}

void TOptionsForm::FormCreate()
{
    // A database without words leaves its shortest length above its longest
    // (255 and 0); such a range would force every length to 255, so it counts
    // as no bounds at all, like an unreadable database.
    const bool known = FEnvironment.DBMinLen <= FEnvironment.DBMaxLen;
    SpinEdit1->SetRange(known ? FEnvironment.DBMinLen : 0, known ? FEnvironment.DBMaxLen : 0);
    SpinEdit2->SetRange(known ? FEnvironment.DBMinLen : 0, known ? FEnvironment.DBMaxLen : 0);
    SpinEdit1->SetValue(FValues.MinLenPWord);
    SpinEdit2->SetValue(FValues.MaxLenPWord);
    CheckBox1->setChecked(FValues.AnyWordLocation);
    Edit4->setText(FValues.CurrPrefix);
    SpinEdit3->SetValue(FValues.SeriesCount);
    UniqueSeriesBox->setChecked(FValues.UniqueSeries);
    SchoolSafeBox->setChecked(FValues.SchoolSafe);
    SpeechBox->setChecked(FValues.SpeakWithoutRecording);
    FillExactBox->setChecked(FValues.FillExact);
    const int level = DifficultyBox->findData(FValues.Difficulty);
    DifficultyBox->setCurrentIndex(level >= 0 ? level : DifficultyBox->findData(int(dfAll)));
    FillGroup(FTemplate, FValues.AlterPatternFileName, FValues.PatternFileName);
    FillGroup(FNewCross, FValues.AlterNewCrossDir, FValues.NewCrossDir);
    FillGroup(FAudio, FValues.AlterAudioDir, FValues.AudioDir);
    PageControl1->setCurrentIndex(0);
}

void TOptionsForm::FillGroup(TLocationGroup& group, const QString& alter, const QString& setting)
{
    if (!alter.isEmpty()) {
        group.DefaultChoice->setChecked(true);
        group.Edit->setText(alter);
    } else {
        group.OtherChoice->setChecked(true);
        group.Edit->setText(setting);
    }
    group.OpenedWithDefault = group.DefaultChoice->isChecked();
    group.OpenedText = group.Edit->text();
    RadioButtonClick(group);
}

QString TOptionsForm::TemplateDefault() const
{
    return FEnvironment.DefaultTemplateFileName.isEmpty() ? DefaultTemplateFileName(FEnvironment.ProgramDir)
                                                         : FEnvironment.DefaultTemplateFileName;
}

QString TOptionsForm::NewCrossDefault() const
{
    return FEnvironment.DefaultNewCrossDir.isEmpty() ? DefaultNewCrossDir(FEnvironment.ProgramDir)
                                                     : FEnvironment.DefaultNewCrossDir;
}

QString TOptionsForm::AudioDefault() const
{
    return FEnvironment.DefaultAudioDir.isEmpty() ? DefaultAudioDir(FEnvironment.ProgramDir)
                                                  : FEnvironment.DefaultAudioDir;
}

void TOptionsForm::StoreGroup(const TLocationGroup& group, const QString& defaultValue, bool directory,
                              QString& setting, QString& alter)
{
    // A group the user left as it came keeps its values, whatever the default is now.
    if (group.DefaultChoice->isChecked() == group.OpenedWithDefault && group.Edit->text() == group.OpenedText)
        return;
    const QString text = directory ? WithTrailingSeparator(group.Edit->text()) : group.Edit->text();
    if (group.DefaultChoice->isChecked()) {
        alter = text;
        setting = defaultValue;
    } else {
        alter.clear();
        setting = text;
    }
}

void TOptionsForm::Button1Click()
{
    FValues.MinLenPWord = SpinEdit1->Value();
    FValues.MaxLenPWord = SpinEdit2->Value();
    FValues.AnyWordLocation = CheckBox1->isChecked();
    FValues.CurrPrefix = Edit4->text();
    FValues.SeriesCount = SpinEdit3->Value();
    FValues.UniqueSeries = UniqueSeriesBox->isChecked();
    FValues.SchoolSafe = SchoolSafeBox->isChecked();
    FValues.SpeakWithoutRecording = SpeechBox->isChecked();
    FValues.FillExact = FillExactBox->isChecked();
    FValues.Difficulty = DifficultyBox->currentData().toInt();
    StoreGroup(FTemplate, TemplateDefault(), false, FValues.PatternFileName, FValues.AlterPatternFileName);
    StoreGroup(FNewCross, NewCrossDefault(), true, FValues.NewCrossDir, FValues.AlterNewCrossDir);
    StoreGroup(FAudio, AudioDefault(), true, FValues.AudioDir, FValues.AlterAudioDir);
    accept();
}

// Only the page in front is reset; the edits of the location groups keep their texts.
void TOptionsForm::Button6Click()
{
    switch (PageControl1->currentIndex()) {
    case 0:
        SpinEdit1->SetValue(DefaultMinLen);
        SpinEdit2->SetValue(DefaultMaxLen);
        CheckBox1->setChecked(false);
        DifficultyBox->setCurrentIndex(DifficultyBox->findData(int(dfAll)));
        SchoolSafeBox->setChecked(true);
        FillExactBox->setChecked(false);
        break;
    case 1:
        FTemplate.DefaultChoice->setChecked(true);
        break;
    case 2:
        FNewCross.DefaultChoice->setChecked(true);
        break;
    case 3:
        FAudio.DefaultChoice->setChecked(true);
        SpeechBox->setChecked(true);
        break;
    case 4:
        Edit4->setText(QStringLiteral("K_????"));
        SpinEdit3->SetValue(DefaultSeriesCount);
        UniqueSeriesBox->setChecked(false);
        break;
    default:
        break;
    }
}

void TOptionsForm::Button2Click()
{
    QFileDialog dialog(this, QStringLiteral("Wybierz bieżący szablon krzyżówek"), FEnvironment.TemplateDir);
    dialog.setObjectName(QStringLiteral("DefaultPattern_OpenDialog"));
    dialog.setNameFilters({QStringLiteral("Pliki szablonu krzyżówek (*.sz)"), QStringLiteral("Wszystkie pliki (*)")});
    dialog.setDefaultSuffix(QStringLiteral("sz"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        FTemplate.Edit->setText(dialog.selectedFiles().constFirst());
}

void TOptionsForm::BrowseDirectory(const TLocationGroup& group, const QString& title)
{
    // The browser opens at the location shown when there is one, else at the desktop.
    QString start = group.Edit->text();
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString chosen = QFileDialog::getExistingDirectory(this, title, start, QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty())
        group.Edit->setText(chosen);
}

void TOptionsForm::SpinEdit1Exit()
{
    if (SpinEdit2->Value() < SpinEdit1->Value())
        SpinEdit2->SetValue(SpinEdit1->Value());
}

void TOptionsForm::SpinEdit2Exit()
{
    if (SpinEdit2->Value() < SpinEdit1->Value())
        SpinEdit1->SetValue(SpinEdit2->Value());
}

void TOptionsForm::keyPressEvent(QKeyEvent* event)
{
    // Enter on a focused button presses that button; anywhere else it presses OK.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

} // namespace mz
