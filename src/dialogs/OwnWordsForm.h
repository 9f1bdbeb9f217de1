#pragma once

#include "documents/CrossTXT.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace mz {

class TDB;
class TOwnWordsPreview;

// Where the dialog takes database words from: the shipped database with the
// user's changes, at the difficulty of the settings.
struct TOwnWordsSources {
    QString DataBasePath;
    QString UserDataBasePath;
    int Difficulty = 3; // TDifficulty
    bool SchoolSafe = true; // TDBLoadFilter::SchoolSafe
    // Where the word database editor, opened to pick words, plays and puts sounds.
    QString AudioDir;
    QString UserAudioDir;
};

// "Krzyżówka z własnych haseł...": the user's word list laid out as a free
// crossword, or as a "krzyżówka z hasłem" (one word a row, the keyword read
// down one column, words from the list or from the database). The result is
// composed again on every change and shown filled in; "Ułóż ponownie" draws
// another layout. OK gives the crossword (Result) to the caller, who saves it.
class TOwnWordsForm : public QDialog {
    Q_OBJECT
public:
    TOwnWordsForm(const TOwnWordsSources& sources, uint32_t seed, QWidget* parent = nullptr);
    ~TOwnWordsForm() override;

    // Whether a crossword is shown (OK is enabled only then), and that crossword.
    bool HasResult() const { return FHasResult; }
    const TCrossTXT& Result() const { return FResult; }
    // Asks for the text file "Wczytaj z pliku..." reads; the file dialog by
    // default, tests answer it themselves.
    std::function<QString(QWidget*)> ChooseFile;
    // Lays out now instead of after the typing pause.
    void ComposeNow();

private:
    void ScheduleCompose();
    void Compose();
    void ComposeFree();
    void ComposeKeyword();
    void ImportFromFile();
    void PasteWords();
    // Opens the word database editor; the words picked there join the list.
    void PickFromDatabase();
    void UpdateControls();
    // `doc` null: nothing to show, only the report.
    void ShowResult(const TCrossTXT* doc, const QString& report, bool error);
    TDB& Database();

    TOwnWordsSources FSources;
    uint32_t FSeed;
    TCrossTXT FResult;
    bool FHasResult = false;
    std::unique_ptr<TDB> FDB;
    int FDBDifficulty = -1;

    QRadioButton* FFreeKind = nullptr;
    QRadioButton* FKeywordKind = nullptr;
    QPlainTextEdit* FWords = nullptr;
    QPushButton* FImport = nullptr;
    QPushButton* FPaste = nullptr;
    QPushButton* FPick = nullptr;
    QCheckBox* FLimitSize = nullptr;
    QSpinBox* FMaxCols = nullptr;
    QSpinBox* FMaxRows = nullptr;
    QLineEdit* FKeyword = nullptr;
    QCheckBox* FFromDB = nullptr;
    QComboBox* FDifficulty = nullptr;
    TOwnWordsPreview* FPreview = nullptr;
    QLabel* FReport = nullptr;
    QPushButton* FAgain = nullptr;
    QDialogButtonBox* FButtons = nullptr;
    QTimer* FPause = nullptr;
};

} // namespace mz
