#include "app/OwnWordsCommand.h"

#include "app/Settings.h"
#include "app/WindowText.h"
#include "composer/NumberedName.h"
#include "core/Random.h"
#include "dialogs/OwnWordsForm.h"

#include <filesystem>

namespace mz {

QString MakeOwnWordsCrossWord(QWidget* window, const TSettings& settings)
{
    TOwnWordsForm dialog({settings.DataBasePath, settings.UserDataBasePath, settings.Difficulty, settings.SchoolSafe,
                          settings.AudioDir, settings.UserAudioDir},
                         TRandom::ClockSeed(), window);
    if (dialog.exec() != QDialog::Accepted || !dialog.HasResult())
        return {};
    TCrossTXT made = dialog.Result();
    QString saved;
    Reporting([&] {
        const std::filesystem::path dir(settings.NewCrossDir.toStdString());
        std::filesystem::create_directories(dir);
        made.FileName = NumberedFileName(dir, "krz", settings.CurrPrefix.toStdString()).string();
        made.SaveToFile(made.FileName);
        saved = QString::fromStdString(made.FileName);
    });
    return saved;
}

} // namespace mz
