#include "dialogs/DBBrowserForm.h"

#include "core/Cp1250.h"
#include "database/DB.h"
#include "dialogs/WordFilter.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#ifdef MZ_HAVE_MULTIMEDIA
#include <QAudioOutput>
#include <QMediaPlayer>
#endif

#include <algorithm>

namespace mz {

namespace {

QString ScreenText(std::string_view cp1250)
{
    return QString::fromStdString(Cp1250ToUtf8(cp1250));
}

} // namespace

TDBWordModel::TDBWordModel(const TDB& db, QObject* parent) : QAbstractListModel(parent)
{
    for (const TDBList list : {dlWords, dlUsedWords, dlExcludedWords})
        for (const TDBRec* rec = db.Head(list); rec; rec = rec->Next)
            FEntries.push_back({rec, ScreenText(rec->PWord), UpperCp1250(rec->PWord)});
    std::stable_sort(FEntries.begin(), FEntries.end(),
                     [](const TEntry& a, const TEntry& b) { return PolishLess(a.Rec->PWord, b.Rec->PWord); });
    FShown.resize(FEntries.size());
    for (std::size_t i = 0; i < FShown.size(); ++i)
        FShown[i] = int(i);
}

int TDBWordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(FShown.size());
}

QVariant TDBWordModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(FShown.size()))
        return {};
    return FEntries[FShown[index.row()]].Word;
}

const TDBRec* TDBWordModel::Record(int row) const
{
    return row >= 0 && row < int(FShown.size()) ? FEntries[FShown[row]].Rec : nullptr;
}

void TDBWordModel::SetFilter(const TWordFilter& filter)
{
    // Explanations are upper-cased once, when they are first searched.
    if (!filter.IsEmpty() && !filter.IsPattern() && FUpperExpl.empty()) {
        FUpperExpl.reserve(FEntries.size());
        for (const TEntry& entry : FEntries)
            FUpperExpl.push_back(UpperCp1250(entry.Rec->ExplLines));
    }
    beginResetModel();
    FShown.clear();
    for (std::size_t i = 0; i < FEntries.size(); ++i)
        if (filter.Matches(FEntries[i].UpperWord, FUpperExpl.empty() ? std::string_view() : FUpperExpl[i]))
            FShown.push_back(int(i));
    endResetModel();
}

TDBBrowserForm::TDBBrowserForm(const TDB& db, const QString& audioDir, QWidget* parent)
    : QDialog(parent), FAudioDir(audioDir), FModel(new TDBWordModel(db, this))
{
    setWindowTitle(QStringLiteral("Edytor Bazy Haseł"));

    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterEdit->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(QStringLiteral("&Szukaj:"), this);
    filterLabel->setBuddy(FilterEdit);
    auto* hint = new QLabel(QStringLiteral("? – jedna dowolna litera, * – dowolny ciąg liter"), this);
    hint->setEnabled(false);
    hint->setWordWrap(true);
    SearchExpl = new QCheckBox(QStringLiteral("szukaj także w objaśnieniach"), this);
    SearchExpl->setObjectName(QStringLiteral("SearchExpl"));
    WordList = new QListView(this);
    WordList->setObjectName(QStringLiteral("WordList"));
    WordList->setModel(FModel);
    WordList->setUniformItemSizes(true);
    WordList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    WordList->setSelectionMode(QAbstractItemView::SingleSelection);
    CountLabel = new QLabel(this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));

    auto* left = new QGridLayout;
    left->addWidget(filterLabel, 0, 0);
    left->addWidget(FilterEdit, 0, 1);
    left->addWidget(hint, 1, 1);
    left->addWidget(SearchExpl, 2, 1);
    left->addWidget(WordList, 3, 0, 1, 2);
    left->addWidget(CountLabel, 4, 0, 1, 2);

    WordLabel = new QLabel(this);
    WordLabel->setObjectName(QStringLiteral("WordLabel"));
    QFont big = WordLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    WordLabel->setFont(big);
    WordLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ExplList = new QListWidget(this);
    ExplList->setObjectName(QStringLiteral("ExplList"));
    ExplList->setWordWrap(true);
    AudioList = new QListWidget(this);
    AudioList->setObjectName(QStringLiteral("AudioList"));
    AudioList->setMaximumHeight(70);
    PlayButton = new QPushButton(QStringLiteral("&Odtwórz"), this);
    PlayButton->setObjectName(QStringLiteral("PlayButton"));
    PlayButton->setAutoDefault(false);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setWordWrap(true);
#ifndef MZ_HAVE_MULTIMEDIA
    PlayButton->hide();
#endif

    auto* right = new QVBoxLayout;
    right->addWidget(WordLabel);
    right->addWidget(new QLabel(QStringLiteral("Objaśnienia:"), this));
    right->addWidget(ExplList, 1);
    right->addWidget(new QLabel(QStringLiteral("Dźwięk:"), this));
    auto* sound = new QHBoxLayout;
    sound->addWidget(AudioList, 1);
    sound->addWidget(PlayButton, 0, Qt::AlignTop);
    right->addLayout(sound);
    right->addWidget(StatusLabel);

    auto* close = new QPushButton(QStringLiteral("Zamknij"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    resize(720, 480);

    connect(FilterEdit, &QLineEdit::textChanged, this, &TDBBrowserForm::FilterChanged);
    connect(SearchExpl, &QCheckBox::toggled, this, &TDBBrowserForm::FilterChanged);
    connect(WordList->selectionModel(), &QItemSelectionModel::currentChanged, this, &TDBBrowserForm::WordChanged);
    connect(AudioList, &QListWidget::currentRowChanged, this, &TDBBrowserForm::SoundChanged);
    connect(PlayButton, &QPushButton::clicked, this, &TDBBrowserForm::PlayClick);
    connect(close, &QPushButton::clicked, this, &TDBBrowserForm::accept);
    FilterChanged();
}

// The lists and the view emit while the base class destroys them; by then
// this dialog's handlers must no longer be reached.
TDBBrowserForm::~TDBBrowserForm()
{
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void TDBBrowserForm::Browse(const QString& dbFileName, const QString& audioDir, QWidget* parent)
{
    TDB db(qmPlain);
    db.Load(dbFileName.toStdString(), TDBLoadFilter{2, 255});
    TDBBrowserForm form(db, audioDir, parent);
    form.exec();
}

void TDBBrowserForm::FilterChanged()
{
    FModel->SetFilter(TWordFilter(FilterEdit->text(), SearchExpl->isChecked()));
    CountLabel->setText(QStringLiteral("Hasła: %1 z %2").arg(FModel->rowCount()).arg(FModel->TotalCount()));
    if (FModel->rowCount() > 0)
        WordList->setCurrentIndex(FModel->index(0));
    else
        WordChanged();
}

void TDBBrowserForm::WordChanged()
{
    const TDBRec* rec = FModel->Record(WordList->currentIndex().row());
    WordLabel->setText(rec ? ScreenText(rec->PWord) : QString());
    ExplList->clear();
    AudioList->clear();
    if (rec) {
        for (const std::string& line : TerminatedLines(rec->ExplLines))
            ExplList->addItem(ScreenText(line));
        for (const std::string& line : TerminatedLines(rec->AudioLines))
            AudioList->addItem(ScreenText(line));
    }
    if (AudioList->count() > 0)
        AudioList->setCurrentRow(0);
    else
        SoundChanged();
}

QString TDBBrowserForm::SoundPath() const
{
    const QListWidgetItem* item = AudioList->currentItem();
    return item ? FAudioDir + item->text() : QString();
}

void TDBBrowserForm::SoundChanged()
{
    const QString path = SoundPath();
    const bool exists = !path.isEmpty() && QFileInfo(path).isFile();
    PlayButton->setEnabled(exists);
    if (path.isEmpty())
        StatusLabel->setText(AudioList->count() == 0 && FModel->Record(WordList->currentIndex().row())
                                 ? QStringLiteral("Hasło nie ma nagrania.")
                                 : QString());
    else
        StatusLabel->setText(exists ? QString() : QStringLiteral("Nie odnaleziono pliku %1").arg(path));
}

void TDBBrowserForm::PlayClick()
{
    const QString path = SoundPath();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    FPlayed = QUrl::fromLocalFile(path);
#ifdef MZ_HAVE_MULTIMEDIA
    if (!Player) {
        Player = new QMediaPlayer(this);
        AudioOutput = new QAudioOutput(this);
        Player->setAudioOutput(AudioOutput);
        connect(Player, &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error, const QString& message) { StatusLabel->setText(message); });
    }
    // A new press starts the sound again from its beginning.
    Player->stop();
    Player->setSource(FPlayed);
    Player->play();
#endif
}

} // namespace mz
