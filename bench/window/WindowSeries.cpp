// The window's series against the command line's: the same crosswords (Normal.sz,
// seeds 1..N, the default settings) composed in this process three ways, in
// turn, for R rounds:
//
//   tool      TComposeRun, one run after the other, as `compose --count N` does
//   preview   the window's composing controller with the preview on: every
//             preview it hands over is turned into the preview picture
//             (PreviewOf) as the window does before drawing it
//   hidden    the controller with the preview off
//
// The figure is the CPU time of the whole process (every thread) for the
// series, and the ratio of each window way to the tool's in the same round.
// Drawing on screen is not included: the window draws at most 30 previews a
// second whatever the composer does.
//
//   WindowSeries [--count N] [--rounds R]
#include "../../tests/creator/ComposeControllerTestAccess.h"
#include "creator/ComposeController.h"
#include "creator/CrossCreator.h"
#include "documents/CrossTXT.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string AppDir = MZ_APP_DIR;

double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// The main window as composing sees it, without widgets.
class TBenchWindow : public mz::TComposeWindow {
public:
    mz::TComposeOptions Options;
    mz::TTable Pattern{1, 1};
    mz::TTable Preview{1, 1};
    bool PreView = true;
    int Previews = 0;

    mz::TComposeOptions ComposeOptions() const override { return Options; }
    bool EditorMode() const override { return false; }
    bool PreViewChecked() const override { return PreView; }
    std::string CurrCrossWordFileName() const override { return "Moja.krz"; }
    void SetComposeButtons(mz::TComposeButtons) override { }
    mz::TTable TemplateTable() const override { return Pattern; }
    void StartPreview(const mz::TTable& pattern) override { Preview = pattern; }
    void ShowPreview(const mz::TTable& preview) override
    {
        Preview = preview;
        ++Previews;
    }
    bool PreviewVisible() const override { return PreView; }
    void ShowPreviewGrid() override { }
    void ShowCrossWordGrid() override { }
    void SetCaption(const std::string&) override { }
    void ShowSeriesProgress(const QString&) override { }
    void RestoreIfMinimized() override { }
    bool AskYesNo(const QString&) override { return false; }
    void Tell(const QString& message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    void ShowError(const QString& message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    bool AskSaveCurrentCrossWord() override { return false; }
    void TakeNewCrossWord(const mz::TCrossTXT&) override { }
};

double ToolSeries(const mz::TTable& pattern, uint32_t count)
{
    const mz::TComposerSettings settings;
    // The words `compose` and the window take by default: the school-safe ones.
    mz::TDBLoadFilter filter{settings.MinLenPWord, settings.MaxLenPWord};
    filter.SchoolSafe = true;
    const double start = CpuSeconds();
    mz::TComposeRun run(pattern, mz::FileDBSource(AppDir + "/baza.hk", filter), settings);
    for (uint32_t seed = 1; seed <= count; ++seed) {
        mz::TCrossTXT doc;
        const std::atomic<bool> stop{false};
        std::atomic<uint8_t> progress{0};
        run.Execute(doc, stop, progress, seed);
    }
    return CpuSeconds() - start;
}

// One window: its controller keeps the words between series, as a window does between runs.
struct TBenchComposer {
    QTemporaryDir Dir;
    TBenchWindow Window;
    mz::TComposeController Controller{Window};

    TBenchComposer(const mz::TTable& pattern, bool preview)
    {
        Window.Pattern = pattern;
        Window.PreView = preview;
        Window.Options.NewCrossDir = Dir.path() + QStringLiteral("/");
        Window.Options.CurrPrefix = QStringLiteral("K_????");
        Window.Options.DataBasePath = QString::fromStdString(AppDir + "/baza.hk");
    }

    // CPU seconds of the process for a series of `count` seeded 1..count.
    double Series(uint32_t count)
    {
        Window.Options.SeriesCount = static_cast<int>(count);
        Window.Previews = 0;
        const double start = CpuSeconds();
        mz::TComposeControllerTestAccess::SeedRunsFrom(Controller, 1);
        Controller.CrossWord_SeriesClick();
        mz::TComposeControllerTestAccess::WaitIdle(Controller, 600000);
        return CpuSeconds() - start;
    }
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    uint32_t count = 12;
    uint32_t rounds = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--count") == 0)
            count = static_cast<uint32_t>(std::stoul(argv[i + 1]));
        else if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = static_cast<uint32_t>(std::stoul(argv[i + 1]));
    }
    mz::TCrossTXT normal;
    normal.LoadFromFile(std::filesystem::u8path(AppDir + "/Szablony/Normal.sz").string());
    const mz::TTable pattern = mz::TableFromDocument(normal);
    // The database parsed once on each side, as in a window that has composed before.
    ToolSeries(pattern, 1);
    TBenchComposer shownWindow(pattern, true);
    TBenchComposer hiddenWindow(pattern, false);
    shownWindow.Series(1);
    hiddenWindow.Series(1);

    std::vector<double> shown;
    std::vector<double> hidden;
    std::printf("series of %u from Normal.sz, CPU s of the process\nround  tool  preview  hidden  previews drawn\n",
                count);
    for (uint32_t round = 1; round <= rounds; ++round) {
        const double tool = ToolSeries(pattern, count);
        const double on = shownWindow.Series(count);
        const double off = hiddenWindow.Series(count);
        shown.push_back(on / tool);
        hidden.push_back(off / tool);
        std::printf("%5u  %.3f  %.3f    %.3f   %d\n", round, tool, on, off, shownWindow.Window.Previews);
    }
    std::printf("preview on / tool: min %.2f median %.2f max %.2f\n", *std::min_element(shown.begin(), shown.end()),
                Median(shown), *std::max_element(shown.begin(), shown.end()));
    std::printf("preview off / tool: min %.2f median %.2f max %.2f\n", *std::min_element(hidden.begin(), hidden.end()),
                Median(hidden), *std::max_element(hidden.begin(), hidden.end()));
    return 0;
}
