#pragma once

#include <QDialog>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class QLabel;
class QPushButton;

namespace mz {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
};
using TMsgDlgButtons = unsigned;

// Result codes of the box; callers test mrYes and mrCancel.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// The text of the box's word-wrapped message, painted with the same flags it
// was measured with so that the wrapping matches the computed size.
class TMessageText : public QWidget {
public:
    explicit TMessageText(QWidget* parent) : QWidget(parent) { }
    void SetText(const QString& text)
    {
        Text = text;
        update();
    }
    QString text() const { return Text; }
    static constexpr int Flags = Qt::TextWordWrap | Qt::TextExpandTabs | Qt::AlignLeft | Qt::AlignTop;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString Text;
};

// The program's one modal message box, with Polish button captions.
class TMessageForm : public QDialog {
    Q_OBJECT
public:
    // Builds and lays out the box, centred on the screen, not yet shown.
    TMessageForm(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget* parent = nullptr);

    int HelpContext = 0;
    QString HelpFile;

    int DefaultResult() const { return DefaultCode; }
    int CancelResult() const { return CancelCode; }
    QPushButton* Button(const QString& name) const;
    const std::vector<QPushButton*>& Buttons() const { return ButtonList; }
    TMessageText* MessageText() const { return Message; }
    QLabel* IconImage() const { return Image; }

    // Centres the box over a rectangle and keeps it on the screen.
    void CentreOver(const QRect& r, QSize screen);

    void reject() override;

private:
    TMessageText* Message = nullptr;
    QLabel* Image = nullptr;
    std::vector<QPushButton*> ButtonList;
    int DefaultCode = mrOk;
    int CancelCode = mrOk;
};

// The application title used as the box's caption: the title the program set,
// or else the program file's name without directory and extension, letters
// after the first in lower case.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// The screen the boxes are placed on.
QSize ScreenSize();

// Shows a box centred on the screen and returns the result code.
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// Shows a box at (x, y); a negative coordinate keeps the centred one.
int MessageDlgPos(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext, int x, int y,
                  const QString& helpFile = QString());
// Shows a box centred over a rectangle (normally the main window), kept on the screen.
int MessageDlgOver(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QRect& over,
                   int helpContext = 0);

} // namespace mz
