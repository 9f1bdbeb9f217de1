#pragma once

#include "grid/CrossSurface.h"
#include "sound/SpokenWords.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class QLabel;
class QToolButton;
class QAction;

namespace mz {

class TCrossDocument;
class TSoundPlayer;
struct TExpl;
struct TSettings;

// The clue under the crossword grid: the explanation of the word at the
// cursor (broken into two lines or shortened to fit), the highlight of that
// word on the grid and the button that plays its sound.
class TCluePanel : public QObject {
    Q_OBJECT

public:
    // The label and the button are made on `client`; `play` is the command of the button.
    TCluePanel(TCrossSurface& crossView, QWidget& client, QAction& play, const TSettings& settings,
               QObject* parent = nullptr);

    // Shows the clue of the word at the crossword grid's cursor and highlights
    // the word; in the template editor there is none.
    void Refresh();
    // The next refresh highlights the word even when it is the same.
    void ForgetHighlight();
    void SetEditorMode(bool editor);
    void SetShown(bool shown);
    // The row of the button and the label, for the client's layout under the grid.
    QWidget* Row() const { return FRow; }
    // Plays the sound of the clue shown, when it has one and the file exists;
    // a word without a recording is read by the speech engine when the
    // settings ask for it and the answer is known.
    void Play();
    // Whether the play button gives anything for the word (a recording or speech).
    bool HasSound(const TExpl& expl) const { return SoundOf(expl) != TWordSound::None; }

private:
    enum class TWordSound { None, Recording, Speech };
    // What the play button gives for the word: a recording wins over speech.
    TWordSound SoundOf(const TExpl& expl) const;
    void Speak(const std::string& answer);
    void LayOutClue(const TExpl& expl);
    bool LabelFits(const QString& caption) const;

    TCrossSurface& FCrossView;
    TCrossDocument& FCrossWord;
    QWidget& FClient;
    QWidget* FRow = nullptr;
    QAction& FPlay;
    const TSettings& FSettings;
    QLabel* FLabel = nullptr;
    QToolButton* FPlayButton = nullptr;
    TSoundPlayer* FPlayer = nullptr;
    std::unique_ptr<TSpokenWords> FSpoken; // made at the first word spoken
    bool FEditorMode = false;
    // The explanation of the word at the cursor, 0 for none.
    int FCurrentExpl = 0;
    // The word start highlighted last; column 0 means none.
    int FLastCol = 0;
    int FLastRow = 0;
    TDirection FLastDir = TDirection::Across;
    // The refused sound names the user was told about (file name, name).
    QSet<QString> FRefusedTold;
};

} // namespace mz
