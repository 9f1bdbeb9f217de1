#pragma once

#include <QAbstractListModel>
#include <QDialog>
#include <QUrl>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMediaPlayer;
class QAudioOutput;
class QPushButton;

namespace mz {

class TDB;
struct TDBRec;
class TWordFilter;

// Every word of a database in Polish alphabetical order, narrowed by a filter.
class TDBWordModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TDBWordModel(const TDB& db, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void SetFilter(const TWordFilter& filter);
    int TotalCount() const { return int(FEntries.size()); }
    const TDBRec* Record(int row) const;

private:
    struct TEntry {
        const TDBRec* Rec;
        QString Word;
        std::string UpperWord;
    };
    std::vector<TEntry> FEntries;
    std::vector<std::string> FUpperExpl;  // filled at the first search in explanations
    std::vector<int> FShown;
};

// A read-only window on the word database: the words (all three lists of the
// loaded database), a search by text or pattern, the chosen word's
// explanations and sound names, and playback of a sound from the audio
// directory. It only reads the database it is given.
class TDBBrowserForm : public QDialog {
    Q_OBJECT
public:
    TDBBrowserForm(const TDB& db, const QString& audioDir, QWidget* parent = nullptr);
    ~TDBBrowserForm() override;

    // Loads the database file with no word excluded and shows the browser
    // modally. A database that cannot be read raises its loading error.
    static void Browse(const QString& dbFileName, const QString& audioDir, QWidget* parent);

    // The sound last handed to the player (empty before the first).
    QUrl PlayedSource() const { return FPlayed; }

private:
    void FilterChanged();
    void WordChanged();
    void SoundChanged();
    void PlayClick();
    QString SoundPath() const;

    QString FAudioDir;
    TDBWordModel* FModel;
    QLineEdit* FilterEdit;
    QCheckBox* SearchExpl;
    QListView* WordList;
    QLabel* CountLabel;
    QLabel* WordLabel;
    QListWidget* ExplList;
    QListWidget* AudioList;
    QPushButton* PlayButton;
    QLabel* StatusLabel;
    QMediaPlayer* Player = nullptr;
    QAudioOutput* AudioOutput = nullptr;
    QUrl FPlayed;
};

} // namespace mz
