#pragma once

#include <QMessageBox>
#include <QSize>
#include <QString>

class QWidget;

namespace mz {

// The program's one message box: Qt's QMessageBox, titled with the program's
// name, its buttons in Polish ("&Tak", "&Nie", "OK", "Anuluj"; object names
// "Yes", "No", "OK", "Cancel"), the text wrapped. Enter answers OK, else Yes;
// Esc and the close box answer Cancel, else No, else OK. Centred over `over`
// (normally the main window), or on the screen without one or while `over` is
// minimized. Returns the button pressed.
QMessageBox::StandardButton ShowMessage(const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QWidget* over = nullptr);

// The application title used as the boxes' caption: the title the program set,
// or else the program file's name without directory and extension, letters
// after the first in lower case.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// The size of the screen windows are placed on.
QSize ScreenSize();

} // namespace mz
