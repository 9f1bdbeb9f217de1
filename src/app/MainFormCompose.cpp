#include "app/MainForm.h"

#include "app/MessageForm.h"
#include "creator/ComposeController.h"

#include <QLabel>
#include <QToolButton>

namespace mz {

namespace {

// The main window as the composing controller sees it.
class TMainFormComposeWindow : public TComposeWindow {
public:
    explicit TMainFormComposeWindow(TMainForm& form) : Form(form) {}

    TComposeOptions ComposeOptions() const override
    {
        const TSettings& settings = Settings();
        TComposeOptions options;
        options.NewCrossDir = settings.NewCrossDir;
        options.CurrPrefix = settings.CurrPrefix;
        options.SeriesCount = settings.SeriesCount;
        options.DataBasePath = settings.DataBasePath;
        options.Settings.MinLenPWord = settings.MinLenPWord;
        options.Settings.MaxLenPWord = settings.MaxLenPWord;
        options.Settings.AnyWordLocation = settings.AnyWordLocation;
        return options;
    }

    bool EditorMode() const override { return Form.EditorMode; }
    bool PreViewChecked() const override { return Form.PreView->isChecked(); }
    std::string CurrCrossWordFileName() const override { return Form.CurrCrossWord->FileName; }

    void SetComposeButtons(TComposeButtons state) override
    {
        const bool idle = state == cbIdle;
        // In the template editor the stop button's place belongs to SBttn_Close.
        Form.SBttn_Stop->setVisible(!idle && !Form.EditorMode);
        Form.SBttn_Stop->setEnabled(state == cbComposing);
        Form.SBttn_New->setEnabled(idle);
        Form.CrossWord_New->setEnabled(idle);
        Form.CrossWord_Series->setEnabled(idle);
    }

    void ShowPreviewGrid() override
    {
        // The template editor keeps its grid on screen while a series goes on
        // behind it; the preview is shown again when the editor closes.
        if (Form.EditorMode)
            return;
        Form.CrossVC->SetVisible(false);
        Form.Expl_Label->hide();
        Form.SBttn_Play->hide();
        Form.KwelinVC->SetVisible(true);
        Form.FitWindowToGrid(Form.KwelinVC);
    }

    void ShowCrossWordGrid() override
    {
        Form.KwelinVC->SetVisible(false);
        Form.CrossVC->SetVisible(true);
        Form.FitWindowToGrid(Form.CrossVC);
        Form.Expl_Label->show();
        Form.SBttn_Play->show();
        Form.CrossVC->setFocus();
    }

    void SetCaption(const std::string& fileName) override
    {
        // The editor's caption names the template for as long as the editor is shown.
        if (!Form.EditorMode)
            Form.SetCaption(fileName);
    }

    void RestoreIfMinimized() override
    {
        if (Form.isMinimized())
            Form.showNormal();
    }

    bool AskYesNo(const QString& question) override
    {
        return MessageDlgOver(question, mtInformation, mbYes | mbNo, Form.MessageArea()) == mrYes;
    }

    void Tell(const QString& message) override
    {
        MessageDlgOver(message, mtInformation, mbOK, Form.MessageArea());
    }

    void ShowError(const QString& message) override { ShowErrorBox(message); }

    bool AskSaveCurrentCrossWord() override { return Form.AskSaveChanges(*Form.CurrCrossWord); }

    void TakeNewCrossWord() override
    {
        Form.CopyDocument(*Form.NewCrossWord, *Form.CurrCrossWord);
        Form.CurrCrossWord->Kind = 0;
        Form.DocumentToGrid(*Form.CurrCrossWord, *Form.CrossVC);
        Form.CrossVC->resize(Form.CrossVC->ImageWidth(), Form.CrossVC->ImageHeight());
    }

private:
    TMainForm& Form;
};

} // namespace

bool TMainForm::Creating() const
{
    return Composer && Composer->Creating();
}

void TMainForm::CreateComposer()
{
    FComposeWindow = std::make_unique<TMainFormComposeWindow>(*this);
    Composer = std::make_unique<TComposeController>(*FComposeWindow, *PatternVC, *KwelinVC, *NewCrossWord);

    connect(CrossWord_New, &QAction::triggered, this, [this] { Composer->CrossWord_NewClick(); });
    connect(CrossWord_Series, &QAction::triggered, this, [this] { Composer->CrossWord_SeriesClick(); });
    connect(SBttn_Stop, &QToolButton::clicked, this, [this] { Composer->SBttn_StopClick(); });
    // `triggered` comes after the check mark has changed.
    connect(PreView, &QAction::triggered, this, [this] { Composer->PreViewClick(); });
    connect(SBttn_New, &QToolButton::clicked, this, [this] {
        if (EditorMode)
            Pattern_ClearClick();
        else
            Composer->CrossWord_NewClick();
    });
}

void TMainForm::DestroyComposer()
{
    // A run still going is stopped and waited for before the grids and documents it uses go.
    Composer.reset();
    FComposeWindow.reset();
}

} // namespace mz
