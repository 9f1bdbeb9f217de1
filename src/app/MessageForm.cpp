#include "app/MessageForm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>

namespace mz {

namespace {

struct TButtonKind {
    TMsgDlgBtn Flag;
    const char* Name;
    const char* Caption;
    int Result;
};

// The order in which present buttons are laid out.
const TButtonKind ButtonKinds[] = {
    {mbYes, "Yes", "&Tak", mrYes},
    {mbNo, "No", "&Nie", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "Anuluj", mrCancel},
    {mbAbort, "Abort", "Zaniechaj", mrAbort},
    {mbRetry, "Retry", "Powtórz", mrRetry},
    {mbIgnore, "Ignore", "Ignore", mrIgnore},
    {mbAll, "All", "Wszystko", mrAll},
    {mbNoToAll, "NoToAll", "NoToAll", mrNoToAll},
    {mbYesToAll, "YesToAll", "YesToAll", mrYesToAll},
    {mbHelp, "Help", "Pomoc", mrNone},
};

int MulDiv(int a, int b, int c)
{
    const long long p = static_cast<long long>(a) * b;
    return static_cast<int>((p + (p >= 0 ? c / 2 : -c / 2)) / c);
}

QStyle::StandardPixmap IconOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QStyle::SP_MessageBoxWarning;
    case mtError:
        return QStyle::SP_MessageBoxCritical;
    case mtInformation:
        return QStyle::SP_MessageBoxInformation;
    case mtConfirmation:
        return QStyle::SP_MessageBoxQuestion;
    case mtCustom:
        break;
    }
    return QStyle::SP_CustomBase;
}

} // namespace

void TMessageText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Flags, Text);
}

namespace {

QString& ProgramTitle()
{
    static QString title;
    return title;
}

} // namespace

void SetApplicationTitle(const QString& title)
{
    ProgramTitle() = title;
}

QString ApplicationTitle()
{
    if (!ProgramTitle().isEmpty())
        return ProgramTitle();
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QSize ScreenSize()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return {1024, 768};
}

TMessageForm::TMessageForm(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(ApplicationTitle());
    setFont(QApplication::font("QMessageBox"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    const QFontMetrics fm(font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int w = fm.horizontalAdvance(alphabet) / 52;
    const int h = fm.height();
    const int hMargin = MulDiv(8, w, 4);
    const int vMargin = MulDiv(8, h, 8);
    const int hSpacing = MulDiv(10, w, 4);
    const int vSpacing = MulDiv(10, h, 8);
    const int buttonWidth = MulDiv(50, w, 4);
    const int buttonHeight = MulDiv(14, h, 8);
    const int buttonSpacing = MulDiv(4, w, 4);

    const QSize screen = ScreenSize();
    const QRect textRect = fm.boundingRect(QRect(0, 0, screen.width() / 2, 0), TMessageText::Flags, text);
    const int tw = textRect.width();
    const int th = textRect.height();
    const bool hasIcon = type != mtCustom;
    const int iconTextWidth = tw + (hasIcon ? 32 + hSpacing : 0);
    const int iconTextHeight = hasIcon ? std::max(th, 32) : th;

    for (const TButtonKind& kind : ButtonKinds) {
        if (!(buttons & kind.Flag))
            continue;
        auto* button = new QPushButton(QString::fromUtf8(kind.Caption), this);
        button->setObjectName(QString::fromLatin1(kind.Name));
        button->setAutoDefault(false);
        const int result = kind.Result;
        if (kind.Flag == mbHelp)
            connect(button, &QPushButton::clicked, this, [this] {
                if (!HelpFile.isEmpty())
                    QDesktopServices::openUrl(QUrl::fromLocalFile(HelpFile));
            });
        else
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        ButtonList.push_back(button);
    }
    const int n = static_cast<int>(ButtonList.size());
    const int groupWidth = n > 0 ? n * buttonWidth + (n - 1) * buttonSpacing : 0;

    const int clientWidth = std::max(iconTextWidth, groupWidth) + 2 * hMargin;
    const int clientHeight = iconTextHeight + buttonHeight + vSpacing + 2 * vMargin;
    setFixedSize(clientWidth, clientHeight);
    move(screen.width() / 2 - clientWidth / 2, screen.height() / 2 - clientHeight / 2);

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(hMargin, vMargin, 32, 32);
    if (hasIcon)
        Image->setPixmap(style()->standardIcon(IconOf(type), nullptr, this).pixmap(32, 32));
    else
        Image->hide();

    Message = new TMessageText(this);
    Message->setObjectName(QStringLiteral("Message"));
    Message->SetText(text);
    Message->setGeometry(iconTextWidth - tw + hMargin, vMargin, tw, th);

    int x = (clientWidth - groupWidth) / 2;
    for (QPushButton* button : ButtonList) {
        button->setGeometry(x, iconTextHeight + vMargin + vSpacing, buttonWidth, buttonHeight);
        x += buttonWidth + buttonSpacing;
    }

    // Enter: OK, else Yes, else Retry. Esc and the close box: Cancel, else No, else OK.
    QPushButton* defaultButton = nullptr;
    for (const char* name : {"OK", "Yes", "Retry"})
        if ((defaultButton = Button(QString::fromLatin1(name))))
            break;
    if (defaultButton) {
        defaultButton->setDefault(true);
        defaultButton->setFocus();
        DefaultCode = defaultButton == Button(QStringLiteral("OK")) ? mrOk
            : defaultButton == Button(QStringLiteral("Yes"))        ? mrYes
                                                                    : mrRetry;
    }
    CancelCode = (buttons & mbCancel) ? mrCancel : (buttons & mbNo) ? mrNo : mrOk;
}

QPushButton* TMessageForm::Button(const QString& name) const
{
    for (QPushButton* b : ButtonList)
        if (b->objectName() == name)
            return b;
    return nullptr;
}

void TMessageForm::reject()
{
    done(CancelCode);
}

void TMessageForm::CentreOver(const QRect& r, QSize screen)
{
    int left = r.left() + r.width() / 2 - width() / 2;
    int top = r.top() + r.height() / 2 - height() / 2;
    if (left + width() > screen.width())
        left = screen.width() - width();
    if (top + height() > screen.height())
        top = screen.height() - height();
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    move(left, top);
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext)
{
    return MessageDlgPos(text, type, buttons, helpContext, -1, -1);
}

int MessageDlgPos(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext, int x, int y,
                  const QString& helpFile)
{
    TMessageForm box(text, type, buttons);
    box.HelpContext = helpContext;
    box.HelpFile = helpFile;
    QPoint at = box.pos();
    if (x >= 0)
        at.setX(x);
    if (y >= 0)
        at.setY(y);
    box.move(at);
    return box.exec();
}

int MessageDlgOver(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QRect& over, int helpContext)
{
    TMessageForm box(text, type, buttons);
    box.HelpContext = helpContext;
    box.CentreOver(over, ScreenSize());
    return box.exec();
}

} // namespace mz
