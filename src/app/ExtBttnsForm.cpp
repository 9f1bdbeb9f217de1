#include "app/ExtBttnsForm.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QToolButton>

namespace mz {

TExtBttnsState& ExtBttnsState()
{
    static TExtBttnsState state;
    return state;
}

TExtBttnsForm::TExtBttnsForm(const TButtons& mainButtons, QWidget* owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint), Main(mainButtons)
{
    setAttribute(Qt::WA_DeleteOnClose);
    ExtBttnsState() = {false, 0};

    QImage picture(168, 40, QImage::Format_RGB888);
    if (auto* image = owner ? owner->findChild<QLabel*>(QStringLiteral("Image1")) : nullptr;
        image && !image->pixmap().isNull())
        picture = image->pixmap().toImage().copy(0, 0, 168, 40).convertToFormat(QImage::Format_RGB888);
    else
        picture.fill(palette().color(QPalette::Button));

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(0, 0, 168, 40);

    static const int lefts[5] = {8, 39, 71, 103, 135};
    // Offers exactly what the toolbar hides (the main window's own visibility flags).
    bool offered[5];
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < 5; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(Main[i]->objectName());
        b->setAutoRaise(true);
        b->setIcon(Main[i]->icon());
        b->setIconSize(Main[i]->iconSize());
        b->setGeometry(lefts[i], 8, 25, 25);
        b->setToolTip(Main[i]->toolTip());
        b->setCheckable(Main[i]->isCheckable());
        b->setChecked(Main[i]->isChecked());
        b->setEnabled(Main[i]->isEnabled());
        offered[i] = Main[i]->isHidden();
        b->setVisible(offered[i]);
        if (i < 2)
            group->addButton(b);
        connect(b, &QToolButton::clicked, this, [this, i] { Choose(i + 1); });
        Own[i] = b;
    }

    // Close the gaps left by the buttons that stay hidden here.
    int width = 168;
    for (int i = 0; i < 4; ++i) {
        if (offered[i])
            continue;
        const int d = Own[i + 1]->x() - Own[i]->x();
        for (int j = i + 1; j < 5; ++j)
            Own[j]->move(Own[j]->x() - d, Own[j]->y());
        width -= d;
    }
    picture = picture.copy(0, 0, width, 40);
    QPainter p(&picture);
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    p.setPen(light);
    p.drawLine(0, 0, width - 1, 0);
    p.drawLine(0, 0, 0, 39);
    p.setPen(shadow);
    p.drawLine(0, 39, width - 1, 39);
    p.drawLine(width - 1, 0, width - 1, 39);
    p.end();
    Image->setGeometry(0, 0, width, 40);
    Image->setPixmap(QPixmap::fromImage(picture));
    Image->lower();
    setFixedSize(width, 40);
}

int TExtBttnsForm::ChosenButton() const
{
    return ExtBttnsState().Chosen;
}

void TExtBttnsForm::Choose(int number)
{
    ExtBttnsState().Chosen = number;
    close();
}

void TExtBttnsForm::closeEvent(QCloseEvent* event)
{
    TExtBttnsState& state = ExtBttnsState();
    state.Closing = true;
    if (state.Chosen >= 1 && state.Chosen <= 5) {
        // Off the screen first: a window the command opens would otherwise
        // close this pop-up again from inside its own closing.
        hide();
        Main[state.Chosen - 1]->click();
    }
    state.Chosen = 255;
    state.Closing = false;
    QWidget::closeEvent(event);
}

bool TExtBttnsForm::event(QEvent* event)
{
    // Losing activation dismisses the pop-up without any action.
    if (event->type() == QEvent::WindowActivate)
        Activated = true;
    if (event->type() == QEvent::WindowDeactivate && Activated) {
        const TExtBttnsState& state = ExtBttnsState();
        if (!state.Closing && state.Chosen != 255)
            close();
    }
    return QWidget::event(event);
}

} // namespace mz
