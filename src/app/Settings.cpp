#include "app/Settings.h"

#include "app/UserDirs.h"
#include "database/Commonness.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <type_traits>

namespace mz {

QString WithTrailingSeparator(const QString& dir)
{
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/')))
        return dir;
    return dir + QLatin1Char('/');
}

QString ApplicationProgramDir()
{
    return WithTrailingSeparator(QCoreApplication::applicationDirPath());
}

std::unique_ptr<QSettings> OpenSettingsStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromUtf8(SettingsOrganization));
}

bool SettingsSectionExists(QSettings& store)
{
    return store.childGroups().contains(QString::fromLatin1(SettingsSection));
}

namespace {

QString Key(const char* name)
{
    return QString::fromLatin1(SettingsSection) + QLatin1Char('/') + QLatin1String(name);
}

// Integer and boolean values are stored as text; "0x"/"0X" introduces
// hexadecimal. A missing value or a text that is no number gives the default.
int ReadValue(QSettings& store, const char* name, int defaultValue)
{
    const QVariant v = store.value(Key(name));
    if (!v.isValid())
        return defaultValue;
    const QString t = v.toString().trimmed();
    bool parsed = false;
    const long long value = t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? t.mid(2).toLongLong(&parsed, 16)
                                                                                   : t.toLongLong(&parsed, 10);
    return parsed && value >= INT32_MIN && value <= INT32_MAX ? static_cast<int>(value) : defaultValue;
}

bool ReadValue(QSettings& store, const char* name, bool defaultValue)
{
    return ReadValue(store, name, defaultValue ? 1 : 0) != 0;
}

QString ReadValue(QSettings& store, const char* name, const QString& defaultValue)
{
    const QVariant v = store.value(Key(name));
    return v.isValid() ? v.toString() : defaultValue;
}

void WriteValue(QSettings& store, const char* name, const QString& value)
{
    store.setValue(Key(name), value);
}

void WriteValue(QSettings& store, const char* name, int value)
{
    WriteValue(store, name, QString::number(value));
}

void WriteValue(QSettings& store, const char* name, bool value)
{
    WriteValue(store, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

// Every setting kept in the store but the current crossword's name: its key,
// its field and what a missing key reads as.
template <class TSettingsRef, class TVisit> void EachSetting(TSettingsRef& s, bool preViewDefault, TVisit visit)
{
    const TUserDirs user = UserDirsFor(s.ProgramDir);
    visit("MainFormLeft", s.MainFormLeft, 0);
    visit("MainFormTop", s.MainFormTop, 0);
    visit("MinLenPWord", s.MinLenPWord, 3);
    visit("MaxLenPWord", s.MaxLenPWord, 16);
    visit("AnyWordLocation", s.AnyWordLocation, false);
    visit("PreViewChecked", s.PreViewChecked, preViewDefault);
    visit("CellSize", s.CellSize, 28);
    visit("ClueListShown", s.ClueListShown, true);
    visit("PhraseAfterCompose", s.PhraseAfterCompose, false);
    visit("CurrPrefix", s.CurrPrefix, QStringLiteral("K_????"));
    visit("SeriesCount", s.SeriesCount, 10);
    visit("PatternFileName", s.PatternFileName, user.PatternFileName());
    visit("AlterPatternFileName", s.AlterPatternFileName, QString());
    visit("NewCrossDir", s.NewCrossDir, user.NewCrossDir);
    visit("AlterNewCrossDir", s.AlterNewCrossDir, QString());
    visit("AudioDir", s.AudioDir, s.ProgramDir + AudioDirName);
    visit("AlterAudioDir", s.AlterAudioDir, QString());
    visit("Difficulty", s.Difficulty, int(dfAll));
    visit("UniqueSeries", s.UniqueSeries, false);
    visit("SchoolSafe", s.SchoolSafe, true);
    visit("SpeakWithoutRecording", s.SpeakWithoutRecording, true);
    visit("FillExact", s.FillExact, false);
}

} // namespace

void SetProgramDir(TSettings& settings, const QString& programDir)
{
    settings.ProgramDir = WithTrailingSeparator(programDir);
    settings.DataBasePath = settings.ProgramDir + DataBaseName;
    const TUserDirs user = UserDirsFor(programDir);
    settings.CrossDir = user.CrossDir;
    settings.UserDataBasePath = user.DataDir + UserDataBaseName;
    settings.UserAudioDir = user.DataDir + AudioDirName;
}

void WriteFirstStartSettings(QSettings& store, const QString& programDir)
{
    const QString dir = WithTrailingSeparator(programDir);
    const TUserDirs user = UserDirsFor(programDir);
    WriteValue(store, "CurrCrossWordFileName", user.SampleCrossWordFileName());
    WriteValue(store, "MainFormLeft", CentredPosition);
    WriteValue(store, "MainFormTop", CentredPosition);
    WriteValue(store, "AnyWordLocation", false);
    WriteValue(store, "CurrPrefix", QStringLiteral("K_????"));
    WriteValue(store, "SeriesCount", 10);
    WriteValue(store, "PatternFileName", user.PatternFileName());
    WriteValue(store, "NewCrossDir", user.NewCrossDir);
    WriteValue(store, "AudioDir", dir + AudioDirName);
    // The options dialog's default locations are the user's directories, so
    // the default choice is the one checked at the first start.
    WriteValue(store, "AlterPatternFileName", user.PatternFileName());
    WriteValue(store, "AlterNewCrossDir", user.NewCrossDir);
    WriteValue(store, "AlterAudioDir", dir + AudioDirName);
    store.sync();
}

void ReadSettings(QSettings& store, TSettings& s, bool preViewDefault)
{
    EachSetting(s, preViewDefault, [&store](const char* name, auto& field, const auto& defaultValue) {
        field = ReadValue(store, name, std::remove_reference_t<decltype(field)>(defaultValue));
    });
    if (s.Difficulty < dfEasy || s.Difficulty > dfAll)
        s.Difficulty = dfAll;
    s.TemplateDir = WithTrailingSeparator(QFileInfo(s.PatternFileName).path());
}

QString ReadCurrCrossWordFileName(QSettings& store, const QString& programDir)
{
    return ReadValue(store, "CurrCrossWordFileName", UserDirsFor(programDir).SampleCrossWordFileName());
}

void ValidateWordLengths(TSettings& s)
{
    if (s.MinLenPWord < 2 || s.MinLenPWord > 100)
        s.MinLenPWord = 3;
    if (s.MaxLenPWord < s.MinLenPWord || s.MaxLenPWord > 100)
        s.MaxLenPWord = 16;
}

bool WriteSettings(QSettings& store, const TSettings& s)
{
    if (!store.isWritable())
        return false;
    EachSetting(s, false,
                [&store](const char* name, const auto& field, const auto&) { WriteValue(store, name, field); });
    WriteValue(store, "CurrCrossWordFileName", s.CurrCrossWordFileName);
    store.sync();
    return store.status() == QSettings::NoError;
}

QPoint PlaceMainWindow(const TSettings& s, QSize screen, int gridWidth, int gridHeight)
{
    if (s.MainFormLeft == CentredPosition && s.MainFormTop == CentredPosition)
        return {screen.width() / 2 - gridWidth / 2, screen.height() / 2 - gridHeight / 2};
    const int left = (s.MainFormLeft >= 0 && s.MainFormLeft <= screen.width()) ? s.MainFormLeft : 0;
    const int top = (s.MainFormTop >= 0 && s.MainFormTop <= screen.height()) ? s.MainFormTop : 0;
    return {left, top};
}

} // namespace mz
