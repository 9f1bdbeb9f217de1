#pragma once

#include "app/Settings.h"
#include "documents/CrossTXT.h"
#include "grid/CrossSurface.h"

#include <QImage>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace mz {

class TComposeController;
class TComposeWindow;
class TSoundPlayer;

// What a file dialog is asked to show; tests answer it through FileDialogHook.
struct TFileDialogRequest {
    bool Save = false;
    QString Title;
    QString Filter;      // "Name|*.ext|Name|*.ext"
    QString Directory;
    QString FileName;
    QString DefaultExt;
    int FilterIndex = 1; // from 1; the chosen one comes back here
};

// The program's main window: the toolbar, the three grids (template, crossword,
// composing preview) with their documents, the clue panel and the menu.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // `programDir` is the directory holding the program's data (ends in '/').
    explicit TMainForm(const QString& programDir, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Set when the letter images could not be loaded: the program ends at once.
    bool TerminateRequested() const { return FTerminate; }

    // Document commands.
    void CrossWord_OpenClick();
    void CrossWord_SaveClick();
    void CrossWord_SaveAsClick();
    void CrossWord_ExportAsTextClick();
    bool AskSaveChanges(TCrossTXT& doc);
    void OpenCrossWord(const QString& fileName);
    void GridToDocument(TCrossSurface& grid, TCrossTXT& doc);
    void DocumentToGrid(const TCrossTXT& doc, TCrossSurface& grid);
    void CopyDocument(const TCrossTXT& source, TCrossTXT& target);
    void OpenFile(const QString& fileName); // a dropped file
    bool OpenPatternByName(const QString& fileName);

    // Clue panel and sound.
    void OnCursorMoveExplRefresh(TCrossSurface* Sender, int ACol, int ARow);
    void SBttn_PlayClick();
    QString ExplCaption() const { return FExplCaption; }

    // Window layout.
    void FitWindowToGrid(TCrossSurface* grid);
    void ToolbarOverflow(int clientWidth);
    void SBttn_ExtClick();
    void WriteHorizClick();
    void WriteVertClick();
    void EnterEditor();
    void CloseEditor();
    void UpdateSizeBox();
    QWidget* Client() const { return FClient; }

    // Template editor commands.
    void Pattern_ClearClick();
    void Pattern_OpenClick();
    void Pattern_SaveClick();
    void Pattern_SaveAsClick();
    // One mouse move of a drag on the resize grip, at a screen position.
    void ResizeTemplate(QPoint screenPos);

    // Composing (the controller owns the run, its thread and its flags).
    bool Creating() const;
    std::unique_ptr<TComposeController> Composer;

    // Printing, the word-database browser and the options dialog.
    void CrossWord_PrintClick();
    void CrossWord_ExportAsPdfClick();
    void DB_EdytorClick();
    void Konfiguracja1Click();
    // The options dialog's place: centred over the window, kept on the screen.
    QPoint OptionsPlace(QSize dialog) const;

    // Small commands.
    void HelpListClick();
    void MirakolnikKrzywekwInternecie1Click();
    void AboutClick();

    void SetCaption(const std::string& fileName);
    QRect MessageArea() const;

    QString ProgramDir;
    TCrossSurface* PatternVC = nullptr;
    TCrossSurface* CrossVC = nullptr;
    TCrossSurface* KwelinVC = nullptr;
    std::unique_ptr<TCrossTXT> CurrCrossWord;
    std::unique_ptr<TCrossTXT> CurrPattern;
    std::unique_ptr<TCrossTXT> NewCrossWord;

    bool EditorMode = false;
    bool MinimizedByUser = false;

    int LeftMargin = 0;
    int RightMargin = 0;
    int TopMargin = 40;
    int BottomMargin = 48;

    // Database statistics gathered at start-up; all 0 when it could not be read.
    int DBEdition = 0;
    int DBWordCount = 0;
    int DBExplCount = 0;
    int DBMinLen = 0;
    int DBMaxLen = 0;

    // Controls, named as in the form.
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QImage Image2Copy;
    QToolButton* SBttn_New = nullptr;
    QToolButton* SBttn_Open = nullptr;
    QToolButton* SBttn_Close = nullptr;
    QToolButton* SBttn_Stop = nullptr;
    QToolButton* SBttn_ToDown = nullptr;
    QToolButton* SBttn_ToRight = nullptr;
    QToolButton* SBttn_Save = nullptr;
    QToolButton* SBttn_Print = nullptr;
    QToolButton* SBttn_Help = nullptr;
    QToolButton* SBttn_Ext = nullptr;
    QToolButton* SBttn_Play = nullptr;
    QLabel* Expl_Label = nullptr;
    QLabel* Lab_X = nullptr;
    QLabel* Lab_Y = nullptr;
    QLabel* ResizeImage = nullptr;

    QMenu* Pattern = nullptr;
    QMenu* CrossWord = nullptr;
    QMenu* Tools = nullptr;
    QMenu* View = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* Pattern_Clear = nullptr;
    QAction* Pattern_Open = nullptr;
    QAction* Pattern_Save = nullptr;
    QAction* Pattern_SaveAs = nullptr;
    QAction* Pattern_Close = nullptr;
    QAction* CrossWord_New = nullptr;
    QAction* CrossWord_Open = nullptr;
    QAction* CrossWord_Save = nullptr;
    QAction* CrossWord_SaveAs = nullptr;
    QAction* CrossWord_ExportAsText = nullptr;
    QAction* CrossWord_Series = nullptr;
    QAction* CrossWord_Print = nullptr;
    QAction* CrossWord_ExportAsPdf = nullptr;
    QAction* Pattern_Print = nullptr;
    QAction* CrossWord_ExitProgram = nullptr;
    QAction* Editor = nullptr;
    QAction* DB_Edytor = nullptr;
    QAction* Konfiguracja1 = nullptr;
    QAction* PreView = nullptr;
    QAction* N4 = nullptr;
    QAction* WriteHoriz = nullptr;
    QAction* WriteVert = nullptr;
    QAction* HelpList = nullptr;
    QAction* MirakolnikKrzywekwInternecie1 = nullptr;
    QAction* About = nullptr;

    TSoundPlayer* MediaPlayer = nullptr;

    // When set, file dialogs are answered by this instead of being shown; it
    // returns the chosen name, or an empty text for Cancel.
    std::function<QString(TFileDialogRequest&)> FileDialogHook;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void CreateToolbar();
    void CreateGrids();
    void FormCreate();
    void FormDestroy();
    void GatherDBStatistics();
    void LayOutClue(const TExpl& expl);
    bool ExplLabelFits(const QString& caption) const;
    QString RunFileDialog(TFileDialogRequest& request);
    void ShowError(const QString& message);
    TCrossSurface* VisibleGrid() const;
    void CreateComposer();
    void DestroyComposer();
    void ConnectTemplateCommands();
    void ConnectToolCommands();
    const TCrossTXT& PrintedDocument();
    void ReloadPatternIfChanged();

    std::unique_ptr<TComposeWindow> FComposeWindow;

    QWidget* FClient = nullptr;
    bool FTerminate = false;
    QString FExplCaption;
    // The word start highlighted last; column 0 means none.
    int LastCol = 0;
    int LastRow = 0;
    TWriteDir LastDir = wdHorizontal;
    // The open dialog remembers its last file name and filter.
    QString CrossOpenFileName = QStringLiteral("*.krz");
    int CrossOpenFilterIndex = 1;
};

// Why a loaded document cannot be shown on a grid (too small, a cell missing
// or holding a character no cell may hold); empty when it can.
QString ShowableProblem(const TCrossTXT& doc);

// The standard error box: the message, OK and the stop icon, on the screen.
void ShowErrorBox(const QString& message);

} // namespace mz
