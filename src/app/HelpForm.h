#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace mz {

// The help page in the program's own window: links inside the page (the
// table of contents, other local pages) are followed in the window, links to
// the web and to e-mail go to the system, and the page can be handed to the
// external browser on request.
class THelpForm : public QWidget {
    Q_OBJECT
public:
    // Opens `helpFile` (a local HTML page).
    explicit THelpForm(const QString& helpFile, QWidget* parent = nullptr);

    // Shows the help window over `parent`, reusing the one already open, at
    // `section` (an anchor of the page; empty: where it was); when the page is
    // missing, says so in the message box and returns nullptr.
    static THelpForm* ShowHelp(const QString& helpFile, QWidget* parent, const QString& section = {});

    // The section of the help page about a window or dialog (its anchor),
    // empty for one the page has no section for.
    static QString SectionFor(const QWidget* window);

    // Makes F1 open the help at the section of the active window, in modal
    // dialogs too (where the main window's shortcuts do not reach).
    static void InstallHelpKey(const QString& helpFile);

    QTextBrowser* Browser() const { return FBrowser; }
    // Hands the page shown (with its section) to the system's browser; says
    // so in a message box when there is none.
    void OpenExternally();

private:
    void UpdateButtons();

    QUrl FPage;
    QTextBrowser* FBrowser = nullptr;
    QToolButton* FBack = nullptr;
    QToolButton* FForward = nullptr;
    QToolButton* FHome = nullptr;
    QToolButton* FExternal = nullptr;
};

} // namespace mz
