#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace mz {

// What a file dialog is asked to show.
struct TFileDialogRequest {
    bool Save = false;
    QString Title;
    QString Filter; // "Name|*.ext|Name|*.ext"
    QString Directory;
    QString FileName;
    QString DefaultExt;
    int FilterIndex = 1; // from 1; the chosen one comes back here
    // A check box under the dialog (none when Option is empty); its state comes back in OptionChecked.
    QString Option;
    QString OptionName; // the check box's object name
    bool OptionChecked = false;
};

// Runs the window's file dialogs. When a hook is set (tests), it answers
// instead of a dialog: it returns the chosen name, or an empty text for Cancel.
class TFileDialogs {
public:
    explicit TFileDialogs(QWidget& parent) : FParent(parent) { }

    using THook = std::function<QString(TFileDialogRequest&)>;
    void SetHook(THook hook) { FHook = std::move(hook); }

    // The chosen file name, empty for Cancel; the chosen filter comes back in the request.
    QString Run(TFileDialogRequest& request);

private:
    QWidget& FParent;
    THook FHook;
};

} // namespace mz
