// Paints the splash picture shown at the first start and saves it as a BMP.
#include "app/LogoPicture.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "użycie: %s plik.bmp\n", argv[0]);
        return 2;
    }
    const QImage picture = mz::PaintProductPicture(QSize(480, 144));
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "BMP")) {
        std::fprintf(stderr, "Nie można zapisać pliku %s\n", argv[1]);
        return 1;
    }
    return 0;
}
