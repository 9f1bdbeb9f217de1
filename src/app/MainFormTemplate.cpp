#include "app/MainForm.h"

#include "app/MessageForm.h"
#include "core/FileNames.h"

#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

namespace mz {

namespace {

const QString PatternFilter = QStringLiteral("Pliki szablonu krzyżówek|*.sz|Wszystkie pliki|*.*");

QString DirectoryPart(const std::string& path)
{
    return QString::fromStdString(path.substr(0, path.size() - FileNamePart(path).size()));
}

// Passes the grip's mouse moves during a drag with the left button to the
// window. The press grabs the mouse, so the moves keep coming when the
// pointer leaves the grip.
class TResizeGripFilter : public QObject {
public:
    explicit TResizeGripFilter(TMainForm& form) : QObject(&form), Form(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove) {
            auto* move = static_cast<QMouseEvent*>(event);
            if (move->buttons() & Qt::LeftButton) {
                Form.ResizeTemplate(static_cast<QWidget*>(watched)->mapToGlobal(move->position().toPoint()));
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TMainForm& Form;
};

} // namespace

void TMainForm::ConnectTemplateCommands()
{
    connect(Pattern_Clear, &QAction::triggered, this, &TMainForm::Pattern_ClearClick);
    connect(Pattern_Open, &QAction::triggered, this, &TMainForm::Pattern_OpenClick);
    connect(Pattern_Save, &QAction::triggered, this, &TMainForm::Pattern_SaveClick);
    connect(Pattern_SaveAs, &QAction::triggered, this, &TMainForm::Pattern_SaveAsClick);
    // The crossword-mode actions of these buttons are connected with the toolbar.
    connect(SBttn_Open, &QToolButton::clicked, this, [this] {
        if (EditorMode)
            Pattern_OpenClick();
    });
    connect(SBttn_Save, &QToolButton::clicked, this, [this] {
        if (EditorMode)
            Pattern_SaveClick();
    });
    ResizeImage->installEventFilter(new TResizeGripFilter(*this));
}

void TMainForm::Pattern_ClearClick()
{
    // Cells beyond the present size keep their letters for a later enlargement.
    for (int c = 1; c <= PatternVC->ColCount(); ++c)
        for (int r = 1; r <= PatternVC->RowCount(); ++r)
            PatternVC->SetCell(c, r, ' ');
}

void TMainForm::Pattern_OpenClick()
{
    TFileDialogRequest request;
    request.Title = QStringLiteral("Otwórz szablon krzyżówki...");
    request.Filter = PatternFilter;
    request.DefaultExt = QStringLiteral("sz");
    request.FileName = QStringLiteral("*.sz");
    request.Directory = DirectoryPart(CurrPattern->FileName);
    const QString chosen = RunFileDialog(request);
    if (chosen.isEmpty())
        return;
    OpenPatternByName(chosen);
    FitWindowToGrid(PatternVC);
    UpdateSizeBox();
}

void TMainForm::Pattern_SaveClick()
{
    GridToDocument(*PatternVC, *CurrPattern);
    if (!CurrPattern->Modified)
        return;
    try {
        CurrPattern->SaveToFile(CurrPattern->FileName);
    } catch (const std::exception& e) {
        CurrPattern->Modified = true;
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

void TMainForm::Pattern_SaveAsClick()
{
    GridToDocument(*PatternVC, *CurrPattern);
    TFileDialogRequest request;
    request.Save = true;
    request.Title = QStringLiteral("Zapisz szablon krzyżówki jako...");
    request.Filter = PatternFilter;
    request.DefaultExt = QStringLiteral("sz");
    request.Directory = DirectoryPart(CurrPattern->FileName);
    request.FileName = QString::fromStdString(FileNamePart(CurrPattern->FileName));
    const QString chosen = RunFileDialog(request);
    if (chosen.isEmpty())
        return;
    SetCaption(chosen.toStdString());
    try {
        CurrPattern->SaveToFile(chosen.toStdString());
    } catch (const std::exception& e) {
        CurrPattern->Modified = true;
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

void TMainForm::ResizeTemplate(QPoint screenPos)
{
    const int w = PatternVC->CellImageWidth();
    const int h = PatternVC->CellImageHeight();
    if (w <= 0 || h <= 0)
        return;
    const QRect window = frameGeometry();
    const int dw = window.width() - FClient->width();
    const int dh = window.height() - FClient->height();
    const int px = screenPos.x() + ResizeImage->width() / 2;
    const int py = screenPos.y() + ResizeImage->height() / 2;
    const int a = std::min(px - window.left() + w / 2, ScreenSize().width());
    const int b = std::min(py - window.top() + h / 2, ScreenSize().height());
    const int cols = std::max((a - dw - LeftMargin - RightMargin) / w, 4);
    const int rows = std::max((b - TopMargin - BottomMargin - dh) / h, 3);
    if (cols == (FClient->width() - LeftMargin - RightMargin) / w &&
        rows == (FClient->height() - TopMargin - BottomMargin) / h)
        return;

    const int clientWidth = cols * w + LeftMargin + RightMargin;
    const int clientHeight = rows * h + TopMargin + BottomMargin;
    FClient->setFixedSize(clientWidth, clientHeight);
    setFixedSize(sizeHint());
    PatternVC->SetColCount(cols);
    PatternVC->SetRowCount(rows);
    PatternVC->resize(PatternVC->ImageWidth(), PatternVC->ImageHeight());
    Image2->move(0, clientHeight - Image2->height());
    UpdateSizeBox();
}

} // namespace mz
