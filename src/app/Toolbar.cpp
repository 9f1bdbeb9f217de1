#include "app/Toolbar.h"

#include "app/ExtBttnsForm.h"
#include "app/MessageForm.h"
#include "app/ToolbarPictures.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

namespace mz {

namespace {

constexpr int BarWidth = 1024;
constexpr int BarHeight = 40;
constexpr int ButtonTop = 8;
constexpr int ButtonSize = 25;
constexpr int MoreWidth = 14;
// Left edges of the buttons; Close and Stop share a place.
constexpr int NewLeft = 8;
constexpr int OpenLeft = 40;
constexpr int CloseLeft = 72;
constexpr int ToDownLeft = 104;
constexpr int ToRightLeft = 136;
constexpr int SaveLeft = 168;
constexpr int PrintLeft = 200;
constexpr int HelpLeft = 232;
constexpr int MoreLeft = 246;

} // namespace

TToolbar::TToolbar(QWidget& client, const TToolbarActions& actions, QObject* parent) : QObject(parent), FClient(client)
{
    setObjectName(QStringLiteral("Toolbar"));
    FBackground = new QLabel(&client);
    FBackground->setObjectName(QStringLiteral("Image1"));
    FBackground->setGeometry(0, 0, BarWidth, BarHeight);
    FBackground->setPixmap(QPixmap::fromImage(ToolbarBackground(BarWidth, BarHeight)));

    FNew = Button("SBttn_New", NewLeft, ButtonSize);
    FOpen = Button("SBttn_Open", OpenLeft, ButtonSize);
    FClose = Button("SBttn_Close", CloseLeft, ButtonSize);
    FStop = Button("SBttn_Stop", CloseLeft, ButtonSize);
    FToDown = Button("SBttn_ToDown", ToDownLeft, ButtonSize);
    FToRight = Button("SBttn_ToRight", ToRightLeft, ButtonSize);
    FSave = Button("SBttn_Save", SaveLeft, ButtonSize);
    FPrint = Button("SBttn_Print", PrintLeft, ButtonSize);
    FHelp = Button("SBttn_Help", HelpLeft, ButtonSize);
    FMore = Button("SBttn_Ext", MoreLeft, MoreWidth);
    FMore->setIcon(QIcon(ToolbarPicture(tpExt)));
    FMore->setIconSize(ToolbarPicture(tpExt).size());
    FMore->setToolTip(QStringLiteral("Więcej"));
    connect(FMore, &QToolButton::clicked, this, &TToolbar::ShowMore);
    FClose->hide();
    FStop->hide();
    FMore->hide();
    SetActions(actions);
}

QToolButton* TToolbar::Button(const char* name, int left, int width)
{
    auto* b = new QToolButton(&FClient);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    // Reached by Tab, so the focus can leave the grid; a click leaves the focus where it is.
    b->setFocusPolicy(Qt::TabFocus);
    b->setGeometry(left, ButtonTop, width, ButtonSize);
    return b;
}

void TToolbar::SetActions(const TToolbarActions& actions)
{
    const std::pair<QToolButton*, QAction*> pairs[] = {
        {FNew, actions.New},   {FOpen, actions.Open},     {FClose, actions.Close},
        {FStop, actions.Stop}, {FToDown, actions.ToDown}, {FToRight, actions.ToRight},
        {FSave, actions.Save}, {FPrint, actions.Print},   {FHelp, actions.Help},
    };
    for (const auto& [button, action] : pairs) {
        // A button holding more than one action would offer the others in a menu.
        if (QAction* previous = button->defaultAction(); previous && previous != action)
            button->removeAction(previous);
        button->setDefaultAction(action);
        // The pictures are drawn for the toolbar; they keep their own size.
        button->setIconSize(action->icon().availableSizes().value(0, QSize(ButtonSize, ButtonSize)));
    }
}

void TToolbar::ShowClose(bool shown)
{
    FClose->setVisible(shown);
}

void TToolbar::ShowStop(bool shown)
{
    FStop->setVisible(shown);
}

int TToolbar::Height() const
{
    return FBackground->height();
}

void TToolbar::Overflow(int cw)
{
    // The strip's picture reaches the right edge of a window of any width.
    if (FBackground->width() < cw) {
        FBackground->resize(cw, FBackground->height());
        FBackground->setPixmap(QPixmap::fromImage(ToolbarBackground(cw, FBackground->height())));
    }
    const int ext = FMore->width();
    auto fits = [&](QToolButton* b) { return b->x() + b->width() + ext < cw; };
    bool hidden = true;
    if (FHelp->x() + FHelp->width() < cw) {
        for (QToolButton* b : {FHelp, FPrint, FSave, FToRight, FToDown})
            b->show();
        hidden = false;
    } else {
        FHelp->hide();
        if (fits(FPrint)) {
            for (QToolButton* b : {FPrint, FSave, FToRight, FToDown})
                b->show();
        } else {
            FPrint->hide();
            if (fits(FSave)) {
                for (QToolButton* b : {FSave, FToRight, FToDown})
                    b->show();
            } else {
                FSave->hide();
                if (fits(FToRight)) {
                    FToRight->show();
                    FToDown->show();
                } else {
                    FToRight->hide();
                    FToDown->setVisible(fits(FToDown));
                }
            }
        }
    }
    if (hidden) {
        FMore->move(cw - FMore->width(), FMore->y());
        FMore->show();
    } else {
        FMore->hide();
    }
}

void TToolbar::ShowMore()
{
    QWidget* window = FClient.window();
    auto* popup = new TExtBttnsForm({FToDown, FToRight, FSave, FPrint, FHelp}, window);
    QPoint at = FClient.mapToGlobal(QPoint(FMore->x() + FMore->width(), 0));
    if (at.x() + popup->width() > ScreenSize().width())
        at.setX(ScreenSize().width() - popup->width());
    popup->move(at);
    popup->show();
}

} // namespace mz
