#include "app/Application.h"
#include "app/HintPause.h"
#include "app/LogoForm.h"
#include "app/MainForm.h"
#include "app/Settings.h"

#include <QSettings>
#include <QTimer>

int main(int argc, char** argv)
{
    mz::TApplication app(argc, argv);
    mz::InstallHintFilter();
    const QString programDir = mz::ApplicationProgramDir();

    {
        auto store = mz::OpenSettingsStore();
        if (!mz::SettingsSectionExists(*store)) {
            mz::ShowSplash(programDir);
            mz::WriteFirstStartSettings(*store, programDir);
        }
    }

    mz::TSettings settings;
    mz::TMainForm form(programDir, settings);
    if (form.TerminateRequested())
        return 1;
    form.show();
    form.activateWindow();

    // For the end-to-end check only: MZ_SCREENSHOT names a PNG file that receives
    // a picture of the window once it has settled; the program then closes.
    const QString screenshot = qEnvironmentVariable("MZ_SCREENSHOT");
    if (!screenshot.isEmpty())
        QTimer::singleShot(1500, &form, [&form, screenshot] {
            form.grab().save(screenshot, "PNG");
            form.close();
        });
    return app.exec();
}
