#include "creator/ComposeController.h"

#include "composer/NumberedName.h"
#include "composer/SeriesWords.h"
#include "core/Error.h"
#include "core/FileNames.h"
#include "creator/CrossCreator.h"
#include "database/ComposeWords.h"

#include <QCursor>
#include <QDir>
#include <QGuiApplication>

#include <filesystem>

namespace mz {

namespace {

const char* const MsgReadyAsk = "Krzyżówka %s jest gotowa.\r\nCzy chcesz ją rozwiązywać teraz?";
const char* const MsgReady = "Krzyżówka %s jest gotowa.";
const char* const MsgNoDirectory = "Nie można utworzyć katalogu %s";
const char* const MsgSeriesProgress = "Seria krzyżówek: %1 z %2";
const char* const MsgSeriesStopped = "Zapisano %1 z %2 krzyżówek w katalogu %3";

QString Formatted(const char* pattern, const std::string& arg)
{
    return QString::fromStdString(FormatMessage(pattern, arg));
}

} // namespace

TComposeController::TComposeController(TComposeWindow& window, QObject* parent) : QObject(parent), FWindow(window)
{
    setObjectName(QStringLiteral("Composer"));
}

TComposeController::~TComposeController()
{
    if (FCreator) {
        FStopCreating = true;
        FCreator.reset();
    }
    PreviewVisibilityChanged(false);
}

void TComposeController::PreviewVisibilityChanged(bool visible)
{
    // Tracked here, so that showing an already visible preview does not stack a second cursor.
    if (visible && !FBusyCursor)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else if (!visible && FBusyCursor)
        QGuiApplication::restoreOverrideCursor();
    FBusyCursor = visible;
}

void TComposeController::CrossWord_NewClick()
{
    if (FCreating || FCreator)
        return;
    FSeriesAnswers.reset();
    FSeriesTotal = 0;
    FSeriesStopped = false;
    FRunPrefix = FWindow.ComposeOptions().CurrPrefix.toStdString();
    StartRun();
}

void TComposeController::CrossWord_SeriesClick()
{
    if (FCreating || FCreator)
        return;
    FSeriesCounter = 1;
    FSeriesFlag = true;
    const TComposeOptions options = FWindow.ComposeOptions();
    FSeriesTotal = options.SeriesCount;
    FSeriesRun = 0;
    FSeriesSaved = 0;
    FSeriesStopped = false;
    // Kept for every run of the series, its last one too.
    FSeriesAnswers = options.UniqueSeries ? std::make_shared<std::unordered_set<std::string>>() : nullptr;
    FRunPrefix = CountedPrefix(options.CurrPrefix.toStdString(), options.SeriesCount);
    StartRun();
}

void TComposeController::SBttn_StopClick()
{
    if (!FCreating)
        return;
    FWindow.SetComposeButtons(cbStopping);
    FStopCreating = true;
    FSeriesFlag = false;
    FSeriesStopped = FSeriesTotal > 0;
}

void TComposeController::PreViewClick()
{
    if (!FCreating || FWindow.EditorMode())
        return;
    if (FWindow.PreViewChecked()) {
        FWindow.ShowPreviewGrid();
        FWindow.SetCaption(PreviewCaption());
    } else {
        BackToCrossWord();
    }
}

bool TComposeController::CloseQuery(std::function<void()> closeAgain)
{
    if (!FCreator)
        return true;
    FCloseAgain = std::move(closeAgain);
    SBttn_StopClick();
    return false;
}

void TComposeController::StartRun()
{
    // Set while a series goes on: its view is the preview, which a failed start must undo.
    const bool wasCreating = FCreating;
    const TComposeOptions options = FWindow.ComposeOptions();
    FWindow.SetComposeButtons(cbComposing);
    FStopCreating = false;
    FCreating = true;

    // The directory and the name come before any grid changes, so that a
    // start that cannot go on leaves the window as it was.
    const std::filesystem::path dir(options.NewCrossDir.toStdString());
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (!std::filesystem::is_directory(dir, error)) {
        FWindow.ShowError(Formatted(MsgNoDirectory, options.NewCrossDir.toStdString()));
        GoIdle(wasCreating);
        return;
    }
    try {
        FNewFileName = NumberedFileName(dir, "krz", FRunPrefix).string();
    } catch (const std::exception& e) {
        FWindow.ShowError(QString::fromUtf8(e.what()));
        GoIdle(wasCreating);
        return;
    }

    if (FSeriesTotal > 0)
        FWindow.ShowSeriesProgress(QString::fromUtf8(MsgSeriesProgress).arg(++FSeriesRun).arg(FSeriesTotal));

    try {
        TTable templateGrid = FWindow.TemplateTable();
        FWindow.StartPreview(templateGrid);
        if (FWindow.PreViewChecked()) {
            FWindow.ShowPreviewGrid();
            FWindow.SetCaption(PreviewCaption());
        }
        // The words are taken now, once for the run: a save in the word
        // database editor while it goes on changes nothing in it. They are
        // read again only when a file has changed since the last run.
        const auto words = FWords.Read(options.DataBasePath.toStdString(), options.UserDBPath.toStdString());
        if (words->Problem().empty())
            FToldDBProblem.clear();
        else if (words->Problem() != FToldDBProblem) {
            FToldDBProblem = words->Problem();
            FWindow.Tell(QString::fromStdString(FToldDBProblem));
        }
        const TDBLoadFilter filter{options.Settings.MinLenPWord, options.Settings.MaxLenPWord, options.MinScore,
                                   FSeriesAnswers, options.SchoolSafe, !options.Settings.FillExact};
        FRunMinLen = options.Settings.MinLenPWord;
        FCreator = std::make_unique<TCrossCreator>(std::move(templateGrid), ComposeDBSource(words, filter), options.Settings,
                                                   FStopCreating, FSeedHook ? FSeedHook() : std::nullopt);
    } catch (const std::exception& e) {
        // Nothing runs, so nothing may stay busy.
        FWindow.ShowError(QString::fromUtf8(e.what()));
        GoIdle(true);
        return;
    }
    TCrossCreator* creator = FCreator.get();
    if (FHoldAtFirstPreview)
        creator->HoldAtFirstPreview();
    connect(creator, &TCrossCreator::PreviewReady, this, &TComposeController::TakePreview);
    connect(creator, &TCrossCreator::Composed, this,
            [this, creator](const TComposition& composition) { CreatorFinished(creator, composition); });
    creator->start();
}

// A hidden preview is left alone, except that the final grid is still written,
// so the preview holds it when it is shown later.
void TComposeController::TakePreview(const TTable& grid, bool final)
{
    if (FWindow.PreviewVisible() || final)
        FWindow.ShowPreview(PreviewOf(grid));
    emit PreviewUpdated(final);
}

// Ends composing and any series; the crossword grid comes back when the
// preview had taken its place.
void TComposeController::GoIdle(bool wasCreating)
{
    FSeriesFlag = false;
    FSeriesCounter = 1;
    FCreating = false;
    FSeriesTotal = 0;
    FSeriesStopped = false;
    FWindow.ShowSeriesProgress(QString());
    FWindow.SetComposeButtons(cbIdle);
    if (wasCreating && !FWindow.EditorMode() && FWindow.PreViewChecked())
        BackToCrossWord();
}

void TComposeController::CreatorFinished(TCrossCreator* creator, const TComposition& composition)
{
    if (creator != FCreator.get())
        return;
    // `Composed` is the run's last act, so this wait ends at once.
    creator->wait();
    FCreator.reset();
    const bool handedOver = composition.CrossWord.has_value();
    if (handedOver) {
        FNewCrossWord = *composition.CrossWord;
        FNewCrossWord.FileName = FNewFileName;
    }
    const TComposeResult& outcome = composition.Outcome;
    const QString fileName = QString::fromStdString(FNewFileName);
    if (handedOver && FSeriesAnswers && outcome.Grid)
        for (std::string& answer : GridAnswers(*outcome.Grid, FRunMinLen))
            FSeriesAnswers->insert(std::move(answer));

    if (!handedOver && outcome.Failed && !FCloseAgain) {
        // The template and the words cannot give a crossword: nothing is
        // offered or saved, and a series ends here.
        FWindow.RestoreIfMinimized();
        FWindow.Tell(QString::fromStdString(outcome.Message.empty() ? std::string(MsgComposeFailed) : outcome.Message));
        GoIdle(true);
        emit RunCompleted(false, fileName);
        return;
    }

    if (FCloseAgain) {
        // The window is closing: a crossword finished before the stop took
        // effect is kept without any question, and the crossword grid comes
        // back in case the close is cancelled.
        if (handedOver)
            SaveNewCrossWord();
        GoIdle(true);
        emit RunCompleted(handedOver, fileName);
        QMetaObject::invokeMethod(this, std::exchange(FCloseAgain, nullptr), Qt::QueuedConnection);
        return;
    }

    if (FSeriesFlag) {
        if (!handedOver || SaveNewCrossWord()) {
            if (handedOver) {
                ++FSeriesSaved;
                FSeriesLast = FNewCrossWord;
            }
            emit RunCompleted(handedOver, fileName);
            ++FSeriesCounter;
            if (FWindow.ComposeOptions().SeriesCount <= FSeriesCounter) {
                FSeriesFlag = false;
                FSeriesCounter = 1;
            }
            StartRun();
            return;
        }
        // The crossword could not be saved (the error was shown): the series
        // ends here rather than composing more that cannot be kept.
        GoIdle(true);
        emit RunCompleted(false, fileName);
        return;
    }

    if (FSeriesStopped) {
        EndSeries(handedOver);
        emit RunCompleted(handedOver, fileName);
        return;
    }
    FSeriesTotal = 0;
    FWindow.ShowSeriesProgress(QString());
    FWindow.SetComposeButtons(cbIdle);
    FCreating = false;
    if (handedOver) {
        FWindow.RestoreIfMinimized();
        const std::string name = FileNamePart(FNewFileName);
        // Saved before any question: a crossword on disk survives whatever happens while it is open.
        SaveNewCrossWord();
        if (FWindow.EditorMode())
            FWindow.Tell(Formatted(MsgReady, name));
        else if (FWindow.PreViewChecked() || FWindow.AskYesNo(Formatted(MsgReadyAsk, name)))
            ShowResultForSolving();
    } else if (!FWindow.EditorMode() && FWindow.PreViewChecked()) {
        BackToCrossWord();
    }
    emit RunCompleted(handedOver, fileName);
}

// A series the user stopped: a crossword finished before the stop took
// effect is kept, the user learns how many were saved, and the last saved
// one is offered for solving instead of the crossword from before the series.
void TComposeController::EndSeries(bool handedOver)
{
    if (handedOver && SaveNewCrossWord()) {
        ++FSeriesSaved;
        FSeriesLast = FNewCrossWord;
    }
    const QString summary = QString::fromUtf8(MsgSeriesStopped)
                                .arg(FSeriesSaved)
                                .arg(FSeriesTotal)
                                .arg(QDir::toNativeSeparators(QDir::cleanPath(FWindow.ComposeOptions().NewCrossDir)));
    const bool anySaved = FSeriesSaved > 0;
    GoIdle(false);
    FWindow.RestoreIfMinimized();
    FWindow.Tell(summary);
    if (FWindow.EditorMode())
        return;
    if (anySaved) {
        FNewCrossWord = FSeriesLast;
        ShowResultForSolving();
    } else if (FWindow.PreViewChecked()) {
        BackToCrossWord();
    }
}

void TComposeController::BackToCrossWord()
{
    FWindow.ShowCrossWordGrid();
    FWindow.SetCaption(FWindow.CurrCrossWordFileName());
}

void TComposeController::ShowResultForSolving()
{
    // Cancel keeps the crossword on screen; the new one is still saved under its own name.
    if (FWindow.AskSaveCurrentCrossWord())
        FWindow.TakeNewCrossWord(FNewCrossWord);
    BackToCrossWord();
}

std::string TComposeController::PreviewCaption() const
{
    return FSeriesTotal > 0 ? std::string() : FNewFileName;
}

bool TComposeController::SaveNewCrossWord()
{
    try {
        FNewCrossWord.SaveToFile(FNewCrossWord.FileName);
        return true;
    } catch (const std::exception& e) {
        FWindow.ShowError(QString::fromUtf8(e.what()));
        return false;
    }
}

} // namespace mz
