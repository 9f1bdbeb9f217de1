#pragma once

#include "documents/CrossTXT.h"

#include <QWidget>

namespace mz {

// The result of "Krzyżówka z własnych haseł" drawn filled in: blocks dark,
// each open cell with its answer's letter, the cells of the "rozwiązanie"
// shaded with their numbers. Cells shrink to fit the widget.
class TOwnWordsPreview : public QWidget {
    Q_OBJECT
public:
    explicit TOwnWordsPreview(QWidget* parent = nullptr);

    void SetCrossWord(const TCrossTXT& doc);
    QSize sizeHint() const override { return {360, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TCrossTXT FDoc;
};

} // namespace mz
