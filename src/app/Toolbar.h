#pragma once

#include <QObject>

class QAction;
class QLabel;
class QToolButton;
class QWidget;

namespace mz {

// The commands the toolbar's buttons run; the mode of the window decides which.
struct TToolbarActions {
    QAction* New = nullptr;
    QAction* Open = nullptr;
    QAction* Close = nullptr;
    QAction* Stop = nullptr;
    QAction* ToDown = nullptr;
    QAction* ToRight = nullptr;
    QAction* Save = nullptr;
    QAction* Print = nullptr;
    QAction* Help = nullptr;
};

// The toolbar at the top of the window: a row of buttons, each showing one of
// the window's commands (the same QAction the menu holds, so caption, hint and
// enabled state are the command's), and the "more" button that offers the
// buttons a narrow window had to hide in a pop-up toolbar.
class TToolbar : public QObject {
    Q_OBJECT

public:
    TToolbar(QWidget& client, const TToolbarActions& actions, QObject* parent = nullptr);

    // Puts the commands of a mode on the buttons.
    void SetActions(const TToolbarActions& actions);
    // Close takes the place of Stop in the template editor.
    void ShowClose(bool shown);
    void ShowStop(bool shown);
    // Hides the buttons from the right that do not fit a client area this wide.
    void Overflow(int clientWidth);
    // The pop-up toolbar with the hidden buttons, under the "more" button.
    void ShowMore();

    int Height() const;

private:
    QToolButton* Button(const char* name, int left, int width);

    QWidget& FClient;
    QLabel* FBackground = nullptr;
    QToolButton* FNew = nullptr;
    QToolButton* FOpen = nullptr;
    QToolButton* FClose = nullptr;
    QToolButton* FStop = nullptr;
    QToolButton* FToDown = nullptr;
    QToolButton* FToRight = nullptr;
    QToolButton* FSave = nullptr;
    QToolButton* FPrint = nullptr;
    QToolButton* FHelp = nullptr;
    QToolButton* FMore = nullptr;
};

} // namespace mz
