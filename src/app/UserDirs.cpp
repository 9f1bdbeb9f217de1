#include "app/UserDirs.h"

#include "app/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace mz {

namespace {

const QString TemplateDirName = QStringLiteral("Szablony/");
const QString TemplateName = QStringLiteral("Normal.sz");
const QString UserDataDirName = QStringLiteral("Mirakolnik Zodevidar/");

QString ExistingOr(const QString& userFile, const QString& shippedFile)
{
    return QFileInfo::exists(userFile) ? userFile : shippedFile;
}

// Copies a shipped file unless the target exists; the copy gets the user's
// usual permissions, since the shipped one may be read-only.
bool CopyIfMissing(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return true;
    if (!QFile::copy(from, to))
        return false;
    return QFile::setPermissions(to,
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                     | QFile::ReadGroup | QFile::ReadOther);
}

} // namespace

QString TUserDirs::SampleCrossWordFileName() const
{
    const QString copy = CrossDir + SampleCrossWordName;
    return InProgramDir ? copy : ExistingOr(copy, ProgramDir + CrossDirName + SampleCrossWordName);
}

QString TUserDirs::PatternFileName() const
{
    const QString copy = TemplateDir + TemplateName;
    return InProgramDir ? copy : ExistingOr(copy, ProgramDir + TemplateDirName + TemplateName);
}

bool ProgramDirWritable(const QString& programDir)
{
    const QFileInfo dir(programDir);
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return dir.isDir() && dir.isWritable() && (dir.permissions() & anyWrite)
        && !QFileInfo::exists(WithTrailingSeparator(programDir) + InstalledMarkerName);
}

TUserDirs UserDirsFor(const QString& programDir)
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return UserDirsFor(programDir, ProgramDirWritable(programDir), documents, data);
}

TUserDirs UserDirsFor(const QString& programDir, bool programDirWritable, const QString& documentsDir,
                      const QString& dataDir)
{
    TUserDirs dirs;
    dirs.ProgramDir = WithTrailingSeparator(programDir);
    dirs.InProgramDir = programDirWritable;
    const QString documents = programDirWritable ? dirs.ProgramDir : WithTrailingSeparator(documentsDir);
    dirs.DataDir = programDirWritable ? dirs.ProgramDir : WithTrailingSeparator(dataDir) + UserDataDirName;
    dirs.CrossDir = documents + CrossDirName;
    dirs.NewCrossDir = documents + NewCrossDirName;
    dirs.TemplateDir = dirs.DataDir + TemplateDirName;
    return dirs;
}

QStringList PrepareUserDirs(const TUserDirs& dirs)
{
    QStringList problems;
    if (dirs.InProgramDir)
        return problems;
    for (const QString& dir : {dirs.NewCrossDir, dirs.TemplateDir})
        if (!QDir().mkpath(dir))
            problems << QStringLiteral("Nie można utworzyć katalogu %1").arg(dir);

    QList<std::pair<QString, QString>> copies;
    copies.append({dirs.ProgramDir + CrossDirName + SampleCrossWordName, dirs.CrossDir + SampleCrossWordName});
    const QDir shippedTemplates(dirs.ProgramDir + TemplateDirName);
    for (const QString& name : shippedTemplates.entryList({QStringLiteral("*.sz")}, QDir::Files, QDir::Name))
        copies.append({shippedTemplates.filePath(name), dirs.TemplateDir + name});
    for (const auto& [from, to] : copies)
        if (QFileInfo::exists(from) && !CopyIfMissing(from, to))
            problems << QStringLiteral("Nie można skopiować pliku %1 do %2").arg(from, to);
    return problems;
}

} // namespace mz
