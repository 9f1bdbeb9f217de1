#pragma once

#include "app/FileDialogs.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <string>

class QMenu;
class QUndoStack;
class QWidget;

namespace mz {

class TCluePanel;
class TClueEditForm;
class TCrossDocument;
class TCrossSurface;
struct TExpl;
struct TSettings;

// Editing the clues of the open crossword: the dialog for the word at the
// cursor ("Objaśnienie hasła..."), and undo and redo of those edits. Every
// edit changes the document, so the modified mark, the save question, the
// saved file and the printout all follow it.
class TClueCommands : public QObject {
    Q_OBJECT

public:
    TClueCommands(TCrossDocument& crossWord, TCrossSurface& crossView, TCluePanel& clues, const TSettings& settings,
                  TFileDialogs& dialogs, QWidget& window, QObject* parent = nullptr);

    // "Objaśnienie hasła...", "Cofnij zmianę objaśnienia", "Ponów zmianę objaśnienia".
    void FillMenu(QMenu& menu);

    // Runs instead of the dialog's exec (tests): fills the form and returns
    // whether it was accepted.
    using TDialogHook = std::function<bool(TClueEditForm&)>;
    void SetDialogHook(TDialogHook hook) { FHook = std::move(hook); }

private:
    // Opens the dialog for the word at the cursor; nothing without a word there.
    void EditCurrentClue();
    // Puts `expl` in place of explanation `number` as one step that can be undone.
    void ChangeClue(int number, const TExpl& expl);
    // The word's clues in the word database, one per line; none when it is not there.
    QStringList DatabaseClues(const std::string& answer) const;
    // A sound file the user chose, as a name in the audio directories (copied
    // into the user's one when it lies elsewhere); empty for Cancel or failure.
    QString ChooseSound();

    TCrossDocument& FCrossWord;
    TCrossSurface& FCrossView;
    TCluePanel& FClues;
    const TSettings& FSettings;
    TFileDialogs& FDialogs;
    QWidget& FWindow;
    QUndoStack* FStack = nullptr;
    TDialogHook FHook;
};

} // namespace mz
