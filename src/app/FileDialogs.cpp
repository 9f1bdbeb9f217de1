#include "app/FileDialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>

namespace mz {

namespace {

QStringList QtFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        result << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return result;
}

} // namespace

QString TFileDialogs::Run(TFileDialogRequest& request)
{
    if (FHook)
        return FHook(request);
    QFileDialog dialog(&FParent, request.Title, request.Directory);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtFilters(request.Filter);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    if (!request.DefaultExt.isEmpty())
        dialog.setDefaultSuffix(request.DefaultExt);
    dialog.selectFile(request.FileName);
    QCheckBox* option = nullptr;
    if (!request.Option.isEmpty()) {
        // The check box needs the dialog's own widgets: a system dialog takes none.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        option = new QCheckBox(request.Option, &dialog);
        option->setObjectName(request.OptionName);
        option->setChecked(request.OptionChecked);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(option, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (option)
        request.OptionChecked = option->isChecked();
    request.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().first();
}

} // namespace mz
