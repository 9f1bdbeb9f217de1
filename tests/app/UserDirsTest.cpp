#include "app/UserDirs.h"
#include "app/Settings.h"
#include "dialogs/OptionsForm.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace mz;

namespace {

void WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every entry below a directory with its size and time of change.
QStringList Listing(const QString& dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        entries << QStringLiteral("%1 %2 %3")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

// Takes the write permissions from a tree, or gives them back.
void SetTreeWritable(const QString& dir, bool writable)
{
    const auto read = QFile::ReadOwner | QFile::ReadUser | QFile::ReadOther;
    const auto exec = QFile::ExeOwner | QFile::ExeUser | QFile::ExeOther;
    const auto write = writable ? QFile::WriteOwner | QFile::WriteUser : QFile::Permissions();
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        QFile::setPermissions(info.filePath(), read | write | (info.isDir() ? exec : QFile::Permissions()));
    }
    QFile::setPermissions(dir, read | write | exec);
}

} // namespace

class UserDirsTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    QString program; // a shipped program directory, read-only; ends in '/'

private slots:
    void initTestCase()
    {
        // The user's locations come from the environment: a home of our own.
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
        qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + QStringLiteral("/.config"));
    }

    void init()
    {
        program = home.path() + QStringLiteral("/prog/");
        WriteFile(program + QStringLiteral("Krzyżówki/K_0231.krz"), "sample");
        WriteFile(program + QStringLiteral("Szablony/Normal.sz"), "normal");
        WriteFile(program + QStringLiteral("Szablony/Mały.sz"), "small");
        WriteFile(program + QStringLiteral("Szablony/opis.txt"), "not a template");
        QDir(program).mkpath(QStringLiteral("Krzyżówki/Nowe"));
        SetTreeWritable(program, false);
    }

    void cleanup()
    {
        SetTreeWritable(home.path(), true);
        for (const QString& sub : {QStringLiteral("prog"), QStringLiteral("Documents"), QStringLiteral(".local")}) {
            const QString path = home.path() + QLatin1Char('/') + sub;
            QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
        }
    }

    void theLayoutFollowsWhetherTheProgramDirectoryMayBeWritten_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QStringList>("expected"); // cross, new cross, templates, data
        QTest::newRow("own copy") << true
                                  << QStringList{"/opt/mz/Krzyżówki/", "/opt/mz/Krzyżówki/Nowe/", "/opt/mz/Szablony/",
                                                 "/opt/mz/"};
        QTest::newRow("installed") << false
                                   << QStringList{"/home/ala/Dokumenty/Krzyżówki/",
                                                  "/home/ala/Dokumenty/Krzyżówki/Nowe/",
                                                  "/home/ala/.local/share/Mirakolnik Zodevidar/Szablony/",
                                                  "/home/ala/.local/share/Mirakolnik Zodevidar/"};
    }

    void theLayoutFollowsWhetherTheProgramDirectoryMayBeWritten()
    {
        QFETCH(bool, writable);
        QFETCH(QStringList, expected);
        const TUserDirs dirs = UserDirsFor(QStringLiteral("/opt/mz"), writable, QStringLiteral("/home/ala/Dokumenty"),
                                           QStringLiteral("/home/ala/.local/share"));
        QCOMPARE(dirs.ProgramDir, QStringLiteral("/opt/mz/"));
        QCOMPARE(dirs.InProgramDir, writable);
        QCOMPARE((QStringList{dirs.CrossDir, dirs.NewCrossDir, dirs.TemplateDir, dirs.DataDir}), expected);
    }

    // Only a directory the user may write, that has a write permission bit and
    // no package marker keeps the user's files; the administrator's power to
    // write anywhere does not count.
    void aProgramDirectoryIsTheUsersOnlyWhenWritableAndUnmarked()
    {
        QTemporaryDir own;
        QVERIFY(ProgramDirWritable(own.path()));
        QVERIFY(!ProgramDirWritable(program));
        QVERIFY(!ProgramDirWritable(own.path() + QStringLiteral("/missing")));
        WriteFile(own.path() + QStringLiteral("/zainstalowany.txt"), "");
        QVERIFY(!ProgramDirWritable(own.path()));
    }

    void theFirstStartCopiesTheSampleAndTemplatesIntoTheUsersDirectories()
    {
        const QStringList shipped = Listing(program);
        const TUserDirs dirs = UserDirsFor(program);
        QVERIFY(!dirs.InProgramDir);
        QCOMPARE(dirs.CrossDir, home.path() + QStringLiteral("/Documents/Krzyżówki/"));
        QCOMPARE(dirs.TemplateDir, home.path() + QStringLiteral("/.local/share/Mirakolnik Zodevidar/Szablony/"));
        // Before the copies exist the shipped files serve.
        QCOMPARE(dirs.SampleCrossWordFileName(), program + QStringLiteral("Krzyżówki/K_0231.krz"));
        QCOMPARE(dirs.PatternFileName(), program + QStringLiteral("Szablony/Normal.sz"));

        QCOMPARE(PrepareUserDirs(dirs), QStringList());
        QVERIFY(QFileInfo(dirs.NewCrossDir).isDir());
        QCOMPARE(dirs.SampleCrossWordFileName(), dirs.CrossDir + QStringLiteral("K_0231.krz"));
        QCOMPARE(dirs.PatternFileName(), dirs.TemplateDir + QStringLiteral("Normal.sz"));
        QCOMPARE(ReadFile(dirs.SampleCrossWordFileName()), QByteArray("sample"));
        QCOMPARE(QDir(dirs.TemplateDir).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("Mały.sz"), QStringLiteral("Normal.sz")}));
        // The copies can be saved although the shipped files are read-only.
        for (const QString& copy : {dirs.SampleCrossWordFileName(), dirs.PatternFileName()}) {
            QFile file(copy);
            QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Append), qPrintable(copy));
            QVERIFY(QFileInfo(copy).permissions() & QFile::WriteOwner);
        }
        QCOMPARE(Listing(program), shipped);
    }

    void aFileTheUserAlreadyHasIsNeverReplaced()
    {
        const TUserDirs dirs = UserDirsFor(program);
        WriteFile(dirs.CrossDir + QStringLiteral("K_0231.krz"), "typed letters");
        WriteFile(dirs.TemplateDir + QStringLiteral("Normal.sz"), "my template");
        QCOMPARE(PrepareUserDirs(dirs), QStringList());
        QCOMPARE(ReadFile(dirs.CrossDir + QStringLiteral("K_0231.krz")), QByteArray("typed letters"));
        QCOMPARE(ReadFile(dirs.TemplateDir + QStringLiteral("Normal.sz")), QByteArray("my template"));
        QCOMPARE(ReadFile(dirs.TemplateDir + QStringLiteral("Mały.sz")), QByteArray("small"));
    }

    void aDirectoryThatCannotBeMadeIsReported()
    {
        // A file stands where the documents directory would be.
        WriteFile(home.path() + QStringLiteral("/Documents"), "");
        const QStringList problems = PrepareUserDirs(UserDirsFor(program));
        QVERIFY(!problems.isEmpty());
        QCOMPARE(problems.first(),
                 QStringLiteral("Nie można utworzyć katalogu %1/Documents/Krzyżówki/Nowe/").arg(home.path()));
    }

    // The settings of an installed program point at the user's copies; the
    // sounds stay in the program directory.
    void theSettingsOfAnInstalledProgramUseTheUsersDirectories()
    {
        const TUserDirs dirs = UserDirsFor(program);
        QCOMPARE(PrepareUserDirs(dirs), QStringList());
        auto store = OpenSettingsStore();
        store->clear();
        WriteFirstStartSettings(*store, program);
        store->beginGroup(QStringLiteral("1.01"));
        QCOMPARE(store->value("CurrCrossWordFileName").toString(), dirs.CrossDir + QStringLiteral("K_0231.krz"));
        QCOMPARE(store->value("PatternFileName").toString(), dirs.TemplateDir + QStringLiteral("Normal.sz"));
        // The user's directories are the options dialog's default choices.
        QCOMPARE(store->value("AlterPatternFileName").toString(), dirs.TemplateDir + QStringLiteral("Normal.sz"));
        QCOMPARE(store->value("NewCrossDir").toString(), dirs.NewCrossDir);
        QCOMPARE(store->value("AlterNewCrossDir").toString(), dirs.NewCrossDir);
        QCOMPARE(store->value("AudioDir").toString(), program + QStringLiteral("Audio/"));
        store->endGroup();

        store->clear();
        TSettings read;
        SetProgramDir(read, program);
        ReadSettings(*store, read, true);
        QCOMPARE(read.CrossDir, dirs.CrossDir);
        QCOMPARE(read.NewCrossDir, dirs.NewCrossDir);
        QCOMPARE(read.TemplateDir, dirs.TemplateDir);
        QCOMPARE(read.DataBasePath, program + QStringLiteral("baza.hk"));
        QCOMPARE(ReadCurrCrossWordFileName(*store, program), dirs.CrossDir + QStringLiteral("K_0231.krz"));
    }

    // OK in the options dialog, with nothing changed, keeps an installed
    // program's crosswords and templates in the user's directories.
    void theOptionsDialogKeepsTheUsersDirectoriesOfAnInstalledProgram()
    {
        QCOMPARE(PrepareUserDirs(UserDirsFor(program)), QStringList());
        auto store = OpenSettingsStore();
        store->clear();
        WriteFirstStartSettings(*store, program);
        TSettings settings;
        SetProgramDir(settings, program);
        ReadSettings(*store, settings, true);
        const TOptionsValues before = settings;
        TOptionsForm dialog(before, TOptionsEnvironment{program, settings.TemplateDir, 2, 20, {}, {}, {}});
        dialog.show();
        dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().NewCrossDir, before.NewCrossDir);
        QCOMPARE(dialog.Values().PatternFileName, before.PatternFileName);
        QVERIFY(dialog.Values() == before);
    }
};

QTEST_MAIN(UserDirsTest)
#include "UserDirsTest.moc"
