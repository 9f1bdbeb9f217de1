#include "app/WebPageExport.h"

#include "app/FileDialogs.h"
#include "app/Settings.h"
#include "app/WindowText.h"
#include "core/Error.h"
#include "core/FileIdentity.h"
#include "core/FileNames.h"
#include "core/SoundNames.h"
#include "documents/CrossTXT.h"
#include "documents/HtmlExport.h"

namespace mz {

namespace {

// The sounds the window itself plays: the user's own directory first.
TSoundFileOf WindowSoundFiles(const TSettings& settings)
{
    const std::string user = settings.UserAudioDir.toStdString();
    const std::string shipped = settings.AudioDir.toStdString();
    return [user, shipped](std::string_view name) {
        const TSoundFile sound = ResolveSoundFile(user, shipped, name);
        return sound.Status == TSoundStatus::Playable ? sound.Path : std::filesystem::path();
    };
}

QString SoundsOption(const THtmlSounds& sounds)
{
    const QString files = sounds.Files == 1 ? QStringLiteral("1 plik") : QStringLiteral("plików: %1").arg(sounds.Files);
    return QStringLiteral("Dołącz dźwięki haseł (%1, %2 kB)").arg(files).arg((sounds.PageBytes + 1023) / 1024);
}

} // namespace

void ExportWebPage(const TCrossTXT& doc, const TSettings& settings, TFileDialogs& dialogs)
{
    const TSoundFileOf soundFile = WindowSoundFiles(settings);
    const THtmlSounds sounds = HtmlSounds(doc, soundFile);

    TFileDialogRequest request;
    request.Save = true;
    request.Title = QStringLiteral("Eksportuj krzyżówkę jako stronę WWW");
    request.Filter = QStringLiteral("Strony WWW|*.html|Wszystkie pliki|*.*");
    request.DefaultExt = QStringLiteral("html");
    request.FileName = QString::fromStdString(StemOf(doc.FileName, {"krz", "sz", "xwd", "ipuz"}));
    request.Directory = DirectoryPart(doc.FileName);
    if (sounds.Files > 0) {
        request.Option = SoundsOption(sounds);
        request.OptionName = QStringLiteral("EmbedSounds");
        request.OptionChecked = false;
    }
    const QString chosen = dialogs.Run(request);
    if (chosen.isEmpty())
        return;
    THtmlOptions options;
    if (sounds.Files > 0 && request.OptionChecked)
        options.SoundFile = soundFile;
    Reporting([&] {
        const std::string name = chosen.toStdString();
        if (!doc.FileName.empty() && IsSameFile(name, doc.FileName))
            throw EMirakolnikError("Plik wynikowy " + name
                                   + " jest tym samym plikiem co krzyżówka; niczego nie zapisano");
        ExportAsHtml(doc, name, options);
    });
}

} // namespace mz
