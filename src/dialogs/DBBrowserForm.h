#pragma once

#include "database/WordSearch.h"

#include <QAbstractListModel>
#include <QDialog>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMediaCaptureSession;
class QMediaRecorder;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QUndoStack;

namespace mz {

class TSoundPlayer;
class TSpeechEngine;

struct TImportPreview;

// One word list of the editor (TWordBaseList) as a list view shows it.
class TDBWordModel : public QAbstractListModel {
    Q_OBJECT
public:
    TDBWordModel(const TWordBase& base, bool excluded, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const TWordBaseList& List() const { return FList; }
    // Changes the list; the view shows it anew.
    void Change(const std::function<void(TWordBaseList&)>& change);

private:
    TWordBaseList FList;
};

// "Edytor Bazy Haseł": the word database as the user sees and changes it.
// Words can be added, renamed, removed, excluded from composing and given
// clues and a sound; lists can be imported and exported. Every change can be
// undone. "Zapisz" writes the user's change file beside the shipped database,
// which itself is never written (see TWordBase).
class TDBBrowserForm : public QDialog {
    Q_OBJECT
public:
    // Reads the shipped database (its loading error is raised) and the user's
    // change file (a damaged one is refused and told about in the dialog).
    // Sounds the user chooses or records are put into `userAudioDir` (an
    // installed program's audio directory cannot be written; empty: the audio
    // directory itself); playing looks there first, then in `audioDir`.
    TDBBrowserForm(const QString& shippedFile, const QString& userFile, const QString& audioDir,
                   QWidget* parent = nullptr, const QString& userAudioDir = QString());
    ~TDBBrowserForm() override;

    // Shows the editor modally. Returns true when the user's database changed
    // on disk (saved or set aside), so that the caller refreshes what it shows
    // of the database; composing reads the files at the start of each run.
    static bool Edit(const QString& shippedFile, const QString& userFile, const QString& audioDir, QWidget* parent,
                     const QString& userAudioDir = QString());
    // The menu command of the present window: the user's file in its default place.
    static void Browse(const QString& dbFileName, const QString& audioDir, QWidget* parent);
    // Where the user's change file lies unless the window says otherwise.
    static QString DefaultUserFile();

    // Asks for a file name (open or save); the file dialog unless replaced (tests).
    std::function<QString(const QString& title, const QString& filter, bool save)> ChooseFile;

    // Shows "Dodaj do własnej listy", which hands the selected words (CP1250),
    // each with its chosen clue (else its first; none: empty), to `pick`.
    void AllowPicking(std::function<void(const std::vector<std::pair<std::string, std::string>>&)> pick);

    const TWordBase& Base() const { return FBase; }
    bool DiskChanged() const { return FDiskChanged; }
    // The sound last handed to the player (empty before the first).
    QUrl PlayedSource() const { return FPlayed; }

public slots:
    void reject() override;

private:
    friend class TWordCommand;
    // Applies changes to the base and to the lists; `undo` takes them back.
    void ApplyChanges(std::vector<TWordChange>& changes, bool undo);
    void BuildControls();
    void FilterChanged();
    void ChangeLists(const std::function<void(TWordBaseList&)>& change);
    void ListChanged();
    void ShowWord(const std::string& word);
    void SelectWord(const std::string& word);
    void RefreshCounts();
    void RefreshButtons();
    void RefreshProblem();
    void ShowMessage(const QString& text);
    const TBaseWord* Current() const;
    QListView* CurrentList() const;
    TDBWordModel* CurrentModel() const;

    void Push(const QString& text, std::vector<TWordChange> changes);
    void ChangeCurrent(const QString& text, const std::function<void(TBaseWord&)>& edit);
    bool ClueAccepted(const QString& typed, const std::string& word, std::string& clue);

    void AddWordClick();
    void RenameClick();
    void RemoveWordClick();
    void ExcludeClick();
    void RegisterChosen(int index);
    void AddClueClick();
    void ChangeClueClick();
    void RemoveClueClick();
    void MoveClue(int delta);
    void ChooseSoundClick();
    void RemoveSoundClick();
    void PlayClick();
    void RecordClick();
    // "Wygeneruj nagranie": the speech engine reads the selected words into
    // their recordings, one step to undo.
    void GenerateClick();
    std::vector<std::string> SelectedWords() const;
    void SoundChanged();
    void ImportClick(bool thesaurus);
    void ExportClick(bool shownOnly);
    void RestoreClick();
    void PickClick();
    bool SaveClick();
    bool MaybeSave();

    QString SoundPath() const;
    QString FreeSoundName(const QString& extension) const;
    QString FreeSoundName(const std::string& word, const QString& extension) const;
    int Ask(const QString& text, const QStringList& buttons);
    void ShowError(const QString& text);
    // Runs `work`; an exception it throws is shown, and false returned.
    bool Tried(const std::function<void()>& work);
    // The user's sound directory exists (is made); else the message says why not.
    bool SoundDirReady();

    TWordBase FBase;
    QString FAudioDir;
    QString FUserAudioDir;
    std::string FCurrent;
    bool FDiskChanged = false;
    bool FCanRecord = false;
    QUndoStack* Undo;
    TDBWordModel* FWordsModel;
    TDBWordModel* FExcludedModel;

    QLabel* ProblemLabel;
    QLineEdit* FilterEdit;
    QCheckBox* SearchExpl;
    QCheckBox* NoSoundFilter;
    QCheckBox* EditedFilter;
    QSpinBox* LengthFilter;
    QTabWidget* ListTabs;
    QListView* WordList;
    QListView* ExcludedList;
    QLabel* CountLabel;
    QLineEdit* NewWordEdit;
    QLineEdit* NewClueEdit;
    QPushButton* AddWordButton;
    QPushButton* RemoveWordButton;
    QPushButton* ExcludeButton;
    QLabel* WordLabel;
    QLabel* StateLabel;
    QLabel* ScoreLabel;
    QComboBox* RegisterBox;
    QLineEdit* WordEdit;
    QPushButton* RenameButton;
    QListWidget* ExplList;
    QLineEdit* ClueEdit;
    QPushButton* AddClueButton;
    QPushButton* ChangeClueButton;
    QPushButton* RemoveClueButton;
    QPushButton* ClueUpButton;
    QPushButton* ClueDownButton;
    QListWidget* AudioList;
    QPushButton* PlayButton;
    QPushButton* ChooseSoundButton;
    QPushButton* RecordButton;
    QPushButton* GenerateButton;
    QPushButton* RemoveSoundButton;
    QLabel* StatusLabel;
    QLabel* MessageLabel;
    QPushButton* SaveButton;
    QPushButton* RestoreButton;
    QPushButton* PickButton;
    std::function<void(const std::vector<std::pair<std::string, std::string>>&)> FPick;

    TSoundPlayer* Player = nullptr;
    std::unique_ptr<TSpeechEngine> FSpeech; // made at the first recording generated
    QMediaCaptureSession* Capture = nullptr;
    QMediaRecorder* Recorder = nullptr;
    std::string FRecordingWord;
    QUrl FPlayed;
};

} // namespace mz
