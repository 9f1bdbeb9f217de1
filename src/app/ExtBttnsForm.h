#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QToolButton;

namespace mz {

// The pop-up toolbar offering the buttons the main toolbar had to hide. It
// closes when a button is chosen or when it loses activation; on closing it
// clicks the main window's button of the same name.
class TExtBttnsForm : public QWidget {
    Q_OBJECT
public:
    // The main window's buttons in the order SBttn_ToDown, SBttn_ToRight,
    // SBttn_Save, SBttn_Print, SBttn_Help.
    using TButtons = std::array<QToolButton*, 5>;

    TExtBttnsForm(const TButtons& mainButtons, QWidget* owner);

    QToolButton* Button(int index) const { return Own[index]; }
    QLabel* Image = nullptr;
    // 0 none yet, 1 to 5 the buttons in order, 255 closed.
    int ChosenButton() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Choose(int number);

    TButtons Main;
    TButtons Own{};
    bool Activated = false;
};

// The pop-up's closing state; module-wide, as the pop-up and its handlers share it.
struct TExtBttnsState {
    bool Closing = false;
    int Chosen = 0;
};
TExtBttnsState& ExtBttnsState();

} // namespace mz
