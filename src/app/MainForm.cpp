#include "app/MainForm.h"

#include "app/AboutBox.h"
#include "app/ExtBttnsForm.h"
#include "app/HintPause.h"
#include "app/MessageForm.h"
#include "app/SoundPlayer.h"
#include "app/ToolbarPictures.h"
#include "core/Cp1250.h"
#include "core/FileNames.h"
#include "creator/ComposeController.h"
#include "database/DB.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QSettings>
#include <QToolButton>
#include <QUrl>

namespace mz {

namespace {

const char* const MsgLetterImage = "Nie można załadować pliku grafiki %s.";

QString Caption(const std::string& fileName)
{
    return QString::fromStdString(FileNamePart(fileName)) + QStringLiteral(" - Mirakolnik Zodevidar");
}

} // namespace

void ShowErrorBox(const QString& message)
{
    MessageDlg(message, mtError, mbOK);
}

TMainForm::TMainForm(const QString& programDir, QWidget* parent)
    : QMainWindow(parent), ProgramDir(WithTrailingSeparator(programDir))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowIcon(QIcon(ToolbarPicture(tpNew)));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    FClient = new QWidget(this);
    FClient->setObjectName(QStringLiteral("Client"));
    FClient->installEventFilter(this);
    setCentralWidget(FClient);
    CreateMenus();
    CreateToolbar();
    MediaPlayer = new TSoundPlayer(this);
    connect(MediaPlayer, &TSoundPlayer::Failed, this, [](const QString& message) { ShowErrorBox(message); });
    FormCreate();
    ConnectTemplateCommands();
    ConnectToolCommands();
    CreateComposer();
}

TMainForm::~TMainForm()
{
    DestroyComposer();
    FormDestroy();
}

void TMainForm::CreateMenus()
{
    auto item = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    Pattern = menuBar()->addMenu(QStringLiteral("&Szablon"));
    Pattern->setObjectName(QStringLiteral("Pattern"));
    Pattern_Clear = item(Pattern, "Pattern_Clear", QStringLiteral("Czyść"));
    Pattern_Open = item(Pattern, "Pattern_Open", QStringLiteral("&Otwórz"));
    Pattern_Save = item(Pattern, "Pattern_Save", QStringLiteral("Zapi&sz"));
    Pattern_SaveAs = item(Pattern, "Pattern_SaveAs", QStringLiteral("Z&apisz jako..."));
    Pattern->addSeparator()->setObjectName(QStringLiteral("N5"));
    Pattern_Close = item(Pattern, "Pattern_Close", QStringLiteral("Zam&knij szablon"));
    Pattern->menuAction()->setVisible(false);

    CrossWord = menuBar()->addMenu(QStringLiteral("&Krzyżówka"));
    CrossWord->setObjectName(QStringLiteral("CrossWord"));
    CrossWord_New = item(CrossWord, "CrossWord_New", QStringLiteral("&Nowa"));
    CrossWord_Open = item(CrossWord, "CrossWord_Open", QStringLiteral("&Otwórz"));
    CrossWord_Save = item(CrossWord, "CrossWord_Save", QStringLiteral("Zapi&sz"));
    CrossWord_SaveAs = item(CrossWord, "CrossWord_SaveAs", QStringLiteral("Z&apisz jako..."));
    CrossWord_ExportAsText = item(CrossWord, "CrossWord_ExportAsText", QStringLiteral("Eksportuj jako &tekst..."));
    CrossWord->addSeparator();
    CrossWord_Series = item(CrossWord, "CrossWord_Series", QStringLiteral("Ser&ia krzyżówek..."));
    CrossWord->addSeparator();
    CrossWord_Print = item(CrossWord, "CrossWord_Print", QStringLiteral("&Drukuj"));
    CrossWord->addSeparator();
    CrossWord_ExitProgram = item(CrossWord, "CrossWord_ExitProgram", QStringLiteral("&Koniec"));

    Tools = menuBar()->addMenu(QStringLiteral("&Narzędzia"));
    Tools->setObjectName(QStringLiteral("Tools"));
    Editor = item(Tools, "Editor", QStringLiteral("Edytor &Szablonu"));
    DB_Edytor = item(Tools, "DB_Edytor", QStringLiteral("Edytor &Bazy Haseł"));
    Tools->addSeparator();
    Konfiguracja1 = item(Tools, "Konfiguracja1", QStringLiteral("K&onfiguracja"));

    View = menuBar()->addMenu(QStringLiteral("&Widok"));
    View->setObjectName(QStringLiteral("View"));
    PreView = item(View, "PreView", QStringLiteral("Po&dgląd"));
    PreView->setCheckable(true);
    PreView->setChecked(true);
    N4 = View->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    WriteHoriz = item(View, "WriteHoriz", QStringLiteral("Pisz po&ziomo"));
    WriteHoriz->setCheckable(true);
    WriteHoriz->setChecked(true);
    WriteVert = item(View, "WriteVert", QStringLiteral("Pisz pio&nowo"));
    WriteVert->setCheckable(true);

    HelpMenu = menuBar()->addMenu(QStringLiteral("&Pomoc"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    HelpList = item(HelpMenu, "HelpList", QStringLiteral("&Spis Pomocy"));
    MirakolnikKrzywekwInternecie1 = item(HelpMenu, "MirakolnikKrzywekwInternecie1",
                                         QStringLiteral("Mirakolnik Zodevidar w Internecie..."));
    HelpMenu->addSeparator();
    About = item(HelpMenu, "About", QStringLiteral("&O Mirakolniku ..."));

    connect(CrossWord_Open, &QAction::triggered, this, &TMainForm::CrossWord_OpenClick);
    connect(CrossWord_Save, &QAction::triggered, this, &TMainForm::CrossWord_SaveClick);
    connect(CrossWord_SaveAs, &QAction::triggered, this, &TMainForm::CrossWord_SaveAsClick);
    connect(CrossWord_ExportAsText, &QAction::triggered, this, &TMainForm::CrossWord_ExportAsTextClick);
    connect(CrossWord_ExitProgram, &QAction::triggered, this, &QWidget::close);
    connect(Editor, &QAction::triggered, this, &TMainForm::EnterEditor);
    connect(Pattern_Close, &QAction::triggered, this, &TMainForm::CloseEditor);
    connect(WriteHoriz, &QAction::triggered, this, &TMainForm::WriteHorizClick);
    connect(WriteVert, &QAction::triggered, this, &TMainForm::WriteVertClick);
    connect(HelpList, &QAction::triggered, this, &TMainForm::HelpListClick);
    connect(MirakolnikKrzywekwInternecie1, &QAction::triggered, this, &TMainForm::MirakolnikKrzywekwInternecie1Click);
    connect(About, &QAction::triggered, this, &TMainForm::AboutClick);
}

void TMainForm::CreateToolbar()
{
    Image2 = new QLabel(FClient);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(0, 0, 1024, 68);
    Image2->setPixmap(QPixmap::fromImage(PanelBackground(1024, 68)));

    Image1 = new QLabel(FClient);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 1024, 40);
    Image1->setPixmap(QPixmap::fromImage(ToolbarBackground(1024, 40)));

    auto button = [this](const char* name, TToolbarPicture picture, const QString& hint, int left, int width = 25) {
        auto* b = new QToolButton(FClient);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIcon(QIcon(ToolbarPicture(picture)));
        b->setIconSize(ToolbarPicture(picture).size());
        b->setToolTip(hint);
        b->setGeometry(left, 8, width, 25);
        return b;
    };
    SBttn_New = button("SBttn_New", tpNew, QStringLiteral("Nowa krzyżówka"), 8);
    SBttn_Open = button("SBttn_Open", tpOpen, QStringLiteral("Otwórz krzyżówkę"), 40);
    SBttn_Close = button("SBttn_Close", tpClose, QStringLiteral("Zamknij szablon"), 72);
    SBttn_Stop = button("SBttn_Stop", tpStop, QStringLiteral("Przerwij tworzenie krzyżówki"), 72);
    SBttn_ToDown = button("SBttn_ToDown", tpToDown, QStringLiteral("Pisz pionowo"), 104);
    SBttn_ToRight = button("SBttn_ToRight", tpToRight, QStringLiteral("Pisz poziomo"), 136);
    SBttn_Save = button("SBttn_Save", tpSave, QStringLiteral("Zapisz stan krzyżówki"), 168);
    SBttn_Print = button("SBttn_Print", tpPrint, QStringLiteral("Drukuj krzyżówkę"), 200);
    SBttn_Help = button("SBttn_Help", tpHelp, QStringLiteral("Pomoc"), 232);
    SBttn_Ext = button("SBttn_Ext", tpExt, QStringLiteral("Więcej"), 246, 14);
    SBttn_Close->hide();
    SBttn_Stop->hide();
    SBttn_Ext->hide();
    SBttn_ToDown->setCheckable(true);
    SBttn_ToRight->setCheckable(true);
    SBttn_ToRight->setChecked(true);
    auto* direction = new QButtonGroup(this);
    direction->setExclusive(true);
    direction->addButton(SBttn_ToDown);
    direction->addButton(SBttn_ToRight);

    SBttn_Play = new QToolButton(FClient);
    SBttn_Play->setObjectName(QStringLiteral("SBttn_Play"));
    SBttn_Play->setAutoRaise(true);
    SBttn_Play->setFocusPolicy(Qt::NoFocus);
    SBttn_Play->setIcon(QIcon(ToolbarPicture(tpPlay)));
    SBttn_Play->setIconSize(QSize(21, 21));
    SBttn_Play->setToolTip(QStringLiteral("Odtwarza dźwięk"));
    SBttn_Play->setGeometry(8, 0, 25, 25);

    Expl_Label = new QLabel(FClient);
    Expl_Label->setObjectName(QStringLiteral("Expl_Label"));
    Expl_Label->setTextFormat(Qt::PlainText);
    Expl_Label->setAttribute(Qt::WA_TranslucentBackground);
    QFont clueFont = Expl_Label->font();
    clueFont.setBold(true);
    clueFont.setPixelSize(13);
    Expl_Label->setFont(clueFont);
    Expl_Label->move(36, 0);

    auto sizeLabel = [this](const char* name, const QString& hint, int left) {
        auto* l = new QLabel(FClient);
        l->setObjectName(QString::fromLatin1(name));
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setToolTip(hint);
        l->move(left, 0);
        l->hide();
        return l;
    };
    Lab_X = sizeLabel("Lab_X", QStringLiteral("Liczba kolumn szablonu"), 4);
    Lab_Y = sizeLabel("Lab_Y", QStringLiteral("Liczba wierszy szablonu"), 28);

    ResizeImage = new QLabel(FClient);
    ResizeImage->setObjectName(QStringLiteral("ResizeImage"));
    ResizeImage->setPixmap(ResizeGripPicture());
    ResizeImage->resize(14, 14);
    ResizeImage->setCursor(Qt::SizeFDiagCursor);
    ResizeImage->hide();

    connect(SBttn_Open, &QToolButton::clicked, this, [this] {
        if (!EditorMode)
            CrossWord_OpenClick();
    });
    connect(SBttn_Save, &QToolButton::clicked, this, [this] {
        if (!EditorMode)
            CrossWord_SaveClick();
    });
    connect(SBttn_Close, &QToolButton::clicked, this, &TMainForm::CloseEditor);
    connect(SBttn_ToDown, &QToolButton::clicked, this, &TMainForm::WriteVertClick);
    connect(SBttn_ToRight, &QToolButton::clicked, this, &TMainForm::WriteHorizClick);
    connect(SBttn_Help, &QToolButton::clicked, this, &TMainForm::HelpListClick);
    connect(SBttn_Ext, &QToolButton::clicked, this, &TMainForm::SBttn_ExtClick);
    connect(SBttn_Play, &QToolButton::clicked, this, &TMainForm::SBttn_PlayClick);
}

void TMainForm::CreateGrids()
{
    PatternVC = new TCrossSurface(FClient);
    PatternVC->move(0, 40);
    for (int c = 1; c <= PatternVC->ColCount(); ++c)
        for (int r = 1; r <= PatternVC->RowCount(); ++r)
            PatternVC->SetCell(c, r, ' ');
    PatternVC->SetVisible(false);
    PatternVC->SetMode(mEdit);
    PatternVC->setObjectName(QStringLiteral("PatternVC"));

    CrossVC = new TCrossSurface(FClient);
    CrossVC->move(20, 40);
    CrossVC->SetColCount(10);
    CrossVC->SetRowCount(8);
    CrossVC->OnExplRefresh = [this](TCrossSurface* sender, int col, int row) {
        OnCursorMoveExplRefresh(sender, col, row);
    };
    CrossVC->OnEnterPressed = [this](TCrossSurface*) { SBttn_PlayClick(); };
    CrossVC->OnDblClick = [this](TCrossSurface*) { SBttn_PlayClick(); };
    CrossVC->setObjectName(QStringLiteral("CrossVC"));
    for (int c = 1; c <= CrossVC->ColCount(); ++c)
        for (int r = 1; r <= CrossVC->RowCount(); ++r)
            CrossVC->SetCell(c, r, ' ');

    KwelinVC = new TCrossSurface(FClient);
}

void TMainForm::FormCreate()
{
    EditorMode = false;
    MinimizedByUser = false;
    LeftMargin = 0;
    RightMargin = 0;
    TopMargin = Image1->height();
    BottomMargin = 48;
    ResizeImage->hide();

    TSettings& settings = Settings();
    SetProgramDir(settings, ProgramDir);
    CreateGrids();
    // The documents exist whatever fails below, so that closing can always ask about them.
    CurrCrossWord = std::make_unique<TCrossTXT>();
    CurrPattern = std::make_unique<TCrossTXT>();
    CurrPattern->Kind = 1;
    NewCrossWord = std::make_unique<TCrossTXT>();

    try {
        const QString letters = ProgramDir + LetterImageName;
        try {
            CrossVC->SetFileName(letters);
            PatternVC->SetFileName(letters);
            KwelinVC->SetFileName(letters);
        } catch (const std::exception&) {
            MessageDlg(QString::fromUtf8(MsgLetterImage).replace(QStringLiteral("%s"), letters), mtError, mbOK);
            FTerminate = true;
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }

        CurrCrossWord->SetColCount(10);
        CurrCrossWord->SetRowCount(8);
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 8; ++r)
                CurrCrossWord->SetCell(c, r, ' ');
        GridToDocument(*CrossVC, *CurrCrossWord);
        CurrCrossWord->Modified = false;
        CurrCrossWord->Kind = 0;

        auto store = OpenSettingsStore();
        ReadSettings(*store, settings, PreView->isChecked());
        PreView->setChecked(settings.PreViewChecked);

        CurrCrossWord->FileName = ReadCurrCrossWordFileName(*store, ProgramDir).toStdString();
        try {
            OpenCrossWord(QString::fromStdString(CurrCrossWord->FileName));
            FitWindowToGrid(CrossVC);
        } catch (const std::exception&) {
            CurrCrossWord->FileName = (settings.CrossDir + EmptyCrossWordName).toStdString();
            FitWindowToGrid(CrossVC);
        }
        SetCaption(CurrCrossWord->FileName);

        ValidateWordLengths(settings);

        move(PlaceMainWindow(settings, ScreenSize(), CrossVC->width(), CrossVC->height()));
        store.reset();

        CurrPattern->Kind = 1;
        bool patternLoaded = false;
        try {
            TCrossTXT loaded;
            loaded.LoadFromFile(settings.PatternFileName.toStdString());
            if (ShowableProblem(loaded).isEmpty()) {
                CopyDocument(loaded, *CurrPattern);
                patternLoaded = true;
            }
        } catch (const std::exception&) {
        }
        if (!patternLoaded) {
            CurrPattern->Clear();
            CurrPattern->FileName = (settings.PatternDir + BlankPatternName).toStdString();
            CurrPattern->SetColCount(10);
            CurrPattern->SetRowCount(8);
            for (int c = 1; c <= 10; ++c)
                for (int r = 1; r <= 8; ++r)
                    CurrPattern->SetCell(c, r, ' ');
            CurrPattern->SetCell(1, 1, '*');
        }
        CurrPattern->Kind = 1;
        DocumentToGrid(*CurrPattern, *PatternVC);
        PatternVC->resize(PatternVC->ImageWidth(), PatternVC->ImageHeight());
        CurrPattern->Modified = false;

        KwelinVC->SetColCount(PatternVC->ColCount());
        KwelinVC->SetRowCount(PatternVC->RowCount());
        for (int c = 1; c <= PatternVC->ColCount(); ++c)
            for (int r = 1; r <= PatternVC->RowCount(); ++r)
                KwelinVC->SetCell(c, r, PatternVC->GetCell(c, r));
        KwelinVC->resize(KwelinVC->ImageWidth(), KwelinVC->ImageHeight());
        KwelinVC->SetVisible(false);
        KwelinVC->SetEnabled(false);
        KwelinVC->SetFocusVisible(false);
        KwelinVC->setObjectName(QStringLiteral("KwelinVC"));

        GridToDocument(*KwelinVC, *NewCrossWord);
        NewCrossWord->Modified = false;
        NewCrossWord->Kind = 0;

        FExplCaption.clear();
        Expl_Label->clear();
        SBttn_Play->setEnabled(false);
        SetHintHidePause(10000);

        Lab_X->setText(QString::number(CrossVC->CurrCol()));
        Lab_Y->setText(QString::number(CrossVC->CurrRow()));
        Image2Copy = Image2->pixmap().toImage();

        CrossVC->setFocus();
        OnCursorMoveExplRefresh(CrossVC, CrossVC->CurrCol(), CrossVC->CurrRow());

        GatherDBStatistics();
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

void TMainForm::GatherDBStatistics()
{
    const TSettings& settings = Settings();
    try {
        const TDBStatistics stats = ReadDBStatistics(settings.DataBasePath.toStdString());
        DBEdition = stats.Edition;
        DBWordCount = stats.WordCount;
        DBExplCount = stats.ExplCount;
        DBMinLen = stats.MinLen;
        DBMaxLen = stats.MaxLen;
    } catch (const std::exception& e) {
        DBEdition = DBWordCount = DBExplCount = DBMinLen = DBMaxLen = 0;
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

void TMainForm::FormDestroy()
{
    TSettings& settings = Settings();
    settings.MainFormLeft = pos().x();
    settings.MainFormTop = pos().y();
    settings.PreViewChecked = PreView->isChecked();
    if (CurrCrossWord)
        settings.CurrCrossWordFileName = QString::fromStdString(CurrCrossWord->FileName);
    auto store = OpenSettingsStore();
    WriteSettings(*store, settings);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // A run is stopped first; the close comes back once its thread has ended.
    if (Composer && !Composer->CloseQuery([this] { close(); })) {
        event->ignore();
        return;
    }
    if (AskSaveChanges(*CurrCrossWord) && AskSaveChanges(*CurrPattern))
        event->accept();
    else
        event->ignore();
}

void TMainForm::changeEvent(QEvent* event)
{
    // Minimizing by the user puts later questions in the middle of the screen.
    if (event->type() == QEvent::WindowStateChange) {
        if (windowState() & Qt::WindowMinimized)
            MinimizedByUser = true;
        else
            MinimizedByUser = false;
    }
    QMainWindow::changeEvent(event);
}

void TMainForm::SetCaption(const std::string& fileName)
{
    setWindowTitle(Caption(fileName));
}

QRect TMainForm::MessageArea() const
{
    return frameGeometry();
}

TCrossSurface* TMainForm::VisibleGrid() const
{
    for (TCrossSurface* g : {CrossVC, PatternVC, KwelinVC})
        if (g->Visible())
            return g;
    return CrossVC;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FClient) {
        switch (event->type()) {
        case QEvent::Resize:
            ToolbarOverflow(FClient->width());
            break;
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

// Window layout ---------------------------------------------------------------

void TMainForm::FitWindowToGrid(TCrossSurface* grid)
{
    const int clientWidth = grid->ImageWidth() + LeftMargin + RightMargin;
    const int clientHeight = grid->ImageHeight() + TopMargin + BottomMargin;
    FClient->setFixedSize(clientWidth, clientHeight);
    Image2->move(0, clientHeight - Image2->height());
    grid->move(LeftMargin, TopMargin);
    grid->resize(grid->ImageWidth(), grid->ImageHeight());
    const int below = grid->y() + grid->height();
    SBttn_Play->move(SBttn_Play->x(), below + 8);
    Expl_Label->move(Expl_Label->x(), below + 8);
    Lab_X->move(Lab_X->x(), below + 4);
    Lab_Y->move(Lab_Y->x(), below + 4);
    ResizeImage->move(clientWidth - ResizeImage->width(), clientHeight - ResizeImage->height());
    setFixedSize(sizeHint());
    ToolbarOverflow(clientWidth);

    grid->ClearHighlights();
    LastCol = LastRow = 0;
    OnCursorMoveExplRefresh(grid, grid->CurrCol(), grid->CurrRow());
}

void TMainForm::ToolbarOverflow(int cw)
{
    const int ext = SBttn_Ext->width();
    auto fits = [&](QToolButton* b) { return b->x() + b->width() + ext < cw; };
    bool hidden = true;
    if (SBttn_Help->x() + SBttn_Help->width() < cw) {
        for (QToolButton* b : {SBttn_Help, SBttn_Print, SBttn_Save, SBttn_ToRight, SBttn_ToDown})
            b->show();
        hidden = false;
    } else {
        SBttn_Help->hide();
        if (fits(SBttn_Print)) {
            for (QToolButton* b : {SBttn_Print, SBttn_Save, SBttn_ToRight, SBttn_ToDown})
                b->show();
        } else {
            SBttn_Print->hide();
            if (fits(SBttn_Save)) {
                for (QToolButton* b : {SBttn_Save, SBttn_ToRight, SBttn_ToDown})
                    b->show();
            } else {
                SBttn_Save->hide();
                if (fits(SBttn_ToRight)) {
                    SBttn_ToRight->show();
                    SBttn_ToDown->show();
                } else {
                    SBttn_ToRight->hide();
                    SBttn_ToDown->setVisible(fits(SBttn_ToDown));
                }
            }
        }
    }
    if (hidden) {
        SBttn_Ext->move(cw - SBttn_Ext->width(), SBttn_Ext->y());
        SBttn_Ext->show();
    } else {
        SBttn_Ext->hide();
    }
}

void TMainForm::SBttn_ExtClick()
{
    auto* popup = new TExtBttnsForm({SBttn_ToDown, SBttn_ToRight, SBttn_Save, SBttn_Print, SBttn_Help}, this);
    QPoint at = FClient->mapToGlobal(QPoint(SBttn_Ext->x() + SBttn_Ext->width(), 0));
    if (at.x() + popup->width() > ScreenSize().width())
        at.setX(ScreenSize().width() - popup->width());
    popup->move(at);
    popup->show();
}

void TMainForm::WriteHorizClick()
{
    WriteHoriz->setChecked(true);
    WriteVert->setChecked(false);
    SBttn_ToRight->setChecked(true);
    (EditorMode ? PatternVC : CrossVC)->SetWriteDir(wdHorizontal);
}

void TMainForm::WriteVertClick()
{
    WriteVert->setChecked(true);
    WriteHoriz->setChecked(false);
    SBttn_ToDown->setChecked(true);
    (EditorMode ? PatternVC : CrossVC)->SetWriteDir(wdVertical);
}

void TMainForm::EnterEditor()
{
    TCrossSurface* shown = nullptr;
    for (TCrossSurface* g : {CrossVC, PatternVC, KwelinVC})
        if (g->Visible()) {
            shown = g;
            break;
        }
    EditorMode = true;
    ResizeImage->show();
    CrossWord->menuAction()->setVisible(false);
    Tools->menuAction()->setVisible(false);
    PreView->setVisible(false);
    N4->setVisible(false);
    Pattern->menuAction()->setVisible(true);
    SBttn_Stop->hide();
    SBttn_Close->show();
    SBttn_Play->hide();
    Expl_Label->hide();
    Lab_X->show();
    Lab_Y->show();
    BottomMargin = 26;
    if (shown)
        shown->SetVisible(false);
    SBttn_New->setToolTip(QStringLiteral("Czyść szablon"));
    SBttn_Open->setToolTip(QStringLiteral("Otwórz szablon"));
    SBttn_Save->setToolTip(QStringLiteral("Zapisz szablon"));
    SBttn_Print->setToolTip(QStringLiteral("Drukuj szablon"));
    FitWindowToGrid(PatternVC);
    PatternVC->SetVisible(true);
    PatternVC->setFocus();
    UpdateSizeBox();
    SetCaption(CurrPattern->FileName);
}

void TMainForm::CloseEditor()
{
    TCrossSurface* back = (PreView->isChecked() && Creating()) ? KwelinVC : CrossVC;
    EditorMode = false;
    ResizeImage->hide();
    Pattern->menuAction()->setVisible(false);
    CrossWord->menuAction()->setVisible(true);
    Tools->menuAction()->setVisible(true);
    PreView->setVisible(true);
    N4->setVisible(true);
    BottomMargin = 48;
    PatternVC->SetVisible(false);
    SBttn_Close->hide();
    SBttn_Stop->setVisible(Creating());
    SBttn_Play->show();
    Expl_Label->show();
    Lab_X->hide();
    Lab_Y->hide();
    SBttn_New->setToolTip(QStringLiteral("Nowa krzyżówka"));
    SBttn_Open->setToolTip(QStringLiteral("Otwórz krzyżówkę"));
    SBttn_Save->setToolTip(QStringLiteral("Zapisz stan krzyżówki"));
    SBttn_Print->setToolTip(QStringLiteral("Drukuj krzyżówkę"));
    Image2->setPixmap(QPixmap::fromImage(Image2Copy));
    FitWindowToGrid(back);
    back->SetVisible(true);
    if (back->Enabled())
        back->setFocus();
    SetCaption(back == KwelinVC ? NewCrossWord->FileName : CurrCrossWord->FileName);
}

void TMainForm::UpdateSizeBox()
{
    ResizeImage->move(FClient->width() - ResizeImage->width(), FClient->height() - ResizeImage->height());
    const int top = PatternVC->y() + PatternVC->height() + 4;
    Lab_X->setText(QString::number(PatternVC->ColCount()));
    Lab_Y->setText(QString::number(PatternVC->RowCount()));
    Lab_X->adjustSize();
    Lab_Y->adjustSize();
    Lab_X->move(Lab_X->x(), top);
    Lab_Y->move(Lab_X->x() + 40 - Lab_Y->width(), top);

    QImage picture = Image2Copy;
    QPainter p(&picture);
    const QRect box(2, Lab_X->y() - 2 - Image2->y(), 45, 22);
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    auto frame = [&p](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    };
    frame(box, shadow, light);
    frame(box.adjusted(-1, -1, 1, 1), light, shadow);
    p.end();
    Image2->setPixmap(QPixmap::fromImage(picture));
}

// Small commands ----------------------------------------------------------------

void TMainForm::HelpListClick()
{
    QCoreApplication::processEvents();
    QDesktopServices::openUrl(QUrl::fromLocalFile(ProgramDir + HelpPageName));
}

void TMainForm::MirakolnikKrzywekwInternecie1Click()
{
    QCoreApplication::processEvents();
    QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + ProductHost()));
}

void TMainForm::AboutClick()
{
    TAboutBox box(DBEdition, DBWordCount, DBExplCount, this);
    box.exec();
}

// Dropped files ------------------------------------------------------------------

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
    QString name = urls.first().isLocalFile() ? urls.first().toLocalFile() : urls.first().toString();
    OpenFile(name.left(260));
}

void TMainForm::OpenFile(const QString& name)
{
    const std::string ext = OpenExtensionOf(name.toLower().toStdString());
    if (ext == "krz" || ext == "xwd") {
        OpenCrossWord(name);
        if (EditorMode)
            CloseEditor();
        else
            FitWindowToGrid(CrossVC);
    } else if (ext == "sz") {
        if (!EditorMode) {
            OpenPatternByName(name);
            EnterEditor();
        } else {
            OpenPatternByName(name);
            FitWindowToGrid(PatternVC);
            UpdateSizeBox();
        }
    } else {
        MessageDlgOver(name + QStringLiteral("  - nie jest obsługiwany przez Mirakolnika Zodevidar."), mtWarning, mbOK,
                       MessageArea());
    }
}

} // namespace mz
