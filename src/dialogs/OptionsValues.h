#pragma once

#include "database/Commonness.h"

#include <QString>

namespace mz {

// The settings the options dialog edits, named after their stored values. The
// window copies its settings in before the dialog opens and out after OK.
// Directory settings end with '/'; an "Alter" text is non-empty exactly when
// the default location of its group is chosen.
struct TOptionsValues {
    int MinLenPWord = 3;
    int MaxLenPWord = 16;
    bool AnyWordLocation = false;
    QString CurrPrefix = QStringLiteral("K_????");
    int SeriesCount = 10;
    QString PatternFileName;
    QString AlterPatternFileName;
    QString NewCrossDir;
    QString AlterNewCrossDir;
    QString AudioDir;
    QString AlterAudioDir;
    // How rare the answers may be, stored as its TDifficulty number; every
    // word (dfAll) gives the crosswords the program always composed.
    int Difficulty = dfAll;
    // A series sets aside the answers of its earlier crosswords.
    bool UniqueSeries = false;
    // Only words of the ordinary register are composed from (TDBLoadFilter::SchoolSafe).
    bool SchoolSafe = true;
    // A word without a recording is read by the speech synthesizer.
    bool SpeakWithoutRecording = true;
    // The template's blocks stay as drawn and every open cell gets a letter
    // (TComposerSettings::FillExact).
    bool FillExact = false;

    bool operator==(const TOptionsValues&) const = default;
};

// What the dialog needs to know besides the settings.
struct TOptionsEnvironment {
    QString ProgramDir; // ends with '/'
    QString TemplateDir; // the template browser starts here
    int DBMinLen = 0;   // shortest and longest word of the database; both 0
    int DBMaxLen = 0;   // (or min above max) when unknown, which means no bounds
    // The default template and locations of the three location groups; an
    // empty one stands for its place below the program directory.
    QString DefaultTemplateFileName;
    QString DefaultNewCrossDir;
    QString DefaultAudioDir;
};

} // namespace mz
