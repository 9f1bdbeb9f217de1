#include "app/Settings.h"

#include "app/UserDirs.h"
#include "database/Commonness.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

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

int ParseSettingInt(const QString& text, int defaultValue, bool* ok)
{
    const QString t = text.trimmed();
    bool parsed = false;
    long long value = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toLongLong(&parsed, 16);
    else
        value = t.toLongLong(&parsed, 10);
    if (parsed && (value < INT32_MIN || value > INT32_MAX))
        parsed = false;
    if (ok)
        *ok = parsed;
    return parsed ? static_cast<int>(value) : defaultValue;
}

namespace {

QString Key(const QString& name)
{
    return QString::fromLatin1(SettingsSection) + QLatin1Char('/') + name;
}

void WriteString(QSettings& store, const QString& name, const QString& value)
{
    store.setValue(Key(name), value);
}

void WriteInt(QSettings& store, const QString& name, int value)
{
    WriteString(store, name, QString::number(value));
}

void WriteBool(QSettings& store, const QString& name, bool value)
{
    WriteString(store, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

int ReadSettingInt(QSettings& store, const QString& name, int defaultValue)
{
    const QVariant v = store.value(Key(name));
    if (!v.isValid())
        return defaultValue;
    return ParseSettingInt(v.toString(), defaultValue);
}

bool ReadSettingBool(QSettings& store, const QString& name, bool defaultValue)
{
    return ReadSettingInt(store, name, defaultValue ? 1 : 0) != 0;
}

QString ReadSettingString(QSettings& store, const QString& name, const QString& defaultValue)
{
    const QVariant v = store.value(Key(name));
    return v.isValid() ? v.toString() : defaultValue;
}

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
    WriteString(store, QStringLiteral("CurrCrossWordFileName"), user.SampleCrossWordFileName());
    WriteInt(store, QStringLiteral("MainFormLeft"), CentredPosition);
    WriteInt(store, QStringLiteral("MainFormTop"), CentredPosition);
    WriteBool(store, QStringLiteral("AnyWordLocation"), false);
    WriteString(store, QStringLiteral("CurrPrefix"), QStringLiteral("K_????"));
    WriteInt(store, QStringLiteral("SeriesCount"), 10);
    WriteString(store, QStringLiteral("PatternFileName"), user.PatternFileName());
    WriteString(store, QStringLiteral("NewCrossDir"), user.NewCrossDir);
    WriteString(store, QStringLiteral("AudioDir"), dir + AudioDirName);
    // The options dialog's default locations are the user's directories, so
    // the default choice is the one checked at the first start.
    WriteString(store, QStringLiteral("AlterPatternFileName"), user.PatternFileName());
    WriteString(store, QStringLiteral("AlterNewCrossDir"), user.NewCrossDir);
    WriteString(store, QStringLiteral("AlterAudioDir"), dir + AudioDirName);
    store.sync();
}

void ReadSettings(QSettings& store, TSettings& s, bool preViewDefault)
{
    const QString& dir = s.ProgramDir;
    const TUserDirs user = UserDirsFor(dir);
    s.MainFormLeft = ReadSettingInt(store, QStringLiteral("MainFormLeft"), 0);
    s.MainFormTop = ReadSettingInt(store, QStringLiteral("MainFormTop"), 0);
    s.MinLenPWord = ReadSettingInt(store, QStringLiteral("MinLenPWord"), 3);
    s.MaxLenPWord = ReadSettingInt(store, QStringLiteral("MaxLenPWord"), 16);
    s.AnyWordLocation = ReadSettingBool(store, QStringLiteral("AnyWordLocation"), false);
    s.PreViewChecked = ReadSettingBool(store, QStringLiteral("PreViewChecked"), preViewDefault);
    s.CellSize = ReadSettingInt(store, QStringLiteral("CellSize"), 28);
    s.ClueListShown = ReadSettingBool(store, QStringLiteral("ClueListShown"), true);
    s.PhraseAfterCompose = ReadSettingBool(store, QStringLiteral("PhraseAfterCompose"), false);
    s.CurrPrefix = ReadSettingString(store, QStringLiteral("CurrPrefix"), QStringLiteral("K_????"));
    s.SeriesCount = ReadSettingInt(store, QStringLiteral("SeriesCount"), 10);
    s.PatternFileName = ReadSettingString(store, QStringLiteral("PatternFileName"), user.PatternFileName());
    s.AlterPatternFileName = ReadSettingString(store, QStringLiteral("AlterPatternFileName"), QString());
    s.NewCrossDir = ReadSettingString(store, QStringLiteral("NewCrossDir"), user.NewCrossDir);
    s.AlterNewCrossDir = ReadSettingString(store, QStringLiteral("AlterNewCrossDir"), QString());
    s.AudioDir = ReadSettingString(store, QStringLiteral("AudioDir"), dir + AudioDirName);
    s.AlterAudioDir = ReadSettingString(store, QStringLiteral("AlterAudioDir"), QString());
    s.Difficulty = ReadSettingInt(store, QStringLiteral("Difficulty"), dfAll);
    if (s.Difficulty < dfEasy || s.Difficulty > dfAll)
        s.Difficulty = dfAll;
    s.UniqueSeries = ReadSettingBool(store, QStringLiteral("UniqueSeries"), false);
    s.SchoolSafe = ReadSettingBool(store, QStringLiteral("SchoolSafe"), true);
    s.SpeakWithoutRecording = ReadSettingBool(store, QStringLiteral("SpeakWithoutRecording"), true);
    s.FillExact = ReadSettingBool(store, QStringLiteral("FillExact"), false);
    s.PatternDir = WithTrailingSeparator(QFileInfo(s.PatternFileName).path());
}

QString ReadCurrCrossWordFileName(QSettings& store, const QString& programDir)
{
    return ReadSettingString(store, QStringLiteral("CurrCrossWordFileName"),
                             UserDirsFor(programDir).SampleCrossWordFileName());
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
    WriteInt(store, QStringLiteral("MainFormLeft"), s.MainFormLeft);
    WriteInt(store, QStringLiteral("MainFormTop"), s.MainFormTop);
    WriteInt(store, QStringLiteral("MinLenPWord"), s.MinLenPWord);
    WriteInt(store, QStringLiteral("MaxLenPWord"), s.MaxLenPWord);
    WriteInt(store, QStringLiteral("SeriesCount"), s.SeriesCount);
    WriteBool(store, QStringLiteral("AnyWordLocation"), s.AnyWordLocation);
    WriteBool(store, QStringLiteral("PreViewChecked"), s.PreViewChecked);
    WriteInt(store, QStringLiteral("CellSize"), s.CellSize);
    WriteBool(store, QStringLiteral("ClueListShown"), s.ClueListShown);
    WriteBool(store, QStringLiteral("PhraseAfterCompose"), s.PhraseAfterCompose);
    WriteString(store, QStringLiteral("CurrPrefix"), s.CurrPrefix);
    WriteString(store, QStringLiteral("CurrCrossWordFileName"), s.CurrCrossWordFileName);
    WriteString(store, QStringLiteral("PatternFileName"), s.PatternFileName);
    WriteString(store, QStringLiteral("AlterPatternFileName"), s.AlterPatternFileName);
    WriteString(store, QStringLiteral("NewCrossDir"), s.NewCrossDir);
    WriteString(store, QStringLiteral("AlterNewCrossDir"), s.AlterNewCrossDir);
    WriteString(store, QStringLiteral("AudioDir"), s.AudioDir);
    WriteString(store, QStringLiteral("AlterAudioDir"), s.AlterAudioDir);
    WriteInt(store, QStringLiteral("Difficulty"), s.Difficulty);
    WriteBool(store, QStringLiteral("UniqueSeries"), s.UniqueSeries);
    WriteBool(store, QStringLiteral("SchoolSafe"), s.SchoolSafe);
    WriteBool(store, QStringLiteral("SpeakWithoutRecording"), s.SpeakWithoutRecording);
    WriteBool(store, QStringLiteral("FillExact"), s.FillExact);
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
