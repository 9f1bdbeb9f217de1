#pragma once

#include "composer/Composer.h"
#include "core/Table.h"
#include "database/KeptComposeWords.h"
#include "documents/CrossTXT.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

namespace mz {

class TCrossCreator;
struct TComposition;

// The states of the composing controls.
enum TComposeButtons : std::uint8_t {
    cbIdle,      // SBttn_Stop hidden; SBttn_New, CrossWord_New, CrossWord_Series enabled
    cbComposing, // SBttn_Stop shown and enabled; SBttn_New, CrossWord_New, CrossWord_Series disabled
    cbStopping,  // as cbComposing, but SBttn_Stop disabled
};

// The settings one run starts with; read from the window at every start.
// The word-length limits travel to the word-database load in Settings.
struct TComposeOptions {
    QString NewCrossDir; // NewCrossDir, created with its parents when missing
    QString CurrPrefix;  // empty means "K_????"
    int SeriesCount = 10;
    QString DataBasePath;       // baza.hk in the program directory
    QString UserDBPath;         // the user's change file of the word database; empty: none
    int32_t MinScore = 0;       // words of a lower commonness score are the reserve (TDBLoadFilter::RareAsReserve)
    bool UniqueSeries = false;  // a series sets aside the answers of its earlier crosswords
    bool SchoolSafe = true;     // only words of the ordinary register (TDBLoadFilter::SchoolSafe)
    TComposerSettings Settings; // MinLenPWord, MaxLenPWord, AnyWordLocation, step budget
};

// What composing needs of the main window. Every call comes on the main thread.
class TComposeWindow {
public:
    virtual ~TComposeWindow() = default;

    virtual TComposeOptions ComposeOptions() const = 0;
    virtual bool EditorMode() const = 0;
    virtual bool PreViewChecked() const = 0;
    virtual std::string CurrCrossWordFileName() const = 0;

    virtual void SetComposeButtons(TComposeButtons state) = 0;
    // The template a run starts from, as the template document holds it now.
    virtual TTable TemplateTable() const = 0;
    // Sizes the preview to the template and shows the template's cells on it.
    virtual void StartPreview(const TTable& templateGrid) = 0;
    // Writes a preview (blocks, spaces and question marks) onto the preview grid.
    virtual void ShowPreview(const TTable& preview) = 0;
    virtual bool PreviewVisible() const = 0;
    // Crossword mode: hide CrossVC, Expl_Label and SBttn_Play; template editor
    // mode: nothing. Then show KwelinVC and fit the window to it.
    virtual void ShowPreviewGrid() = 0;
    // Hide KwelinVC, show CrossVC, fit the window to it, show Expl_Label and
    // SBttn_Play, focus CrossVC.
    virtual void ShowCrossWordGrid() = 0;
    // Format("%s - Mirakolnik Zodevidar", [file name without directory]).
    virtual void SetCaption(const std::string& fileName) = 0;
    // The progress of a series ("Seria krzyżówek: 3 z 10") shown beside the
    // title while the series goes on; empty when none goes on.
    virtual void ShowSeriesProgress(const QString& progress) = 0;
    virtual void RestoreIfMinimized() = 0;
    // Message box, information type, Yes and No, centred on the main window; true for Yes.
    virtual bool AskYesNo(const QString& question) = 0;
    // Message box, information type, OK, centred on the main window.
    virtual void Tell(const QString& message) = 0;
    // The general error display.
    virtual void ShowError(const QString& message) = 0;
    // AskSaveChanges for CurrCrossWord; false when the user chose Cancel (or a save failed).
    virtual bool AskSaveCurrentCrossWord() = 0;
    // The finished crossword becomes the crossword being solved.
    virtual void TakeNewCrossWord(const TCrossTXT& crossWord) = 0;
};

// The window's side of composing: starting a crossword or a series, the stop,
// the preview switch, the naming of the new file and the completion handler
// that saves each result and offers it for solving. It owns the stop request,
// the running composer thread and the finished crossword, which the thread
// hands over as a value; it reaches the window only through TComposeWindow
// and knows no widget.
class TComposeController : public QObject {
    Q_OBJECT

public:
    explicit TComposeController(TComposeWindow& window, QObject* parent = nullptr);
    // A run still going is stopped and waited for here, without deadlock.
    ~TComposeController() override;

    void CrossWord_NewClick();
    void CrossWord_SeriesClick();
    void SBttn_StopClick();
    // Call after PreView's check mark has changed.
    void PreViewClick();
    // The busy cursor while the preview grid is visible; the window reports
    // every change of the preview grid's visibility here.
    void PreviewVisibilityChanged(bool visible);

    // For the window's close request. True: nothing is composing, close now.
    // False: the run is being stopped; `closeAgain` is called (queued, on the
    // main thread) once the thread has ended and its result is settled; a
    // crossword that was already finished is saved without any question.
    bool CloseQuery(std::function<void()> closeAgain);

    bool Creating() const { return FCreating; }
    // The file name chosen for the run going on (or the last one).
    const std::string& NewFileName() const { return FNewFileName; }

signals:
    // After each completion handler; `handedOver` when the run's crossword was finished.
    void RunCompleted(bool handedOver, const QString& fileName);
    // After every preview update of the run (main thread).
    void PreviewUpdated(bool final);

private:
    void StartRun();
    void GoIdle(bool wasCreating);
    void CreatorFinished(TCrossCreator* creator, const TComposition& composition);
    void BackToCrossWord();
    void ShowResultForSolving();
    bool SaveNewCrossWord();
    // The caption while the preview is shown: a single run names its file, a
    // series names none, as its files exist only once they are saved.
    std::string PreviewCaption() const;
    void EndSeries(bool handedOver);

    void TakePreview(const TTable& grid, bool final);

    friend struct TComposeControllerTestAccess;

    TComposeWindow& FWindow;
    std::atomic<bool> FStopCreating{false};
    // Tests fix each run's seed here; without it a run seeds from the clock.
    std::function<std::optional<uint32_t>()> FSeedHook;
    // Tests set it to act in the middle of a run (TCrossCreator::HoldAtFirstPreview).
    bool FHoldAtFirstPreview = false;
    TCrossTXT FNewCrossWord;
    std::unique_ptr<TCrossCreator> FCreator;
    std::string FNewFileName;
    bool FCreating = false;
    bool FSeriesFlag = false;
    int FSeriesCounter = 1;
    // While a series goes on, its last run too: how many crosswords it was
    // asked for, which one is being composed and how many were saved.
    int FSeriesTotal = 0;
    int FSeriesRun = 0;
    int FSeriesSaved = 0;
    bool FSeriesStopped = false;
    TCrossTXT FSeriesLast;
    bool FBusyCursor = false;
    std::function<void()> FCloseAgain;
    // The answers of the series so far, set aside for its later crosswords
    // when the series must not repeat them; null otherwise.
    std::shared_ptr<std::unordered_set<std::string>> FSeriesAnswers;
    // The numbered-name prefix of this run or series.
    std::string FRunPrefix;
    // The words of the last run, kept while their files stay unchanged.
    TKeptComposeWords FWords;
    // The last problem of the user's word file the user was told about.
    std::string FToldDBProblem;
    int32_t FRunMinLen = 0;
};

} // namespace mz
