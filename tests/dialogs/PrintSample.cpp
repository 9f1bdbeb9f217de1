// Makes the sample printout shown in docs/: composes a crossword from a word
// database on an empty grid (or opens a crossword file) and writes its
// printout as a PDF and the first page as a PNG. With --solution the printout
// carries the answer key and the PNG shows the key's page. The print dialog's
// other choices: --title=T, --subtitle=S, --name-line, --one-page.
//
//   PrintSample [options] <baza.hk | file.krz> <out.pdf> <out.png> [seed] [columns rows]

#include "composer/Kwelin.h"
#include "database/DB.h"
#include "dialogs/CrossPrint.h"
#include "documents/CrossTXT.h"

#include <QApplication>

#include <cstdio>
#include <exception>
#include <string>

using namespace mz;

namespace {

void Compose(const std::string& database, uint32_t seed, int columns, int rows, TCrossTXT& doc)
{
    TDB db;
    db.Load(database);
    TCrossKwelin kwelin(TTable(columns, rows), db, TKwelinSettings{}, seed);
    for (int steps = 0; steps < 200000; ++steps) {
        const TPWordCoordinate slot = kwelin.ChooseSlot();
        if (!slot.Found() || !kwelin.Step(slot))
            break;
    }
    kwelin.FillBlanks();
    kwelin.TransferTo(doc);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TPrintOptions options;
    for (; argc > 1 && std::string(argv[1]).rfind("--", 0) == 0; ++argv, --argc) {
        const std::string option = argv[1];
        if (option == "--solution")
            options.IncludeSolution = true;
        else if (option == "--name-line")
            options.NameLine = true;
        else if (option == "--one-page")
            options.OnePage = true;
        else if (option.rfind("--title=", 0) == 0)
            options.Title = QString::fromLocal8Bit(option.substr(8));
        else if (option.rfind("--subtitle=", 0) == 0)
            options.Subtitle = QString::fromLocal8Bit(option.substr(11));
    }
    if (argc < 4) {
        std::fprintf(stderr,
                     "PrintSample [--solution] <baza.hk | file.krz> <out.pdf> <out.png> [seed] [columns rows]\n");
        return 2;
    }
    try {
        const std::string input = argv[1];
        TCrossTXT doc;
        if (input.size() > 4 && input.substr(input.size() - 4) == ".krz") {
            doc.LoadFromFile(input);
        } else {
            const uint32_t seed = argc > 4 ? uint32_t(std::stoul(argv[4])) : 7;
            const int columns = argc > 6 ? std::stoi(argv[5]) : 13;
            const int rows = argc > 6 ? std::stoi(argv[6]) : 11;
            Compose(input, seed, columns, rows, doc);
            doc.FileName = "K_0001.krz";
        }
        SaveCrossWordAsPdf(doc, QString::fromLocal8Bit(argv[2]), options);
        QImage page = RenderCrossWordPage(doc, 0, 110, QPageSize(QPageSize::A4), options);
        // The key is the last page; a page past the end renders as a blank sheet.
        QImage blank(page.size(), page.format());
        blank.fill(Qt::white);
        for (int i = 1; options.IncludeSolution; ++i) {
            QImage next = RenderCrossWordPage(doc, i, 110, QPageSize(QPageSize::A4), options);
            if (next.convertToFormat(blank.format()) == blank)
                break;
            page = next;
        }
        if (!page.save(QString::fromLocal8Bit(argv[3])))
            throw std::runtime_error("cannot write the picture");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
