// Renders the real grid widget with a sample, partly solved crossword into a
// PNG picture for the documentation:
//   grid_screenshot <tekst.bmp> <output.png> [<cell pictures.png>]
// The word under the cursor is highlighted the way the clue panel does it.

#include "CrossSurfaceTestAccess.h"

#include "core/Cp1250.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <string>
#include <vector>

using mz::test::In;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <tekst.bmp> <output.png> [<cell pictures.png>]\n", argv[0]);
        return 2;
    }
    const std::vector<std::string> rows = {
        "KOTEK*ŻABA*", "R*A  *A* Ś*", "ÓW*  ŁÓDŹ* ", "L*ŚLIWA*  *", "*  *  *KOŃ ", "PIES*ĆMA*  ", "A *  * * **",
    };
    mz::test::TTestGrid grid;
    In(grid).SetColCount(11);
    In(grid).SetRowCount(static_cast<int>(rows.size()));
    try {
        grid.SetFileName(QString::fromLocal8Bit(argv[1]));
        for (size_t r = 0; r < rows.size(); ++r) {
            const std::string cells = mz::Utf8ToCp1250(rows[r]);
            for (size_t c = 0; c < cells.size(); ++c)
                In(grid).SetCell(static_cast<int>(c) + 1, static_cast<int>(r) + 1, cells[c]);
        }
        for (int c = 3; c <= 7; ++c)
            grid.SetCellHighlight(c, 4, true);
        In(grid).ShowFocus(5, 4);
    } catch (const mz::EMirakolnikError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    grid.resize(grid.ImageWidth(), grid.ImageHeight());
    if (!grid.grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    if (argc == 4 && !In(grid).CellImages().save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
