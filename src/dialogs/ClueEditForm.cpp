#include "dialogs/ClueEditForm.h"

#include "dialogs/Widgets.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace mz {

namespace {

constexpr int MinimumWidth = 460;

} // namespace

TClueEditForm::TClueEditForm(const QString& word, const QString& clue, const QString& sound,
                             const QStringList& databaseClues, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ClueEditForm"));
    setWindowTitle(QStringLiteral("Objaśnienie hasła"));
    setMinimumWidth(MinimumWidth);
    auto* layout = new QVBoxLayout(this);
    auto* heading = Named<QLabel>("ClueWord", word, this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    layout->addWidget(new QLabel(QStringLiteral("&Objaśnienie:"), this));
    FClue = Named<QLineEdit>("ClueText", clue, this);
    qobject_cast<QLabel*>(layout->itemAt(1)->widget())->setBuddy(FClue);
    layout->addWidget(FClue);

    auto* listLabel =
        new QLabel(databaseClues.isEmpty() ? QStringLiteral("Tego hasła nie ma w bazie haseł.")
                                           : QStringLiteral("Inne objaśnienia z &bazy (kliknij, aby wybrać):"),
                   this);
    layout->addWidget(listLabel);
    FDatabaseClues = Named<QListWidget>("DatabaseClues", this);
    FDatabaseClues->addItems(databaseClues);
    FDatabaseClues->setVisible(!databaseClues.isEmpty());
    listLabel->setBuddy(FDatabaseClues);
    layout->addWidget(FDatabaseClues);
    connect(FDatabaseClues, &QListWidget::currentTextChanged, FClue, &QLineEdit::setText);

    auto* soundRow = new QHBoxLayout;
    FSoundLabel = Named<QLabel>("ClueSound", this);
    soundRow->addWidget(FSoundLabel, 1);
    auto* attach = Named<QPushButton>("AttachSound", QStringLiteral("&Dołącz dźwięk..."), this);
    connect(attach, &QPushButton::clicked, this, &TClueEditForm::AttachSoundRequested);
    soundRow->addWidget(attach);
    FRemoveSound = Named<QPushButton>("RemoveSound", QStringLiteral("&Usuń dźwięk"), this);
    connect(FRemoveSound, &QPushButton::clicked, this, [this] { SetSound(QString()); });
    soundRow->addWidget(FRemoveSound);
    layout->addLayout(soundRow);

    auto* buttons = OkCancelButtons(this);
    layout->addWidget(buttons);
    SetSound(sound);
}

QString TClueEditForm::Clue() const
{
    return FClue->text().trimmed();
}

void TClueEditForm::SetSound(const QString& sound)
{
    FSound = sound;
    FSoundLabel->setText(sound.isEmpty() ? QStringLiteral("Dźwięk: brak") : QStringLiteral("Dźwięk: ") + sound);
    FRemoveSound->setEnabled(!sound.isEmpty());
}

} // namespace mz
