#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace mz {

// What a file dialog is asked to show.
struct TFileDialogRequest {
    bool Save = false;
    QString Title;
    QString Filter;      // "Name|*.ext|Name|*.ext"
    QString Directory;
    QString FileName;
    QString DefaultExt;
    int FilterIndex = 1; // from 1; the chosen one comes back here
};

// Runs the window's file dialogs. When a hook is set (tests), it answers
// instead of a dialog: it returns the chosen name, or an empty text for Cancel.
class TFileDialogs {
public:
    explicit TFileDialogs(QWidget& parent) : FParent(parent) {}

    using THook = std::function<QString(TFileDialogRequest&)>;
    void SetHook(THook hook) { FHook = std::move(hook); }

    // The chosen file name, empty for Cancel; the chosen filter comes back in the request.
    QString Run(TFileDialogRequest& request);

private:
    QWidget& FParent;
    THook FHook;
};

} // namespace mz
