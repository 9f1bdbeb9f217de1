// Draws the program's icon at the sizes of the desktop's icon theme and saves
// them as DIR/<N>x<N>/apps/NAME.png.
#include "app/ProgramIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "użycie: %s KATALOG NAZWA\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = dir + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !mz::PaintProgramIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "Nie można zapisać pliku %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
