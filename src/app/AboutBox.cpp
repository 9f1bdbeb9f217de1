#include "app/AboutBox.h"

#include "app/LogoPicture.h"
#include "app/MessageBox.h"
#include "dialogs/Widgets.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#ifndef MZ_PRODUCT_HOST
#define MZ_PRODUCT_HOST "www.mirakolnik.pl"
#endif
#ifndef MZ_PRODUCT_EMAIL
#define MZ_PRODUCT_EMAIL "mirakolnik@mirakolnik.pl"
#endif

namespace mz {

namespace {
constexpr int LinkHintMs = 2000;
}

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

    // Laid out, not placed: every text gets the room its font needs, at any scaling.
    auto* panel = Named<QFrame>("Panel1", this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    auto* icon = Named<QLabel>("ProgramIcon", panel);
    icon->setPixmap(QPixmap::fromImage(PaintProductPicture(QSize(300, 90))));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto label = [&](const char* name, const QString& text, bool bold = false) {
        auto* l = Named<QLabel>(name, text, panel);
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        return l;
    };
    QLabel* product = label("ProductName", QStringLiteral("Mirakolnik Zodevidar"), true);
    QLabel* version = label("Version", QStringLiteral("Wersja 1.01"));
    QLabel* notice = label("Comments", QStringLiteral("Układanie i rozwiązywanie krzyżówek z polskimi hasłami."));
    notice->setWordWrap(true);
    // Two lines at most: the column is as wide as half the description.
    notice->setMinimumWidth(notice->fontMetrics().horizontalAdvance(notice->text()) / 2
                            + notice->fontMetrics().averageCharWidth() * 4);

    auto* bevel = Named<QFrame>("Bevel1", panel);
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    Lab_DataBaseInfo =
        label("Lab_DataBaseInfo", edition >= 102 ? QStringLiteral("rozszerzona") : QStringLiteral("podstawowa"), true);
    Lab_DBWordCounter = label("Lab_DBWordCounter", QString::number(wordCount), true);
    Lab_DBExplCounter = label("Lab_DBExplCounter", QString::number(explCount), true);
    auto* counts = new QGridLayout;
    counts->setHorizontalSpacing(8);
    counts->setVerticalSpacing(0);
    counts->addWidget(label("Label1", QStringLiteral("Wersja bazy:")), 0, 0);
    counts->addWidget(label("Label2", QStringLiteral("Liczba haseł:")), 1, 0);
    counts->addWidget(label("Label3", QStringLiteral("Liczba objaśnień:")), 2, 0);
    counts->addWidget(Lab_DataBaseInfo, 0, 1);
    counts->addWidget(Lab_DBWordCounter, 1, 1);
    counts->addWidget(Lab_DBExplCounter, 2, 1);
    counts->setColumnStretch(1, 1);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addWidget(notice);
    texts->addWidget(bevel);
    texts->addLayout(counts);
    texts->addStretch(1);

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(8, 8, 8, 8);
    panelLayout->setSpacing(10);
    panelLayout->addWidget(icon, 0, Qt::AlignTop);
    panelLayout->addLayout(texts, 1);

    auto link = [&](const char* name, const QString& text, const QString& hint, const QString& url) {
        auto* l = Named<TLinkLabel>(name, text, this);
        l->setToolTip(hint);
        l->Url = url;
        l->setCursor(Qt::PointingHandCursor);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        l->setPalette(pal);
        connect(l, &TLinkLabel::Hovered, this, &TAboutBox::HintChanged);
        return l;
    };
    www = link("www", ProductHost(), QStringLiteral("Połącz się ze stroną: ") + ProductHost(),
               QStringLiteral("http://") + ProductHost());
    email = link("email", ProductEmail(), QStringLiteral("Wyślij e-mail do: ") + ProductEmail(),
                 QStringLiteral("mailto:") + ProductEmail());
    auto* links = new QVBoxLayout;
    links->setSpacing(0);
    links->addWidget(www, 0, Qt::AlignLeft);
    links->addWidget(email, 0, Qt::AlignLeft);

    auto* ok = Named<QPushButton>("OKButton", QStringLiteral("OK"), this);
    ok->setMinimumSize(75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(links);
    bottom->addStretch(1);
    bottom->addWidget(ok, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 4);
    layout->setSpacing(4);
    layout->addWidget(panel);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->activate();
    const QSize screen = ScreenSize();
    move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);
    // The links' hints go after two seconds.
    for (QWidget* child : findChildren<QWidget*>())
        child->setToolTipDuration(LinkHintMs);
}

void TAboutBox::HintChanged(const QString& currentHint)
{
    const bool onEmail = currentHint == email->toolTip();
    const bool onWww = !onEmail && currentHint == www->toolTip();
    email->SetUnderlined(onEmail);
    www->SetUnderlined(onWww);
}

} // namespace mz
