#pragma once

#include "ComposeControllerTestAccess.h"
#include "creator/ComposeController.h"
#include "creator/CrossCreator.h"
#include "documents/CrossTXT.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>

namespace mz::test {

inline const QString DataBasePath = QStringLiteral(MZ_APP_DIR "/baza.hk");

// An open template: every cell free. Composes in a few dozen steps with the
// shipped database, so a run takes a fraction of a second yet gives several
// preview updates.
inline TTable OpenPattern(int cols = 8, int rows = 6)
{
    return TTable(cols, rows);
}

// The main window as composing sees it: it records every request in order and
// answers the questions as the test says.
class TFakeWindow : public TComposeWindow {
public:
    TFakeWindow() = default;

    // The controller the window reports the preview grid's visibility to.
    TComposeController* Controller = nullptr;
    TTable Pattern = OpenPattern();
    TTable Preview = OpenPattern();
    bool PreviewShown = false;

    TComposeOptions Options;
    bool Editor = false;
    bool PreView = true;
    bool Minimized = false;
    bool AnswerYes = true;
    bool SaveAnswer = true; // false: Cancel at the save question
    std::string CurrFileName = "/somewhere/Moja.krz";
    TCrossTXT CurrCrossWord;
    bool CrossVCVisible = true;
    QStringList Log;
    QString SeriesProgress;

    TComposeOptions ComposeOptions() const override { return Options; }
    bool EditorMode() const override { return Editor; }
    bool PreViewChecked() const override { return PreView; }
    std::string CurrCrossWordFileName() const override { return CurrFileName; }

    void SetComposeButtons(TComposeButtons state) override
    {
        static const char* const names[] = {"idle", "composing", "stopping"};
        Log << QStringLiteral("buttons %1").arg(QLatin1String(names[state]));
    }
    TTable TemplateTable() const override { return Pattern; }
    void StartPreview(const TTable& pattern) override { Preview = pattern; }
    void ShowPreview(const TTable& preview) override { Preview = preview; }
    bool PreviewVisible() const override { return PreviewShown; }
    void ShowPreviewGrid() override
    {
        Log << QStringLiteral("preview grid");
        CrossVCVisible = false;
        SetPreviewShown(true);
    }
    void ShowCrossWordGrid() override
    {
        Log << QStringLiteral("crossword grid");
        SetPreviewShown(false);
        CrossVCVisible = true;
    }
    void SetPreviewShown(bool shown)
    {
        PreviewShown = shown;
        if (Controller)
            Controller->PreviewVisibilityChanged(shown);
    }
    void SetCaption(const std::string& fileName) override
    {
        Log << QStringLiteral("caption ") + QDir(QString::fromStdString(fileName)).dirName();
    }
    void ShowSeriesProgress(const QString& progress) override { SeriesProgress = progress; }
    void RestoreIfMinimized() override
    {
        if (Minimized)
            Log << QStringLiteral("restore");
        Minimized = false;
    }
    bool AskYesNo(const QString& question) override
    {
        Log << QStringLiteral("ask ") + question;
        return AnswerYes;
    }
    void Tell(const QString& message) override { Log << QStringLiteral("tell ") + message; }
    void ShowError(const QString& message) override { Log << QStringLiteral("error ") + message; }
    bool AskSaveCurrentCrossWord() override
    {
        Log << QStringLiteral("save question");
        return SaveAnswer;
    }
    void TakeNewCrossWord(const TCrossTXT& crossWord) override
    {
        Log << QStringLiteral("take");
        CurrCrossWord = crossWord;
        CurrFileName = crossWord.FileName;
    }

    QStringList Matching(const QString& start) const
    {
        QStringList found;
        for (const QString& line : Log)
            if (line.startsWith(start))
                found << line;
        return found;
    }
};

// One window's worth of composing: the fake window with its template and
// preview, and the controller, with the new crosswords going to a directory
// (and parents) that does not exist yet. Runs are seeded 1, 2, ... and wait
// at their first preview until it was shown, so a test can act mid-run.
struct TComposeBench {
    QTemporaryDir Dir;
    TFakeWindow Window;
    std::unique_ptr<TComposeController> Controller;

    TComposeBench()
    {
        Window.Options.NewCrossDir = NewCrossDir();
        Window.Options.CurrPrefix = QStringLiteral("K_????");
        Window.Options.SeriesCount = 2;
        Window.Options.DataBasePath = DataBasePath;
        Controller = std::make_unique<TComposeController>(Window);
        Window.Controller = Controller.get();
        TComposeControllerTestAccess::SeedRunsFrom(*Controller, 1);
        TComposeControllerTestAccess::HoldAtFirstPreview(*Controller);
    }

    const TCrossTXT& NewCrossWord() const { return TComposeControllerTestAccess::NewCrossWord(*Controller); }
    bool SeriesFlag() const { return TComposeControllerTestAccess::SeriesFlag(*Controller); }
    bool ThreadRunning() const { return TComposeControllerTestAccess::ThreadRunning(*Controller); }

    QString NewCrossDir() const { return Dir.filePath(QStringLiteral("Krzyżówki/Nowe/")); }
    QString NewFile(const QString& name) const { return NewCrossDir() + name; }
    QStringList SavedFiles() const { return QDir(NewCrossDir()).entryList(QDir::Files, QDir::Name); }

    // Waits for the controller to go idle; the limit only keeps a hang from lasting for ever.
    bool WaitIdle(int timeoutMs = 60000) { return TComposeControllerTestAccess::WaitIdle(*Controller, timeoutMs); }
};

} // namespace mz::test
