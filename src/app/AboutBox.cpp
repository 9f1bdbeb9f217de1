#include "app/AboutBox.h"

#include "app/HintPause.h"
#include "app/LogoPicture.h"
#include "app/MessageForm.h"

#include <QDesktopServices>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#ifndef MZ_PRODUCT_HOST
#define MZ_PRODUCT_HOST "www.mirakolnik.pl"
#endif
#ifndef MZ_PRODUCT_EMAIL
#define MZ_PRODUCT_EMAIL "mirakolnik@mirakolnik.pl"
#endif

namespace mz {

QString ProductHost()
{
    return QStringLiteral(MZ_PRODUCT_HOST);
}

QString ProductEmail()
{
    return QStringLiteral(MZ_PRODUCT_EMAIL);
}

void TLinkLabel::SetUnderlined(bool on)
{
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

void TLinkLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    emit Hovered(toolTip());
}

void TLinkLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    emit Hovered(QString());
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        QDesktopServices::openUrl(QUrl(Url));
    QLabel::mouseReleaseEvent(event);
}

TAboutBox::TAboutBox(int edition, int wordCount, int explCount, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Mirakolnik Zodevidar - informacje"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(510, 178);
    const QSize screen = ScreenSize();
    move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(8, 8, 494, 136);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setGeometry(8, 8, 300, 90);
    icon->setPixmap(QPixmap::fromImage(PaintProductPicture(QSize(300, 90))));

    auto label = [&](const QString& name, const QString& text, int x, int y, int w, bool bold = false) {
        auto* l = new QLabel(text, panel);
        l->setObjectName(name);
        l->setGeometry(x, y, w, 16);
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        return l;
    };
    label(QStringLiteral("ProductName"), QStringLiteral("Mirakolnik Zodevidar"), 318, 8, 168, true);
    label(QStringLiteral("Version"), QStringLiteral("Wersja 1.01"), 318, 26, 168);
    QLabel* notice = label(QStringLiteral("Comments"),
                           QStringLiteral("Układanie i rozwiązywanie krzyżówek z polskimi hasłami."), 318, 44, 168);
    notice->setWordWrap(true);
    notice->setGeometry(318, 44, 168, 34);

    auto* bevel = new QFrame(panel);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setGeometry(318, 80, 168, 2);

    label(QStringLiteral("Label1"), QStringLiteral("Wersja bazy:"), 318, 86, 110);
    label(QStringLiteral("Label2"), QStringLiteral("Liczba haseł:"), 318, 102, 110);
    label(QStringLiteral("Label3"), QStringLiteral("Liczba objaśnień:"), 318, 118, 110);
    Lab_DataBaseInfo = label(QStringLiteral("Lab_DataBaseInfo"),
                             edition >= 102 ? QStringLiteral("rozszerzona") : QStringLiteral("podstawowa"),
                             420, 86, 70, true);
    Lab_DBWordCounter = label(QStringLiteral("Lab_DBWordCounter"), QString::number(wordCount), 420, 102, 70, true);
    Lab_DBExplCounter = label(QStringLiteral("Lab_DBExplCounter"), QString::number(explCount), 420, 118, 70, true);

    auto link = [&](const QString& name, const QString& text, const QString& hint, const QString& url, int y) {
        auto* l = new TLinkLabel(text, this);
        l->setObjectName(name);
        l->setToolTip(hint);
        l->Url = url;
        l->setCursor(Qt::PointingHandCursor);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        l->setPalette(pal);
        l->move(10, y);
        l->adjustSize();
        connect(l, &TLinkLabel::Hovered, this, &TAboutBox::HintChanged);
        return l;
    };
    www = link(QStringLiteral("www"), ProductHost(), QStringLiteral("Połącz się ze stroną: ") + ProductHost(),
               QStringLiteral("http://") + ProductHost(), 148);
    email = link(QStringLiteral("email"), ProductEmail(), QStringLiteral("Wyślij e-mail do: ") + ProductEmail(),
                 QStringLiteral("mailto:") + ProductEmail(), 162);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(427, 149, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    SavedHintHidePause = HintHidePause();
    SetHintHidePause(2000);
}

TAboutBox::~TAboutBox()
{
    SetHintHidePause(SavedHintHidePause);
}

void TAboutBox::HintChanged(const QString& currentHint)
{
    const bool onEmail = currentHint == email->toolTip();
    const bool onWww = !onEmail && currentHint == www->toolTip();
    email->SetUnderlined(onEmail);
    www->SetUnderlined(onWww);
}

} // namespace mz
