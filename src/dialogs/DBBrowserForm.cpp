#include "dialogs/DBBrowserForm.h"

#include "core/Cp1250.h"
#include "core/SoundNames.h"
#include "database/WordCheck.h"
#include "database/WordImport.h"
#include "dialogs/ImportPreviewForm.h"
#include "dialogs/SpokenRecordings.h"
#include "dialogs/Widgets.h"
#include "sound/SoundPlayer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#ifdef MZ_HAVE_MULTIMEDIA
#include <QAudioDevice>
#include <QAudioInput>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QMediaRecorder>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mz {

namespace {

const QString Title = QStringLiteral("Edytor Bazy Haseł");
// Above this many changed words the lists are built again instead of updated.
constexpr size_t ListRebuildThreshold = 500;

std::string BaseText(const QString& text)
{
    return Utf8ToCp1250(text.toStdString());
}

// The word's commonness score (its score record), as the editor shows it.
QString ScoreText(const TBaseWord& word)
{
    for (const TDBFileRecord& record : word.Other)
        if (record.Kind == DBRecScore) {
            bool ok = false;
            const int score = QString::fromStdString(record.Text).trimmed().toInt(&ok);
            if (ok && score >= 0)
                return QStringLiteral("Popularność: %1 na 100.").arg(score);
        }
    return QStringLiteral("Popularność: brak oceny.");
}

std::filesystem::path LocalPath(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

// One undoable step of the editor: a list of word changes.
class TWordCommand : public QUndoCommand {
public:
    TWordCommand(TDBBrowserForm* form, const QString& text, std::vector<TWordChange> changes)
        : QUndoCommand(text), Form(form), Changes(std::move(changes))
    {
    }
    void redo() override { Form->ApplyChanges(Changes, false); }
    void undo() override { Form->ApplyChanges(Changes, true); }

private:
    TDBBrowserForm* Form;
    std::vector<TWordChange> Changes;
};

TDBWordModel::TDBWordModel(const TWordBase& base, bool excluded, QObject* parent)
    : QAbstractListModel(parent), FList(base, excluded)
{
}

int TDBWordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FList.ShownCount();
}

QVariant TDBWordModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= FList.ShownCount())
        return {};
    return FromCp1250(FList.Word(index.row()));
}

void TDBWordModel::Change(const std::function<void(TWordBaseList&)>& change)
{
    beginResetModel();
    change(FList);
    endResetModel();
}

TDBBrowserForm::TDBBrowserForm(const QString& shippedFile, const QString& userFile, const QString& audioDir,
                               QWidget* parent, const QString& userAudioDir)
    : QDialog(parent), FAudioDir(audioDir), FUserAudioDir(userAudioDir.isEmpty() ? audioDir : userAudioDir)
{
    if (!FAudioDir.isEmpty() && !FAudioDir.endsWith(QLatin1Char('/')))
        FAudioDir += QLatin1Char('/');
    if (!FUserAudioDir.isEmpty() && !FUserAudioDir.endsWith(QLatin1Char('/')))
        FUserAudioDir += QLatin1Char('/');
    FBase.Load(shippedFile.toStdString(), userFile.toStdString());
    Undo = new QUndoStack(this);
    FWordsModel = new TDBWordModel(FBase, false, this);
    FExcludedModel = new TDBWordModel(FBase, true, this);
    ChooseFile = [this](const QString& title, const QString& filter, bool save) {
        return save ? QFileDialog::getSaveFileName(this, title, QString(), filter)
                    : QFileDialog::getOpenFileName(this, title, QString(), filter);
    };
    BuildControls();
    RefreshProblem();
    FilterChanged();
}

void TDBBrowserForm::BuildControls()
{
    setWindowTitle(Title + QStringLiteral("[*]"));
    // A button of the dialog that runs `click`.
    const auto makeButton = [this](const QString& caption, const char* name, auto click) {
        QPushButton* button = DialogButton(caption, name, this);
        connect(button, &QPushButton::clicked, this, click);
        return button;
    };

    ProblemLabel = Named<QLabel>("ProblemLabel", this);
    ProblemLabel->setWordWrap(true);
    ProblemLabel->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; padding: 4px; }"));

    FilterEdit = Named<QLineEdit>("FilterEdit", this);
    FilterEdit->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(QStringLiteral("&Szukaj:"), this);
    filterLabel->setBuddy(FilterEdit);
    auto* hint = new QLabel(QStringLiteral("? – jedna dowolna litera, * – dowolny ciąg liter"), this);
    hint->setEnabled(false);
    hint->setWordWrap(true);
    SearchExpl = Named<QCheckBox>("SearchExpl", QStringLiteral("szukaj także w objaśnieniach"), this);
    NoSoundFilter = Named<QCheckBox>("NoSoundFilter", QStringLiteral("bez dźwięku"), this);
    EditedFilter = Named<QCheckBox>("EditedFilter", QStringLiteral("zmienione przez użytkownika"), this);
    LengthFilter = Named<QSpinBox>("LengthFilter", this);
    LengthFilter->setRange(1, 20);
    LengthFilter->setSpecialValueText(QStringLiteral("dowolna"));
    auto* lengthLabel = new QLabel(QStringLiteral("&Długość:"), this);
    lengthLabel->setBuddy(LengthFilter);
    auto* conditions = new QHBoxLayout;
    conditions->addWidget(NoSoundFilter);
    conditions->addWidget(EditedFilter);
    conditions->addStretch(1);
    conditions->addWidget(lengthLabel);
    conditions->addWidget(LengthFilter);

    const auto makeList = [this](TDBWordModel* model, const char* name) {
        auto* list = new QListView(this);
        list->setObjectName(QString::fromLatin1(name));
        list->setModel(model);
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this, &TDBBrowserForm::ListChanged);
        return list;
    };
    WordList = makeList(FWordsModel, "WordList");
    ExcludedList = makeList(FExcludedModel, "ExcludedList");
    ListTabs = Named<QTabWidget>("ListTabs", this);
    ListTabs->addTab(WordList, QString());
    ListTabs->addTab(ExcludedList, QString());
    CountLabel = Named<QLabel>("CountLabel", this);

    NewWordEdit = Named<QLineEdit>("NewWordEdit", this);
    NewWordEdit->setPlaceholderText(QStringLiteral("nowe hasło"));
    NewClueEdit = Named<QLineEdit>("NewClueEdit", this);
    NewClueEdit->setPlaceholderText(QStringLiteral("jego objaśnienie"));
    AddWordButton = makeButton(QStringLiteral("&Dodaj hasło"), "AddWordButton", &TDBBrowserForm::AddWordClick);
    RemoveWordButton = makeButton(QStringLiteral("&Usuń hasło"), "RemoveWordButton", &TDBBrowserForm::RemoveWordClick);
    ExcludeButton = makeButton(QStringLiteral("&Wyklucz z układania"), "ExcludeButton", &TDBBrowserForm::ExcludeClick);
    auto* adding = new QHBoxLayout;
    adding->addWidget(NewWordEdit, 2);
    adding->addWidget(NewClueEdit, 3);
    adding->addWidget(AddWordButton);

    auto* left = new QGridLayout;
    left->addWidget(filterLabel, 0, 0);
    left->addWidget(FilterEdit, 0, 1);
    left->addWidget(hint, 1, 1);
    left->addWidget(SearchExpl, 2, 1);
    left->addLayout(conditions, 3, 0, 1, 2);
    left->addWidget(ListTabs, 4, 0, 1, 2);
    left->addWidget(CountLabel, 5, 0, 1, 2);
    left->addLayout(adding, 6, 0, 1, 2);
    left->addLayout(LeftRow({RemoveWordButton, ExcludeButton}), 7, 0, 1, 2);

    WordLabel = Named<QLabel>("WordLabel", this);
    QFont big = WordLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    WordLabel->setFont(big);
    WordLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    StateLabel = Named<QLabel>("StateLabel", this);
    StateLabel->setWordWrap(true);
    ScoreLabel = Named<QLabel>("ScoreLabel", this);
    // The word's register: anything but "zwykłe" keeps it out of school crosswords.
    RegisterBox = Named<QComboBox>("RegisterBox", this);
    for (const TRegister reg : Registers)
        RegisterBox->addItem(QStringLiteral("Rejestr: %1").arg(QString::fromStdString(RegisterKey(reg))), int(reg));
    RegisterBox->setToolTip(QStringLiteral("Hasła o rejestrze innym niż zwykły nie trafiają do krzyżówek, gdy "
                                           "włączono „Hasła odpowiednie dla szkoły”; pejoratywne nie trafiają nigdy."));
    WordEdit = Named<QLineEdit>("WordEdit", this);
    RenameButton = makeButton(QStringLiteral("Zmień &nazwę"), "RenameButton", &TDBBrowserForm::RenameClick);
    auto* renaming = new QHBoxLayout;
    renaming->addWidget(WordEdit, 1);
    renaming->addWidget(RenameButton);

    ExplList = Named<QListWidget>("ExplList", this);
    ExplList->setWordWrap(true);
    ClueEdit = Named<QLineEdit>("ClueEdit", this);
    AddClueButton = makeButton(QStringLiteral("Dodaj &objaśnienie"), "AddClueButton", &TDBBrowserForm::AddClueClick);
    ChangeClueButton = makeButton(QStringLiteral("&Zmień"), "ChangeClueButton", &TDBBrowserForm::ChangeClueClick);
    RemoveClueButton = makeButton(QStringLiteral("Usuń"), "RemoveClueButton", &TDBBrowserForm::RemoveClueClick);
    ClueUpButton = makeButton(QStringLiteral("W górę"), "ClueUpButton", [this] { MoveClue(-1); });
    ClueDownButton = makeButton(QStringLiteral("W dół"), "ClueDownButton", [this] { MoveClue(1); });

    AudioList = Named<QListWidget>("AudioList", this);
    AudioList->setMaximumHeight(fontMetrics().height() * 2 + 8);
    PlayButton = makeButton(QStringLiteral("&Odtwórz"), "PlayButton", &TDBBrowserForm::PlayClick);
    ChooseSoundButton =
        makeButton(QStringLiteral("Wybierz &plik..."), "ChooseSoundButton", &TDBBrowserForm::ChooseSoundClick);
    RecordButton = makeButton(QStringLiteral("&Nagraj"), "RecordButton", &TDBBrowserForm::RecordClick);
    RemoveSoundButton =
        makeButton(QStringLiteral("Usuń dźwięk"), "RemoveSoundButton", &TDBBrowserForm::RemoveSoundClick);
    GenerateButton =
        makeButton(QStringLiteral("&Wygeneruj nagranie"), "GenerateButton", &TDBBrowserForm::GenerateClick);
    GenerateButton->setToolTip(QStringLiteral("Nagranie zaznaczonych haseł czytanych syntezatorem mowy"));
#ifndef MZ_HAVE_MULTIMEDIA
    PlayButton->hide();
#endif
    StatusLabel = Named<QLabel>("StatusLabel", this);
    StatusLabel->setWordWrap(true);

    auto* right = new QVBoxLayout;
    right->addWidget(WordLabel);
    right->addWidget(StateLabel);
    right->addWidget(ScoreLabel);
    right->addWidget(RegisterBox);
    right->addLayout(renaming);
    right->addWidget(new QLabel(QStringLiteral("Objaśnienia (w kolejności):"), this));
    right->addWidget(ExplList, 1);
    right->addWidget(ClueEdit);
    right->addLayout(LeftRow({AddClueButton, ChangeClueButton, RemoveClueButton, ClueUpButton, ClueDownButton}));
    right->addWidget(new QLabel(QStringLiteral("Dźwięk:"), this));
    right->addWidget(AudioList);
    right->addLayout(LeftRow({PlayButton, ChooseSoundButton, RecordButton, GenerateButton, RemoveSoundButton}));
    right->addWidget(StatusLabel);

    MessageLabel = Named<QLabel>("MessageLabel", this);
    MessageLabel->setWordWrap(true);

    // Undo and redo: short captions; what a step undoes or redoes is its hint.
    const auto stepButton = [this](bool redo) {
        const QString caption = redo ? QStringLiteral("Ponów") : QStringLiteral("Cofnij");
        auto* action = Named<QAction>(redo ? "RedoAction" : "UndoAction", caption, this);
        action->setShortcut(redo ? QKeySequence::Redo : QKeySequence::Undo);
        action->setEnabled(false);
        connect(action, &QAction::triggered, Undo, redo ? &QUndoStack::redo : &QUndoStack::undo);
        connect(Undo, redo ? &QUndoStack::canRedoChanged : &QUndoStack::canUndoChanged, action, &QAction::setEnabled);
        connect(Undo, redo ? &QUndoStack::redoTextChanged : &QUndoStack::undoTextChanged, action,
                [action, caption](const QString& text) { action->setToolTip(caption + QLatin1Char(' ') + text); });
        addAction(action);
        auto* button = Named<QToolButton>(redo ? "RedoButton" : "UndoButton", this);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return button;
    };
    // Made before the buttons beside them, so that Tab reaches them first.
    QToolButton* undoButton = stepButton(false);
    QToolButton* redoButton = stepButton(true);

    auto* importButton = Named<QToolButton>("ImportButton", this);
    importButton->setText(QStringLiteral("&Importuj"));
    importButton->setPopupMode(QToolButton::InstantPopup);
    auto* importMenu = new QMenu(importButton);
    QAction* importTsv = importMenu->addAction(QStringLiteral("Z listy haseł (TSV)..."));
    importTsv->setObjectName(QStringLiteral("ImportTsvAction"));
    QAction* importThesaurus = importMenu->addAction(QStringLiteral("Z tezaurusa (MyThes)..."));
    importThesaurus->setObjectName(QStringLiteral("ImportThesaurusAction"));
    importButton->setMenu(importMenu);
    auto* exportButton = Named<QToolButton>("ExportButton", this);
    exportButton->setText(QStringLiteral("&Eksportuj"));
    exportButton->setPopupMode(QToolButton::InstantPopup);
    auto* exportMenu = new QMenu(exportButton);
    QAction* exportAll = exportMenu->addAction(QStringLiteral("Wszystkie hasła..."));
    exportAll->setObjectName(QStringLiteral("ExportAllAction"));
    QAction* exportShown = exportMenu->addAction(QStringLiteral("Wyświetlone hasła..."));
    exportShown->setObjectName(QStringLiteral("ExportShownAction"));
    exportButton->setMenu(exportMenu);

    RestoreButton = makeButton(QStringLiteral("Przywróć bazę dostarczoną z programem"), "RestoreButton",
                               &TDBBrowserForm::RestoreClick);
    SaveButton = makeButton(QStringLiteral("Zapi&sz"), "SaveButton", &TDBBrowserForm::SaveClick);
    PickButton = makeButton(QStringLiteral("Dodaj do włas&nej listy"), "PickButton", &TDBBrowserForm::PickClick);
    PickButton->setToolTip(QStringLiteral("Zaznaczone hasła z wybranym objaśnieniem trafiają na listę "
                                          "krzyżówki z własnych haseł"));
    PickButton->hide();
    auto* close = makeButton(QStringLiteral("Zamknij"), "CloseButton", &TDBBrowserForm::reject);
    auto* bottom = LeftRow({undoButton, redoButton, importButton, exportButton, RestoreButton});
    bottom->addWidget(PickButton);
    bottom->addWidget(SaveButton);
    bottom->addWidget(close);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProblemLabel);
    layout->addLayout(columns, 1);
    layout->addWidget(MessageLabel);
    layout->addLayout(bottom);
    resize(900, 600);

#ifdef MZ_HAVE_MULTIMEDIA
    FCanRecord = !QMediaDevices::audioInputs().isEmpty();
#endif
    if (!FCanRecord)
        RecordButton->setToolTip(
            QStringLiteral("Nagrywanie niedostępne: nie znaleziono mikrofonu ani innego wejścia dźwięku."));

    connect(FilterEdit, &QLineEdit::textChanged, this, &TDBBrowserForm::FilterChanged);
    connect(SearchExpl, &QCheckBox::toggled, this, &TDBBrowserForm::FilterChanged);
    connect(NoSoundFilter, &QCheckBox::toggled, this, &TDBBrowserForm::FilterChanged);
    connect(EditedFilter, &QCheckBox::toggled, this, &TDBBrowserForm::FilterChanged);
    connect(LengthFilter, &QSpinBox::valueChanged, this, &TDBBrowserForm::FilterChanged);
    connect(ListTabs, &QTabWidget::currentChanged, this, [this] {
        const int row = CurrentModel()->List().RowOf(FCurrent);
        if (row >= 0)
            SelectWord(FCurrent);
        else if (CurrentModel()->rowCount() > 0)
            CurrentList()->setCurrentIndex(CurrentModel()->index(0));
        else
            ShowWord({});
    });
    connect(NewClueEdit, &QLineEdit::returnPressed, this, &TDBBrowserForm::AddWordClick);
    connect(RegisterBox, &QComboBox::activated, this, &TDBBrowserForm::RegisterChosen);
    connect(WordEdit, &QLineEdit::returnPressed, this, &TDBBrowserForm::RenameClick);
    connect(ExplList, &QListWidget::currentRowChanged, this, [this](int row) {
        const QListWidgetItem* item = row >= 0 ? ExplList->item(row) : nullptr;
        ClueEdit->setText(item ? item->text() : QString());
        RefreshButtons();
    });
    connect(AudioList, &QListWidget::currentRowChanged, this, &TDBBrowserForm::SoundChanged);
    connect(importTsv, &QAction::triggered, this, [this] { ImportClick(false); });
    connect(importThesaurus, &QAction::triggered, this, [this] { ImportClick(true); });
    connect(exportAll, &QAction::triggered, this, [this] { ExportClick(false); });
    connect(exportShown, &QAction::triggered, this, [this] { ExportClick(true); });
    connect(Undo, &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowModified(!clean);
        RefreshButtons();
    });
}

// The lists and the views emit while the base class destroys them; by then
// this dialog's handlers must no longer be reached.
TDBBrowserForm::~TDBBrowserForm()
{
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    Undo->disconnect(this);
    Undo->clear();
}

bool TDBBrowserForm::Edit(const QString& shippedFile, const QString& userFile, const QString& audioDir, QWidget* parent,
                          const QString& userAudioDir)
{
    TDBBrowserForm form(shippedFile, userFile, audioDir, parent, userAudioDir);
    form.exec();
    return form.DiskChanged();
}

void TDBBrowserForm::Browse(const QString& dbFileName, const QString& audioDir, QWidget* parent)
{
    Edit(dbFileName, DefaultUserFile(), audioDir, parent);
}

void TDBBrowserForm::AllowPicking(std::function<void(const std::vector<std::pair<std::string, std::string>>&)> pick)
{
    FPick = std::move(pick);
    PickButton->setVisible(bool(FPick));
}

void TDBBrowserForm::PickClick()
{
    std::vector<std::pair<std::string, std::string>> picked;
    QStringList names;
    for (const std::string& word : SelectedWords()) {
        const TBaseWord* entry = FBase.Find(word);
        if (!entry)
            continue;
        const int row = word == FCurrent ? ExplList->currentRow() : -1;
        const size_t clue = row >= 0 && size_t(row) < entry->Explanations.size() ? size_t(row) : 0;
        picked.emplace_back(word, entry->Explanations.empty() ? std::string() : entry->Explanations[clue]);
        names << FromCp1250(word);
    }
    if (picked.empty())
        return ShowMessage(QStringLiteral("Zaznacz hasła, które mają trafić na własną listę."));
    FPick(picked);
    ShowMessage(QStringLiteral("Dodano do własnej listy: %1.").arg(names.join(QStringLiteral(", "))));
}

QString TDBBrowserForm::DefaultUserFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/baza-użytkownika.hk");
}

QListView* TDBBrowserForm::CurrentList() const
{
    return ListTabs->currentIndex() == 1 ? ExcludedList : WordList;
}

TDBWordModel* TDBBrowserForm::CurrentModel() const
{
    return ListTabs->currentIndex() == 1 ? FExcludedModel : FWordsModel;
}

const TBaseWord* TDBBrowserForm::Current() const
{
    return FCurrent.empty() ? nullptr : FBase.Find(FCurrent);
}

void TDBBrowserForm::FilterChanged()
{
    const TWordFilter filter(FilterEdit->text().toStdString(), SearchExpl->isChecked());
    TWordConditions conditions;
    conditions.NoSound = NoSoundFilter->isChecked();
    conditions.UserEdited = EditedFilter->isChecked();
    conditions.Length = LengthFilter->value() == LengthFilter->minimum() ? 0 : LengthFilter->value();
    ChangeLists([&](TWordBaseList& list) { list.SetFilter(filter, conditions); });
    RefreshCounts();
    if (CurrentModel()->rowCount() > 0)
        CurrentList()->setCurrentIndex(CurrentModel()->index(0));
    else
        ShowWord({});
}

void TDBBrowserForm::ChangeLists(const std::function<void(TWordBaseList&)>& change)
{
    FWordsModel->Change(change);
    FExcludedModel->Change(change);
}

void TDBBrowserForm::RefreshCounts()
{
    ListTabs->setTabText(0, QStringLiteral("Hasła (%1)").arg(FWordsModel->List().TotalCount()));
    ListTabs->setTabText(1, QStringLiteral("Wykluczone (%1)").arg(FExcludedModel->List().TotalCount()));
    CountLabel->setText(
        QStringLiteral("Hasła: %1 z %2").arg(CurrentModel()->rowCount()).arg(CurrentModel()->List().TotalCount()));
}

void TDBBrowserForm::ListChanged()
{
    auto* selection = qobject_cast<QItemSelectionModel*>(sender());
    if (selection && selection != CurrentList()->selectionModel())
        return;
    const QModelIndex index = CurrentList()->currentIndex();
    if (index.isValid())
        ShowWord(CurrentModel()->List().Word(index.row()));
}

void TDBBrowserForm::SelectWord(const std::string& word)
{
    TDBWordModel* model = CurrentModel();
    const int row = model->List().RowOf(word);
    if (row >= 0)
        CurrentList()->setCurrentIndex(model->index(row));
    else
        CurrentList()->clearSelection();
    ShowWord(word);
}

void TDBBrowserForm::ShowWord(const std::string& word)
{
    const int clueRow = word == FCurrent ? ExplList->currentRow() : 0;
    FCurrent = word;
    const TBaseWord* entry = Current();
    if (!entry)
        FCurrent.clear();
    WordLabel->setText(entry ? FromCp1250(entry->PWord) : QString());
    WordEdit->setText(entry ? FromCp1250(entry->PWord) : QString());
    QString state;
    if (entry) {
        if (!entry->UserEdited)
            state = QStringLiteral("Hasło z bazy dostarczonej z programem.");
        else if (FBase.IsShipped(entry->PWord))
            state = QStringLiteral("Hasło zmienione przez użytkownika.");
        else
            state = QStringLiteral("Hasło dodane przez użytkownika.");
        if (entry->Excluded)
            state += QStringLiteral(" Wykluczone z układania krzyżówek.");
    }
    StateLabel->setText(state);
    ScoreLabel->setText(entry ? ScoreText(*entry) : QString());
    {
        const QSignalBlocker blocker(RegisterBox);
        RegisterBox->setCurrentIndex(RegisterBox->findData(int(entry ? entry->Register() : rgOrdinary)));
    }
    {
        const QSignalBlocker blocker(ExplList);
        ExplList->clear();
        if (entry)
            for (const std::string& clue : entry->Explanations)
                ExplList->addItem(FromCp1250(clue));
    }
    if (ExplList->count() > 0)
        ExplList->setCurrentRow(std::clamp(clueRow, 0, ExplList->count() - 1));
    else
        ClueEdit->clear();
    const QListWidgetItem* clue = ExplList->currentItem();
    ClueEdit->setText(clue ? clue->text() : QString());
    AudioList->clear();
    if (entry && !entry->Audio.empty())
        AudioList->addItem(FromCp1250(entry->SoundName()));
    if (AudioList->count() > 0)
        AudioList->setCurrentRow(0);
    else
        SoundChanged();
    RefreshButtons();
}

void TDBBrowserForm::RefreshButtons()
{
    const TBaseWord* entry = Current();
    const bool word = entry != nullptr;
    const int row = ExplList->currentRow();
    const int clues = ExplList->count();
    const bool recording = !FRecordingWord.empty();
    RemoveWordButton->setEnabled(word);
    ExcludeButton->setEnabled(word);
    ExcludeButton->setText(word && entry->Excluded ? QStringLiteral("Przywróć do &układania")
                                                   : QStringLiteral("&Wyklucz z układania"));
    RenameButton->setEnabled(word);
    RegisterBox->setEnabled(word);
    WordEdit->setEnabled(word);
    ClueEdit->setEnabled(word);
    AddClueButton->setEnabled(word);
    ChangeClueButton->setEnabled(word && row >= 0);
    RemoveClueButton->setEnabled(word && row >= 0 && clues > 1);
    ClueUpButton->setEnabled(word && row > 0);
    ClueDownButton->setEnabled(word && row >= 0 && row + 1 < clues);
    ChooseSoundButton->setEnabled(word && !recording);
    RemoveSoundButton->setEnabled(word && !entry->Audio.empty() && !recording);
    RecordButton->setEnabled(FCanRecord && (word || recording));
    GenerateButton->setEnabled(word && !recording);
    SaveButton->setEnabled(!Undo->isClean());
}

void TDBBrowserForm::RefreshProblem()
{
    QString text = QString::fromStdString(FBase.UserFileProblem());
    if (text.isEmpty() && FBase.ShippedChanged())
        text = QStringLiteral("Baza dostarczona z programem zmieniła się od ostatniego zapisu Twoich zmian "
                              "(wydanie %1). Twoje hasła i zmiany zostały zachowane i obowiązują w nowej bazie.")
                   .arg(FBase.Edition());
    ProblemLabel->setText(text);
    ProblemLabel->setVisible(!text.isEmpty());
}

void TDBBrowserForm::ShowMessage(const QString& text)
{
    MessageLabel->setText(text);
}

int TDBBrowserForm::Ask(const QString& text, const QStringList& buttons)
{
    QMessageBox box(buttons.size() > 1 ? QMessageBox::Question : QMessageBox::Critical, Title, text,
                    QMessageBox::NoButton, this);
    std::vector<QAbstractButton*> added;
    for (int i = 0; i < buttons.size(); ++i) {
        const auto role = i == 0 ? QMessageBox::AcceptRole
                                 : (i + 1 == buttons.size() ? QMessageBox::RejectRole : QMessageBox::DestructiveRole);
        added.push_back(box.addButton(buttons[i], role));
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
    box.setEscapeButton(added.back());
    box.exec();
    const auto it = std::find(added.begin(), added.end(), box.clickedButton());
    return it == added.end() ? int(added.size()) - 1 : int(it - added.begin());
}

void TDBBrowserForm::ShowError(const QString& text)
{
    Ask(text, {QStringLiteral("OK")});
}

bool TDBBrowserForm::Tried(const std::function<void()>& work)
{
    return mz::Tried(work, [this](const QString& text) { ShowError(text); });
}

bool TDBBrowserForm::SoundDirReady()
{
    if (QDir().mkpath(FUserAudioDir))
        return true;
    ShowMessage(QStringLiteral("Nie można utworzyć katalogu dźwięków %1.").arg(FUserAudioDir));
    return false;
}

void TDBBrowserForm::Push(const QString& text, std::vector<TWordChange> changes)
{
    if (changes.empty())
        return;
    ShowMessage({});
    Undo->push(new TWordCommand(this, text, std::move(changes)));
}

void TDBBrowserForm::ApplyChanges(std::vector<TWordChange>& changes, bool undo)
{
    const QModelIndex before = CurrentList()->currentIndex();
    try {
        if (undo)
            for (auto it = changes.rbegin(); it != changes.rend(); ++it)
                FBase.Apply(*it, true);
        else
            for (TWordChange& change : changes)
                FBase.Apply(change, false);
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()));
    }
    ChangeLists([&](TWordBaseList& list) {
        if (changes.size() > ListRebuildThreshold)
            return list.Reset();
        for (const TWordChange& change : changes)
            for (const auto* entry : {&change.Before, &change.After})
                if (*entry)
                    list.Update((*entry)->PWord);
        list.Refilter();
    });
    RefreshCounts();

    // The word the step ends with stays chosen; a word that left the list
    // (removed, or moved between the words and the excluded ones) gives its
    // place to its neighbour.
    const TWordChange& last = undo ? changes.front() : changes.back();
    const std::optional<TBaseWord>& result = undo ? last.Before : last.After;
    const std::optional<TBaseWord>& previous = undo ? last.After : last.Before;
    const bool movedList = result && previous && result->Excluded != previous->Excluded;
    if (result && CurrentModel()->List().RowOf(result->PWord) >= 0) {
        SelectWord(result->PWord);
    } else if (result && !movedList && changes.size() == 1) {
        if ((ListTabs->currentIndex() == 1) != result->Excluded)
            ListTabs->setCurrentIndex(result->Excluded ? 1 : 0);
        SelectWord(result->PWord);
    } else if (CurrentModel()->rowCount() > 0) {
        const int row = std::clamp(before.isValid() ? before.row() : 0, 0, CurrentModel()->rowCount() - 1);
        CurrentList()->setCurrentIndex(CurrentModel()->index(row));
        ShowWord(CurrentModel()->List().Word(row));
    } else {
        ShowWord({});
    }
}

void TDBBrowserForm::ChangeCurrent(const QString& text, const std::function<void(TBaseWord&)>& edit)
{
    const TBaseWord* entry = Current();
    if (!entry)
        return;
    TBaseWord after = *entry;
    edit(after);
    after.UserEdited = true;
    if (after == *entry)
        return;
    Push(text.arg(FromCp1250(entry->PWord)), {{*entry, after, 0}});
}

bool TDBBrowserForm::ClueAccepted(const QString& typed, const std::string& word, std::string& clue)
{
    const TClueCheck check = CheckClue(typed.toStdString(), word);
    if (!check.Error.empty()) {
        ShowMessage(QString::fromStdString(check.Error));
        return false;
    }
    if (!check.Warning.empty()
        && Ask(QString::fromStdString(check.Warning) + QStringLiteral(" Zachować je mimo to?"),
               {QStringLiteral("Zachowaj"), QStringLiteral("Popraw")})
            != 0)
        return false;
    clue = check.Clue;
    return true;
}

void TDBBrowserForm::AddWordClick()
{
    const TWordCheck check = CheckWord(NewWordEdit->text().toStdString());
    if (!check.Error.empty()) {
        ShowMessage(QString::fromStdString(check.Error));
        return;
    }
    if (FBase.Find(check.Word)) {
        ShowMessage(QStringLiteral("Hasło %1 już jest w bazie.").arg(FromCp1250(check.Word)));
        SelectWord(check.Word);
        return;
    }
    std::string clue;
    if (!ClueAccepted(NewClueEdit->text(), check.Word, clue))
        return;
    TBaseWord word{check.Word, {clue}, {}, false, true, {}};
    Push(QStringLiteral("dodanie hasła %1").arg(FromCp1250(check.Word)), {{std::nullopt, word, 0}});
    NewWordEdit->clear();
    NewClueEdit->clear();
}

void TDBBrowserForm::RenameClick()
{
    const TBaseWord* entry = Current();
    if (!entry)
        return;
    const TWordCheck check = CheckWord(WordEdit->text().toStdString());
    if (!check.Error.empty()) {
        ShowMessage(QString::fromStdString(check.Error));
        return;
    }
    if (check.Word == entry->PWord)
        return;
    if (FBase.Find(check.Word)) {
        ShowMessage(QStringLiteral("Hasło %1 już jest w bazie.").arg(FromCp1250(check.Word)));
        return;
    }
    TBaseWord after = *entry;
    after.PWord = check.Word;
    after.UserEdited = true;
    Push(QStringLiteral("zmiana nazwy hasła %1 na %2").arg(FromCp1250(entry->PWord), FromCp1250(check.Word)),
         {{*entry, after, 0}});
}

void TDBBrowserForm::RemoveWordClick()
{
    if (const TBaseWord* entry = Current())
        Push(QStringLiteral("usunięcie hasła %1").arg(FromCp1250(entry->PWord)), {{*entry, std::nullopt, 0}});
}

void TDBBrowserForm::ExcludeClick()
{
    const TBaseWord* entry = Current();
    if (!entry)
        return;
    ChangeCurrent(entry->Excluded ? QStringLiteral("przywrócenie hasła %1 do układania")
                                  : QStringLiteral("wykluczenie hasła %1"),
                  [](TBaseWord& word) { word.Excluded = !word.Excluded; });
}

void TDBBrowserForm::RegisterChosen(int index)
{
    const auto reg = static_cast<TRegister>(RegisterBox->itemData(index).toInt());
    ChangeCurrent(QStringLiteral("zmiana rejestru hasła %1"), [reg](TBaseWord& word) { word.SetRegister(reg); });
}

void TDBBrowserForm::AddClueClick()
{
    std::string clue;
    if (!Current() || !ClueAccepted(ClueEdit->text(), FCurrent, clue))
        return;
    const auto& clues = Current()->Explanations;
    if (std::find(clues.begin(), clues.end(), clue) != clues.end()) {
        ShowMessage(QStringLiteral("Hasło ma już to objaśnienie."));
        return;
    }
    ChangeCurrent(QStringLiteral("dodanie objaśnienia hasła %1"),
                  [&](TBaseWord& word) { word.Explanations.push_back(clue); });
    ExplList->setCurrentRow(ExplList->count() - 1);
}

void TDBBrowserForm::ChangeClueClick()
{
    const int row = ExplList->currentRow();
    std::string clue;
    if (!Current() || row < 0 || row >= int(Current()->Explanations.size())
        || !ClueAccepted(ClueEdit->text(), FCurrent, clue))
        return;
    ChangeCurrent(QStringLiteral("zmiana objaśnienia hasła %1"),
                  [&](TBaseWord& word) { word.Explanations[row] = clue; });
}

void TDBBrowserForm::RemoveClueClick()
{
    const int row = ExplList->currentRow();
    const TBaseWord* entry = Current();
    if (!entry || row < 0 || row >= int(entry->Explanations.size()))
        return;
    if (entry->Explanations.size() == 1) {
        ShowMessage(
            QStringLiteral("Hasło musi mieć co najmniej jedno objaśnienie; jeśli jest zbędne, usuń całe hasło."));
        return;
    }
    ChangeCurrent(QStringLiteral("usunięcie objaśnienia hasła %1"),
                  [&](TBaseWord& word) { word.Explanations.erase(word.Explanations.begin() + row); });
}

void TDBBrowserForm::MoveClue(int delta)
{
    const int row = ExplList->currentRow();
    const int target = row + delta;
    const TBaseWord* entry = Current();
    if (!entry || row < 0 || target < 0 || target >= int(entry->Explanations.size()))
        return;
    ChangeCurrent(QStringLiteral("zmiana kolejności objaśnień hasła %1"),
                  [&](TBaseWord& word) { std::swap(word.Explanations[row], word.Explanations[target]); });
    ExplList->setCurrentRow(target);
}

QString TDBBrowserForm::SoundPath() const
{
    const QListWidgetItem* item = AudioList->currentItem();
    if (!item)
        return QString();
    // The user's own sounds first, then the shipped ones.
    const TSoundFile sound =
        ResolveSoundFile(FUserAudioDir.toStdString(), FAudioDir.toStdString(), BaseText(item->text()));
    if (sound.Status == TSoundStatus::Playable)
        return QString::fromStdString(sound.Path.string());
    return FUserAudioDir + item->text();
}

QString TDBBrowserForm::FreeSoundName(const QString& extension) const
{
    return FreeSoundName(FCurrent, extension);
}

QString TDBBrowserForm::FreeSoundName(const std::string& baseWord, const QString& extension) const
{
    const QString word = FromCp1250(baseWord);
    QString name = word + QLatin1Char('.') + extension;
    // A shipped sound of that name stays reachable for an undo.
    for (int n = 2; QFileInfo::exists(FUserAudioDir + name) || QFileInfo::exists(FAudioDir + name); ++n)
        name = QStringLiteral("%1 (%2).%3").arg(word).arg(n).arg(extension);
    return name;
}

void TDBBrowserForm::SoundChanged()
{
    const QString path = SoundPath();
    const bool exists = !path.isEmpty() && QFileInfo(path).isFile();
    PlayButton->setEnabled(exists);
    if (path.isEmpty())
        StatusLabel->setText(Current() ? QStringLiteral("Hasło nie ma nagrania.") : QString());
    else
        StatusLabel->setText(exists ? QString() : QStringLiteral("Nie odnaleziono pliku %1").arg(path));
}

void TDBBrowserForm::ChooseSoundClick()
{
    if (!Current())
        return;
    const QString path = ChooseFile(QStringLiteral("Wybierz plik dźwięku"),
                                    QStringLiteral("Pliki dźwiękowe (*.wav *.mp3 *.ogg)"), false);
    if (path.isEmpty())
        return;
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension != QLatin1String("wav") && extension != QLatin1String("mp3") && extension != QLatin1String("ogg")) {
        ShowMessage(QStringLiteral("Wybierz plik WAV, MP3 lub OGG."));
        return;
    }
    if (!SoundDirReady())
        return;
    const QString name = FreeSoundName(extension);
    QFile source(path);
    if (!source.copy(FUserAudioDir + name)) {
        ShowMessage(QStringLiteral("Nie udało się skopiować pliku %1 do katalogu %2: %3")
                        .arg(path, FUserAudioDir, source.errorString()));
        return;
    }
    ChangeCurrent(QStringLiteral("dźwięk hasła %1"), [&](TBaseWord& word) { word.SetSoundName(BaseText(name)); });
}

void TDBBrowserForm::RemoveSoundClick()
{
    ChangeCurrent(QStringLiteral("usunięcie dźwięku hasła %1"), [](TBaseWord& word) { word.SetSoundName({}); });
}

void TDBBrowserForm::PlayClick()
{
    const QString path = SoundPath();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    FPlayed = QUrl::fromLocalFile(path);
    if (!Player) {
        // The main window's player: a machine without a sound device or a file
        // it cannot play is told, not passed over in silence.
        Player = new TSoundPlayer(this);
        connect(Player, &TSoundPlayer::Failed, this, [this](const QString& message) {
            StatusLabel->setText(message);
            ShowError(message);
        });
    }
    // A new press starts the sound again from its beginning.
    Player->Play(path);
}

void TDBBrowserForm::RecordClick()
{
#ifdef MZ_HAVE_MULTIMEDIA
    if (Recorder && Recorder->recorderState() == QMediaRecorder::RecordingState) {
        Recorder->stop();
        return;
    }
    if (!Current() || !FCanRecord)
        return;
    if (!SoundDirReady())
        return;
    if (!Recorder) {
        Capture = new QMediaCaptureSession(this);
        Capture->setAudioInput(new QAudioInput(Capture));
        Recorder = new QMediaRecorder(this);
        Capture->setRecorder(Recorder);
        connect(Recorder, &QMediaRecorder::errorOccurred, this, [this](QMediaRecorder::Error, const QString& message) {
            ShowMessage(QStringLiteral("Nagrywanie nie powiodło się: %1").arg(message));
        });
        connect(Recorder, &QMediaRecorder::recorderStateChanged, this, [this](QMediaRecorder::RecorderState state) {
            if (state != QMediaRecorder::StoppedState || FRecordingWord.empty())
                return;
            const std::string word = FRecordingWord;
            FRecordingWord.clear();
            RecordButton->setText(QStringLiteral("&Nagraj"));
            const QFileInfo file(Recorder->actualLocation().toLocalFile());
            const TBaseWord* entry = FBase.Find(word);
            if (entry && file.isFile() && file.size() > 0) {
                TBaseWord after = *entry;
                after.SetSoundName(BaseText(file.fileName()));
                after.UserEdited = true;
                Push(QStringLiteral("nagranie hasła %1").arg(FromCp1250(word)), {{*entry, after, 0}});
            }
            RefreshButtons();
        });
    }
    QMediaFormat format(QMediaFormat::Wave);
    QString extension = QStringLiteral("wav");
    if (!format.isSupported(QMediaFormat::Encode)) {
        format = QMediaFormat(QMediaFormat::Ogg);
        extension = QStringLiteral("ogg");
    }
    Recorder->setMediaFormat(format);
    Recorder->setOutputLocation(QUrl::fromLocalFile(FUserAudioDir + FreeSoundName(extension)));
    FRecordingWord = FCurrent;
    RecordButton->setText(QStringLiteral("&Zatrzymaj"));
    ShowMessage(QStringLiteral("Nagrywanie… naciśnij „Zatrzymaj”, aby zakończyć."));
    Recorder->record();
    RefreshButtons();
#endif
}

std::vector<std::string> TDBBrowserForm::SelectedWords() const
{
    QModelIndexList rows = CurrentList()->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::string> words;
    for (const QModelIndex& row : rows)
        words.push_back(CurrentModel()->List().Word(row.row()));
    if (words.empty() && Current())
        words.push_back(FCurrent);
    return words;
}

void TDBBrowserForm::GenerateClick()
{
    const std::vector<std::string> words = SelectedWords();
    if (words.empty())
        return;
    if (!SoundDirReady())
        return;
    std::vector<TSpokenJob> jobs;
    QStringList names;
    for (const std::string& word : words) {
        names << FreeSoundName(word, QStringLiteral("wav"));
        jobs.push_back({word, (FUserAudioDir + names.back()).toStdString()});
    }
    if (!FSpeech)
        FSpeech = MakeSpeechEngine();
    const TSpokenRun run = SpeakIntoFiles(this, *FSpeech, jobs);
    std::vector<TWordChange> changes;
    for (size_t i = 0; i < run.Written; ++i)
        if (const TBaseWord* entry = FBase.Find(words[i])) {
            TBaseWord after = *entry;
            after.SetSoundName(BaseText(names[int(i)]));
            after.UserEdited = true;
            changes.push_back({*entry, after, 0});
        }
    const QString step = words.size() == 1 ? QStringLiteral("nagranie hasła %1").arg(FromCp1250(words.front()))
                                           : QStringLiteral("nagrania haseł (%1)").arg(changes.size());
    Push(step, std::move(changes));
    if (!run.Error.empty())
        ShowError(QString::fromStdString(run.Error));
    else if (run.Stopped)
        ShowMessage(
            QStringLiteral("Przerwano: wygenerowano nagrania %1 z %2 haseł.").arg(run.Written).arg(words.size()));
    else
        ShowMessage(QStringLiteral("Wygenerowano nagrania syntezatorem mowy: %1.").arg(run.Written));
}

void TDBBrowserForm::ImportClick(bool thesaurus)
{
    const QString path =
        ChooseFile(thesaurus ? QStringLiteral("Importuj hasła z tezaurusa") : QStringLiteral("Importuj listę haseł"),
                   thesaurus ? QStringLiteral("Tezaurus MyThes (*.dat);;Wszystkie pliki (*)")
                             : QStringLiteral("Lista haseł (*.tsv *.txt);;Wszystkie pliki (*)"),
                   false);
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    std::ifstream in(LocalPath(path), std::ios::binary);
    if (!in) {
        ShowMessage(QStringLiteral("Nie można otworzyć pliku %1.").arg(path));
        return;
    }
    TImportPreview preview;
    if (!Tried([&] {
            preview = thesaurus ? PreviewThesaurusImport(FBase, in, name.toStdString()) : PreviewTsvImport(FBase, in);
        }))
        return;
    TImportPreviewForm form(preview, name, this);
    if (form.exec() != QDialog::Accepted)
        return;
    std::vector<TWordChange> changes = preview.Changes(FBase);
    if (changes.empty()) {
        ShowMessage(QStringLiteral("Plik %1 nie wnosi nic nowego.").arg(name));
        return;
    }
    Push(QStringLiteral("import z pliku %1").arg(name), std::move(changes));
    ShowMessage(QStringLiteral("Zaimportowano z pliku %1: nowe hasła – %2, uzupełnione – %3.")
                    .arg(name)
                    .arg(preview.Added.size())
                    .arg(preview.Merged.size()));
}

void TDBBrowserForm::ExportClick(bool shownOnly)
{
    std::vector<std::string> words;
    if (shownOnly) {
        words = CurrentModel()->List().ShownWords();
    } else {
        for (const TBaseWord& word : FBase.Entries())
            words.push_back(word.PWord);
        std::sort(words.begin(), words.end(), PolishLess);
    }
    QString path = ChooseFile(QStringLiteral("Eksportuj hasła"), QStringLiteral("Lista haseł (*.tsv)"), true);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".tsv");
    if (!Tried([&] { ExportTsvFile(path.toStdString(), FBase, words); }))
        return;
    ShowMessage(QStringLiteral("Wyeksportowano hasła (%1) do pliku %2.").arg(words.size()).arg(path));
}

void TDBBrowserForm::RestoreClick()
{
    const QString question =
        QStringLiteral("Przywrócić bazę dostarczoną z programem? Wszystkie Twoje zmiany – dodane, zmienione, "
                       "wykluczone i usunięte hasła – przestaną obowiązywać. Plik zmian zostanie zachowany jako %1.")
            .arg(QString::fromStdString(FBase.BackupName()));
    if (Ask(question, {QStringLiteral("Przywróć"), QStringLiteral("Anuluj")}) != 0)
        return;
    if (!Tried([&] { FBase.RestoreShipped(); }))
        return;
    FDiskChanged = true;
    Undo->clear();
    ChangeLists([](TWordBaseList& list) { list.Reset(); });
    RefreshProblem();
    FilterChanged();
    ShowMessage(QStringLiteral("Przywrócono bazę dostarczoną z programem."));
}

bool TDBBrowserForm::SaveClick()
{
    if (!Tried([&] { FBase.Save(); }))
        return false;
    FDiskChanged = true;
    Undo->setClean();
    RefreshProblem();
    ShowWord(FCurrent);
    ShowMessage(QStringLiteral("Zapisano zmiany w pliku %1.").arg(QString::fromStdString(FBase.UserFile())));
    return true;
}

bool TDBBrowserForm::MaybeSave()
{
    if (Undo->isClean())
        return true;
    switch (Ask(QStringLiteral("Zapisać zmiany w bazie haseł?"),
                {QStringLiteral("Tak"), QStringLiteral("Nie"), QStringLiteral("Anuluj")})) {
    case 0:
        return SaveClick();
    case 1:
        return true;
    default:
        return false;
    }
}

void TDBBrowserForm::reject()
{
#ifdef MZ_HAVE_MULTIMEDIA
    if (Recorder && Recorder->recorderState() == QMediaRecorder::RecordingState)
        Recorder->stop();
#endif
    if (MaybeSave())
        QDialog::reject();
}

} // namespace mz
