#include "app/CluePanel.h"

#include "app/ClueLayout.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "sound/SoundPlayer.h"
#include "app/ToolbarPictures.h"
#include "app/WindowText.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/SoundNames.h"
#include "grid/CrossDocument.h"
#include "speech/SpokenWord.h"

#include <QAction>
#include <QBoxLayout>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QToolButton>

namespace mz {

namespace {

constexpr int ButtonLeft = 8;
constexpr int ButtonSize = 25;
constexpr int PlayIconSize = 21;
constexpr int LabelLeft = 36;
// The whole row below the grid (or the strip), with the gap.
constexpr int RowHeight = 48;
constexpr int ClueFontPixels = 13;
constexpr int HintDurationMs = 10000;
// The gap between the grid and the clue.
constexpr int GapBelowGrid = 8;
// The clue is broken into lines at carriage returns.
constexpr QChar LineBreak(13);
const QString RecordingHint = QStringLiteral("Odtwarza nagranie hasła");
const QString SpeechHint = QStringLiteral("Czyta hasło syntezatorem mowy (hasło nie ma nagrania)");

} // namespace

TCluePanel::TCluePanel(TCrossSurface& crossView, QWidget& client, QAction& play, const TSettings& settings,
                       QObject* parent)
    : QObject(parent), FCrossView(crossView), FCrossWord(*crossView.Document()), FClient(client), FPlay(play),
      FSettings(settings)
{
    setObjectName(QStringLiteral("CluePanel"));
    FRow = new QWidget(&client);
    FRow->setObjectName(QStringLiteral("ClueRow"));
    FRow->setFixedHeight(RowHeight);
    FPlayButton = new QToolButton(FRow);
    FPlayButton->setObjectName(QStringLiteral("SBttn_Play"));
    FPlayButton->setAutoRaise(true);
    FPlayButton->setFocusPolicy(Qt::TabFocus);
    FPlayButton->setDefaultAction(&play);
    FPlayButton->setIconSize(QSize(PlayIconSize, PlayIconSize));
    FPlayButton->setFixedSize(ButtonSize, ButtonSize);

    FLabel = new QLabel(FRow);
    FLabel->setObjectName(QStringLiteral("Expl_Label"));
    FLabel->setTextFormat(Qt::PlainText);
    FLabel->setAttribute(Qt::WA_TranslucentBackground);
    QFont clueFont = FLabel->font();
    clueFont.setBold(true);
    clueFont.setPixelSize(ClueFontPixels);
    FLabel->setFont(clueFont);
    // The clue is cut to the client's width (FitClue), so it never widens the window.
    FLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    auto* row = new QHBoxLayout(FRow);
    row->setContentsMargins(ButtonLeft, GapBelowGrid, 0, 0);
    row->setSpacing(LabelLeft - ButtonLeft - ButtonSize);
    row->addWidget(FPlayButton, 0, Qt::AlignTop);
    row->addWidget(FLabel);
    // Long clues stay readable in the hint.
    FLabel->setToolTipDuration(HintDurationMs);
    FPlayButton->setToolTipDuration(HintDurationMs);

    FPlayer = new TSoundPlayer(this);
    FPlayer->setObjectName(QStringLiteral("MediaPlayer"));
    connect(FPlayer, &TSoundPlayer::Failed, this, [](const QString& message) { ShowErrorBox(message); });
    connect(&play, &QAction::triggered, this, &TCluePanel::Play);
    connect(&crossView, &TCrossSurface::CursorMoved, this, &TCluePanel::Refresh);
    connect(&crossView, &TCrossSurface::EnterPressed, this, &TCluePanel::Play);
    connect(&crossView, &TCrossSurface::DoubleClicked, this, &TCluePanel::Play);
    play.setEnabled(false);
}

void TCluePanel::SetEditorMode(bool editor)
{
    FEditorMode = editor;
}

void TCluePanel::SetShown(bool shown)
{
    FRow->setVisible(shown);
}

void TCluePanel::ForgetHighlight()
{
    FLastCol = FLastRow = 0;
}

void TCluePanel::Refresh()
{
    const TDirection dir = FCrossView.WriteDir();
    const TCrossTXT& doc = FCrossWord.Document();
    const TCrosswordKind& kind = FCrossWord.CrosswordKind();
    FCurrentExpl = FEditorMode ? 0 : kind.WordAt(doc, {FCrossView.CurrCol(), FCrossView.CurrRow()}, dir);
    const TExpl expl = FCurrentExpl != 0 ? doc.GetExpl(FCurrentExpl) : TExpl{};
    const TWordSound sound = FCurrentExpl != 0 ? SoundOf(expl) : TWordSound::None;
    FPlay.setEnabled(sound != TWordSound::None);
    FPlay.setToolTip(sound == TWordSound::Speech ? SpeechHint : RecordingHint);
    LayOutClue(expl);
    if (FEditorMode)
        return;
    if (expl.Explanation.empty()) {
        FCrossView.ClearHighlights();
        FCrossView.update();
        FLastCol = FLastRow = 0;
    } else if (expl.Col != FLastCol || expl.Row != FLastRow || dir != FLastDir) {
        FLastCol = expl.Col;
        FLastRow = expl.Row;
        FLastDir = dir;
        FCrossView.ClearHighlights();
        for (const TCellPos& cell : kind.WordCells(doc, expl))
            FCrossView.SetCellHighlight(cell.Col, cell.Row, true);
        FCrossView.update();
    }
}

bool TCluePanel::LabelFits(const QString& caption) const
{
    const QFontMetrics fm(FLabel->font());
    int widest = 0;
    for (const QString& line : caption.split(LineBreak))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return LabelLeft + widest <= FClient.width();
}

void TCluePanel::LayOutClue(const TExpl& expl)
{
    const QString text = FromCp1250(expl.Explanation);
    FLabel->setToolTip(QStringLiteral("%1: (%2,%3) - %4")
                           .arg(FromCp1250(FCrossWord.CrosswordKind().Heading(DirectionOf(expl.Horizontal))))
                           .arg(expl.Col)
                           .arg(expl.Row)
                           .arg(text));
    QString caption = FitClue(text, [this](const QString& shown) { return LabelFits(shown); });
    caption.replace(LineBreak, QChar('\n'));
    FLabel->setText(caption);
}

void TCluePanel::Play()
{
    if (!FPlay.isEnabled())
        return;
    TExpl expl;
    try {
        expl = FCrossWord.Document().GetExpl(FCurrentExpl);
    } catch (const std::exception&) {
        return;
    }
    if (SoundOf(expl) == TWordSound::Speech) {
        Speak(expl.Answer);
        return;
    }
    const TSoundFile sound =
        ResolveSoundFile(FSettings.UserAudioDir.toStdString(), FSettings.AudioDir.toStdString(), expl.Audio);
    if (sound.Status == TSoundStatus::Playable) {
        FPlayer->Play(QString::fromStdString(sound.Path.string()));
    } else if (sound.Status == TSoundStatus::Refused) {
        // Told once for each name of each crossword; a missing file says nothing.
        const QString key = QString::fromStdString(FCrossWord.FileName()) + QLatin1Char('\n') + FromCp1250(expl.Audio);
        if (!FRefusedTold.contains(key)) {
            FRefusedTold.insert(key);
            ShowMessage(QString::fromStdString(FormatMessage(MsgSoundRefused, Cp1250ToUtf8(expl.Audio))),
                        QMessageBox::Warning);
        }
    }
}

TCluePanel::TWordSound TCluePanel::SoundOf(const TExpl& expl) const
{
    if (!expl.Audio.empty()) {
        const TSoundFile sound =
            ResolveSoundFile(FSettings.UserAudioDir.toStdString(), FSettings.AudioDir.toStdString(), expl.Audio);
        // A refused name is told about rather than passed over for speech.
        if (sound.Status != TSoundStatus::Missing)
            return TWordSound::Recording;
    }
    if (FSettings.SpeakWithoutRecording && IsSpeakableWord(expl.Answer))
        return TWordSound::Speech;
    // A recording whose file is missing plays nothing, as it always did.
    return expl.Audio.empty() ? TWordSound::None : TWordSound::Recording;
}

void TCluePanel::Speak(const std::string& answer)
{
    try {
        if (!FSpoken)
            FSpoken = std::make_unique<TSpokenWords>();
        FPlayer->Play(FSpoken->File(answer));
    } catch (const EMirakolnikError& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

} // namespace mz
