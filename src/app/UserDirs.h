#pragma once

#include <QString>
#include <QStringList>

namespace mz {

// Where the user's own files live.
//
// The program directory holds what the program needs to run: the word
// database, the pictures, the sounds, the help page, the shipped templates and
// the sample crossword. When the program may write there (a copy unpacked into
// the user's own directory, the build tree), the user's crosswords and
// templates live there as well, in Krzyżówki/, Krzyżówki/Nowe/ and Szablony/.
// An installed program directory is never written: the user's crosswords then
// go to Krzyżówki/ and Krzyżówki/Nowe/ of the documents directory and the
// templates to Szablony/ of the user's data directory for the program, and
// the sample crossword and the shipped templates are copied there at the
// first start, so that typed letters and changed templates can be saved.
struct TUserDirs {
    QString ProgramDir;       // ends in '/'
    bool InProgramDir = true; // the user's files live in the program directory
    QString CrossDir;         // crosswords; ends in '/'
    QString NewCrossDir;      // new crosswords; ends in '/'
    QString TemplateDir;       // templates; ends in '/'
    QString DataDir;          // the program's other per-user data; ends in '/'

    // The sample crossword opened at the first start: the user's copy, or the
    // shipped file while there is no copy.
    QString SampleCrossWordFileName() const;
    // The default template: the user's copy of Normal.sz, or the shipped file
    // while there is no copy.
    QString PatternFileName() const;
};

// The name of the file that marks a program directory laid out by a system
// package: such a directory is never written, even by a user allowed to.
inline const QString InstalledMarkerName = QStringLiteral("zainstalowany.txt");

// Whether the program may keep the user's files in its own directory: the
// directory is writable for this user, has a write permission bit at all (the
// administrator may write anywhere, but a directory made read-only is meant to
// stay so) and carries no package marker.
bool ProgramDirWritable(const QString& programDir);

// The layout for a program directory, with the user's documents and data
// locations taken from the platform (XDG user directories on Linux).
TUserDirs UserDirsFor(const QString& programDir);
// The same with the decision and the user's locations given.
TUserDirs UserDirsFor(const QString& programDir, bool programDirWritable, const QString& documentsDir,
                      const QString& dataDir);

// Makes the user's directories and copies the sample crossword and the
// shipped templates into them; a file already there is never replaced, and
// the copies can be written whatever the permissions of the shipped files.
// Does nothing when the user's files live in the program directory. Returns a
// Polish message for each directory or file that could not be made.
QStringList PrepareUserDirs(const TUserDirs& dirs);

} // namespace mz
