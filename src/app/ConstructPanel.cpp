#include "app/ConstructPanel.h"

#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/WindowText.h"
#include "composer/Composer.h"
#include "composer/ConstructGrid.h"
#include "core/CellChars.h"
#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "database/ComposeWords.h"
#include "database/WordBase.h"
#include "dialogs/Widgets.h"
#include "grid/CrossDocument.h"
#include "grid/CrossSurface.h"

#include <QCloseEvent>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace mz {

namespace {

constexpr int SuggestionLimit = 200;
constexpr int PanelWidth = 260;

// "1 pasujące słowo", "3 pasujące słowa", "12 pasujących słów".
QString FittingWords(int n)
{
    if (n < 0)
        return QStringLiteral("brak");
    const int tens = n % 100;
    const int ones = n % 10;
    if (n == 1)
        return QStringLiteral("1 pasujące słowo");
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        return QStringLiteral("%1 pasujące słowa").arg(n);
    return QStringLiteral("%1 pasujących słów").arg(n);
}

} // namespace

TConstructPanel::TConstructPanel(TCrossDocument& crossWord, TCrossSurface& crossView, const TSettings& settings,
                                 QWidget* parent)
    : QWidget(parent, Qt::Tool), FCrossWord(crossWord), FCrossView(crossView), FSettings(settings)
{
    setObjectName(QStringLiteral("ConstructPanel"));
    setWindowTitle(QStringLiteral("Tryb układania"));
    setMinimumWidth(PanelWidth);
    auto* layout = new QVBoxLayout(this);
    FFits = Named<QLabel>("SlotFits", this);
    layout->addWidget(FFits);
    FWordState = Named<QLabel>("WordState", this);
    FWordState->setWordWrap(true);
    layout->addWidget(FWordState);
    layout->addWidget(new QLabel(QStringLiteral("Pasujące słowa (kliknij lub Enter):"), this));
    FSuggestions = Named<QListWidget>("Suggestions", this);
    layout->addWidget(FSuggestions, 1);
    connect(FSuggestions, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { PlaceSuggestion(item->text()); });
    connect(FSuggestions, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PlaceSuggestion(item->text()); });
    FUnknown = Named<QLabel>("UnknownWords", this);
    FUnknown->setWordWrap(true);
    FUnknown->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(FUnknown);

    auto button = [&](const char* name, const QString& caption, auto handler) {
        auto* b = Named<QPushButton>(name, caption, this);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, handler);
        layout->addWidget(b);
        return b;
    };
    button("Construct_Block", QStringLiteral("Czarne pole / wolne pole"), &TConstructPanel::ToggleBlock);
    FLock = button("Construct_Lock", QStringLiteral("Zablokuj hasło"), &TConstructPanel::ToggleLock);
    FClue = button("Construct_Clue", QStringLiteral("Własne objaśnienie..."), &TConstructPanel::AskClue);
    button("Construct_Fill", QStringLiteral("Uzupełnij"), &TConstructPanel::Fill);
    button("Construct_AddWords", QStringLiteral("Dodaj moje hasła do bazy"), &TConstructPanel::AddOwnWords);

    connect(&crossView, &TCrossSurface::CursorMoved, this, [this] {
        if (isVisible())
            Refresh();
    });
    connect(&crossWord, &TCrossDocument::CellChanged, this, [this] {
        if (isVisible())
            Refresh();
    });
}

TConstructPanel::~TConstructPanel() = default;

TDB* TConstructPanel::Database()
{
    if (FDB || FDBFailed)
        return FDB.get();
    try {
        TDBLoadFilter filter{FSettings.MinLenPWord, FSettings.MaxLenPWord,
                             DifficultyMinScore(static_cast<TDifficulty>(FSettings.Difficulty))};
        filter.SchoolSafe = FSettings.SchoolSafe;
        FDB = TComposeWords::Read(FSettings.DataBasePath.toStdString(), FSettings.UserDataBasePath.toStdString())
                  ->NewDB(filter);
    } catch (const std::exception& e) {
        FDBFailed = true;
        Tell(QString::fromUtf8(e.what()));
    }
    return FDB.get();
}

TTable TConstructPanel::Grid() const
{
    return TableFromDocument(FCrossWord.Document());
}

TLockedWord TConstructPanel::WordAtCursor() const
{
    return WordThrough(Grid(), FCrossView.CurrCol(), FCrossView.CurrRow(), FCrossView.WriteDir() == TDirection::Across);
}

void TConstructPanel::Refresh()
{
    const TTable grid = Grid();
    const int col = FCrossView.CurrCol();
    const int row = FCrossView.CurrRow();
    const int minLen = std::max(FSettings.MinLenPWord, 2);
    TDB* db = Database();
    FSuggestions->clear();
    if (!db)
        return;
    const auto used = WordsInGrid(grid, minLen);
    const TSlotFits fits = FitsAt(grid, *db, col, row, minLen, used);
    FFits->setText(QStringLiteral("Poziomo: %1\nPionowo: %2").arg(FittingWords(fits.Across), FittingWords(fits.Down)));
    const TGridSlot slot = SlotAt(grid, col, row, FCrossView.WriteDir() == TDirection::Across, minLen);
    if (slot.Found() && !slot.Complete())
        for (const TWordSuggestion& s : SuggestWords(*db, slot.Pattern, used, SuggestionLimit))
            FSuggestions->addItem(FromCp1250(s.Word));

    const TLockedWord word = WordAtCursor();
    const bool locked = word.Length > 0 && FCrossWord.Document().IsLocked(word);
    FLock->setText(locked ? QStringLiteral("Odblokuj hasło") : QStringLiteral("Zablokuj hasło"));
    FLock->setEnabled(word.Length > 0);
    FClue->setEnabled(word.Length > 0);
    if (word.Length == 0) {
        FWordState->clear();
    } else {
        const std::string text = LettersOf(grid, word);
        const bool known = db->FindWord(text) >= 0;
        FWordState->setText(QStringLiteral("%1%2: %3")
                                .arg(FromCp1250(text), locked ? QStringLiteral(" (zablokowane)") : QString(),
                                     known ? QStringLiteral("w bazie haseł") : QStringLiteral("nie ma w bazie haseł")));
    }
    // Every word typed so far that the database does not know.
    QStringList unknown;
    for (const std::string& stranger : UnknownWords(grid, *db, minLen))
        unknown << FromCp1250(stranger);
    FUnknown->setText(unknown.isEmpty() ? QString()
                                        : QStringLiteral("Spoza bazy: ") + unknown.join(QStringLiteral(", ")));
}

void TConstructPanel::PlaceSuggestion(const QString& word)
{
    const TTable grid = Grid();
    const bool horizontal = FCrossView.WriteDir() == TDirection::Across;
    const TGridSlot slot =
        SlotAt(grid, FCrossView.CurrCol(), FCrossView.CurrRow(), horizontal, std::max(FSettings.MinLenPWord, 2));
    const std::string letters = Utf8ToCp1250(word.toStdString());
    if (!slot.Found() || static_cast<int>(letters.size()) != slot.Length())
        return;
    for (int i = 0; i < slot.Length(); ++i)
        FCrossWord.SetCell(slot.Col + (horizontal ? i : 0), slot.Row + (horizontal ? 0 : i),
                           static_cast<unsigned char>(letters[static_cast<size_t>(i)]));
    FCrossView.setFocus();
    Refresh();
}

void TConstructPanel::ToggleBlock()
{
    const int col = FCrossView.CurrCol();
    const int row = FCrossView.CurrRow();
    const bool block = FCrossWord.GetCell(col, row) == BlockedCell;
    FCrossWord.SetCell(col, row, block ? BlankCell : BlockedCell);
    FCrossView.setFocus();
    Refresh();
}

void TConstructPanel::ToggleLock()
{
    const TLockedWord word = WordAtCursor();
    if (word.Length == 0)
        return;
    const bool lock = !FCrossWord.Document().IsLocked(word);
    FCrossWord.Edit([&](TCrossTXT& doc) { SetWordLocked(doc, word, lock); });
    FCrossView.setFocus();
    Refresh();
}

void TConstructPanel::AskClue()
{
    const TLockedWord word = WordAtCursor();
    if (word.Length == 0)
        return;
    const std::string text = LettersOf(Grid(), word);
    std::optional<QString> clue;
    if (FClueHook) {
        clue = FClueHook(FromCp1250(text));
    } else {
        bool ok = false;
        const QString typed = QInputDialog::getText(this, QStringLiteral("Własne objaśnienie"),
                                                    QStringLiteral("Objaśnienie hasła %1:").arg(FromCp1250(text)),
                                                    QLineEdit::Normal, QString(), &ok);
        if (ok)
            clue = typed;
    }
    if (clue)
        SetOwnClue(*clue);
}

void TConstructPanel::SetOwnClue(const QString& clue)
{
    const TLockedWord word = WordAtCursor();
    if (word.Length == 0)
        return;
    const std::string answer = LettersOf(Grid(), word);
    bool ok = true;
    const std::string text = Utf8ToCp1250(clue.trimmed().toStdString(), '?', &ok);
    if (!ok)
        return Tell(QStringLiteral("Objaśnienie zawiera znak spoza polskiego alfabetu."));
    FCrossWord.Edit([&](TCrossTXT& doc) { mz::SetOwnClue(doc, word, text, answer); });
    Refresh();
}

void TConstructPanel::AddOwnWords()
{
    TDB* db = Database();
    if (!db)
        return;
    const std::vector<TOwnWord> own = OwnWordsOutside(FCrossWord.Document(), *db);
    if (own.empty())
        return Tell(QStringLiteral("W krzyżówce nie ma haseł spoza bazy z własnym objaśnieniem."));
    const auto words = [](const std::vector<std::string>& list) {
        QStringList shown;
        for (const std::string& word : list)
            shown << FromCp1250(word);
        return shown.join(QStringLiteral(", "));
    };
    TOwnWordsAdded result;
    try {
        TWordBase base;
        base.Load(FSettings.DataBasePath.toStdString(), FSettings.UserDataBasePath.toStdString());
        // A change file that cannot be read would be set aside by a save; the editor shows why.
        if (!base.UserFileProblem().empty())
            return Tell(QStringLiteral("Nie dodano haseł do bazy: %1 Popraw to w edytorze bazy haseł.")
                            .arg(QString::fromStdString(base.UserFileProblem())));
        result = mz::AddOwnWords(base, own);
        if (!result.Added.empty())
            base.Save();
    } catch (const std::exception& e) {
        return Tell(QStringLiteral("Nie dodano haseł do bazy. %1").arg(QString::fromUtf8(e.what())));
    }
    // The next look-up and the next composing read the change file again.
    FDB.reset();
    FDBFailed = false;
    Refresh();
    QStringList told{QStringLiteral("Dodano do Twojej bazy haseł: %1%2.")
                         .arg(result.Added.size())
                         .arg(result.Added.empty() ? QString() : QStringLiteral(" (%1)").arg(words(result.Added)))};
    if (!result.Present.empty())
        told << QStringLiteral("Już były w bazie: %1.").arg(words(result.Present));
    for (const std::string& refused : result.Refused)
        told << QStringLiteral("Pominięto %1").arg(QString::fromStdString(refused));
    Tell(told.join(QLatin1Char('\n')));
}

void TConstructPanel::Fill()
{
    TDB* db = Database();
    if (!db)
        return;
    try {
        FKept = KeptTemplate(FCrossWord.Document());
    } catch (const std::exception& e) {
        return Tell(QString::fromUtf8(e.what()));
    }
    TComposerSettings settings;
    settings.MinLenPWord = FSettings.MinLenPWord;
    const TFillArea area = StuckArea(FKept, *db, settings);
    if (!area.Empty()) {
        MarkArea(area);
        return Tell(QStringLiteral("Tej krzyżówki nie da się uzupełnić: żadne słowo z bazy nie pasuje w obszarze "
                                   "%1 (zaznaczonym na siatce).")
                        .arg(QString::fromStdString(area.Text())));
    }
    FFrom = FCrossWord.Document();
    emit FillRequested();
}

void TConstructPanel::RestoreOwnParts(TCrossTXT& result) const
{
    if (FFrom)
        mz::RestoreOwnParts(*FFrom, result);
}

void TConstructPanel::FillEnded(bool handedOver, const QString& fileName)
{
    if (!FFrom)
        return;
    const TCrossTXT from = *std::exchange(FFrom, std::nullopt);
    if (!handedOver) {
        // The words the composer could not reach lie where the grid stayed free;
        // the user's crossword stays as it was.
        TDB* db = Database();
        TComposerSettings settings;
        settings.MinLenPWord = FSettings.MinLenPWord;
        if (db)
            MarkArea(StuckArea(FKept, *db, settings));
        return;
    }
    // The composer saved the crossword with the database's clues; the user's go back in.
    try {
        TCrossTXT saved;
        saved.LoadFromFile(fileName.toStdString());
        mz::RestoreOwnParts(from, saved);
        saved.SaveToFile(fileName.toStdString());
    } catch (const std::exception& e) {
        Tell(QString::fromUtf8(e.what()));
    }
}

void TConstructPanel::MarkArea(const TFillArea& area)
{
    FCrossView.ClearHighlights();
    for (int c = area.Col1; !area.Empty() && c <= area.Col2; ++c)
        for (int r = area.Row1; r <= area.Row2; ++r)
            FCrossView.SetCellHighlight(c, r, true);
    FCrossView.update();
}

void TConstructPanel::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit Closed();
}

void TConstructPanel::Tell(const QString& message)
{
    ShowMessage(message, QMessageBox::Information, QMessageBox::Ok, parentWidget());
}

} // namespace mz
