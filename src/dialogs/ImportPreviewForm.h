#pragma once

#include <QDialog>

namespace mz {

struct TImportPreview;

// What an import would do, before it is done: the new words, the words that
// gain clues or a sound, and the refused lines with their numbers.
// "Importuj" accepts, "Anuluj" leaves the base as it is.
class TImportPreviewForm : public QDialog {
    Q_OBJECT
public:
    TImportPreviewForm(const TImportPreview& preview, const QString& fileName, QWidget* parent = nullptr);
};

} // namespace mz
