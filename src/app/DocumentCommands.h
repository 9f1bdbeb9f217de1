#pragma once

#include "dialogs/CrossPrint.h"

#include <QObject>
#include <QString>

#include <string>

class QWidget;

namespace mz {

class TCrossDocument;
class TCrossTXT;
class TFileDialogs;
struct TSettings;

// The commands on the window's two documents, the crossword being solved and
// the template being edited: open, save, save as, the text and PDF exports,
// printing and the question about unsaved changes. A document that cannot be
// read or shown leaves the one on screen as it was; a failed save keeps the
// changes and says why.
class TDocumentCommands : public QObject {
    Q_OBJECT

public:
    // `window` places the questions and parents the dialogs.
    TDocumentCommands(TCrossDocument& crossWord, TCrossDocument& templateDoc, TSettings& settings, TFileDialogs& dialogs,
                      QWidget& window, QObject* parent = nullptr);

    // The question for a changed document; false when the user chose Cancel or
    // the save the user asked for failed.
    bool AskSaveChanges(TCrossDocument& doc);

    // Each returns whether the document on screen was replaced.
    bool OpenCrossWord(const QString& fileName);
    bool OpenCrossWordDialog();
    bool OpenTemplate(const QString& fileName);
    bool OpenTemplateDialog();
    // Takes the template again from its setting when it no longer names the one shown.
    bool ReloadTemplateIfChanged();

    void SaveCrossWord();
    void SaveCrossWordAs();
    void ExportCrossWordAsText();
    // "Eksportuj jako ipuz...": the crossword for other crossword programs.
    void ExportCrossWordAsIpuz();
    // "Eksportuj jako stronę WWW...": the crossword to solve in a browser (WebPageExport.h).
    void ExportCrossWordAsWebPage();
    void SaveTemplate();
    void SaveTemplateAs();

    // Both offer "Dołącz rozwiązanie" for a crossword with answers and keep the choice for the next time.
    void Print(const TCrossDocument& doc);
    void ExportAsPdf(const TCrossDocument& doc);

signals:
    // The caption should name this file now.
    void CaptionChanged(const std::string& fileName);
    // The crossword is now kept under this name (a crossword read from another
    // format is saved as a crossword file beside it).
    void CrossWordRenamed(const std::string& fileName);

private:
    QString ExportFileName(const QString& title, const QString& filter, const QString& extension);
    bool SaveCrossWordTo(const std::string& chosen);
    bool SaveTemplateTo(TCrossDocument& doc, const std::string& chosen);
    // The load error, with the system's reason (no such file, no access) when there is one.
    void WarnLoadError(const QString& fileName, const std::string& reason = {});
    bool Loaded(const QString& fileName, TCrossTXT& doc);
    // The template in the editor becomes the one composing uses, and the
    // options dialog shows it: the default choice only for the default template.
    void UseTemplate(const QString& fileName);

    TCrossDocument& FCrossWord;
    TCrossDocument& FTemplate;
    TSettings& FSettings;
    TFileDialogs& FDialogs;
    QWidget& FWindow;
    // The open dialog remembers its last file name and filter.
    // No name at first: a pattern typed as the name would hide the first filter.
    QString FCrossOpenFileName;
    int FCrossOpenFilterIndex = 1;
    TPrintOptions FPrintOptions;
};

} // namespace mz
