#include "app/MainForm.h"

#include "app/ClueLayout.h"
#include "app/SoundPlayer.h"
#include "core/Cp1250.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QToolButton>

namespace mz {

namespace {

constexpr char Blocked = '*';

QString FromCp1250(const std::string& text)
{
    return QString::fromStdString(Cp1250ToUtf8(text));
}

} // namespace

void TMainForm::OnCursorMoveExplRefresh(TCrossSurface*, int ACol, int ARow)
{
    TExpl expl;
    const bool blocked = CrossVC->GetCell(ACol, ARow) == Blocked;
    const bool horizontal = CrossVC->WriteDir() == wdHorizontal;
    int startCol = ACol;
    int startRow = ARow;
    bool found = false;
    if (!EditorMode && !blocked) {
        if (horizontal)
            while (startCol - 1 >= 1 && CrossVC->GetCell(startCol - 1, startRow) != Blocked)
                --startCol;
        else
            while (startRow - 1 >= 1 && CrossVC->GetCell(startCol, startRow - 1) != Blocked)
                --startRow;
        for (int n = 1; n <= CurrCrossWord->ExplCount(); ++n) {
            const TExpl candidate = CurrCrossWord->GetExpl(n);
            if (candidate.Col == startCol && candidate.Row == startRow && candidate.Horizontal == horizontal) {
                expl = candidate;
                CurrCrossWord->CurrentExpl = n;
                found = true;
                break;
            }
        }
    }
    SBttn_Play->setEnabled(found && !expl.Audio.empty());
    LayOutClue(expl);

    const TWriteDir dir = CrossVC->WriteDir();
    if ((!EditorMode && blocked) || expl.Explanation.empty()) {
        CrossVC->ClearHighlights();
        CrossVC->Paint();
        LastCol = LastRow = 0;
    } else if (!EditorMode && (startCol != LastCol || startRow != LastRow || dir != LastDir)) {
        LastCol = startCol;
        LastRow = startRow;
        LastDir = dir;
        CrossVC->ClearHighlights();
        CrossVC->Paint();
        int c = startCol;
        int r = startRow;
        while (c <= CrossVC->ColCount() && r <= CrossVC->RowCount() && CrossVC->GetCell(c, r) != Blocked) {
            CrossVC->SetCellHighlight(c, r, true);
            if (horizontal)
                ++c;
            else
                ++r;
        }
        CrossVC->Paint();
    }
}

bool TMainForm::ExplLabelFits(const QString& caption) const
{
    const QFontMetrics fm(Expl_Label->font());
    int widest = 0;
    for (const QString& line : caption.split(QChar(13)))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return Expl_Label->x() + widest <= FClient->width();
}

void TMainForm::LayOutClue(const TExpl& expl)
{
    const QString text = FromCp1250(expl.Explanation);
    Expl_Label->setToolTip(QStringLiteral("%1 (%2,%3) - %4")
                               .arg(expl.Horizontal ? QStringLiteral("Poziomo:") : QStringLiteral("Pionowo:"))
                               .arg(expl.Col)
                               .arg(expl.Row)
                               .arg(text));
    FExplCaption = FitClue(text, [this](const QString& caption) { return ExplLabelFits(caption); });
    QString shown = FExplCaption;
    shown.replace(QChar(13), QChar('\n'));
    Expl_Label->setText(shown);
    Expl_Label->adjustSize();
}

void TMainForm::SBttn_PlayClick()
{
    if (!SBttn_Play->isEnabled())
        return;
    TExpl expl;
    try {
        expl = CurrCrossWord->GetExpl(CurrCrossWord->CurrentExpl);
    } catch (const std::exception&) {
        return;
    }
    QString audio = FromCp1250(expl.Audio);
    audio.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString file = Settings().AudioDir + audio;
    if (!QFileInfo(file).isFile())
        return;
    MediaPlayer->Play(file);
}

} // namespace mz
