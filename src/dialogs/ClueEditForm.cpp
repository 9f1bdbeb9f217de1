#include "dialogs/ClueEditForm.h"

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
    auto* heading = new QLabel(word, this);
    heading->setObjectName(QStringLiteral("ClueWord"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    layout->addWidget(new QLabel(QStringLiteral("&Objaśnienie:"), this));
    FClue = new QLineEdit(clue, this);
    FClue->setObjectName(QStringLiteral("ClueText"));
    qobject_cast<QLabel*>(layout->itemAt(1)->widget())->setBuddy(FClue);
    layout->addWidget(FClue);

    auto* listLabel =
        new QLabel(databaseClues.isEmpty() ? QStringLiteral("Tego hasła nie ma w bazie haseł.")
                                           : QStringLiteral("Inne objaśnienia z &bazy (kliknij, aby wybrać):"),
                   this);
    layout->addWidget(listLabel);
    FDatabaseClues = new QListWidget(this);
    FDatabaseClues->setObjectName(QStringLiteral("DatabaseClues"));
    FDatabaseClues->addItems(databaseClues);
    FDatabaseClues->setVisible(!databaseClues.isEmpty());
    listLabel->setBuddy(FDatabaseClues);
    layout->addWidget(FDatabaseClues);
    connect(FDatabaseClues, &QListWidget::currentTextChanged, FClue, &QLineEdit::setText);

    auto* soundRow = new QHBoxLayout;
    FSoundLabel = new QLabel(this);
    FSoundLabel->setObjectName(QStringLiteral("ClueSound"));
    soundRow->addWidget(FSoundLabel, 1);
    auto* attach = new QPushButton(QStringLiteral("&Dołącz dźwięk..."), this);
    attach->setObjectName(QStringLiteral("AttachSound"));
    connect(attach, &QPushButton::clicked, this, &TClueEditForm::AttachSoundRequested);
    soundRow->addWidget(attach);
    FRemoveSound = new QPushButton(QStringLiteral("&Usuń dźwięk"), this);
    FRemoveSound->setObjectName(QStringLiteral("RemoveSound"));
    connect(FRemoveSound, &QPushButton::clicked, this, [this] { SetSound(QString()); });
    soundRow->addWidget(FRemoveSound);
    layout->addLayout(soundRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
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
