#pragma once

#include "composer/Composer.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace mz {

class TCrossCreator;
class TCrossSurface;
class TCrossTXT;

// The states of the composing controls.
enum TComposeButtons : std::uint8_t {
    cbIdle,      // SBttn_Stop hidden; SBttn_New, CrossWord_New, CrossWord_Series enabled
    cbComposing, // SBttn_Stop shown and enabled; SBttn_New, CrossWord_New, CrossWord_Series disabled
    cbStopping,  // as cbComposing, but SBttn_Stop disabled
};

// The settings one run starts with; read from the window at every start.
struct TComposeOptions {
    QString NewCrossDir;  // NewCrossDir, created with its parents when missing
    QString CurrPrefix;   // empty means "K_????"
    int SeriesCount = 10;
    QString DataBasePath; // baza.hk in the program directory
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
    // Crossword mode: hide CrossVC, Expl_Label and SBttn_Play; template editor
    // mode: hide PatternVC. Then show KwelinVC and fit the window to it.
    virtual void ShowPreviewGrid() = 0;
    // Hide KwelinVC, show CrossVC, fit the window to it, show Expl_Label and
    // SBttn_Play, focus CrossVC.
    virtual void ShowCrossWordGrid() = 0;
    // Format("%s - Mirakolnik Zodevidar", [file name without directory]).
    virtual void SetCaption(const std::string& fileName) = 0;
    virtual void RestoreIfMinimized() = 0;
    // Message box, information type, Yes and No, centred on the main window; true for Yes.
    virtual bool AskYesNo(const QString& question) = 0;
    // Message box, information type, OK, centred on the main window.
    virtual void Tell(const QString& message) = 0;
    // The general error display.
    virtual void ShowError(const QString& message) = 0;
    // AskSaveChanges for CurrCrossWord; false when the user chose Cancel (or a save failed).
    virtual bool AskSaveCurrentCrossWord() = 0;
    // CopyDocument from NewCrossWord to CurrCrossWord, then DocumentToGrid to CrossVC.
    virtual void TakeNewCrossWord() = 0;
};

// The window's side of composing: starting a crossword or a series, the stop,
// the preview switch, the naming of the new file and the completion handler
// that saves each result and offers it for solving. It owns the stop request,
// the progress and the running composer thread; the grids and the result
// document belong to the window and must outlive the controller.
class TComposeController : public QObject {
    Q_OBJECT

public:
    // Takes over KwelinVC's OnChangeVisibility for the busy cursor.
    TComposeController(TComposeWindow& window, TCrossSurface& patternVC, TCrossSurface& kwelinVC,
                       TCrossTXT& newCrossWord, QObject* parent = nullptr);
    // A run still going is stopped and waited for here, without deadlock.
    ~TComposeController() override;

    void CrossWord_NewClick();
    void CrossWord_SeriesClick();
    void SBttn_StopClick();
    // Call after PreView's check mark has changed.
    void PreViewClick();
    // The busy cursor while the preview grid is visible.
    void PreviewVisibilityChanged(bool visible);

    // For the window's close request. True: nothing is composing, close now.
    // False: the run is being stopped; `closeAgain` is called (queued, on the
    // main thread) once the thread has ended and its result is settled; a
    // crossword that was already finished is saved without any question.
    bool CloseQuery(std::function<void()> closeAgain);

    bool Creating() const { return FCreating; }
    bool SeriesFlag() const { return FSeriesFlag; }
    int SeriesCounter() const { return FSeriesCounter; }
    bool ThreadRunning() const { return FCreator != nullptr; }
    const TCrossCreator* Creator() const { return FCreator.get(); }
    // The file name chosen for the run going on (or the last one).
    const std::string& NewFileName() const { return FNewFileName; }

    std::atomic<bool> StopCreating{false};
    std::atomic<std::uint8_t> CreateProgress{0};

    // Tests fix each run's seed here; without it a run seeds from the clock.
    std::function<std::optional<uint32_t>()> SeedHook;

signals:
    // After each completion handler; `handedOver` when the run's crossword was finished.
    void RunCompleted(bool handedOver, const QString& fileName);
    // After every preview update of the run (main thread).
    void PreviewUpdated(bool final);

private:
    void StartRun();
    void GoIdle(bool wasCreating);
    void CreatorFinished(TCrossCreator* creator);
    void BackToCrossWord();
    void ShowResultForSolving();
    bool SaveNewCrossWord();

    TComposeWindow& FWindow;
    QPointer<TCrossSurface> FPatternVC;
    QPointer<TCrossSurface> FKwelinVC;
    TCrossTXT& FNewCrossWord;
    std::unique_ptr<TCrossCreator> FCreator;
    std::string FNewFileName;
    bool FCreating = false;
    bool FSeriesFlag = false;
    int FSeriesCounter = 1;
    bool FBusyCursor = false;
    std::function<void()> FCloseAgain;
};

} // namespace mz
