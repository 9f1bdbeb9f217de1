#include "dialogs/SpinEdit.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace mz {

TSpinEdit::TSpinEdit(QWidget* parent)
    : QWidget(parent), FEdit(new QLineEdit(this)), FUp(new QToolButton(this)), FDown(new QToolButton(this))
{
    // Only a sign and digits can be typed; an empty or lone-sign text is still allowed.
    FEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?[0-9]*")), FEdit));
    FEdit->installEventFilter(this);
    setFocusProxy(FEdit);
    setFocusPolicy(Qt::StrongFocus);

    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {FUp, FDown}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
    }
    connect(FUp, &QToolButton::clicked, this, [this] { Step(1); });
    connect(FDown, &QToolButton::clicked, this, [this] { Step(-1); });

    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(FUp);
    buttons->addWidget(FDown);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(FEdit, 1);
    layout->addLayout(buttons);
    SetValue(0);
}

void TSpinEdit::SetRange(int minValue, int maxValue)
{
    FMinValue = minValue;
    FMaxValue = maxValue;
}

void TSpinEdit::SetMaxLength(int characters)
{
    FEdit->setMaxLength(characters);
}

int TSpinEdit::Value() const
{
    bool ok = false;
    const int value = FEdit->text().toInt(&ok);
    return ok ? value : FMinValue;
}

int TSpinEdit::CheckValue(int value) const
{
    if (FMaxValue == FMinValue)
        return value;
    if (value < FMinValue)
        return FMinValue;
    if (value > FMaxValue)
        return FMaxValue;
    return value;
}

void TSpinEdit::SetValue(int value)
{
    FEdit->setText(QString::number(CheckValue(value)));
    FCommitted = FEdit->text();
}

QString TSpinEdit::Text() const
{
    return FEdit->text();
}

void TSpinEdit::SetText(const QString& text)
{
    FEdit->setText(text);
    FCommitted = text;
}

void TSpinEdit::Commit()
{
    emit Exited();
    // An unreadable text reads as the minimum, which needs no clamping,
    // so such a text survives the exit unchanged.
    if (CheckValue(Value()) != Value())
        SetValue(Value());
    FCommitted = FEdit->text();
}

void TSpinEdit::Step(int delta)
{
    SetValue(Value() + delta);
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FEdit) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                Step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
            // Enter commits a typed value as leaving the edit would; only an
            // Enter on a committed value goes on to the dialog's default button.
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (FEdit->text() == FCommitted)
                    return false;
                Commit();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut
                   && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            Commit();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace mz
