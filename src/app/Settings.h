#pragma once

#include "dialogs/OptionsValues.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>

class QSettings;

namespace mz {

// The program's persistent settings. They are read once at start-up, edited in
// memory by the options dialog and written back once at shut-down. One object
// lives as long as the program (main makes it) and is handed to the parts that
// need it. A composing run copies the word-length limits when it starts.
// The values the options dialog edits are its base.
struct TSettings : TOptionsValues {
    int MainFormLeft = 0;
    int MainFormTop = 0;
    bool PreViewChecked = true;
    QString CurrCrossWordFileName;
    // The side of a grid cell in pixels, as the zoom left it.
    int CellSize = 28;
    // "Widok › Lista haseł": the clue list beside the crossword grid.
    bool ClueListShown = true;
    // "Rozwiązanie › Rozwiązanie po ułożeniu".
    bool PhraseAfterCompose = false;

    // Derived once at start from the program directory (which ends in '/').
    QString ProgramDir;
    QString DataBasePath;
    QString UserDataBasePath; // the user's changes of the word database
    QString UserAudioDir;     // sounds the user added; looked up before AudioDir
    QString CrossDir;
    QString TemplateDir;
};

inline constexpr const char* SettingsOrganization = "Mirakolnik Zodevidar";
inline constexpr const char* SettingsSection = "1.01";
// Both coordinates at this value ask for a window centred on the screen.
inline constexpr int CentredPosition = 65535;

// Fixed paths below the program directory.
inline const QString DataBaseName = QStringLiteral("baza.hk");
inline const QString UserDataBaseName = QStringLiteral("baza-użytkownika.hk");
inline const QString LetterImageName = QStringLiteral("tekst.bmp");
inline const QString LogoImageName = QStringLiteral("logo.bmp");
inline const QString CrossDirName = QStringLiteral("Krzyżówki/");
inline const QString NewCrossDirName = QStringLiteral("Krzyżówki/Nowe/");
inline const QString SampleCrossWordName = QStringLiteral("K_0231.krz");
inline const QString EmptyCrossWordName = QStringLiteral("Nowa.krz");
inline const QString DefaultTemplateName = QStringLiteral("Szablony/Normal.sz");
inline const QString BlankTemplateName = QStringLiteral("Nowy.sz");
inline const QString AudioDirName = QStringLiteral("Audio/");
inline const QString HelpPageName = QStringLiteral("Pomoc/Mirakolnik Zodevidar - Pomoc.htm");

// The directory of the running program, ending in '/'.
QString ApplicationProgramDir();
// Makes sure a directory text ends in '/' (an empty text stays empty).
QString WithTrailingSeparator(const QString& dir);

// The per-user store: QSettings in the native format under the organisation name.
std::unique_ptr<QSettings> OpenSettingsStore();

// Whether the settings section exists yet (it does not before the first start).
bool SettingsSectionExists(QSettings& store);

// Sets the program directory and the paths derived from it.
void SetProgramDir(TSettings& settings, const QString& programDir);

// Writes the first-start values into the section (which the caller found missing).
void WriteFirstStartSettings(QSettings& store, const QString& programDir);

// Reads every setting but the last crossword's name, then derives the template
// directory. `preViewDefault` is the check state of the preview menu item.
void ReadSettings(QSettings& store, TSettings& settings, bool preViewDefault);
// The file name of the crossword shown at the last exit.
QString ReadCurrCrossWordFileName(QSettings& store, const QString& programDir);

void ValidateWordLengths(TSettings& settings);

// Writes every setting back; the window position, the preview check state and
// the current crossword are taken from `settings`, so the caller puts them there
// first. Returns false when the store could not be written.
bool WriteSettings(QSettings& store, const TSettings& settings);

// The main window's top-left corner: centred by the crossword grid's size when
// both stored coordinates say so, otherwise the stored place with a coordinate
// beyond the screen or negative replaced by 0.
QPoint PlaceMainWindow(const TSettings& settings, QSize screen, int gridWidth, int gridHeight);

} // namespace mz
