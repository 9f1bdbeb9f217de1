#include "app/SolutionCommands.h"

#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/WindowText.h"
#include "composer/AnswerRecovery.h"
#include "core/Cp1250.h"
#include "core/Random.h"
#include "database/DB.h"
#include "dialogs/Widgets.h"
#include "documents/CrossSolution.h"
#include "grid/CrossDocument.h"
#include "grid/CrossSurface.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace mz {

namespace {

const QString HintNoAnswers = QStringLiteral(
    "Krzyżówka nie ma zapisanych odpowiedzi – można je odtworzyć poleceniem „Odtwórz rozwiązanie z bazy”.");
const QString HintNoClues = QStringLiteral("Krzyżówka nie ma haseł.");
const QString HintAllKnown = QStringLiteral("Wszystkie odpowiedzi krzyżówki są znane.");
const QString MsgNoWord = QStringLiteral("Kursor nie stoi na żadnym haśle.");
const QString MsgWordRight = QStringLiteral("W tym haśle nie ma błędnych liter.");
const QString MsgAllRight = QStringLiteral("W krzyżówce nie ma błędnych liter.");
const QString MsgShowSolution =
    QStringLiteral("Czy pokazać całe rozwiązanie?\nWpisane litery zostaną zastąpione odpowiedziami.");
const QString MsgSolved = QStringLiteral("Gratulacje! Krzyżówka rozwiązana bezbłędnie.");
const QString MsgRecovered = QStringLiteral("Odtworzono odpowiedzi: %1 z %2 brakujących.");
const QString MsgStillUnknown =
    QStringLiteral("Bez odpowiedzi pozostały hasła: %1 (niejednoznaczne albo spoza bazy haseł).");
const QString StripCaption = QStringLiteral("Rozwiązanie: ");

constexpr int StripAreaHeight = 24;
constexpr int StripGap = 2;
constexpr int MessageLineChars = 60;

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& keys = {})
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setShortcut(keys);
    // The hint is the reason a command is disabled, so it changes; this one is the command's own.
    action->setData(hint);
    return action;
}

void SetHint(QAction* action, bool enabled, const QString& reason)
{
    action->setEnabled(enabled);
    const QString hint = enabled ? action->data().toString() : reason;
    action->setToolTip(hint);
    action->setStatusTip(hint);
}

// "K_T  PS" becomes "K _ T   P S": one space between letters, three between words.
QString SpacedStrip(const std::string& letters)
{
    QString text;
    for (size_t i = 0; i < letters.size(); ++i) {
        if (i > 0)
            text += letters[i] == ' ' || letters[i - 1] == ' ' ? QStringLiteral("  ") : QStringLiteral(" ");
        if (letters[i] != ' ')
            text += FromCp1250(std::string(1, letters[i]));
    }
    return text;
}

} // namespace

// The phrase dialog -------------------------------------------------------------------

TPhraseDialog::TPhraseDialog(std::function<QString()> pick, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PhraseDialog"));
    setWindowTitle(QStringLiteral("Utwórz rozwiązanie"));
    auto* layout = new QVBoxLayout(this);
    auto* label =
        new QLabel(QStringLiteral("Wpisz hasło rozwiązania albo pozwól programowi wybrać słowo z bazy:"), this);
    layout->addWidget(label);
    auto* row = new QHBoxLayout;
    FEdit = Named<QLineEdit>("PhraseEdit", this);
    FEdit->setMinimumWidth(260);
    label->setBuddy(FEdit);
    row->addWidget(FEdit);
    auto* pickButton = Named<QPushButton>("PickPhraseWord", QStringLiteral("&Wybierz słowo z bazy"), this);
    row->addWidget(pickButton);
    layout->addLayout(row);
    auto* buttons = OkCancelButtons(this);
    buttons->setObjectName(QStringLiteral("PhraseButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("PhraseOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("PhraseCancel"));
    layout->addWidget(buttons);
    connect(pickButton, &QPushButton::clicked, this, [this, pick] {
        try {
            FEdit->setText(pick());
        } catch (const std::exception& e) {
            ShowErrorBox(QString::fromUtf8(e.what()));
        }
    });
}

QString TPhraseDialog::Phrase() const
{
    return FEdit->text();
}

// The commands -------------------------------------------------------------------------

TSolutionCommands::TSolutionCommands(TCrossDocument& crossWord, TCrossSurface& crossView, const TSettings& settings,
                                     QWidget& window, QWidget& client, QObject* parent)
    : QObject(parent), FCrossWord(crossWord), FCrossView(crossView), FSettings(settings), FWindow(window)
{
    setObjectName(QStringLiteral("SolutionCommands"));
    // Function keys: Ctrl with a letter types the Polish letters.
    FCheckWord = MakeAction(&window, "Solution_CheckWord", QStringLiteral("Sprawdź &słowo"),
                            QStringLiteral("Zaznacza błędne litery hasła pod kursorem"), QKeySequence(Qt::Key_F5));
    FCheckAll =
        MakeAction(&window, "Solution_CheckAll", QStringLiteral("Sprawdź &krzyżówkę"),
                   QStringLiteral("Zaznacza błędne litery całej krzyżówki"), QKeySequence(Qt::SHIFT | Qt::Key_F5));
    FRevealLetter = MakeAction(&window, "Solution_RevealLetter", QStringLiteral("Odkryj &literę"),
                               QStringLiteral("Wpisuje poprawną literę w pole pod kursorem"), QKeySequence(Qt::Key_F6));
    FRevealWord = MakeAction(&window, "Solution_RevealWord", QStringLiteral("Odkryj sł&owo"),
                             QStringLiteral("Wpisuje całe hasło pod kursorem"), QKeySequence(Qt::SHIFT | Qt::Key_F6));
    FShowSolution = MakeAction(&window, "Solution_ShowAll", QStringLiteral("&Pokaż rozwiązanie"),
                               QStringLiteral("Wpisuje wszystkie odpowiedzi"));
    FRecover = MakeAction(&window, "Solution_Recover", QStringLiteral("Odtwórz rozwiązanie z &bazy"),
                          QStringLiteral("Odszukuje brakujące odpowiedzi w bazie haseł"));
    FCreatePhrase = MakeAction(&window, "Solution_CreatePhrase", QStringLiteral("&Utwórz rozwiązanie..."),
                               QStringLiteral("Wybiera hasło rozwiązania i numeruje pola, z których się je czyta"));
    FPhraseAfterCompose = MakeAction(&window, "Solution_PhraseAfterCompose", QStringLiteral("&Rozwiązanie po ułożeniu"),
                                     QStringLiteral("Po ułożeniu nowej krzyżówki proponuje utworzenie rozwiązania"));
    FPhraseAfterCompose->setCheckable(true);

    connect(FCheckWord, &QAction::triggered, this, &TSolutionCommands::CheckWord);
    connect(FCheckAll, &QAction::triggered, this, &TSolutionCommands::CheckAll);
    connect(FRevealLetter, &QAction::triggered, this, &TSolutionCommands::RevealLetter);
    connect(FRevealWord, &QAction::triggered, this, &TSolutionCommands::RevealWord);
    connect(FShowSolution, &QAction::triggered, this, &TSolutionCommands::ShowSolution);
    connect(FRecover, &QAction::triggered, this, &TSolutionCommands::RecoverAnswers);
    connect(FCreatePhrase, &QAction::triggered, this, &TSolutionCommands::CreatePhrase);

    FStripRow = Named<QWidget>("StripRow", &client);
    FStripRow->setFixedHeight(StripAreaHeight);
    FStripRow->hide();
    FStrip = Named<QLabel>("PhraseStrip", FStripRow);
    FStrip->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FStrip->setTextFormat(Qt::PlainText);
    QFont font = FStrip->font();
    font.setBold(true);
    FStrip->setFont(font);
    // A long phrase is cut, never widening the window.
    FStrip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto* stripRow = new QHBoxLayout(FStripRow);
    stripRow->setContentsMargins(3 * StripGap, StripGap, 3 * StripGap, StripGap);
    stripRow->addWidget(FStrip);

    connect(&FCrossWord, &TCrossDocument::Reset, this, [this] {
        FSolved = IsSolved(FCrossWord.Document());
        FShown = false;
        UpdateCommands();
        UpdateStrip();
    });
    connect(&FCrossWord, &TCrossDocument::SolutionChanged, this, [this] {
        UpdateCommands();
        UpdateStrip();
    });
    connect(&FCrossWord, &TCrossDocument::CellChanged, this, [this] {
        UpdateStrip();
        CellTyped();
    });
    UpdateCommands();
    UpdateStrip();
}

TSolutionCommands::~TSolutionCommands() = default;

void TSolutionCommands::FillMenu(QMenu& menu)
{
    menu.setToolTipsVisible(true);
    menu.addActions({FCheckWord, FCheckAll});
    menu.addSeparator();
    menu.addActions({FRevealLetter, FRevealWord, FShowSolution});
    menu.addSeparator();
    menu.addActions({FRecover, FCreatePhrase, FPhraseAfterCompose});
}

void TSolutionCommands::Tell(const QString& message)
{
    ShowMessage(message, QMessageBox::Information, QMessageBox::Ok, &FWindow);
}

void TSolutionCommands::UpdateCommands()
{
    const TCrossTXT& doc = FCrossWord.Document();
    const bool answers = HasAnswers(doc);
    for (QAction* a : {FCheckWord, FCheckAll, FRevealLetter, FRevealWord, FShowSolution, FCreatePhrase})
        SetHint(a, answers, HintNoAnswers);
    bool missing = false;
    for (int n = 1; n <= doc.ExplCount() && !missing; ++n)
        missing = doc.GetExpl(n).Answer.empty();
    SetHint(FRecover, missing, doc.ExplCount() == 0 ? HintNoClues : HintAllKnown);
}

// The strip ------------------------------------------------------------------------------

void TSolutionCommands::ShowStrip(bool crossWordShown)
{
    FStripShown = crossWordShown && !FCrossWord.Document().Phrase().Cells.empty();
    FStripRow->setVisible(FStripShown);
}

void TSolutionCommands::UpdateStrip()
{
    const TCrossTXT& doc = FCrossWord.Document();
    const bool phrase = !doc.Phrase().Cells.empty();
    FStrip->setText(phrase ? StripCaption + SpacedStrip(PhraseLetters(doc)) : QString());
    FStrip->setToolTip(FStrip->text());
    // Only the crossword's own view shows the strip; the window decides when.
    if (phrase != FStripShown && !FCrossView.isHidden())
        emit LayoutChanged();
}

// Typing -----------------------------------------------------------------------------------

void TSolutionCommands::CellTyped()
{
    if (FRevealing || FShown || FConstructing)
        return;
    const bool solved = IsSolved(FCrossWord.Document());
    if (solved && !FSolved) {
        // After the key that typed the letter has been handled.
        QTimer::singleShot(0, this, [this] { Tell(MsgSolved); });
    }
    FSolved = solved;
}

// Checking and revealing ------------------------------------------------------------------

int TSolutionCommands::WordAtCursor()
{
    const TCrossTXT& doc = FCrossWord.Document();
    const TCrosswordKind& kind = FCrossWord.CrosswordKind();
    const TCellPos cell{FCrossView.CurrCol(), FCrossView.CurrRow()};
    const TDirection dir = FCrossView.WriteDir();
    int number = kind.WordAt(doc, cell, dir);
    if (number == 0)
        number = kind.WordAt(doc, cell, dir == TDirection::Across ? TDirection::Down : TDirection::Across);
    if (number == 0)
        Tell(MsgNoWord);
    return number;
}

void TSolutionCommands::CheckWord()
{
    const int number = WordAtCursor();
    if (number == 0)
        return;
    MarkWrong(WrongCellsOfWord(FCrossWord.Document(), number), MsgWordRight);
}

void TSolutionCommands::CheckAll()
{
    MarkWrong(WrongCells(FCrossWord.Document()), MsgAllRight);
}

void TSolutionCommands::MarkWrong(const std::vector<TCellPos>& wrong, const QString& noneWrong)
{
    for (const TCellPos& cell : wrong)
        FCrossView.MarkWrong(cell.Col, cell.Row);
    if (wrong.empty())
        Tell(noneWrong);
}

void TSolutionCommands::Reveal(const std::function<void(TCrossTXT&)>& reveal)
{
    FRevealing = true;
    FCrossWord.Edit(reveal);
    FRevealing = false;
    FSolved = IsSolved(FCrossWord.Document());
}

void TSolutionCommands::RevealLetter()
{
    const int col = FCrossView.CurrCol();
    const int row = FCrossView.CurrRow();
    Reveal([&](TCrossTXT& doc) { mz::RevealLetter(doc, col, row); });
}

void TSolutionCommands::RevealWord()
{
    const int number = WordAtCursor();
    if (number == 0)
        return;
    Reveal([&](TCrossTXT& doc) { mz::RevealWord(doc, number); });
}

void TSolutionCommands::ShowSolution()
{
    if (ShowMessage(MsgShowSolution, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, &FWindow)
        != QMessageBox::Yes)
        return;
    Reveal([](TCrossTXT& doc) { RevealAll(doc); });
    FShown = true;
    FCrossView.ClearWrong();
}

// The word database -----------------------------------------------------------------------

// The database of the settings, read once while its path stays the same; null
// (with the reason shown) when it cannot be read.
const TDB* TSolutionCommands::Database()
{
    if (FDB && FDBPath == FSettings.DataBasePath)
        return FDB.get();
    FDB.reset();
    auto db = std::make_unique<TDB>();
    try {
        db->Load(FSettings.DataBasePath.toStdString());
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
        return nullptr;
    }
    FDB = std::move(db);
    FDBPath = FSettings.DataBasePath;
    return FDB.get();
}

void TSolutionCommands::RecoverAnswers()
{
    const TDB* db = Database();
    if (!db)
        return;
    TRecoveryResult result;
    FCrossWord.Edit([&](TCrossTXT& doc) { result = mz::RecoverAnswers(doc, *db); });
    FSolved = IsSolved(FCrossWord.Document());
    QString message = MsgRecovered.arg(result.Recovered).arg(result.Explanations - result.Known);
    if (result.Unknown > 0)
        message += QLatin1Char('\n') + MsgStillUnknown.arg(result.Unknown);
    Tell(message);
}

// The "rozwiązanie" -------------------------------------------------------------------------

void TSolutionCommands::CreatePhrase()
{
    if (!HasAnswers(FCrossWord.Document()))
        return;
    auto random = std::make_shared<TRandom>();
    random->Reseed();
    TPhraseDialog dialog(
        [this, random] {
            const TDB* db = Database();
            if (!db)
                return QString();
            return FromCp1250(PickPhraseWord(FCrossWord.Document(), *db, *random));
        },
        &FWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A phrase that cannot be placed gets the reason, and the crossword stays as it was.
    try {
        bool ok = true;
        const std::string typed = Utf8ToCp1250(dialog.Phrase().toStdString(), '?', &ok);
        const std::string phrase = NormalizePhrase(typed);
        const TPhrase chosen = ChoosePhraseCells(FCrossWord.Document(), phrase, *random);
        FCrossWord.Edit([&](TCrossTXT& doc) { doc.SetPhrase(chosen); });
    } catch (const std::exception& e) {
        // The list of missing letters can be long.
        ShowErrorBox(WrappedText(QString::fromUtf8(e.what()), MessageLineChars));
    }
}

void TSolutionCommands::AfterCompose(bool handedOver, const QString& fileName)
{
    if (handedOver && FPhraseAfterCompose->isChecked() && FCrossWord.FileName() == fileName.toStdString()
        && HasAnswers(FCrossWord.Document()))
        // Once composing has gone idle, not inside its completion.
        QTimer::singleShot(0, this, &TSolutionCommands::CreatePhrase);
}

} // namespace mz
