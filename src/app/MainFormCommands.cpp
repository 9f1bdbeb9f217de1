#include "app/MainForm.h"

#include "app/MessageForm.h"
#include "core/FileNames.h"
#include "dialogs/CrossPrint.h"
#include "dialogs/DBBrowserForm.h"
#include "dialogs/OptionsForm.h"

#include <QMenu>
#include <QToolButton>

namespace mz {

void TMainForm::ConnectToolCommands()
{
    // One action in both menus: the crossword in crossword mode, the template in the editor.
    CrossWord_ExportAsPdf = new QAction(QStringLiteral("Eksportuj jako &PDF..."), this);
    CrossWord_ExportAsPdf->setObjectName(QStringLiteral("CrossWord_ExportAsPdf"));
    CrossWord->insertAction(CrossWord_Print, CrossWord_ExportAsPdf);
    Pattern->insertAction(Pattern_Close, CrossWord_ExportAsPdf);
    Pattern_Print = new QAction(QStringLiteral("&Drukuj"), this);
    Pattern_Print->setObjectName(QStringLiteral("Pattern_Print"));
    Pattern->insertAction(CrossWord_ExportAsPdf, Pattern_Print);

    connect(CrossWord_Print, &QAction::triggered, this, &TMainForm::CrossWord_PrintClick);
    connect(Pattern_Print, &QAction::triggered, this, &TMainForm::CrossWord_PrintClick);
    connect(SBttn_Print, &QToolButton::clicked, this, &TMainForm::CrossWord_PrintClick);
    connect(CrossWord_ExportAsPdf, &QAction::triggered, this, &TMainForm::CrossWord_ExportAsPdfClick);
    connect(DB_Edytor, &QAction::triggered, this, &TMainForm::DB_EdytorClick);
    connect(Konfiguracja1, &QAction::triggered, this, &TMainForm::Konfiguracja1Click);
}

const TCrossTXT& TMainForm::PrintedDocument()
{
    // The grid is the working copy; the printout shows what is on screen.
    if (EditorMode) {
        GridToDocument(*PatternVC, *CurrPattern);
        return *CurrPattern;
    }
    GridToDocument(*CrossVC, *CurrCrossWord);
    return *CurrCrossWord;
}

void TMainForm::CrossWord_PrintClick()
{
    const TCrossTXT& doc = PrintedDocument();
    try {
        PrintCrossWord(doc, this);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

void TMainForm::CrossWord_ExportAsPdfClick()
{
    const TCrossTXT& doc = PrintedDocument();
    TFileDialogRequest request;
    request.Save = true;
    request.Title = EditorMode ? QStringLiteral("Zapisz szablon jako PDF") : QStringLiteral("Zapisz krzyżówkę jako PDF");
    request.Filter = QStringLiteral("Pliki PDF|*.pdf|Wszystkie pliki|*.*");
    request.DefaultExt = QStringLiteral("pdf");
    const std::string& name = doc.FileName;
    request.Directory = QString::fromStdString(name.substr(0, name.size() - FileNamePart(name).size()));
    const QString title = PrintTitle(doc);
    request.FileName = title.isEmpty() ? QString() : title + QStringLiteral(".pdf");
    const QString chosen = RunFileDialog(request);
    if (chosen.isEmpty())
        return;
    try {
        SaveCrossWordAsPdf(doc, chosen);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

void TMainForm::DB_EdytorClick()
{
    const TSettings& settings = Settings();
    try {
        TDBBrowserForm::Browse(settings.DataBasePath, settings.AudioDir, this);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

QPoint TMainForm::OptionsPlace(QSize dialog) const
{
    const QRect window = frameGeometry();
    const QSize screen = ScreenSize();
    int left = window.left() + window.width() / 2 - dialog.width() / 2;
    int top = window.top() + window.height() / 2 - dialog.height() / 2;
    if (left < 0)
        left = 0;
    else if (left + dialog.width() > screen.width())
        left = screen.width() - dialog.width();
    if (top < 0)
        top = 0;
    else if (top + dialog.height() > screen.height())
        top = screen.height() - dialog.height();
    return {left, top};
}

void TMainForm::Konfiguracja1Click()
{
    TSettings& settings = Settings();
    TOptionsValues values = settings;
    const TOptionsEnvironment environment{ProgramDir, settings.PatternDir, DBMinLen, DBMaxLen};
    {
        TOptionsForm dialog(values, environment, this);
        dialog.adjustSize();
        dialog.move(OptionsPlace(dialog.frameGeometry().size()));
        if (dialog.exec() == QDialog::Accepted)
            values = dialog.Values();
    }
    // A run going on keeps the values it started with; the next run starts from these.
    static_cast<TOptionsValues&>(settings) = values;

    ReloadPatternIfChanged();
}

void TMainForm::ReloadPatternIfChanged()
{
    const std::string wanted = Settings().PatternFileName.toStdString();
    if (wanted == CurrPattern->FileName)
        return;
    // The template on screen may hold edits made since its last save.
    if (!AskSaveChanges(*CurrPattern))
        return;
    TCrossTXT loaded;
    try {
        loaded.LoadFromFile(wanted);
    } catch (const std::exception&) {
        return;
    }
    if (!ShowableProblem(loaded).isEmpty())
        return;
    CopyDocument(loaded, *CurrPattern);
    CurrPattern->Kind = 1;
    DocumentToGrid(*CurrPattern, *PatternVC);
    PatternVC->resize(PatternVC->ImageWidth(), PatternVC->ImageHeight());
    CurrPattern->Modified = false;
    if (EditorMode) {
        FitWindowToGrid(PatternVC);
        UpdateSizeBox();
        SetCaption(CurrPattern->FileName);
    }
}

} // namespace mz
