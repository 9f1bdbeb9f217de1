#pragma once

#include "composer/FillRest.h"
#include "composer/WordSuggestions.h"
#include "core/Table.h"
#include "database/DB.h"
#include "documents/CrossTXT.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;

namespace mz {

class TCrossDocument;
class TCrossSurface;
struct TSettings;

// Construct mode ("Tryb układania"): a tool window beside the crossword grid
// in which the user builds a crossword by hand. Letters are typed into the
// grid as when solving; the window shows the fitting words of the run under
// the cursor (click or Enter puts one in), how many words fit the across and
// the down run, whether the typed word is in the word database, and turns
// cells into blocks, locks words, gives typed words a clue of one's own and
// asks the composer to fill the rest ("Uzupełnij"); the words with one's own
// clues go into the user's word database in one step.
class TConstructPanel : public QWidget {
    Q_OBJECT

public:
    TConstructPanel(TCrossDocument& crossWord, TCrossSurface& crossView, const TSettings& settings,
                    QWidget* parent = nullptr);
    ~TConstructPanel() override;

    // Shows the suggestions and counts for the cursor.
    void Refresh();
    // While a fill runs: the grid it starts from, and what goes back into its result.
    bool Filling() const { return FFrom.has_value(); }
    const TTable& KeptTable() const { return FKept; }
    void RestoreOwnParts(TCrossTXT& result) const;
    // The run ended (RunCompleted): the saved result gets the user's clues and
    // locks; a run that failed has the hopeless area marked when one is known.
    void FillEnded(bool handedOver, const QString& fileName);

    // Runs instead of the clue question (tests): the clue, or nothing for Cancel.
    using TClueHook = std::function<std::optional<QString>(const QString& word)>;
    void SetClueHook(TClueHook hook) { FClueHook = std::move(hook); }

signals:
    // Start composing from KeptTable().
    void FillRequested();
    // The user closed the window.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The word the cursor stands in: the letters side by side with the cursor's
    // cell in the writing direction (at least two), not found otherwise.
    TLockedWord WordAtCursor() const;
    void ToggleBlock();
    void ToggleLock();
    // Gives the word at the cursor its own clue (an empty one removes it).
    void SetOwnClue(const QString& clue);
    void PlaceSuggestion(const QString& word);
    // "Dodaj moje hasła do bazy": the crossword's words the database does not
    // know that have a clue of one's own become the user's words (saved in the
    // change file as the word editor saves them), for the next composing.
    void AddOwnWords();
    // "Uzupełnij": checks that the locked words can stay and that no run is
    // hopeless (else says where and marks it) and asks for a composing run.
    void Fill();
    TDB* Database();
    TTable Grid() const;
    void AskClue();
    void MarkArea(const TFillArea& area);
    void Tell(const QString& message);

    TCrossDocument& FCrossWord;
    TCrossSurface& FCrossView;
    const TSettings& FSettings;
    QLabel* FFits = nullptr;
    QLabel* FWordState = nullptr;
    QLabel* FUnknown = nullptr;
    QListWidget* FSuggestions = nullptr;
    QPushButton* FLock = nullptr;
    QPushButton* FClue = nullptr;
    std::unique_ptr<TDB> FDB;
    bool FDBFailed = false;
    std::optional<TCrossTXT> FFrom;
    TTable FKept{1, 1};
    TClueHook FClueHook;
};

} // namespace mz
