#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

namespace mz {

// The splash shown at the very first start: the picture "logo.bmp", closed by
// its timer after five seconds or by a click on the picture.
class TLogoForm : public QDialog {
public:
    explicit TLogoForm(QWidget* parent = nullptr);

    // Loads the picture and sizes the form to it; false when it cannot be loaded.
    bool LoadPicture(const QString& fileName);

    QLabel* LogoImage = nullptr;
    QTimer Timer;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shows the splash modally; a missing or unreadable picture skips it silently.
void ShowSplash(const QString& programDir);

} // namespace mz
