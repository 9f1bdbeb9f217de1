#include "app/LogoForm.h"

#include "app/MessageBox.h"
#include "app/Settings.h"
#include "dialogs/Widgets.h"

#include <QEvent>
#include <QImage>
#include <QLabel>

namespace mz {

TLogoForm::TLogoForm(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    LogoImage = Named<QLabel>("LogoImage", this);
    LogoImage->move(0, 0);
    LogoImage->installEventFilter(this);
    Timer.setInterval(5000);
    connect(&Timer, &QTimer::timeout, this, [this] {
        Timer.stop();
        accept();
    });
    Timer.start();
}

bool TLogoForm::LoadPicture(const QString& fileName)
{
    QImage image;
    if (!image.load(fileName, "BMP") || image.isNull())
        return false;
    LogoImage->setPixmap(QPixmap::fromImage(image));
    LogoImage->resize(image.size());
    setFixedSize(image.size());
    const QSize screen = ScreenSize();
    move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);
    return true;
}

bool TLogoForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LogoImage && event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ShowSplash(const QString& programDir)
{
    TLogoForm splash;
    if (!splash.LoadPicture(WithTrailingSeparator(programDir) + LogoImageName))
        return;
    splash.exec();
}

} // namespace mz
