#include "app/MessageBox.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace mz {

namespace {

struct TButtonText {
    QMessageBox::StandardButton Button;
    const char* Name;
    const char* Caption;
};

const TButtonText ButtonTexts[] = {
    {QMessageBox::Yes, "Yes", "&Tak"},
    {QMessageBox::No, "No", "&Nie"},
    {QMessageBox::Ok, "OK", "OK"},
    {QMessageBox::Cancel, "Cancel", "Anuluj"},
};

QString& ProgramTitle()
{
    static QString title;
    return title;
}

} // namespace

QMessageBox::StandardButton ShowMessage(const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons, QWidget* over)
{
    QMessageBox box(icon, ApplicationTitle(), text, buttons, over && !over->isMinimized() ? over : nullptr);
    for (const TButtonText& kind : ButtonTexts)
        if (QAbstractButton* button = box.button(kind.Button)) {
            button->setText(QString::fromUtf8(kind.Caption));
            button->setObjectName(QString::fromLatin1(kind.Name));
        }
    box.setDefaultButton(buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes);
    box.setEscapeButton(box.button(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                   : buttons.testFlag(QMessageBox::No)   ? QMessageBox::No
                                                                         : QMessageBox::Ok));
    box.exec();
    QAbstractButton* pressed = box.clickedButton();
    return box.standardButton(pressed ? pressed : box.escapeButton());
}

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

} // namespace mz
