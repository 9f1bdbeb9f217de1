#include "app/MainForm.h"

#include "app/MessageForm.h"
#include "core/Cp1250.h"
#include "core/FileNames.h"

#include <QFileDialog>
#include <QLabel>
#include <QToolButton>

namespace mz {

namespace {

const char* const MsgLoadError = "Wystąpił błąd podczas ładowania pliku %s";
const char* const MsgCrossWordChanged = "Zawartość krzyżówki %s zmieniła się.\nCzy chcesz zapisać zmiany?";
const char* const MsgPatternChanged = "Zawartość szablonu %s zmieniła się.\nCzy chcesz zapisać zmiany?";

QString Format(const char* pattern, const QString& arg)
{
    return QString::fromUtf8(pattern).replace(QStringLiteral("%s"), arg);
}

std::string DirectoryOf(const std::string& path)
{
    return path.substr(0, path.size() - FileNamePart(path).size());
}

// The file-name part cut before its first dot, with ".krz" appended.
std::string WithCrossWordExtension(const std::string& namePart)
{
    return namePart.substr(0, namePart.find('.')) + ".krz";
}

QStringList QtFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        result << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return result;
}

} // namespace

QString ShowableProblem(const TCrossTXT& doc)
{
    if (doc.ColCount() < 4 || doc.RowCount() < 3)
        return QStringLiteral("size");
    for (int c = 1; c <= doc.ColCount(); ++c)
        for (int r = 1; r <= doc.RowCount(); ++r)
            if (!doc.HasCell(c, r) || !IsCellChar(doc.GetCell(c, r)))
                return QStringLiteral("cell");
    return QString();
}

QString TMainForm::RunFileDialog(TFileDialogRequest& request)
{
    if (FileDialogHook)
        return FileDialogHook(request);
    QFileDialog dialog(this, request.Title, request.Directory);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtFilters(request.Filter);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    if (!request.DefaultExt.isEmpty())
        dialog.setDefaultSuffix(request.DefaultExt);
    dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    request.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().first();
}

void TMainForm::ShowError(const QString& message)
{
    ShowErrorBox(message);
}

void TMainForm::GridToDocument(TCrossSurface& grid, TCrossTXT& doc)
{
    doc.SetColCount(grid.ColCount());
    doc.SetRowCount(grid.RowCount());
    for (int c = 1; c <= grid.ColCount(); ++c)
        for (int r = 1; r <= grid.RowCount(); ++r)
            doc.SetCell(c, r, static_cast<unsigned char>(grid.GetCell(c, r)));
}

void TMainForm::DocumentToGrid(const TCrossTXT& doc, TCrossSurface& grid)
{
    if (grid.ColCount() != doc.ColCount() || grid.RowCount() != doc.RowCount()) {
        grid.SetColCount(doc.ColCount());
        grid.SetRowCount(doc.RowCount());
    }
    for (int c = 1; c <= doc.ColCount(); ++c)
        for (int r = 1; r <= doc.RowCount(); ++r)
            grid.SetCell(c, r, static_cast<char>(doc.GetCell(c, r)));
}

void TMainForm::CopyDocument(const TCrossTXT& source, TCrossTXT& target)
{
    target.Clear();
    target.SetColCount(source.ColCount());
    target.SetRowCount(source.RowCount());
    target.FileName = source.FileName;
    target.Kind = source.Kind;
    target.CurrentExpl = source.CurrentExpl;
    for (int c = 1; c <= source.ColCount(); ++c)
        for (int r = 1; r <= source.RowCount(); ++r)
            target.SetCell(c, r, source.GetCell(c, r));
    for (int n = 1; n <= source.ExplCount(); ++n)
        target.AddExpl(source.GetExpl(n));
    target.Modified = source.Modified;
}

bool TMainForm::AskSaveChanges(TCrossTXT& doc)
{
    if (doc.Kind != 0 && doc.Kind != 1)
        return true;
    TCrossSurface& grid = doc.Kind == 0 ? *CrossVC : *PatternVC;
    TCrossTXT& shown = doc.Kind == 0 ? *CurrCrossWord : *CurrPattern;
    GridToDocument(grid, shown);
    if (!shown.Modified)
        return true;
    const QString question = Format(doc.Kind == 0 ? MsgCrossWordChanged : MsgPatternChanged,
                                    QString::fromStdString(FileNamePart(doc.FileName)));
    const int answer = MinimizedByUser
        ? MessageDlg(question, mtInformation, mbYes | mbNo | mbCancel)
        : MessageDlgOver(question, mtInformation, mbYes | mbNo | mbCancel, MessageArea());
    if (answer == mrCancel)
        return false;
    if (answer == mrYes) {
        try {
            shown.SaveToFile(doc.FileName);
        } catch (const std::exception& e) {
            // A failed save must not let the command go on and drop the changes.
            shown.Modified = true;
            ShowError(QString::fromUtf8(e.what()));
            return false;
        }
    }
    return true;
}

void TMainForm::OpenCrossWord(const QString& fileName)
{
    if (!AskSaveChanges(*CurrCrossWord))
        return;
    TCrossTXT loaded;
    try {
        loaded.LoadFromFile(fileName.toStdString());
        // Checked before anything changes, so a file the grid cannot show
        // leaves the current crossword as it was.
        if (!ShowableProblem(loaded).isEmpty())
            throw std::runtime_error("not showable");
        CopyDocument(loaded, *CurrCrossWord);
        CurrCrossWord->Kind = 0;
        DocumentToGrid(loaded, *CrossVC);
        CrossVC->resize(CrossVC->ImageWidth(), CrossVC->ImageHeight());
        SetCaption(fileName.toStdString());
    } catch (const std::exception&) {
        MessageDlgOver(Format(MsgLoadError, fileName), mtWarning, mbOK, MessageArea());
    }
}

void TMainForm::CrossWord_OpenClick()
{
    TFileDialogRequest request;
    request.Title = QStringLiteral("Otwórz krzyżówkę...");
    request.Filter = QStringLiteral("Pliki krzyżówek|*.krz|Pliki XWD|*.xwd|Wszystkie pliki|*.*");
    request.Directory = QString::fromStdString(DirectoryOf(CurrCrossWord->FileName));
    if (ExtensionOf(CurrCrossWord->FileName) == "xwd") {
        CrossOpenFileName = QStringLiteral("*.xwd");
        CrossOpenFilterIndex = 2;
    }
    request.FileName = CrossOpenFileName;
    request.FilterIndex = CrossOpenFilterIndex;
    const QString chosen = RunFileDialog(request);
    if (chosen.isEmpty())
        return;
    CrossOpenFileName = chosen;
    CrossOpenFilterIndex = request.FilterIndex;
    OpenCrossWord(chosen);
    if (PreView->isChecked() && Creating()) {
        PreView->setChecked(false);
        KwelinVC->SetVisible(false);
        Expl_Label->show();
        SBttn_Play->show();
        CrossVC->SetVisible(true);
        CrossVC->setFocus();
    }
    FitWindowToGrid(CrossVC);
}

void TMainForm::CrossWord_SaveClick()
{
    GridToDocument(*CrossVC, *CurrCrossWord);
    if (!CurrCrossWord->Modified)
        return;
    const std::string namePart = FileNamePart(CurrCrossWord->FileName);
    if (ExtensionOf(CurrCrossWord->FileName) != "krz") {
        const std::string corrected = WithCrossWordExtension(namePart);
        CurrCrossWord->FileName = DirectoryOf(CurrCrossWord->FileName) + corrected;
        SetCaption(corrected);
    }
    try {
        CurrCrossWord->SaveToFile(CurrCrossWord->FileName);
    } catch (const std::exception& e) {
        CurrCrossWord->Modified = true;
        ShowError(QString::fromUtf8(e.what()));
    }
}

void TMainForm::CrossWord_SaveAsClick()
{
    GridToDocument(*CrossVC, *CurrCrossWord);
    TFileDialogRequest request;
    request.Save = true;
    request.Title = QStringLiteral("Zapisz krzyżówkę jako...");
    request.Filter = QStringLiteral("Pliki krzyżówek|*.krz|Wszystkie pliki|*.*");
    request.DefaultExt = QStringLiteral("krz");
    request.Directory = QString::fromStdString(DirectoryOf(CurrCrossWord->FileName));
    request.FileName = QString::fromStdString(FileNamePart(CurrCrossWord->FileName));
    const QString chosenText = RunFileDialog(request);
    if (chosenText.isEmpty())
        return;
    const std::string chosen = chosenText.toStdString();
    if (ExtensionOf(chosen) != "krz")
        CurrCrossWord->FileName = DirectoryOf(chosen) + WithCrossWordExtension(FileNamePart(chosen));
    else
        CurrCrossWord->FileName = chosen;
    SetCaption(chosen);
    try {
        CurrCrossWord->SaveToFile(CurrCrossWord->FileName);
    } catch (const std::exception& e) {
        CurrCrossWord->Modified = true;
        ShowError(QString::fromUtf8(e.what()));
    }
}

void TMainForm::CrossWord_ExportAsTextClick()
{
    TFileDialogRequest request;
    request.Save = true;
    request.Title = QStringLiteral("Eksportuj krzyżówkę jako tekst");
    request.Filter = QStringLiteral("Pliki tekstowe|*.txt|Wszystkie pliki|*.*");
    request.DefaultExt = QStringLiteral("txt");
    const std::string namePart = FileNamePart(CurrCrossWord->FileName);
    request.FileName = QString::fromStdString(namePart.substr(0, namePart.find('.')));
    request.Directory = QString::fromStdString(DirectoryOf(CurrCrossWord->FileName));
    const QString chosen = RunFileDialog(request);
    if (chosen.isEmpty())
        return;
    GridToDocument(*CrossVC, *CurrCrossWord);
    try {
        CurrCrossWord->ExportAsText(chosen.toStdString());
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
    }
}

bool TMainForm::OpenPatternByName(const QString& fileName)
{
    if (!AskSaveChanges(*CurrPattern))
        return false;
    TCrossTXT loaded;
    try {
        loaded.LoadFromFile(fileName.toStdString());
        if (!ShowableProblem(loaded).isEmpty())
            throw std::runtime_error("not showable");
        Settings().PatternFileName = fileName;
        CopyDocument(loaded, *CurrPattern);
        CurrPattern->Kind = 1;
        DocumentToGrid(loaded, *PatternVC);
        PatternVC->resize(PatternVC->ImageWidth(), PatternVC->ImageHeight());
        SetCaption(fileName.toStdString());
        return true;
    } catch (const std::exception&) {
        MessageDlgOver(Format(MsgLoadError, fileName), mtWarning, mbOK, MessageArea());
        return false;
    }
}

} // namespace mz
