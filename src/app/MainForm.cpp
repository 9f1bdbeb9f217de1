#include "app/MainForm.h"

#include "app/AboutBox.h"
#include "app/ClueCommands.h"
#include "app/ClueList.h"
#include "app/CluePanel.h"
#include "app/ConstructPanel.h"
#include "app/DocumentCommands.h"
#include "app/HelpForm.h"
#include "app/MessageBox.h"
#include "app/OwnWordsCommand.h"
#include "app/ScreenPlace.h"
#include "app/Settings.h"
#include "app/SolutionCommands.h"
#include "app/TemplateEditor.h"
#include "app/ToolbarPictures.h"
#include "app/UserDirs.h"
#include "app/WindowText.h"
#include "app/Zoom.h"
#include "composer/Composer.h"
#include "composer/NumberedName.h"
#include "core/CellChars.h"
#include "core/FileNames.h"
#include "database/ComposeWords.h"
#include "dialogs/DBBrowserForm.h"
#include "dialogs/OptionsForm.h"
#include "dialogs/Widgets.h"
#include "documents/GridReady.h"
#include "grid/CrossDocument.h"
#include "grid/CrossSurface.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDockWidget>
#include <QLabel>
#include <QBoxLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QToolBar>
#include <QUrl>

namespace mz {

namespace {

const char* const MsgLetterImage = "Nie można załadować pliku grafiki %s.";
const char* const MsgNotSupported = "%s - nie jest obsługiwany przez Mirakolnika Zodevidar.";

// The client area is laid out as a column: the grid, and under it the strip
// of the "rozwiązanie" and the clue (crossword) or the size box (template
// editor); the toolbar lies above it, the bottom panel behind its last rows.
constexpr int PanelWidth = 1024;
constexpr int PanelHeight = 68;
// The size of the crossword and the template until a file is read.
constexpr int StartCols = 10;
constexpr int StartRows = 8;
// Long clue hints stay readable.
constexpr int HintDurationMs = 10000;
constexpr int ToolbarHeight = 40;
// A dropped file name is cut to this length.
constexpr int MaxDroppedName = 260;

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const QString& hint = QString())
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        action->setToolTip(hint);
    return action;
}

void SetPicture(QAction* action, TToolbarPicture picture)
{
    action->setIcon(QIcon(ToolbarPicture(picture)));
    // The pictures belong to the toolbar; the menu shows captions only.
    action->setIconVisibleInMenu(false);
}

} // namespace

QPoint OptionsPlace(const QRect& window, QSize dialog)
{
    const QSize screen = ScreenSize();
    int left = window.left() + window.width() / 2 - dialog.width() / 2;
    int top = window.top() + window.height() / 2 - dialog.height() / 2;
    left = std::max(0, std::min(left, screen.width() - dialog.width()));
    top = std::max(0, std::min(top, screen.height() - dialog.height()));
    return {left, top};
}

TMainForm::TMainForm(const QString& programDir, TSettings& settings, QWidget* parent)
    : QMainWindow(parent), FProgramDir(WithTrailingSeparator(programDir)), FSettings(settings), FDialogs(*this)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowIcon(QIcon(ToolbarPicture(tpNew)));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    FClient = Named<QWidget>("Client", this);
    FClient->installEventFilter(this);
    setCentralWidget(FClient);
    // Every dialog and message box is kept on the screen it opens on.
    qApp->installEventFilter(new TScreenKeeper(this));
    CreateDocuments();
    CreateActions();
    CreateMenus();
    CreateGrids();
    CreateControllers();
    ConnectCommands();
    CreateZoom();
    THelpForm::InstallHelpKey(FProgramDir + HelpPageName);
    CreateClueList();
    Start();
}

TMainForm::~TMainForm()
{
    // A run still going is stopped and waited for before the documents it reports to go.
    delete FComposer;
    FComposer = nullptr;
    WriteBackSettings();
    // The views go before the documents they show.
    delete FClient;
}

// Window parts ------------------------------------------------------------------

void TMainForm::CreateDocuments()
{
    FCrossWord = Named<TCrossDocument>("CrossWordDocument", TDocumentKind::CrossWord, this);
    FTemplate = Named<TCrossDocument>("PatternDocument", TDocumentKind::Template, this);
    FPreview = Named<TCrossDocument>("PreviewDocument", TDocumentKind::CrossWord, this);
}

void TMainForm::CreateActions()
{
    FAct.TemplateClear = MakeAction(this, "Pattern_Clear", QStringLiteral("&Czyść"), QStringLiteral("Czyść szablon"));
    FAct.TemplateOpen = MakeAction(this, "Pattern_Open", QStringLiteral("&Otwórz"), QStringLiteral("Otwórz szablon"));
    FAct.TemplateSave = MakeAction(this, "Pattern_Save", QStringLiteral("Zapi&sz"), QStringLiteral("Zapisz szablon"));
    FAct.TemplateSaveAs = MakeAction(this, "Pattern_SaveAs", QStringLiteral("Z&apisz jako..."));
    FAct.TemplatePrint = MakeAction(this, "Pattern_Print", QStringLiteral("&Drukuj"), QStringLiteral("Drukuj szablon"));
    FAct.TemplateClose =
        MakeAction(this, "Pattern_Close", QStringLiteral("Zam&knij szablon"), QStringLiteral("Zamknij szablon"));
    FAct.New = MakeAction(this, "CrossWord_New", QStringLiteral("&Nowa"), QStringLiteral("Nowa krzyżówka"));
    FAct.Open = MakeAction(this, "CrossWord_Open", QStringLiteral("&Otwórz"), QStringLiteral("Otwórz krzyżówkę"));
    FAct.Save = MakeAction(this, "CrossWord_Save", QStringLiteral("Zapi&sz"), QStringLiteral("Zapisz stan krzyżówki"));
    FAct.SaveAs = MakeAction(this, "CrossWord_SaveAs", QStringLiteral("Z&apisz jako..."));
    FAct.ExportAsText = MakeAction(this, "CrossWord_ExportAsText", QStringLiteral("Eksportuj jako &tekst..."));
    FAct.ExportAsIpuz = MakeAction(this, "CrossWord_ExportAsIpuz", QStringLiteral("Eksportuj jako &ipuz..."),
                                   QStringLiteral("Zapisuje krzyżówkę w formacie ipuz dla innych programów"));
    FAct.ExportAsWebPage =
        MakeAction(this, "CrossWord_ExportAsWebPage", QStringLiteral("Eksportuj jako stronę &WWW..."),
                   QStringLiteral("Zapisuje krzyżówkę jako stronę do rozwiązywania w przeglądarce"));
    FAct.Series = MakeAction(this, "CrossWord_Series", QStringLiteral("S&eria krzyżówek"));
    // One action in both menus: the crossword in crossword mode, the template in the editor.
    FAct.ExportAsPdf = MakeAction(this, "CrossWord_ExportAsPdf", QStringLiteral("Eksportuj jako &PDF..."));
    FAct.Print = MakeAction(this, "CrossWord_Print", QStringLiteral("&Drukuj"), QStringLiteral("Drukuj krzyżówkę"));
    FAct.Exit = MakeAction(this, "CrossWord_ExitProgram", QStringLiteral("&Koniec"));
    FAct.Stop =
        MakeAction(this, "CrossWord_Stop", QStringLiteral("Przerwij"), QStringLiteral("Przerwij tworzenie krzyżówki"));
    // Shown on the toolbar while a run goes on.
    FAct.Stop->setVisible(false);
    FAct.Editor = MakeAction(this, "Editor", QStringLiteral("Edytor &Szablonu"));
    FAct.WordDatabase = MakeAction(this, "DB_Edytor", QStringLiteral("Edytor &Bazy Haseł"));
    FAct.Options = MakeAction(this, "Konfiguracja1", QStringLiteral("K&onfiguracja"));
    FAct.PreView = MakeAction(this, "PreView", QStringLiteral("Po&dgląd"));
    FAct.PreView->setCheckable(true);
    FAct.PreView->setChecked(true);
    FAct.WriteHoriz = MakeAction(this, "WriteHoriz", QStringLiteral("Pisz po&ziomo"), QStringLiteral("Pisz poziomo"));
    FAct.WriteVert = MakeAction(this, "WriteVert", QStringLiteral("Pisz pio&nowo"), QStringLiteral("Pisz pionowo"));
    auto* direction = new QActionGroup(this);
    direction->setExclusive(true);
    for (QAction* a : {FAct.WriteHoriz, FAct.WriteVert}) {
        a->setCheckable(true);
        direction->addAction(a);
    }
    FAct.WriteHoriz->setChecked(true);
    FAct.Play = MakeAction(this, "Clue_Play", QStringLiteral("Odtwórz"), QStringLiteral("Odtwarza dźwięk"));
    FAct.Help = MakeAction(this, "HelpList", QStringLiteral("&Spis Pomocy"), QStringLiteral("Pomoc"));
    FAct.Help->setShortcut(QKeySequence(Qt::Key_F1));
    FAct.Help->setShortcutContext(Qt::ApplicationShortcut);
    FAct.WebPage =
        MakeAction(this, "MirakolnikKrzywekwInternecie1", QStringLiteral("Mirakolnik Zodevidar w &Internecie..."));
    FAct.About = MakeAction(this, "About", QStringLiteral("&O Mirakolniku ..."));

    SetPicture(FAct.New, tpNew);
    SetPicture(FAct.TemplateClear, tpNew);
    SetPicture(FAct.Open, tpOpen);
    SetPicture(FAct.TemplateOpen, tpOpen);
    SetPicture(FAct.TemplateClose, tpClose);
    SetPicture(FAct.Stop, tpStop);
    SetPicture(FAct.WriteVert, tpToDown);
    SetPicture(FAct.WriteHoriz, tpToRight);
    SetPicture(FAct.Save, tpSave);
    SetPicture(FAct.TemplateSave, tpSave);
    SetPicture(FAct.Print, tpPrint);
    SetPicture(FAct.TemplatePrint, tpPrint);
    SetPicture(FAct.Help, tpHelp);
    SetPicture(FAct.Play, tpPlay);
}

void TMainForm::CreateMenus()
{
    auto menu = [this](const char* name, const QString& caption, std::initializer_list<QAction*> actions) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        for (QAction* a : actions) {
            if (a)
                m->addAction(a);
            else
                m->addSeparator();
        }
        return m;
    };
    FTemplateMenu = menu("Pattern", QStringLiteral("&Szablon"),
                        {FAct.TemplateClear, FAct.TemplateOpen, FAct.TemplateSave, FAct.TemplateSaveAs, nullptr,
                         FAct.TemplatePrint, FAct.ExportAsPdf, FAct.TemplateClose});
    FTemplateMenu->menuAction()->setVisible(false);
    FCrossWordMenu = menu("CrossWord", QStringLiteral("&Krzyżówka"),
                          {FAct.New, FAct.Open, FAct.Save, FAct.SaveAs, FAct.ExportAsText, FAct.ExportAsIpuz, FAct.ExportAsWebPage,
                           nullptr, FAct.Series, nullptr, FAct.ExportAsPdf, FAct.Print, nullptr, FAct.Exit});
    // "Krzyżówka z własnych haseł..." follows "Seria krzyżówek".
    QAction* ownWords = MakeAction(this, "CrossWord_OwnWords", QStringLiteral("Krzyżówka z własnych &haseł..."),
                                   QStringLiteral("Układa krzyżówkę z podanych słów lub krzyżówkę z hasłem"));
    FCrossWordMenu->insertAction(FCrossWordMenu->actions().value(FCrossWordMenu->actions().indexOf(FAct.Series) + 1),
                                 ownWords);
    connect(ownWords, &QAction::triggered, this, [this] {
        if (Creating())
            return Tell(QStringLiteral("Poczekaj, aż skończy się układanie krzyżówki."));
        if (const QString name = MakeOwnWordsCrossWord(this, FSettings); !name.isEmpty())
            OpenFile(name);
    });
    // Filled by the solution commands (TSolutionCommands).
    FSolutionMenu = menu("Solution", QStringLiteral("&Rozwiązanie"), {});
    FToolsMenu = menu("Tools", QStringLiteral("&Narzędzia"), {FAct.Editor, FAct.WordDatabase, nullptr, FAct.Options});
    FViewMenu = menu("View", QStringLiteral("&Widok"), {FAct.PreView});
    FAct.ViewSeparator = FViewMenu->addSeparator();
    FAct.ViewSeparator->setObjectName(QStringLiteral("N4"));
    FViewMenu->addAction(FAct.WriteHoriz);
    FViewMenu->addAction(FAct.WriteVert);
    FHelpMenu = menu("HelpMenu", QStringLiteral("&Pomoc"), {FAct.Help, FAct.WebPage, nullptr, FAct.About});
}

void TMainForm::CreateGrids()
{
    // The bottom panel lies under the grid's last cells; the grids are made after it to stay on top.
    FPanel = Named<QLabel>("Image2", FClient);
    FPanel->setGeometry(0, 0, PanelWidth, PanelHeight);
    FPanel->setPixmap(QPixmap::fromImage(PanelBackground(PanelWidth, PanelHeight)));
    // Qt's toolbar offers the buttons a narrow window cannot show under its extension button.
    FToolbar = addToolBar(QStringLiteral("Przyciski"));
    FToolbar->setObjectName(QStringLiteral("Toolbar"));
    FToolbar->setMovable(false);
    FToolbar->setFloatable(false);
    FToolbar->toggleViewAction()->setVisible(false);
    FToolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    FToolbar->setIconSize(ToolbarPicture(tpNew).size());
    FToolbar->setMinimumHeight(ToolbarHeight);
    FToolbar->setStyleSheet(QStringLiteral(
        "QToolBar#Toolbar { border: none; border-bottom: 1px solid rgb(170, 176, 190); background: "
        "qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 rgb(246, 246, 250), stop: 1 rgb(212, 218, 230)); }"));
    ShowToolbarOf(false);

    FTemplateView = Named<TCrossSurface>("PatternVC", FClient);
    FTemplateView->SetDocument(FTemplate);
    FTemplateView->setVisible(false);
    FTemplateView->SetMode(mEdit);

    FCrossView = Named<TCrossSurface>("CrossVC", FClient);
    FCrossView->SetDocument(FCrossWord);

    FPreviewView = Named<TCrossSurface>("KwelinVC", FClient);
    FPreviewView->SetDocument(FPreview);
    FPreviewView->setVisible(false);

    // The client is as large as its rows; the window is fitted to it.
    auto* column = new QVBoxLayout(FClient);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setSizeConstraint(QLayout::SetFixedSize);
    for (TCrossSurface* view : {FTemplateView, FCrossView, FPreviewView})
        column->addWidget(view, 0, Qt::AlignLeft | Qt::AlignTop);
}

void TMainForm::CreateControllers()
{
    FClues = new TCluePanel(*FCrossView, *FClient, *FAct.Play, FSettings, this);
    FEditor = new TTemplateEditor(*FTemplateView, *FClient, *FPanel, this);
    FCommands = new TDocumentCommands(*FCrossWord, *FTemplate, FSettings, FDialogs, *this, this);
    FComposer = new TComposeController(*this, this);
    FSolution = new TSolutionCommands(*FCrossWord, *FCrossView, FSettings, *this, *FClient, this);
    FSolution->FillMenu(*FSolutionMenu);
    auto* column = qobject_cast<QBoxLayout*>(FClient->layout());
    for (QWidget* row : {FSolution->StripRow(), FClues->Row(), FEditor->Row()})
        column->addWidget(row);
    // "Edycja": the crossword's clues by hand.
    auto* editMenu = Named<QMenu>("EditMenu", QStringLiteral("&Edycja"), this);
    menuBar()->insertMenu(FSolutionMenu->menuAction(), editMenu);
    auto* clueCommands = new TClueCommands(*FCrossWord, *FCrossView, *FClues, FSettings, FDialogs, *this, this);
    clueCommands->FillMenu(*editMenu);
    // Construct mode: words and blocks by hand, suggestions, locks, "Uzupełnij".
    FConstruct = new TConstructPanel(*FCrossWord, *FCrossView, FSettings, this);
    QAction* construct = MakeAction(this, "Construct_Mode", QStringLiteral("&Tryb układania"),
                                    QStringLiteral("Wpisuj hasła i czarne pola, blokuj hasła, uzupełnij resztę"));
    construct->setCheckable(true);
    QAction* fromTemplate = MakeAction(this, "Construct_FromTemplate", QStringLiteral("&Układaj z szablonu"),
                                       QStringLiteral("Nowa krzyżówka z bieżącego szablonu w trybie układania"));
    editMenu->addSeparator();
    editMenu->addAction(fromTemplate);
    editMenu->addAction(construct);
    connect(construct, &QAction::toggled, this, [this](bool on) {
        FConstruct->setVisible(on);
        FSolution->SetConstructing(on);
        if (on) {
            FConstruct->Refresh();
            const QSize hint = FConstruct->sizeHint();
            FConstruct->resize(hint.width(), std::max(hint.height(), height()));
            FConstruct->move(frameGeometry().topRight());
        }
    });
    connect(fromTemplate, &QAction::triggered, this, [this, construct] {
        if (Creating() || !FCommands->AskSaveChanges(*FCrossWord))
            return;
        Reporting([&] {
            TCrossTXT doc = FTemplate->Document();
            doc.Kind = 0;
            doc.FileName = NumberedFileName(FSettings.NewCrossDir.toStdString(), "krz", "U_????").string();
            FCrossWord->Assign(doc);
            FitWindowToGrid(*FCrossView);
            ShowCaption(FCrossWord->FileName());
            construct->setChecked(true);
            FConstruct->Refresh();
        });
    });
    connect(FConstruct, &TConstructPanel::Closed, construct, [construct] { construct->setChecked(false); });
    connect(FConstruct, &TConstructPanel::FillRequested, this, [this] {
        FComposer->CrossWord_NewClick();
        // A run that did not start (the error was shown) leaves the next "Nowa" to the template.
        if (!FComposer->Creating())
            FConstruct->FillEnded(false, QString());
    });
    connect(FComposer, &TComposeController::RunCompleted, FConstruct, &TConstructPanel::FillEnded);
}

void TMainForm::ConnectCommands()
{
    connect(FAct.Open, &QAction::triggered, this, &TMainForm::OpenCrossWordCommand);
    connect(FAct.Save, &QAction::triggered, FCommands, &TDocumentCommands::SaveCrossWord);
    connect(FAct.SaveAs, &QAction::triggered, FCommands, &TDocumentCommands::SaveCrossWordAs);
    connect(FAct.ExportAsText, &QAction::triggered, FCommands, &TDocumentCommands::ExportCrossWordAsText);
    connect(FAct.Print, &QAction::triggered, this, [this] { FCommands->Print(PrintedDocument()); });
    connect(FAct.TemplatePrint, &QAction::triggered, this, [this] { FCommands->Print(PrintedDocument()); });
    connect(FAct.ExportAsPdf, &QAction::triggered, this, [this] { FCommands->ExportAsPdf(PrintedDocument()); });
    connect(FAct.Exit, &QAction::triggered, this, &QWidget::close);

    connect(FAct.Editor, &QAction::triggered, this, &TMainForm::EnterEditor);
    // Unsaved changes of the template are offered for saving first; Anuluj keeps the editor open.
    connect(FAct.TemplateClose, &QAction::triggered, this, [this] {
        if (FCommands->AskSaveChanges(*FTemplate))
            CloseEditor();
    });
    // Cells beyond the present size keep their letters for a later enlargement.
    connect(FAct.TemplateClear, &QAction::triggered, FTemplate, &TCrossDocument::ClearCells);
    connect(FAct.TemplateOpen, &QAction::triggered, this, &TMainForm::OpenTemplateCommand);
    connect(FAct.TemplateSave, &QAction::triggered, FCommands, &TDocumentCommands::SaveTemplate);
    connect(FAct.TemplateSaveAs, &QAction::triggered, FCommands, &TDocumentCommands::SaveTemplateAs);
    connect(FEditor, &TTemplateEditor::GripDragged, this, &TMainForm::ResizeTemplate);

    connect(FAct.WriteHoriz, &QAction::triggered, this, [this] { SetWriteDir(true); });
    connect(FAct.WriteVert, &QAction::triggered, this, [this] { SetWriteDir(false); });
    connect(FAct.WordDatabase, &QAction::triggered, this, &TMainForm::WordDatabaseCommand);
    connect(FAct.Options, &QAction::triggered, this, &TMainForm::OptionsCommand);
    connect(FAct.Help, &QAction::triggered, this, &TMainForm::HelpCommand);
    connect(FAct.WebPage, &QAction::triggered, this, &TMainForm::WebPageCommand);
    connect(FAct.About, &QAction::triggered, this, &TMainForm::AboutCommand);

    connect(FAct.New, &QAction::triggered, FComposer, &TComposeController::CrossWord_NewClick);
    connect(FAct.Series, &QAction::triggered, FComposer, &TComposeController::CrossWord_SeriesClick);
    connect(FAct.Stop, &QAction::triggered, FComposer, &TComposeController::SBttn_StopClick);
    // `triggered` comes after the check mark has changed.
    connect(FAct.PreView, &QAction::triggered, FComposer, &TComposeController::PreViewClick);
    connect(FPreviewView, &TCrossSurface::VisibilityChanged, FComposer, &TComposeController::PreviewVisibilityChanged);

    connect(FCommands, &TDocumentCommands::CaptionChanged, this, &TMainForm::ShowCaption);
    connect(FCrossWord, &TCrossDocument::ModifiedChanged, this, &TMainForm::UpdateTitle);
    connect(FTemplate, &TCrossDocument::ModifiedChanged, this, &TMainForm::UpdateTitle);
    connect(FCommands, &TDocumentCommands::CrossWordRenamed, this, &TMainForm::SetCaption);

    // The solution: the strip of the "rozwiązanie" under the grid, and the phrase offered after composing.
    connect(FAct.ExportAsIpuz, &QAction::triggered, FCommands, &TDocumentCommands::ExportCrossWordAsIpuz);
    connect(FAct.ExportAsWebPage, &QAction::triggered, FCommands, &TDocumentCommands::ExportCrossWordAsWebPage);
    connect(FSolution, &TSolutionCommands::LayoutChanged, this, [this] {
        if (!FEditorMode && !FCrossView->isHidden())
            FitWindowToGrid(*FCrossView);
    });
    connect(FComposer, &TComposeController::RunCompleted, FSolution, &TSolutionCommands::AfterCompose);
}

// Start-up and shut-down --------------------------------------------------------

void TMainForm::Start()
{
    FEditorMode = false;
    FMinimizedByUser = false;
    FEditor->SetShown(false);
    SetProgramDir(FSettings, FProgramDir);
    const QString letters = FProgramDir + LetterImageName;
    const bool started = Reporting([&] {
        try {
            for (TCrossSurface* view : {FCrossView, FTemplateView, FPreviewView})
                view->SetFileName(letters);
        } catch (const std::exception&) {
            ShowMessage(Formatted(MsgLetterImage, letters), QMessageBox::Critical);
            FTerminate = true;
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }

        FCrossWord->Resize(StartCols, StartRows);
        FCrossWord->SetModified(false);

        auto store = OpenSettingsStore();
        ReadSettings(*store, FSettings, FAct.PreView->isChecked());
        FAct.PreView->setChecked(FSettings.PreViewChecked);
        FAct.ClueList->setChecked(FSettings.ClueListShown);
        if (auto* afterCompose = findChild<QAction*>(QStringLiteral("Solution_PhraseAfterCompose")))
            afterCompose->setChecked(FSettings.PhraseAfterCompose);
        if (!FTerminate)
            FZoom->SetCellSize(FSettings.CellSize);

        FCrossWord->SetFileName(ReadCurrCrossWordFileName(*store, FProgramDir).toStdString());
        FCommands->OpenCrossWord(QString::fromStdString(FCrossWord->FileName()));
        FitWindowToGrid(*FCrossView);
        ShowCaption(FCrossWord->FileName());

        ValidateWordLengths(FSettings);
        move(PlaceMainWindow(FSettings, ScreenSize(), FCrossView->width(), FCrossView->height()));
        // A place saved on another screen arrangement is checked against the screens there are now.
        while (!FitsScreen() && FZoom->CellSize() > TZoom::Sizes().front())
            FZoom->ZoomOut();
        KeepOnScreen(*this);
        store.reset();

        LoadStartTemplate();
        FPreview->Assign(FTemplate->Document());
        FPreviewView->setVisible(false);
        FPreviewView->setEnabled(false);
        FPreviewView->SetFocusVisible(false);

        FCrossView->setFocus();
        FClues->Refresh();
    });
    if (started)
        GatherDBStatistics();
}

// The template of the settings, or a blank one with a block in the corner
// when it cannot be read or shown.
void TMainForm::LoadStartTemplate()
{
    std::optional<TCrossTXT> templateDoc = ReadForGrid(FSettings.PatternFileName.toStdString());
    if (!templateDoc) {
        templateDoc.emplace();
        templateDoc->SetColCount(StartCols);
        templateDoc->SetRowCount(StartRows);
        templateDoc->SetCell(1, 1, BlockedCell);
        templateDoc->FileName = (FSettings.TemplateDir + BlankTemplateName).toStdString();
    }
    FTemplate->Assign(*templateDoc);
    FTemplate->SetModified(false);
}

void TMainForm::GatherDBStatistics()
{
    try {
        FDBStatistics =
            TComposeWords::Read(FSettings.DataBasePath.toStdString(), FSettings.UserDataBasePath.toStdString())
                ->Statistics();
    } catch (const std::exception& e) {
        FDBStatistics = TDBStatistics{};
        FDBStatistics.Edition = FDBStatistics.MinLen = 0;
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

void TMainForm::WriteBackSettings()
{
    FSettings.MainFormLeft = pos().x();
    FSettings.MainFormTop = pos().y();
    FSettings.PreViewChecked = FAct.PreView->isChecked();
    FSettings.CellSize = FZoom->CellSize();
    FSettings.ClueListShown = FAct.ClueList->isChecked();
    if (auto* afterCompose = findChild<QAction*>(QStringLiteral("Solution_PhraseAfterCompose")))
        FSettings.PhraseAfterCompose = afterCompose->isChecked();
    FSettings.CurrCrossWordFileName = QString::fromStdString(FCrossWord->FileName());
    auto store = OpenSettingsStore();
    WriteSettings(*store, FSettings);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // A run is stopped first; the close comes back once its thread has ended.
    if (!FComposer->CloseQuery([this] { close(); })) {
        event->ignore();
        return;
    }
    if (FCommands->AskSaveChanges(*FCrossWord) && FCommands->AskSaveChanges(*FTemplate))
        event->accept();
    else
        event->ignore();
}

void TMainForm::changeEvent(QEvent* event)
{
    // Minimizing by the user puts later questions in the middle of the screen.
    if (event->type() == QEvent::WindowStateChange)
        FMinimizedByUser = (windowState() & Qt::WindowMinimized) != 0;
    QMainWindow::changeEvent(event);
}

bool TMainForm::Creating() const
{
    return FComposer && FComposer->Creating();
}

void TMainForm::SetFileDialogHook(TFileDialogs::THook hook)
{
    FDialogs.SetHook(std::move(hook));
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FClient) {
        switch (event->type()) {
        case QEvent::DragEnter:
            dragEnterEvent(static_cast<QDragEnterEvent*>(event));
            return true;
        case QEvent::Drop:
            dropEvent(static_cast<QDropEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Zoom ------------------------------------------------------------------------------

void TMainForm::CreateZoom()
{
    FZoom = new TZoom({FCrossView, FTemplateView, FPreviewView}, FProgramDir + LetterImageName, this);
    FAct.ZoomIn = MakeAction(this, "ZoomIn", QStringLiteral("&Powiększ"), QStringLiteral("Powiększ siatkę"));
    FAct.ZoomOut = MakeAction(this, "ZoomOut", QStringLiteral("Pomniej&sz"), QStringLiteral("Pomniejsz siatkę"));
    FAct.ZoomDefault = MakeAction(this, "ZoomDefault", QStringLiteral("&Rozmiar domyślny"));
    // Ctrl with a letter types a Polish letter in the grid; the zoom keeps to '=', '+', '-' and '0'.
    FAct.ZoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    FAct.ZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    FAct.ZoomDefault->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    FViewMenu->addSeparator();
    for (QAction* a : {FAct.ZoomIn, FAct.ZoomOut, FAct.ZoomDefault}) {
        a->setShortcutContext(Qt::WindowShortcut);
        FViewMenu->addAction(a);
        // The menu is hidden in the template editor; the keys work there too.
        addAction(a);
    }
    connect(FAct.ZoomIn, &QAction::triggered, this, [this] {
        Reporting([this] {
            FZoom->ZoomIn();
            // A window larger than the screen would lose its bottom rows: the step is taken back.
            if (!FitsScreen())
                FZoom->ZoomOut();
        });
    });
    connect(FAct.ZoomOut, &QAction::triggered, this, [this] { Reporting([this] { FZoom->ZoomOut(); }); });
    connect(FAct.ZoomDefault, &QAction::triggered, this, [this] { Reporting([this] { FZoom->DefaultSize(); }); });
    connect(FZoom, &TZoom::Zoomed, this, &TMainForm::Zoomed);
}

void TMainForm::CreateClueList()
{
    FClueList = new TClueList(*FCrossView, *FAct.Play, [this](const TExpl& expl) { return FClues->HasSound(expl); });
    FClueDock = Named<QDockWidget>("ClueDock", QStringLiteral("Hasła"), this);
    // The window keeps the size of its grid: the list stays where it is.
    FClueDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    FClueDock->setWidget(FClueList);
    addDockWidget(Qt::RightDockWidgetArea, FClueDock);
    FClueList->SetCellSize(FZoom->CellSize());

    FAct.ClueList = MakeAction(this, "ClueListShown", QStringLiteral("&Lista haseł"),
                               QStringLiteral("Pokazuje hasła poziomo i pionowo obok siatki"));
    FAct.ClueList->setCheckable(true);
    FAct.ClueList->setChecked(true);
    FViewMenu->insertAction(FAct.ViewSeparator, FAct.ClueList);
    connect(FAct.ClueList, &QAction::triggered, this, [this] {
        if (TCrossSurface* shown = VisibleGrid())
            FitWindowToGrid(*shown);
    });

    // Ctrl with Z types Ż in the grid; Alt with Backspace is the undo key of edit fields.
    FAct.Undo = MakeAction(this, "Solution_Undo", QStringLiteral("&Cofnij wpisanie"),
                           QStringLiteral("Cofa ostatnią wpisaną lub usuniętą literę"));
    FAct.Undo->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Backspace));
    FSolutionMenu->insertAction(FSolutionMenu->actions().value(0), FAct.Undo);
    FSolutionMenu->insertSeparator(FSolutionMenu->actions().value(1));
    connect(FAct.Undo, &QAction::triggered, this, [this] {
        if (!FEditorMode && !FCrossView->isHidden())
            FCrossView->Undo();
    });
    // The direction buttons follow the grid when it turns the direction itself.
    connect(FCrossView, &TCrossSurface::WriteDirChanged, this, [this](TDirection dir) {
        if (!FEditorMode)
            (dir == TDirection::Across ? FAct.WriteHoriz : FAct.WriteVert)->setChecked(true);
    });
}

bool TMainForm::FitsScreen() const
{
    const QRect frame = frameGeometry();
    const QRect area = AvailableAreaFor(frame);
    return frame.width() <= area.width() && frame.height() <= area.height();
}

void TMainForm::UpdateClueDock(bool crossWordShown)
{
    if (!FClueDock)
        return;
    const bool shown = crossWordShown && FAct.ClueList->isChecked();
    if (shown == FClueDock->isHidden())
        FClueDock->setVisible(shown);
}

void TMainForm::Zoomed(int cellSize)
{
    FSettings.CellSize = cellSize;
    // The clue list's text follows the cells before the window is fitted to both.
    if (FClueList)
        FClueList->SetCellSize(cellSize);
    if (TCrossSurface* shown = VisibleGrid())
        FitWindowToGrid(*shown);
    else
        FitWindowToGrid(FEditorMode ? *FTemplateView : *FCrossView);
    if (FEditorMode)
        FEditor->UpdateSizeBox();
}

// Layout and modes ----------------------------------------------------------------

void TMainForm::ShowCaption(const std::string& fileName)
{
    FCaptionFile = fileName;
    UpdateTitle();
}

// The title names the file shown and marks unsaved changes of the crossword
// being solved (of the template in the editor) with a star.
void TMainForm::UpdateTitle()
{
    const bool crossWord = !FEditorMode && FCaptionFile == FCrossWord->FileName();
    const bool modified = FEditorMode ? FTemplate->Modified() : crossWord && FCrossWord->Modified();
    QStringList parts;
    if (!FCaptionFile.empty())
        parts << QString::fromStdString(FileNamePart(FCaptionFile)) + (modified ? QStringLiteral("*") : QString());
    // A series going on shows how far it is, whichever grid is on screen.
    if (!FSeriesProgress.isEmpty())
        parts << FSeriesProgress;
    parts << QStringLiteral("Mirakolnik Zodevidar");
    setWindowTitle(parts.join(QStringLiteral(" - ")));
}

TCrossSurface* TMainForm::VisibleGrid() const
{
    for (TCrossSurface* g : {FCrossView, FTemplateView, FPreviewView})
        if (!g->isHidden())
            return g;
    return nullptr;
}

// The grid must be the one not hidden: the client's layout sizes it and the rows below.
void TMainForm::FitWindowToGrid(TCrossSurface& grid)
{
    FSolution->ShowStrip(&grid == FCrossView && !FEditorMode);
    FClient->layout()->activate();
    FEditor->FitPanel(FClient->width());
    FPanel->move(0, FClient->height() - FPanel->height());
    UpdateClueDock(&grid == FCrossView && !FEditorMode);
    // The toolbar asks for the width of all its buttons; a narrower window
    // keeps the ones that do not fit under its extension button.
    setFixedSize(minimumSizeHint());
    if (isVisible())
        KeepOnScreen(*this);

    grid.ClearHighlights();
    FClues->ForgetHighlight();
    FClues->Refresh();
}

// The buttons of a mode: the template's commands in the editor, where the
// close button takes the stop button's place; the button of a hidden action
// is hidden. The buttons keep the names they always had.
void TMainForm::ShowToolbarOf(bool editor)
{
    const std::pair<QAction*, const char*> buttons[] = {
        {editor ? FAct.TemplateClear : FAct.New, "SBttn_New"},
        {editor ? FAct.TemplateOpen : FAct.Open, "SBttn_Open"},
        {editor ? FAct.TemplateClose : FAct.Stop, editor ? "SBttn_Close" : "SBttn_Stop"},
        {FAct.WriteVert, "SBttn_ToDown"},
        {FAct.WriteHoriz, "SBttn_ToRight"},
        {editor ? FAct.TemplateSave : FAct.Save, "SBttn_Save"},
        {editor ? FAct.TemplatePrint : FAct.Print, "SBttn_Print"},
        {FAct.Help, "SBttn_Help"},
    };
    // The keys of opening, saving and printing belong to the commands of the mode shown.
    const std::pair<QAction*, QAction*> keyed[] = {{FAct.Save, FAct.TemplateSave},
                                                   {FAct.Open, FAct.TemplateOpen},
                                                   {FAct.Print, FAct.TemplatePrint}};
    const QKeySequence keys[] = {QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_F3),
                                 QKeySequence(Qt::CTRL | Qt::Key_P)};
    for (size_t i = 0; i < std::size(keyed); ++i) {
        keyed[i].first->setShortcut(editor ? QKeySequence() : keys[i]);
        keyed[i].second->setShortcut(editor ? keys[i] : QKeySequence());
    }
    // The toolbar deletes the old buttons later; they lose their names now.
    for (QAction* action : FToolbar->actions())
        if (QWidget* button = FToolbar->widgetForAction(action))
            button->setObjectName(QString());
    FToolbar->clear();
    for (const auto& [action, name] : buttons) {
        FToolbar->addAction(action);
        QWidget* button = FToolbar->widgetForAction(action);
        button->setObjectName(QString::fromLatin1(name));
        // Reached by Tab, so the focus can leave the grid; a click leaves the focus where it is.
        button->setFocusPolicy(Qt::TabFocus);
        button->setToolTipDuration(HintDurationMs);
    }
}

// The menus, the toolbar and the rows under the grid of the template editor or of the crossword.
void TMainForm::ShowModeOf(bool editor)
{
    FEditorMode = editor;
    FClues->SetEditorMode(editor);
    for (QAction* crossWordOnly : {FCrossWordMenu->menuAction(), FToolsMenu->menuAction(), FSolutionMenu->menuAction(),
                                   FAct.PreView, FAct.ViewSeparator})
        crossWordOnly->setVisible(!editor);
    FTemplateMenu->menuAction()->setVisible(editor);
    ShowToolbarOf(editor);
    FClues->SetShown(!editor);
    FEditor->SetShown(editor);
}

void TMainForm::EnterEditor()
{
    TCrossSurface* shown = VisibleGrid();
    ShowModeOf(true);
    if (shown)
        shown->setVisible(false);
    FTemplateView->setVisible(true);
    FitWindowToGrid(*FTemplateView);
    FTemplateView->setFocus();
    FEditor->UpdateSizeBox();
    ShowCaption(FTemplate->FileName());
}

void TMainForm::CloseEditor()
{
    TCrossSurface& back = (FAct.PreView->isChecked() && Creating()) ? *FPreviewView : *FCrossView;
    ShowModeOf(false);
    FTemplateView->setVisible(false);
    back.setVisible(true);
    FitWindowToGrid(back);
    if (back.isEnabled())
        back.setFocus();
    ShowCaption(&back == FPreviewView ? FComposer->NewFileName() : FCrossWord->FileName());
}

void TMainForm::ResizeTemplate(QPoint screenPos)
{
    const QRect window = frameGeometry();
    const QSize frameExtra(window.width() - FClient->width(), window.height() - FClient->height());
    const QSize margins(FClient->width() - FTemplateView->width(), FClient->height() - FTemplateView->height());
    const QSize size = FEditor->SizeForGrip(screenPos, window, frameExtra, margins);
    if (size == QSize(FTemplateView->ColCount(), FTemplateView->RowCount()))
        return;
    FTemplate->Resize(size.width(), size.height());
    FitWindowToGrid(*FTemplateView);
    FEditor->UpdateSizeBox();
}

void TMainForm::SetWriteDir(bool horizontal)
{
    (FEditorMode ? FTemplateView : FCrossView)->SetWriteDir(horizontal ? TDirection::Across : TDirection::Down);
}

// Commands ------------------------------------------------------------------------

void TMainForm::OpenFile(const QString& name)
{
    const std::string ext = OpenExtensionOf(name.toLower().toStdString());
    if (ext == "krz" || ext == "xwd" || ext == "ipuz") {
        FCommands->OpenCrossWord(name);
        if (FEditorMode)
            CloseEditor();
        else
            FitWindowToGrid(*FCrossView);
    } else if (ext == "sz") {
        FCommands->OpenTemplate(name);
        if (!FEditorMode) {
            EnterEditor();
        } else {
            FitWindowToGrid(*FTemplateView);
            FEditor->UpdateSizeBox();
        }
    } else {
        ShowMessage(Formatted(MsgNotSupported, name), QMessageBox::Warning, QMessageBox::Ok, this);
    }
}

void TMainForm::OpenCrossWordCommand()
{
    if (!FCommands->OpenCrossWordDialog())
        return;
    // A crossword opened while the preview is shown takes its place.
    if (FAct.PreView->isChecked() && Creating()) {
        FAct.PreView->setChecked(false);
        FPreviewView->setVisible(false);
        FClues->SetShown(true);
        FCrossView->setVisible(true);
        FCrossView->setFocus();
    }
    FitWindowToGrid(*FCrossView);
}

void TMainForm::OpenTemplateCommand()
{
    if (!FCommands->OpenTemplateDialog())
        return;
    FitWindowToGrid(*FTemplateView);
    FEditor->UpdateSizeBox();
}

TCrossDocument& TMainForm::PrintedDocument() const
{
    return FEditorMode ? *FTemplate : *FCrossWord;
}

void TMainForm::WordDatabaseCommand()
{
    bool changed = false;
    Reporting([&] {
        changed = TDBBrowserForm::Edit(FSettings.DataBasePath, FSettings.UserDataBasePath, FSettings.AudioDir, this,
                                       FSettings.UserAudioDir);
    });
    // The about box and the options dialog's length bounds follow the saved words.
    if (changed)
        GatherDBStatistics();
}

void TMainForm::OptionsCommand()
{
    TOptionsValues values = FSettings;
    const TUserDirs user = UserDirsFor(FProgramDir);
    const TOptionsEnvironment environment{FProgramDir,
                                          FSettings.TemplateDir,
                                          FDBStatistics.MinLen,
                                          FDBStatistics.MaxLen,
                                          user.PatternFileName(),
                                          user.NewCrossDir,
                                          FProgramDir + AudioDirName};
    {
        TOptionsForm dialog(values, environment, this);
        dialog.adjustSize();
        dialog.move(OptionsPlace(frameGeometry(), dialog.frameGeometry().size()));
        if (dialog.exec() == QDialog::Accepted)
            values = dialog.Values();
    }
    // A run going on keeps the values it started with; the next run starts from these.
    static_cast<TOptionsValues&>(FSettings) = values;
    // Speech for words without a recording may have been turned on or off.
    FClues->Refresh();
    if (FCommands->ReloadTemplateIfChanged()) {
        if (FEditorMode) {
            FitWindowToGrid(*FTemplateView);
            FEditor->UpdateSizeBox();
            ShowCaption(FTemplate->FileName());
        }
    }
}

void TMainForm::HelpCommand()
{
    // The program's own window: the help answers on a machine without a browser too.
    // F1 opens it at the section of the window it was pressed in.
    // Over a dialog the help is that dialog's window, or the dialog would block it.
    QWidget* active = QApplication::activeWindow();
    QWidget* owner = active && !active->inherits("mz::THelpForm") ? active : this;
    THelpForm::ShowHelp(FProgramDir + HelpPageName, owner, THelpForm::SectionFor(owner));
}

void TMainForm::WebPageCommand()
{
    QCoreApplication::processEvents();
    QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + ProductHost()));
}

void TMainForm::AboutCommand()
{
    TAboutBox box(FDBStatistics.Edition, FDBStatistics.WordCount, FDBStatistics.ExplCount, this);
    box.exec();
}

// Dropped files ---------------------------------------------------------------------

void TMainForm::showEvent(QShowEvent* event)
{
    // Files dropped from the shell are accepted once the window is on screen.
    setAcceptDrops(true);
    FClient->setAcceptDrops(true);
    QMainWindow::showEvent(event);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    if (urls.isEmpty())
        return;
    const QString name = urls.first().isLocalFile() ? urls.first().toLocalFile() : urls.first().toString();
    OpenFile(name.left(MaxDroppedName));
}

// The window as composing sees it -------------------------------------------------------

TComposeOptions TMainForm::ComposeOptions() const
{
    TComposeOptions options;
    options.NewCrossDir = FSettings.NewCrossDir;
    options.CurrPrefix = FSettings.CurrPrefix;
    options.SeriesCount = FSettings.SeriesCount;
    options.DataBasePath = FSettings.DataBasePath;
    options.UserDBPath = FSettings.UserDataBasePath;
    options.MinScore = DifficultyMinScore(static_cast<TDifficulty>(FSettings.Difficulty));
    options.UniqueSeries = FSettings.UniqueSeries;
    options.SchoolSafe = FSettings.SchoolSafe;
    options.Settings.ClueChoice = DifficultyClueChoice(static_cast<TDifficulty>(FSettings.Difficulty));
    options.Settings.MinLenPWord = FSettings.MinLenPWord;
    options.Settings.MaxLenPWord = FSettings.MaxLenPWord;
    options.Settings.AnyWordLocation = FSettings.AnyWordLocation;
    options.Settings.FillExact = FSettings.FillExact;
    return options;
}

bool TMainForm::PreViewChecked() const
{
    return FAct.PreView->isChecked();
}

std::string TMainForm::CurrCrossWordFileName() const
{
    return FCrossWord->FileName();
}

void TMainForm::SetComposeButtons(TComposeButtons state)
{
    const bool idle = state == cbIdle;
    FAct.Stop->setVisible(!idle);
    // The button follows at once, not at the toolbar's next layout.
    FToolbar->layout()->activate();
    FAct.Stop->setEnabled(state == cbComposing);
    FAct.New->setEnabled(idle);
    FAct.Series->setEnabled(idle);
}

TTable TMainForm::TemplateTable() const
{
    if (FConstruct && FConstruct->Filling())
        return FConstruct->KeptTable();
    return TableFromDocument(FTemplate->Document());
}

void TMainForm::StartPreview(const TTable& templateGrid)
{
    FPreview->SetCells(templateGrid);
}

void TMainForm::ShowPreview(const TTable& preview)
{
    FPreview->SetCells(preview);
}

bool TMainForm::PreviewVisible() const
{
    return !FPreviewView->isHidden();
}

void TMainForm::ShowPreviewGrid()
{
    // The template editor keeps its grid on screen while a series goes on
    // behind it; the preview is shown again when the editor closes.
    if (FEditorMode)
        return;
    FCrossView->setVisible(false);
    FClues->SetShown(false);
    FPreviewView->setVisible(true);
    FitWindowToGrid(*FPreviewView);
}

void TMainForm::ShowCrossWordGrid()
{
    FPreviewView->setVisible(false);
    FCrossView->setVisible(true);
    FitWindowToGrid(*FCrossView);
    FClues->SetShown(true);
    FCrossView->setFocus();
}

void TMainForm::SetCaption(const std::string& fileName)
{
    // The editor's caption names the template for as long as the editor is shown.
    if (!FEditorMode)
        ShowCaption(fileName);
}

void TMainForm::ShowSeriesProgress(const QString& progress)
{
    FSeriesProgress = progress;
    UpdateTitle();
}

void TMainForm::RestoreIfMinimized()
{
    if (isMinimized())
        showNormal();
}

bool TMainForm::AskYesNo(const QString& question)
{
    return ShowMessage(question, QMessageBox::Information, QMessageBox::Yes | QMessageBox::No, this) == QMessageBox::Yes;
}

void TMainForm::Tell(const QString& message)
{
    ShowMessage(message, QMessageBox::Information, QMessageBox::Ok, this);
}

void TMainForm::ShowError(const QString& message)
{
    ShowErrorBox(message);
}

bool TMainForm::AskSaveCurrentCrossWord()
{
    return FCommands->AskSaveChanges(*FCrossWord);
}

void TMainForm::TakeNewCrossWord(const TCrossTXT& crossWord)
{
    TCrossTXT taken = crossWord;
    // A fill of a hand-made crossword keeps the user's clues and locks.
    FConstruct->RestoreOwnParts(taken);
    FCrossWord->Assign(taken);
}

} // namespace mz
