#pragma once

#include <QDialog>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QWidget;

namespace mz {

class TCrossDocument;
class TCrossTXT;
class TCrossSurface;
class TDB;
struct TCellPos;
struct TSettings;

// "Utwórz rozwiązanie...": the phrase typed by the user, or a word the program
// picks from the database (`pick` returns it in UTF-8, or throws with the reason).
class TPhraseDialog : public QDialog {
    Q_OBJECT

public:
    TPhraseDialog(std::function<QString()> pick, QWidget* parent = nullptr);

    QString Phrase() const;

private:
    QLineEdit* FEdit = nullptr;
};

// The menu "Rozwiązanie" of the crossword being solved: checking and revealing
// against the answers the crossword keeps, the congratulation when the last
// correct letter is typed, answers recovered from the word database, and the
// "rozwiązanie" (the phrase read from numbered cells) with its strip under the
// grid. Commands that need answers are disabled, with the reason as their
// hint, while the crossword has none.
class TSolutionCommands : public QObject {
    Q_OBJECT

public:
    // The actions and the strip are made on `window` and `client`; `window`
    // also places the questions and messages.
    TSolutionCommands(TCrossDocument& crossWord, TCrossSurface& crossView, const TSettings& settings, QWidget& window,
                      QWidget& client, QObject* parent = nullptr);
    ~TSolutionCommands() override;

    // Fills the menu with the commands.
    void FillMenu(QMenu& menu);
    // While a crossword is built by hand its answers are the typed letters: no congratulation.
    void SetConstructing(bool constructing) { FConstructing = constructing; }

    // The strip's row, for the client's layout under the grid.
    QWidget* StripRow() const { return FStripRow; }
    // Shows the strip when the crossword has a phrase and its own grid is
    // shown (`crossWordShown` is false for the template editor and the preview).
    void ShowStrip(bool crossWordShown);

    // After composing: offers the "rozwiązanie" for the crossword just composed
    // when it is the one shown and the user asked for it ("Rozwiązanie po ułożeniu").
    void AfterCompose(bool handedOver, const QString& fileName);

signals:
    // The strip appeared or went: the window fits itself again.
    void LayoutChanged();

private:
    void CheckWord();
    void CheckAll();
    void RevealLetter();
    void RevealWord();
    void ShowSolution();
    // Marks the wrong cells; without any, says `noneWrong`.
    void MarkWrong(const std::vector<TCellPos>& wrong, const QString& noneWrong);
    // Puts answers in; revealing never congratulates.
    void Reveal(const std::function<void(TCrossTXT&)>& reveal);
    void RecoverAnswers();
    void CreatePhrase();
    void Tell(const QString& message);
    void UpdateCommands();
    void UpdateStrip();
    void CellTyped();
    // The explanation the cursor's word belongs to, in the writing direction
    // first; 0 (and the user told) when the cursor stands in no word.
    int WordAtCursor();
    const TDB* Database();

    TCrossDocument& FCrossWord;
    TCrossSurface& FCrossView;
    const TSettings& FSettings;
    QWidget& FWindow;
    QLabel* FStrip = nullptr;
    QWidget* FStripRow = nullptr;
    std::unique_ptr<TDB> FDB;
    QString FDBPath;
    // Set while the program itself puts letters in, so revealing never congratulates.
    bool FRevealing = false;
    bool FSolved = false;
    // The whole solution was shown: this crossword is not congratulated any more.
    bool FShown = false;
    bool FConstructing = false;
    bool FStripShown = false;

    QAction* FCheckWord = nullptr;
    QAction* FCheckAll = nullptr;
    QAction* FRevealLetter = nullptr;
    QAction* FRevealWord = nullptr;
    QAction* FShowSolution = nullptr;
    QAction* FRecover = nullptr;
    QAction* FCreatePhrase = nullptr;
    QAction* FPhraseAfterCompose = nullptr;
};

} // namespace mz
