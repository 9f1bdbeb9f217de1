#include "app/ClueCommands.h"

#include "app/CluePanel.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/WindowText.h"
#include "core/Cp1250.h"
#include "core/SoundNames.h"
#include "database/ComposeWords.h"
#include "dialogs/ClueEditForm.h"
#include "dialogs/Widgets.h"
#include "documents/CrossSolution.h"
#include "grid/CrossDocument.h"
#include "grid/CrossSurface.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QUndoStack>

namespace mz {

namespace {

void Tell(const QString& message)
{
    ShowMessage(message, QMessageBox::Information);
}

// One clue edit: the explanation before and after.
class TClueChange : public QUndoCommand {
public:
    TClueChange(TCrossDocument& doc, TCluePanel& clues, int number, TExpl before, TExpl after)
        : QUndoCommand(QStringLiteral("objaśnienie %1").arg(number)), FDoc(doc), FClues(clues), FNumber(number),
          FBefore(std::move(before)), FAfter(std::move(after))
    {
    }
    void undo() override { Put(FBefore); }
    void redo() override { Put(FAfter); }

private:
    void Put(const TExpl& expl)
    {
        // The edit is only valid while the same crossword is open (the stack is
        // cleared when another one is read).
        if (FNumber > FDoc.Document().ExplCount())
            return;
        FDoc.Edit([&](TCrossTXT& doc) { doc.SetExpl(FNumber, expl); });
        FClues.ForgetHighlight();
        FClues.Refresh();
    }

    TCrossDocument& FDoc;
    TCluePanel& FClues;
    int FNumber;
    TExpl FBefore;
    TExpl FAfter;
};

} // namespace

TClueCommands::TClueCommands(TCrossDocument& crossWord, TCrossSurface& crossView, TCluePanel& clues,
                             const TSettings& settings, TFileDialogs& dialogs, QWidget& window, QObject* parent)
    : QObject(parent), FCrossWord(crossWord), FCrossView(crossView), FClues(clues), FSettings(settings),
      FDialogs(dialogs), FWindow(window)
{
    setObjectName(QStringLiteral("ClueCommands"));
    FStack = new QUndoStack(this);
    // Another crossword read in: the edits of the last one cannot be undone in it.
    connect(&crossWord, &TCrossDocument::Reset, FStack, &QUndoStack::clear);
}

void TClueCommands::FillMenu(QMenu& menu)
{
    auto* edit = Named<QAction>("Clue_Edit", QStringLiteral("O&bjaśnienie hasła..."), this);
    edit->setToolTip(QStringLiteral("Zmienia objaśnienie hasła pod kursorem, jego dźwięk lub wybiera inne z bazy"));
    // Ctrl with a letter types a Polish letter in the grid (Ctrl+E is Ę, Ctrl+Z is Ż),
    // so the clue commands take keys of their own.
    edit->setShortcut(QKeySequence(Qt::Key_F4));
    connect(edit, &QAction::triggered, this, &TClueCommands::EditCurrentClue);
    QAction* undo = FStack->createUndoAction(this, QStringLiteral("Cofnij zmianę objaśnienia"));
    undo->setObjectName(QStringLiteral("Clue_Undo"));
    undo->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F4));
    QAction* redo = FStack->createRedoAction(this, QStringLiteral("Ponów zmianę objaśnienia"));
    redo->setObjectName(QStringLiteral("Clue_Redo"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    menu.addAction(edit);
    menu.addAction(undo);
    menu.addAction(redo);
}

void TClueCommands::ChangeClue(int number, const TExpl& expl)
{
    const TExpl before = FCrossWord.Document().GetExpl(number);
    if (before == expl)
        return;
    FStack->push(new TClueChange(FCrossWord, FClues, number, before, expl));
}

void TClueCommands::EditCurrentClue()
{
    const TCrossTXT& doc = FCrossWord.Document();
    const int number =
        FCrossWord.CrosswordKind().WordAt(doc, {FCrossView.CurrCol(), FCrossView.CurrRow()}, FCrossView.WriteDir());
    if (number == 0)
        return Tell(QStringLiteral("Pod kursorem nie zaczyna się ani nie leży żadne hasło."));
    const TExpl expl = doc.GetExpl(number);
    const QString heading = QStringLiteral("%1. %2%3")
                                .arg(number)
                                .arg(expl.Horizontal ? QStringLiteral("poziomo") : QStringLiteral("pionowo"),
                                     expl.Answer.empty() ? QString() : QStringLiteral(": ") + FromCp1250(expl.Answer));
    TClueEditForm form(heading, FromCp1250(expl.Explanation), FromCp1250(expl.Audio), DatabaseClues(expl.Answer),
                       &FWindow);
    connect(&form, &TClueEditForm::AttachSoundRequested, &form, [this, &form] {
        if (const QString sound = ChooseSound(); !sound.isEmpty())
            form.SetSound(sound);
    });
    const bool accepted = FHook ? FHook(form) : form.exec() == QDialog::Accepted;
    if (!accepted)
        return;
    bool ok = true;
    TExpl changed = expl;
    changed.Explanation = Utf8ToCp1250(form.Clue().toStdString(), '?', &ok);
    changed.Audio = Utf8ToCp1250(form.Sound().toStdString());
    if (!ok)
        return Tell(QStringLiteral("Objaśnienie zawiera znak spoza polskiego alfabetu; zmień go i spróbuj ponownie."));
    ChangeClue(number, changed);
}

QStringList TClueCommands::DatabaseClues(const std::string& answer) const
{
    QStringList clues;
    if (answer.empty())
        return clues;
    try {
        const auto words =
            TComposeWords::Read(FSettings.DataBasePath.toStdString(), FSettings.UserDataBasePath.toStdString());
        const auto db = words->NewDB(TDBLoadFilter{1, 255});
        const int64_t id = db->FindWord(answer);
        if (id < 0)
            return clues;
        for (const QString& line : FromCp1250(std::string(db->ExplLines(static_cast<uint32_t>(id))))
                                       .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            clues << line;
    } catch (const std::exception&) {
        // Without a readable database the dialog simply offers no clues of it.
    }
    return clues;
}

QString TClueCommands::ChooseSound()
{
    TFileDialogRequest request;
    request.Title = QStringLiteral("Dołącz dźwięk");
    request.Filter = QStringLiteral("Pliki dźwiękowe|*.wav;*.mp3;*.ogg|Wszystkie pliki|*.*");
    request.Directory = FSettings.UserAudioDir;
    const QString chosen = FDialogs.Run(request);
    if (chosen.isEmpty())
        return {};
    const QFileInfo file(chosen);
    const QString name = file.fileName();
    if (!IsPlainSoundName(Utf8ToCp1250(name.toStdString()))) {
        Tell(QStringLiteral("Nazwa pliku %1 nie nadaje się na nazwę dźwięku.").arg(name));
        return {};
    }
    for (const QString& dir : {FSettings.UserAudioDir, FSettings.AudioDir})
        if (!dir.isEmpty() && QDir(dir).absolutePath() == file.absolutePath())
            return name;
    // A file from elsewhere is copied among the user's sounds, so the crossword finds it later.
    const QString target = QDir(FSettings.UserAudioDir).filePath(name);
    if (!QDir().mkpath(FSettings.UserAudioDir) || (QFile::exists(target) && !QFile::remove(target))
        || !QFile::copy(chosen, target)) {
        Tell(QStringLiteral("Nie udało się skopiować pliku %1 do katalogu %2.").arg(chosen, FSettings.UserAudioDir));
        return {};
    }
    return name;
}

} // namespace mz
