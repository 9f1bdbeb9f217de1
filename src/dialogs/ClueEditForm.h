#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace mz {

// The clue of one word of a crossword, edited by hand: its text, another clue
// of the same word picked from the word database, and its sound.
class TClueEditForm : public QDialog {
    Q_OBJECT

public:
    // `word` heads the dialog ("12. poziomo: KOTEK"); `databaseClues` are the
    // word's clues in the database (empty when it has none).
    TClueEditForm(const QString& word, const QString& clue, const QString& sound, const QStringList& databaseClues,
                  QWidget* parent = nullptr);

    QString Clue() const;
    QString Sound() const { return FSound; }
    void SetSound(const QString& sound);

signals:
    // "Dołącz dźwięk...": the caller asks for a file and calls SetSound.
    void AttachSoundRequested();

private:
    QLineEdit* FClue = nullptr;
    QListWidget* FDatabaseClues = nullptr;
    QLabel* FSoundLabel = nullptr;
    QPushButton* FRemoveSound = nullptr;
    QString FSound;
};

} // namespace mz
