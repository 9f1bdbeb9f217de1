#include "dialogs/ImportPreviewForm.h"

#include "core/Cp1250.h"
#include "database/WordImport.h"
#include "dialogs/Widgets.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mz {

namespace {

QListWidget* WordsList(const std::vector<TImportWord>& words, const char* name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setUniformItemSizes(true);
    for (const TImportWord& word : words) {
        QStringList clues;
        for (const std::string& clue : word.NewExplanations)
            clues << FromCp1250(clue);
        QString text = FromCp1250(word.PWord) + QStringLiteral(" – ") + clues.join(QStringLiteral("; "));
        if (!word.SoundName.empty())
            text += QStringLiteral(" [dźwięk: %1]").arg(FromCp1250(word.SoundName));
        if (word.Line > 0)
            text = QStringLiteral("wiersz %1: ").arg(word.Line) + text;
        list->addItem(text);
    }
    return list;
}

} // namespace

TImportPreviewForm::TImportPreviewForm(const TImportPreview& preview, const QString& fileName, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Import haseł z pliku %1").arg(fileName));

    auto* summary = new QLabel(QStringLiteral("Nowe hasła: %1. Uzupełnione hasła: %2. Odrzucone wiersze: %3. "
                                              "Bez zmian: %4.")
                                   .arg(preview.Added.size())
                                   .arg(preview.Merged.size())
                                   .arg(preview.Refused.size())
                                   .arg(preview.Unchanged),
                               this);
    summary->setObjectName(QStringLiteral("SummaryLabel"));
    summary->setWordWrap(true);

    auto* refused = Named<QListWidget>("RefusedList", this);
    for (const TImportRefusal& line : preview.Refused)
        refused->addItem(QStringLiteral("wiersz %1: %2 – %3")
                             .arg(line.Line)
                             .arg(QString::fromStdString(line.Text).replace(QLatin1Char('\t'), QStringLiteral(" ⇥ ")),
                                  QString::fromStdString(line.Reason)));

    auto* tabs = Named<QTabWidget>("PreviewTabs", this);
    tabs->addTab(WordsList(preview.Added, "AddedList", this), QStringLiteral("Nowe (%1)").arg(preview.Added.size()));
    tabs->addTab(WordsList(preview.Merged, "MergedList", this),
                 QStringLiteral("Uzupełnione (%1)").arg(preview.Merged.size()));
    tabs->addTab(refused, QStringLiteral("Odrzucone (%1)").arg(preview.Refused.size()));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* import = buttons->addButton(QStringLiteral("Importuj"), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("ImportButton"));
    import->setEnabled(!preview.Added.empty() || !preview.Merged.empty());
    QPushButton* cancel = buttons->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(tabs, 1);
    layout->addWidget(buttons);
    resize(640, 420);
}

} // namespace mz
