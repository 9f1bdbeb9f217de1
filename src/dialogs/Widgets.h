#pragma once

#include "core/Cp1250.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>

#include <exception>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace mz {

// CP1250 bytes (documents, files, the word database) as screen text.
inline QString FromCp1250(std::string_view cp1250)
{
    return QString::fromStdString(Cp1250ToUtf8(cp1250));
}

// A new widget (or action) under the object name the window and its tests find it by.
template <class TWidget, class... TArgs> TWidget* Named(const char* name, TArgs&&... args)
{
    auto* widget = new TWidget(std::forward<TArgs>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A dialog's push button that Enter presses only when it has the focus;
// anywhere else Enter goes to the dialog's default button.
inline QPushButton* DialogButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = Named<QPushButton>(name, caption, parent);
    button->setAutoDefault(false);
    return button;
}

// The widgets side by side from the left, the rest of the row empty.
inline QHBoxLayout* LeftRow(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    row->addStretch(1);
    return row;
}

// Runs `command`; the text of an error it throws goes to `show`. Returns
// whether the command ran through.
template <class TCommand, class TShow> bool Tried(TCommand&& command, TShow&& show)
{
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        show(QString::fromUtf8(e.what()));
        return false;
    }
}

// OK and "Anuluj" for the foot of `dialog`, accepting and rejecting it.
inline QDialogButtonBox* OkCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace mz
