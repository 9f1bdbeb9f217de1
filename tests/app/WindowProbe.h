#pragma once

// The main window's parts as a user meets them, found by their object names.

#include "app/MainForm.h"
#include "sound/SoundPlayer.h"
#include "creator/ComposeController.h"
#include "documents/CrossTXT.h"
#include "grid/CrossDocument.h"
#include "../grid/CrossSurfaceTestAccess.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

namespace mz::test {

template <typename T> T* Part(const QObject& form, const char* name)
{
    T* part = form.findChild<T*>(QString::fromLatin1(name));
    if (!part)
        qFatal("the window has no %s", name);
    return part;
}

inline TCrossSurface* Grid(const QObject& form, const char* name)
{
    return Part<TCrossSurface>(form, name);
}
inline QAction* Action(const QObject& form, const char* name)
{
    return Part<QAction>(form, name);
}
inline QToolButton* Button(const QObject& form, const char* name)
{
    return Part<QToolButton>(form, name);
}
inline QLabel* Label(const QObject& form, const char* name)
{
    return Part<QLabel>(form, name);
}
inline QMenu* Menu(const QObject& form, const char* name)
{
    return Part<QMenu>(form, name);
}
inline QWidget* Client(const QObject& form)
{
    return Part<QWidget>(form, "Client");
}
// A part's place on the client, whichever row of the client holds it.
inline QRect OnClient(const QObject& form, const QWidget* part)
{
    return {part->mapTo(Client(form), QPoint()), part->size()};
}
inline TComposeController* Composer(const QObject& form)
{
    return Part<TComposeController>(form, "Composer");
}
inline TSoundPlayer* Player(const QObject& form)
{
    return Part<TSoundPlayer>(form, "MediaPlayer");
}
// The crossword being solved and the template being edited, as the grids show them.
inline TCrossDocument& CrossWordDoc(const QObject& form)
{
    return *Grid(form, "CrossVC")->Document();
}
inline const TCrossTXT& CrossWord(const QObject& form)
{
    return CrossWordDoc(form).Document();
}
inline const TCrossTXT& Template(const QObject& form)
{
    return Grid(form, "PatternVC")->Document()->Document();
}

} // namespace mz::test
