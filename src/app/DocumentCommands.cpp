#include "app/DocumentCommands.h"

#include "app/FileDialogs.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/UserDirs.h"
#include "app/WebPageExport.h"
#include "app/WindowText.h"
#include "core/FileNames.h"
#include "core/SoundNames.h"
#include "dialogs/CrossPrint.h"
#include "documents/CrossSolution.h"
#include "documents/FailureReason.h"
#include "documents/GridReady.h"
#include "documents/Ipuz.h"
#include "grid/CrossDocument.h"

#include <QWidget>

namespace mz {

namespace {

const char* const MsgLoadError = "Wystąpił błąd podczas ładowania pliku %s";
const char* const MsgCrossWordChanged = "Zawartość krzyżówki %s zmieniła się.\nCzy chcesz zapisać zmiany?";
const char* const MsgTemplateChanged = "Zawartość szablonu %s zmieniła się.\nCzy chcesz zapisać zmiany?";

const QString TemplateFilter = QStringLiteral("Pliki szablonu krzyżówek|*.sz|Wszystkie pliki|*.*");

// A crossword is always saved as a crossword file and a template as a template
// file: the extension of a format the program reads is replaced (so "t2.ipuz"
// is saved as "t2.krz" beside it), any other text after a dot is kept and the
// extension appended ("Test 12.05.2025" becomes "Test 12.05.2025.krz").
std::string CrossWordFileName(const std::string& chosen)
{
    return WithExtension(chosen, "krz", {"krz", "sz", "xwd", "ipuz"});
}

std::string TemplateFileName(const std::string& chosen)
{
    return WithExtension(chosen, "sz", {"krz", "sz", "xwd", "ipuz"});
}

} // namespace

TDocumentCommands::TDocumentCommands(TCrossDocument& crossWord, TCrossDocument& templateDoc, TSettings& settings,
                                     TFileDialogs& dialogs, QWidget& window, QObject* parent)
    : QObject(parent), FCrossWord(crossWord), FTemplate(templateDoc), FSettings(settings), FDialogs(dialogs), FWindow(window)
{
    setObjectName(QStringLiteral("DocumentCommands"));
}

void TDocumentCommands::WarnLoadError(const QString& fileName, const std::string& reason)
{
    QString text = Formatted(MsgLoadError, fileName);
    if (!reason.empty())
        text += QStringLiteral(": ") + QString::fromStdString(reason);
    ShowMessage(text, QMessageBox::Warning, QMessageBox::Ok, &FWindow);
}

// Reads the file and checks that a grid can show it; false (with the warning
// shown) when not.
bool TDocumentCommands::Loaded(const QString& fileName, TCrossTXT& doc)
{
    try {
        doc.LoadFromFile(fileName.toStdString());
    } catch (const std::exception& e) {
        // An ipuz file the program cannot show is refused with the reason, naming what is unsupported.
        if (OpenExtensionOf(fileName.toLower().toStdString()) == "ipuz")
            ShowMessage(QString::fromUtf8(e.what()), QMessageBox::Warning, QMessageBox::Ok, &FWindow);
        else
            WarnLoadError(fileName, ReasonOf(e));
        return false;
    }
    if (!FitsGrid(doc)) {
        WarnLoadError(fileName);
        return false;
    }
    return true;
}

bool TDocumentCommands::AskSaveChanges(TCrossDocument& doc)
{
    if (!doc.Modified())
        return true;
    const QString question = Formatted(doc.Kind() == TDocumentKind::CrossWord ? MsgCrossWordChanged : MsgTemplateChanged,
                                       QString::fromStdString(FileNamePart(doc.FileName())));
    // A window minimized by the user puts the question in the middle of the screen.
    const auto answer = ShowMessage(question, QMessageBox::Information,
                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &FWindow);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes)
        // A failed save must not let the command go on and drop the changes.
        return doc.Kind() == TDocumentKind::CrossWord ? SaveCrossWordTo(FCrossWord.FileName())
                                                      : SaveTemplateTo(doc, doc.FileName());
    return true;
}

bool TDocumentCommands::OpenCrossWord(const QString& fileName)
{
    if (!AskSaveChanges(FCrossWord))
        return false;
    TCrossTXT loaded;
    // Checked before anything changes, so a file the grid cannot show leaves
    // the current crossword as it was.
    if (!Loaded(fileName, loaded))
        return false;
    FCrossWord.Assign(loaded);
    emit CaptionChanged(fileName.toStdString());
    if (loaded.RefusedSounds > 0)
        ShowMessage(Formatted(MsgSoundsRefused, fileName), QMessageBox::Warning, QMessageBox::Ok, &FWindow);
    if (const std::string note = IpuzImportNoteOfFile(fileName.toStdString()); !note.empty())
        ShowMessage(QString::fromStdString(note).trimmed(), QMessageBox::Information, QMessageBox::Ok, &FWindow);
    return true;
}

bool TDocumentCommands::OpenCrossWordDialog()
{
    TFileDialogRequest request;
    request.Title = QStringLiteral("Otwórz krzyżówkę...");
    // The first filter shows every crossword file the program opens.
    request.Filter = QStringLiteral("Wszystkie krzyżówki|*.krz *.xwd *.ipuz|Pliki krzyżówek|*.krz|Pliki XWD|*.xwd|"
                                    "Pliki ipuz|*.ipuz|Wszystkie pliki|*.*");
    request.Directory = DirectoryPart(FCrossWord.FileName());
    if (ExtensionOf(FCrossWord.FileName()) == "xwd") {
        FCrossOpenFileName = QStringLiteral("*.xwd");
        FCrossOpenFilterIndex = 3;
    }
    request.FileName = FCrossOpenFileName;
    request.FilterIndex = FCrossOpenFilterIndex;
    const QString chosen = FDialogs.Run(request);
    if (chosen.isEmpty())
        return false;
    FCrossOpenFileName = chosen;
    FCrossOpenFilterIndex = request.FilterIndex;
    OpenCrossWord(chosen);
    return true;
}

// The crossword goes to a crossword file of the chosen name; a document read
// from another format is saved beside its original, which is never written.
bool TDocumentCommands::SaveCrossWordTo(const std::string& chosen)
{
    const std::string name = CrossWordFileName(chosen);
    if (name != FCrossWord.FileName()) {
        FCrossWord.SetFileName(name);
        emit CrossWordRenamed(name);
    }
    return Reporting([&] { FCrossWord.SaveToFile(name); });
}

bool TDocumentCommands::SaveTemplateTo(TCrossDocument& doc, const std::string& chosen)
{
    const std::string name = TemplateFileName(chosen);
    return Reporting([&] { doc.SaveToFile(name); });
}

void TDocumentCommands::SaveCrossWord()
{
    if (FCrossWord.Modified())
        SaveCrossWordTo(FCrossWord.FileName());
}

void TDocumentCommands::SaveCrossWordAs()
{
    TFileDialogRequest request;
    request.Save = true;
    request.Title = QStringLiteral("Zapisz krzyżówkę jako...");
    request.Filter = QStringLiteral("Pliki krzyżówek|*.krz|Wszystkie pliki|*.*");
    request.DefaultExt = QStringLiteral("krz");
    request.Directory = DirectoryPart(FCrossWord.FileName());
    request.FileName = QString::fromStdString(FileNamePart(FCrossWord.FileName()));
    const QString chosen = FDialogs.Run(request);
    if (chosen.isEmpty())
        return;
    SaveCrossWordTo(chosen.toStdString());
}

// The file an export of the crossword goes to: asked beside the crossword,
// under its name; empty when the user cancels.
QString TDocumentCommands::ExportFileName(const QString& title, const QString& filter, const QString& extension)
{
    TFileDialogRequest request;
    request.Save = true;
    request.Title = title;
    request.Filter = filter;
    request.DefaultExt = extension;
    request.FileName = QString::fromStdString(StemOf(FCrossWord.FileName(), {"krz", "sz", "xwd", "ipuz"}));
    request.Directory = DirectoryPart(FCrossWord.FileName());
    return FDialogs.Run(request);
}

void TDocumentCommands::ExportCrossWordAsText()
{
    const QString chosen =
        ExportFileName(QStringLiteral("Eksportuj krzyżówkę jako tekst"),
                       QStringLiteral("Pliki tekstowe|*.txt|Wszystkie pliki|*.*"), QStringLiteral("txt"));
    if (!chosen.isEmpty())
        Reporting([&] { FCrossWord.Document().ExportAsText(chosen.toStdString()); });
}

void TDocumentCommands::ExportCrossWordAsIpuz()
{
    const QString chosen =
        ExportFileName(QStringLiteral("Eksportuj krzyżówkę jako ipuz"),
                       QStringLiteral("Pliki ipuz|*.ipuz|Wszystkie pliki|*.*"), QStringLiteral("ipuz"));
    if (!chosen.isEmpty())
        Reporting([&] { ExportAsIpuz(FCrossWord.Document(), chosen.toStdString()); });
}

void TDocumentCommands::ExportCrossWordAsWebPage()
{
    ExportWebPage(FCrossWord.Document(), FSettings, FDialogs);
}

bool TDocumentCommands::OpenTemplate(const QString& fileName)
{
    if (!AskSaveChanges(FTemplate))
        return false;
    TCrossTXT loaded;
    if (!Loaded(fileName, loaded))
        return false;
    UseTemplate(fileName);
    FTemplate.Assign(loaded);
    emit CaptionChanged(fileName.toStdString());
    return true;
}

bool TDocumentCommands::OpenTemplateDialog()
{
    TFileDialogRequest request;
    request.Title = QStringLiteral("Otwórz szablon krzyżówki...");
    request.Filter = TemplateFilter;
    request.DefaultExt = QStringLiteral("sz");
    request.FileName = QStringLiteral("*.sz");
    request.Directory = DirectoryPart(FTemplate.FileName());
    const QString chosen = FDialogs.Run(request);
    if (chosen.isEmpty())
        return false;
    OpenTemplate(chosen);
    return true;
}

bool TDocumentCommands::ReloadTemplateIfChanged()
{
    const std::string wanted = FSettings.PatternFileName.toStdString();
    if (wanted == FTemplate.FileName())
        return false;
    // The template on screen may hold edits made since its last save.
    if (!AskSaveChanges(FTemplate))
        return false;
    // A template that cannot be loaded leaves the one shown, without a message.
    const std::optional<TCrossTXT> loaded = ReadForGrid(wanted);
    if (!loaded)
        return false;
    FTemplate.Assign(*loaded);
    FTemplate.SetModified(false);
    return true;
}

void TDocumentCommands::SaveTemplate()
{
    if (!FTemplate.Modified())
        return;
    SaveTemplateTo(FTemplate, FTemplate.FileName());
}

void TDocumentCommands::SaveTemplateAs()
{
    TFileDialogRequest request;
    request.Save = true;
    request.Title = QStringLiteral("Zapisz szablon krzyżówki jako...");
    request.Filter = TemplateFilter;
    request.DefaultExt = QStringLiteral("sz");
    request.Directory = DirectoryPart(FTemplate.FileName());
    request.FileName = QString::fromStdString(FileNamePart(FTemplate.FileName()));
    const QString chosen = FDialogs.Run(request);
    if (chosen.isEmpty())
        return;
    const std::string name = TemplateFileName(chosen.toStdString());
    emit CaptionChanged(name);
    // Composing keeps the template of its setting; the options dialog takes it up again.
    SaveTemplateTo(FTemplate, name);
}

void TDocumentCommands::UseTemplate(const QString& fileName)
{
    FSettings.PatternFileName = fileName;
    if (fileName == UserDirsFor(FSettings.ProgramDir).PatternFileName()) {
        if (FSettings.AlterPatternFileName.isEmpty())
            FSettings.AlterPatternFileName = fileName;
    } else {
        FSettings.AlterPatternFileName.clear();
    }
}

void TDocumentCommands::Print(const TCrossDocument& doc)
{
    Reporting([&] { PrintCrossWord(doc.Document(), &FWindow, FPrintOptions); });
}

void TDocumentCommands::ExportAsPdf(const TCrossDocument& doc)
{
    TFileDialogRequest request;
    request.Save = true;
    request.Title = doc.Kind() == TDocumentKind::Template ? QStringLiteral("Zapisz szablon jako PDF")
                                                          : QStringLiteral("Zapisz krzyżówkę jako PDF");
    request.Filter = QStringLiteral("Pliki PDF|*.pdf|Wszystkie pliki|*.*");
    request.DefaultExt = QStringLiteral("pdf");
    request.Directory = DirectoryPart(doc.FileName());
    const QString title = PrintTitle(doc.Document());
    request.FileName = title.isEmpty() ? QString() : title + QStringLiteral(".pdf");
    // The answer key is offered only where there is one.
    const bool answers = doc.Kind() == TDocumentKind::CrossWord && HasAnswers(doc.Document());
    if (answers) {
        request.Option = QStringLiteral("Dołącz rozwiązanie");
        request.OptionName = QStringLiteral("IncludeSolution");
        request.OptionChecked = FPrintOptions.IncludeSolution;
    }
    const QString chosen = FDialogs.Run(request);
    if (chosen.isEmpty())
        return;
    if (answers)
        FPrintOptions.IncludeSolution = request.OptionChecked;
    TPrintOptions used = FPrintOptions;
    used.IncludeSolution = answers && request.OptionChecked;
    Reporting([&] { SaveCrossWordAsPdf(doc.Document(), chosen, used); });
}

} // namespace mz
