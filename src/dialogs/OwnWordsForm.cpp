#include "dialogs/OwnWordsForm.h"

#include "composer/FreeLayout.h"
#include "composer/KeywordLayout.h"
#include "composer/OwnWordsReport.h"
#include "composer/WordList.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "database/Commonness.h"
#include "database/ComposeWords.h"
#include "database/DB.h"
#include "dialogs/DBBrowserForm.h"
#include "dialogs/OwnWordsPreview.h"
#include "dialogs/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace mz {

namespace {

// Typing is laid out again once it pauses this long.
constexpr int TypingPauseMs = 400;
// A word list file longer than this is no list of words.
constexpr qint64 MaxListFileSize = qint64{4} << 20;
// The dialog lays out while the user waits: fewer attempts than the command line.
constexpr int32_t DialogAttempts = 60;
constexpr double DialogTimeLimit = 0.5;
// Refused lines the report names before "i jeszcze N".
constexpr size_t ShownProblems = 5;

QString ProblemsText(const TWordList& list)
{
    return QString::fromStdString(ListProblemsText(list, ShownProblems));
}

} // namespace

TOwnWordsForm::TOwnWordsForm(const TOwnWordsSources& sources, uint32_t seed, QWidget* parent)
    : QDialog(parent), FSources(sources), FSeed(seed)
{
    setObjectName(QStringLiteral("OwnWordsForm"));
    setWindowTitle(QStringLiteral("Krzyżówka z własnych haseł"));
    ChooseFile = [](QWidget* owner) {
        return QFileDialog::getOpenFileName(owner, QStringLiteral("Wczytaj listę słów"), QString(),
                                            QStringLiteral("Pliki tekstowe (*.txt *.tsv *.csv);;Wszystkie pliki (*)"));
    };

    auto* kinds = new QGroupBox(QStringLiteral("Rodzaj"), this);
    FFreeKind = Named<QRadioButton>("FreeKind", QStringLiteral("Słowa krzyżujące się dowolnie"), kinds);
    FFreeKind->setChecked(true);
    FKeywordKind =
        Named<QRadioButton>("KeywordKind", QStringLiteral("Krzyżówka z hasłem (słowo w każdym wierszu)"), kinds);
    auto* kindLayout = new QVBoxLayout(kinds);
    kindLayout->addWidget(FFreeKind);
    kindLayout->addWidget(FKeywordKind);

    auto* words = new QGroupBox(QStringLiteral("Słowa"), this);
    auto* hint =
        new QLabel(QStringLiteral("Jedno słowo w wierszu, po tabulatorze objaśnienie:\nSŁOWO<Tab>objaśnienie"), words);
    FWords = Named<QPlainTextEdit>("WordsEdit", words);
    FWords->setTabChangesFocus(false);
    FWords->setLineWrapMode(QPlainTextEdit::NoWrap);
    FPaste = Named<QPushButton>("PasteWords", QStringLiteral("Wklej"), words);
    FImport = Named<QPushButton>("ImportWords", QStringLiteral("Wczytaj z pliku..."), words);
    FPick = Named<QPushButton>("PickWords", QStringLiteral("Z bazy haseł..."), words);
    FPick->setToolTip(QStringLiteral("Otwiera edytor bazy haseł; słowa dodane tam przyciskiem "
                                     "„Dodaj do własnej listy” trafiają na listę z objaśnieniem"));
    auto* wordsLayout = new QVBoxLayout(words);
    wordsLayout->addWidget(hint);
    wordsLayout->addWidget(FWords, 1);
    wordsLayout->addLayout(LeftRow({FPaste, FImport, FPick}));

    auto* options = new QGroupBox(QStringLiteral("Ustawienia"), this);
    FLimitSize = Named<QCheckBox>("LimitSize", QStringLiteral("Najwyżej (kolumny × wiersze):"), options);
    FMaxCols = Named<QSpinBox>("MaxCols", options);
    FMaxRows = Named<QSpinBox>("MaxRows", options);
    for (QSpinBox* box : {FMaxCols, FMaxRows}) {
        box->setRange(2, MaxGridCols);
        box->setValue(15);
    }
    FKeyword = Named<QLineEdit>("Keyword", options);
    FKeyword->setMaxLength(MaxKeywordLetters);
    FFromDB = Named<QCheckBox>("WordsFromDB", QStringLiteral("Słowa z bazy haseł, poziom:"), options);
    FDifficulty = Named<QComboBox>("Difficulty", options);
    for (const TDifficulty level : DifficultyLevels)
        FDifficulty->addItem(QString::fromStdString(DifficultyName(level)), int(level));
    FDifficulty->setCurrentIndex(std::clamp(sources.Difficulty, 0, int(dfAll)));
    auto* optionsLayout = new QGridLayout(options);
    optionsLayout->addWidget(FLimitSize, 0, 0);
    optionsLayout->addWidget(FMaxCols, 0, 1);
    optionsLayout->addWidget(FMaxRows, 0, 2);
    optionsLayout->addWidget(new QLabel(QStringLiteral("Hasło:"), options), 1, 0);
    optionsLayout->addWidget(FKeyword, 1, 1, 1, 2);
    optionsLayout->addWidget(FFromDB, 2, 0);
    optionsLayout->addWidget(FDifficulty, 2, 1, 1, 2);

    FPreview = Named<TOwnWordsPreview>("Preview", this);
    FReport = Named<QLabel>("ResultText", this);
    FReport->setWordWrap(true);
    FReport->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FAgain = Named<QPushButton>("Recompose", QStringLiteral("Ułóż ponownie"), this);

    FButtons = OkCancelButtons(this);
    FButtons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkButton"));

    auto* left = new QVBoxLayout;
    left->addWidget(kinds);
    left->addWidget(words, 1);
    left->addWidget(options);
    auto* right = new QVBoxLayout;
    right->addWidget(FPreview, 1);
    right->addWidget(FReport);
    right->addWidget(FAgain, 0, Qt::AlignLeft);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(FButtons);

    FPause = new QTimer(this);
    FPause->setSingleShot(true);
    FPause->setInterval(TypingPauseMs);
    connect(FPause, &QTimer::timeout, this, &TOwnWordsForm::Compose);
    connect(FWords, &QPlainTextEdit::textChanged, this, &TOwnWordsForm::ScheduleCompose);
    connect(FKeyword, &QLineEdit::textChanged, this, &TOwnWordsForm::ScheduleCompose);
    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{FFreeKind, FKeywordKind, FLimitSize, FFromDB})
        connect(button, &QAbstractButton::toggled, this, &TOwnWordsForm::ComposeNow);
    for (QSpinBox* box : {FMaxCols, FMaxRows})
        connect(box, &QSpinBox::valueChanged, this, &TOwnWordsForm::ScheduleCompose);
    connect(FDifficulty, &QComboBox::currentIndexChanged, this, &TOwnWordsForm::ComposeNow);
    connect(FAgain, &QPushButton::clicked, this, [this] {
        ++FSeed;
        ComposeNow();
    });
    connect(FImport, &QPushButton::clicked, this, &TOwnWordsForm::ImportFromFile);
    connect(FPaste, &QPushButton::clicked, this, &TOwnWordsForm::PasteWords);
    connect(FPick, &QPushButton::clicked, this, &TOwnWordsForm::PickFromDatabase);
    resize(860, 560);
    ComposeNow();
}

TOwnWordsForm::~TOwnWordsForm() = default;

void TOwnWordsForm::ScheduleCompose()
{
    FPause->start();
}

void TOwnWordsForm::ComposeNow()
{
    FPause->stop();
    Compose();
}

void TOwnWordsForm::UpdateControls()
{
    const bool keyword = FKeywordKind->isChecked();
    const bool fromDB = keyword && FFromDB->isChecked();
    FLimitSize->setEnabled(!keyword);
    FMaxCols->setEnabled(!keyword && FLimitSize->isChecked());
    FMaxRows->setEnabled(!keyword && FLimitSize->isChecked());
    FKeyword->setEnabled(keyword);
    FFromDB->setEnabled(keyword);
    FDifficulty->setEnabled(fromDB);
    FWords->setEnabled(!fromDB);
    FPaste->setEnabled(!fromDB);
    FImport->setEnabled(!fromDB);
    FPick->setEnabled(!fromDB);
}

void TOwnWordsForm::PickFromDatabase()
{
    std::unique_ptr<TDBBrowserForm> opened;
    try {
        opened = std::make_unique<TDBBrowserForm>(FSources.DataBasePath, FSources.UserDataBasePath,
                                                  FSources.AudioDir, this, FSources.UserAudioDir);
    } catch (const EMirakolnikError& e) {
        return ShowResult(nullptr, QString::fromStdString(e.Message()), true);
    }
    TDBBrowserForm& browser = *opened;
    browser.AllowPicking([this](const std::vector<std::pair<std::string, std::string>>& picked) {
        QString lines;
        for (const auto& [word, clue] : picked)
            lines += FromCp1250(word) + QLatin1Char('\t') + FromCp1250(clue) + QLatin1Char('\n');
        QString text = FWords->toPlainText();
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
            text += QLatin1Char('\n');
        FWords->setPlainText(text + lines);
    });
    browser.exec();
    // Words saved in the editor are the ones the keyword crossword draws from.
    if (browser.DiskChanged())
        FDB.reset();
}

void TOwnWordsForm::Compose()
{
    UpdateControls();
    try {
        if (FKeywordKind->isChecked())
            ComposeKeyword();
        else
            ComposeFree();
    } catch (const EMirakolnikError& e) {
        ShowResult(nullptr, QString::fromStdString(e.Message()), true);
    }
}

void TOwnWordsForm::ComposeFree()
{
    const TWordList list = ParseWordList(FWords->toPlainText().toStdString());
    if (!list.Problems.empty())
        return ShowResult(nullptr, ProblemsText(list), true);
    TFreeLayoutOptions options;
    if (FLimitSize->isChecked()) {
        options.MaxCols = FMaxCols->value();
        options.MaxRows = FMaxRows->value();
    }
    options.Seed = FSeed;
    options.Attempts = DialogAttempts;
    options.TimeLimitSeconds = DialogTimeLimit;
    const TFreeLayoutResult result = ComposeFreeLayout(list.Words, options);
    if (result.Placed == 0)
        return ShowResult(nullptr, QStringLiteral("Nawet dwa słowa nie krzyżują się w tym rozmiarze."), true);
    ShowResult(&result.Document, QString::fromStdString(FreeLayoutReport(result, list)), !result.Unplaced.empty());
}

void TOwnWordsForm::ComposeKeyword()
{
    const QString typed = FKeyword->text().trimmed();
    if (typed.isEmpty())
        return ShowResult(nullptr, QStringLiteral("Wpisz hasło."), false);
    bool converted = true;
    const std::string keyword = NormalizeKeyword(Utf8ToCp1250(typed.toStdString(), '?', &converted));
    if (!converted)
        return ShowResult(nullptr, QStringLiteral("Hasło może mieć tylko litery polskiego alfabetu."), true);
    TRandom random(FSeed);
    TKeywordResult result;
    int32_t merged = 0;
    if (FFromDB->isChecked()) {
        result = ComposeKeywordFromDB(keyword, Database(), random,
                                      DifficultyClueChoice(static_cast<TDifficulty>(FDifficulty->currentData().toInt())));
    } else {
        const TWordList list = ParseWordList(FWords->toPlainText().toStdString());
        if (!list.Problems.empty())
            return ShowResult(nullptr, ProblemsText(list), true);
        merged = list.Merged;
        result = mz::ComposeKeyword(keyword, list.Words, random);
    }
    if (!result.Uncovered.empty())
        return ShowResult(nullptr, QString::fromStdString(UncoveredMessage(keyword, result.Uncovered)), true);
    ShowResult(&result.Document, QString::fromStdString(KeywordReport(keyword, result.Document, merged)), false);
}

TDB& TOwnWordsForm::Database()
{
    const int level = FDifficulty->currentData().toInt();
    if (!FDB || FDBDifficulty != level) {
        const auto words =
            TComposeWords::Read(FSources.DataBasePath.toStdString(), FSources.UserDataBasePath.toStdString());
        TDBLoadFilter filter;
        filter.MinScore = DifficultyMinScore(static_cast<TDifficulty>(level));
        filter.SchoolSafe = FSources.SchoolSafe;
        FDB = words->NewDB(filter);
        FDBDifficulty = level;
    }
    return *FDB;
}

void TOwnWordsForm::ShowResult(const TCrossTXT* doc, const QString& report, bool error)
{
    FHasResult = doc != nullptr;
    FResult = doc ? *doc : TCrossTXT();
    FPreview->SetCrossWord(doc ? *doc : TCrossTXT());
    FReport->setText(report);
    FReport->setStyleSheet(error ? QStringLiteral("color: #a00000") : QString());
    FButtons->button(QDialogButtonBox::Ok)->setEnabled(FHasResult);
    FAgain->setEnabled(FHasResult);
}

void TOwnWordsForm::ImportFromFile()
{
    const QString name = ChooseFile(this);
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        FReport->setText(QStringLiteral("Nie można otworzyć pliku %1: %2").arg(name, file.errorString()));
        FReport->setStyleSheet(QStringLiteral("color: #a00000"));
        return;
    }
    const QByteArray bytes = file.read(MaxListFileSize);
    FWords->setPlainText(QString::fromStdString(WordListFileText(std::string_view(bytes.constData(), bytes.size()))));
    ComposeNow();
}

void TOwnWordsForm::PasteWords()
{
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    QString current = FWords->toPlainText();
    if (!current.isEmpty() && !current.endsWith(QLatin1Char('\n')))
        current += QLatin1Char('\n');
    FWords->setPlainText(current + text);
    ComposeNow();
}

} // namespace mz
