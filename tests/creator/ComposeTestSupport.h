#pragma once

#include "creator/ComposeController.h"
#include "creator/CrossCreator.h"
#include "documents/CrossTXT.h"
#include "grid/CrossSurface.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>

namespace mz::test {

inline const QString DataBasePath = QStringLiteral(MZ_APP_DIR "/baza.hk");

// Composes in a few dozen steps with the shipped database, so a run takes a
// fraction of a second yet gives several preview updates.
inline void MakeOpenPattern(TCrossSurface& pattern, int cols = 8, int rows = 6)
{
    pattern.SetColCount(cols);
    pattern.SetRowCount(rows);
    for (int c = 1; c <= cols; ++c)
        for (int r = 1; r <= rows; ++r)
            pattern.SetCell(c, r, ' ');
}

inline TTable TableOf(const TCrossSurface& grid)
{
    TTable table(grid.ColCount(), grid.RowCount());
    for (int c = 1; c <= grid.ColCount(); ++c)
        for (int r = 1; r <= grid.RowCount(); ++r)
            table.SetCell(c, r, grid.GetCell(c, r));
    return table;
}

// The main window as composing sees it: it records every request in order and
// answers the questions as the test says.
class TFakeWindow : public TComposeWindow {
public:
    TFakeWindow(TCrossSurface& kwelinVC, TCrossTXT& newCrossWord) : KwelinVC(kwelinVC), NewCrossWord(newCrossWord) {}

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

    TComposeOptions ComposeOptions() const override { return Options; }
    bool EditorMode() const override { return Editor; }
    bool PreViewChecked() const override { return PreView; }
    std::string CurrCrossWordFileName() const override { return CurrFileName; }

    void SetComposeButtons(TComposeButtons state) override
    {
        static const char* const names[] = {"idle", "composing", "stopping"};
        Log << QStringLiteral("buttons %1").arg(QLatin1String(names[state]));
    }
    void ShowPreviewGrid() override
    {
        Log << QStringLiteral("preview grid");
        CrossVCVisible = false;
        KwelinVC.SetVisible(true);
    }
    void ShowCrossWordGrid() override
    {
        Log << QStringLiteral("crossword grid");
        KwelinVC.SetVisible(false);
        CrossVCVisible = true;
    }
    void SetCaption(const std::string& fileName) override
    {
        Log << QStringLiteral("caption ") + QDir(QString::fromStdString(fileName)).dirName();
    }
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
    void TakeNewCrossWord() override
    {
        Log << QStringLiteral("take");
        CurrCrossWord = NewCrossWord;
        CurrFileName = NewCrossWord.FileName;
    }

    QStringList Matching(const QString& start) const
    {
        QStringList found;
        for (const QString& line : Log)
            if (line.startsWith(start))
                found << line;
        return found;
    }

private:
    TCrossSurface& KwelinVC;
    TCrossTXT& NewCrossWord;
};

// One window's worth of composing: template and preview grids, the result
// document, the fake window and the controller, with the new crosswords going
// to a directory (and parents) that does not exist yet.
struct TComposeBench {
    QTemporaryDir Dir;
    TCrossSurface PatternVC;
    TCrossSurface KwelinVC;
    TCrossTXT NewCrossWord;
    TFakeWindow Window{KwelinVC, NewCrossWord};
    std::unique_ptr<TComposeController> Controller;
    uint32_t NextSeed = 1;

    TComposeBench()
    {
        MakeOpenPattern(PatternVC);
        KwelinVC.SetVisible(false);
        Window.Options.NewCrossDir = NewCrossDir();
        Window.Options.CurrPrefix = QStringLiteral("K_????");
        Window.Options.SeriesCount = 2;
        Window.Options.DataBasePath = DataBasePath;
        Controller = std::make_unique<TComposeController>(Window, PatternVC, KwelinVC, NewCrossWord);
        Controller->SeedHook = [this] { return std::optional<uint32_t>(NextSeed++); };
    }

    QString NewCrossDir() const { return Dir.filePath(QStringLiteral("Krzyżówki/Nowe/")); }
    QString NewFile(const QString& name) const { return NewCrossDir() + name; }
    QStringList SavedFiles() const
    {
        return QDir(NewCrossDir()).entryList(QDir::Files, QDir::Name);
    }

    // Waits for the controller to go idle; the limit only keeps a hang from lasting for ever.
    bool WaitIdle(int timeoutMs = 60000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while ((Controller->Creating() || Controller->ThreadRunning()) && !deadline.hasExpired())
            QTest::qWait(5);
        return !Controller->Creating() && !Controller->ThreadRunning();
    }
};

} // namespace mz::test
