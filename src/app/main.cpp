#include "app/Application.h"
#include "app/LogoForm.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/UserDirs.h"

#include <QSettings>
#include <QTimer>

int main(int argc, char** argv)
{
    mz::TApplication app(argc, argv);
    mz::SetUpApplication(app);
    const QString programDir = mz::ApplicationProgramDir();

    {
        auto store = mz::OpenSettingsStore();
        if (!mz::SettingsSectionExists(*store)) {
            mz::ShowSplash(programDir);
            // An installed program keeps the user's crosswords and templates in
            // the user's own directories; the first start makes them.
            const QStringList problems = mz::PrepareUserDirs(mz::UserDirsFor(programDir));
            if (!problems.isEmpty())
                mz::ShowMessage(problems.join(u'\n'), QMessageBox::Warning);
            mz::WriteFirstStartSettings(*store, programDir);
        }
    }

    mz::TSettings settings;
    mz::TMainForm form(programDir, settings);
    if (form.TerminateRequested())
        return 1;
    form.show();
    form.activateWindow();

    // A file named on the command line (a double click in the file manager).
    const QString fileName = mz::FileNameFromArguments(QCoreApplication::arguments());
    if (!fileName.isEmpty())
        form.OpenFile(fileName);

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
