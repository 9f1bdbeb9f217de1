#pragma once

#include "app/FileDialogs.h"
#include "creator/ComposeController.h"
#include "database/DB.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;

namespace mz {

class TClueList;
class TCluePanel;
class TConstructPanel;
class TCrossDocument;
class TCrossSurface;
class TDocumentCommands;
class TSolutionCommands;
class TTemplateEditor;
class TZoom;
struct TSettings;

// The place of a dialog of the given size: centred over the window, kept on the screen.
QPoint OptionsPlace(const QRect& window, QSize dialog);

// The program's main window. It builds the window (menu, toolbar, the three
// grids with their documents, the clue panel, the template editor's parts)
// and wires the controllers that do the work; it switches between the
// crossword and the template editor and fits itself to the grid shown.
//
// The documents are the model: the crossword being solved, the template being
// edited and the composing preview. Each grid is a view of one of them.
class TMainForm : public QMainWindow, private TComposeWindow {
    Q_OBJECT

public:
    // `programDir` is the directory holding the program's data (ends in '/').
    // The settings are read at start and written back when the window goes;
    // they must outlive it.
    TMainForm(const QString& programDir, TSettings& settings, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Set when the letter images could not be loaded: the program ends at once.
    bool TerminateRequested() const { return FTerminate; }

    // Opens a file by its kind: a crossword for solving, a template in the editor.
    void OpenFile(const QString& fileName);

    // Answers the file dialogs instead of showing them (tests).
    void SetFileDialogHook(TFileDialogs::THook hook);

    bool EditorMode() const override { return FEditorMode; }
    bool MinimizedByUser() const { return FMinimizedByUser; }
    bool Creating() const;
    // Database statistics gathered at start-up; all 0 when it could not be read.
    const TDBStatistics& DBStatistics() const { return FDBStatistics; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateDocuments();
    void CreateActions();
    void CreateMenus();
    void CreateGrids();
    void CreateControllers();
    void ConnectCommands();
    void Start();
    void LoadStartTemplate();
    void GatherDBStatistics();
    void WriteBackSettings();
    // The zoom's commands and the window fitted to the grid at the new size.
    void CreateZoom();
    void Zoomed(int cellSize);
    // The clue list in its dock beside the grid, and the undo of typed letters.
    void CreateClueList();
    // The list is shown with the crossword grid when the user wants it.
    void UpdateClueDock(bool crossWordShown);
    // The window's frame fits the available area of its screen.
    bool FitsScreen() const;

    // Window layout and modes.
    void FitWindowToGrid(TCrossSurface& grid);
    void ShowToolbarOf(bool editor);
    void ShowModeOf(bool editor);
    void EnterEditor();
    void CloseEditor();
    void ShowCaption(const std::string& fileName);
    void UpdateTitle();
    void ResizeTemplate(QPoint screenPos);
    void SetWriteDir(bool horizontal);
    TCrossSurface* VisibleGrid() const;

    // Commands that need the window.
    void OpenCrossWordCommand();
    void OpenTemplateCommand();
    void OptionsCommand();
    void WordDatabaseCommand();
    void HelpCommand();
    void WebPageCommand();
    void AboutCommand();
    TCrossDocument& PrintedDocument() const;

    // The window as composing sees it.
    TComposeOptions ComposeOptions() const override;
    bool PreViewChecked() const override;
    std::string CurrCrossWordFileName() const override;
    void SetComposeButtons(TComposeButtons state) override;
    TTable TemplateTable() const override;
    void StartPreview(const TTable& templateGrid) override;
    void ShowPreview(const TTable& preview) override;
    bool PreviewVisible() const override;
    void ShowPreviewGrid() override;
    void ShowCrossWordGrid() override;
    void SetCaption(const std::string& fileName) override;
    void ShowSeriesProgress(const QString& progress) override;
    void RestoreIfMinimized() override;
    bool AskYesNo(const QString& question) override;
    void Tell(const QString& message) override;
    void ShowError(const QString& message) override;
    bool AskSaveCurrentCrossWord() override;
    void TakeNewCrossWord(const TCrossTXT& crossWord) override;

    QString FProgramDir;
    TSettings& FSettings;
    TFileDialogs FDialogs;
    bool FTerminate = false;
    bool FEditorMode = false;
    bool FMinimizedByUser = false;
    // The file the title names.
    std::string FCaptionFile;
    QString FSeriesProgress;
    TDBStatistics FDBStatistics;

    QWidget* FClient = nullptr;
    QLabel* FPanel = nullptr;
    TCrossDocument* FCrossWord = nullptr;
    TCrossDocument* FTemplate = nullptr;
    TCrossDocument* FPreview = nullptr;
    TCrossSurface* FCrossView = nullptr;
    TCrossSurface* FTemplateView = nullptr;
    TCrossSurface* FPreviewView = nullptr;

    QToolBar* FToolbar = nullptr;
    TCluePanel* FClues = nullptr;
    TTemplateEditor* FEditor = nullptr;
    TDocumentCommands* FCommands = nullptr;
    TComposeController* FComposer = nullptr;
    TSolutionCommands* FSolution = nullptr;
    TZoom* FZoom = nullptr;
    TConstructPanel* FConstruct = nullptr;
    QDockWidget* FClueDock = nullptr;
    TClueList* FClueList = nullptr;

    QMenu* FTemplateMenu = nullptr;
    QMenu* FCrossWordMenu = nullptr;
    QMenu* FToolsMenu = nullptr;
    QMenu* FSolutionMenu = nullptr;
    QMenu* FViewMenu = nullptr;
    QMenu* FHelpMenu = nullptr;
    // The commands, named as in the menu (objectName) and shared with the toolbar.
    struct TActions {
        QAction* TemplateClear = nullptr;
        QAction* TemplateOpen = nullptr;
        QAction* TemplateSave = nullptr;
        QAction* TemplateSaveAs = nullptr;
        QAction* TemplatePrint = nullptr;
        QAction* TemplateClose = nullptr;
        QAction* New = nullptr;
        QAction* Open = nullptr;
        QAction* Save = nullptr;
        QAction* SaveAs = nullptr;
        QAction* ExportAsText = nullptr;
        QAction* ExportAsIpuz = nullptr;
        QAction* ExportAsWebPage = nullptr;
        QAction* Series = nullptr;
        QAction* ExportAsPdf = nullptr;
        QAction* Print = nullptr;
        QAction* Exit = nullptr;
        QAction* Stop = nullptr;
        QAction* Editor = nullptr;
        QAction* WordDatabase = nullptr;
        QAction* Options = nullptr;
        QAction* PreView = nullptr;
        QAction* ViewSeparator = nullptr;
        QAction* WriteHoriz = nullptr;
        QAction* WriteVert = nullptr;
        QAction* Play = nullptr;
        QAction* Help = nullptr;
        QAction* WebPage = nullptr;
        QAction* About = nullptr;
        QAction* ZoomIn = nullptr;
        QAction* ZoomOut = nullptr;
        QAction* ZoomDefault = nullptr;
        QAction* ClueList = nullptr;
        QAction* Undo = nullptr;
    } FAct;
};

} // namespace mz
