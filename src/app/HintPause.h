#pragma once

#include <QObject>

namespace mz {

// How long a hint (tool tip) stays on screen, in milliseconds. The main window
// keeps long clue hints readable; the about box shortens it while it is open.
int HintHidePause();
void SetHintHidePause(int ms);

// Installed on the application: shows every tool tip for HintHidePause().
class THintFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

void InstallHintFilter();

} // namespace mz
