#include "TestFiles.h"

#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

using namespace mz;
using namespace mz::test;

namespace {

class TextExport : public TTempDirTest { };

} // namespace

TEST_F(TextExport, AGridWithoutExplanationsGivesTitleRowsAndEmptyHeadings)
{
    TCrossTXT doc = Grid(4, 3, "A *B    \xA5\xCA  ");
    doc.FileName = "/inny/plik.krz";
    doc.Modified = true;
    const auto name = PathOf("lista.txt");
    doc.ExportAsText(name);
    EXPECT_EQ(ReadBytes(name),
              "Mirakolnik Zodevidar - lista.txt\r\nA *B\r\n    \r\n\xA5\xCA  \r\nPoziomo:\r\nPionowo:\r\n");
    EXPECT_EQ(doc.FileName, "/inny/plik.krz");
    EXPECT_TRUE(doc.Modified);
}

TEST_F(TextExport, CluesAreGroupedByDirectionInChainOrder)
{
    TCrossTXT doc = Grid(4, 3);
    doc.AddExpl({1, 1, "pierwsze", "a.wav", true});
    doc.AddExpl({3, 1, "drugie", "", false});
    doc.AddExpl({1, 2, "", "", true});
    doc.AddExpl({12, 10, "czwarte", "", false});
    const auto name = PathOf("hasla.txt");
    doc.ExportAsText(name);
    EXPECT_EQ(ReadBytes(name),
              "Mirakolnik Zodevidar - hasla.txt\r\n    \r\n    \r\n    \r\n"
              "Poziomo:\r\n1,2)\t\r\n1,1)\tpierwsze\r\n"
              "Pionowo:\r\n12,10)\tczwarte\r\n3,1)\tdrugie\r\n");
}

TEST_F(TextExport, AFailedExportReportsTheTextFileAndWritesNothing)
{
    TCrossTXT doc = Grid(4, 3);
    doc.DeleteCell(4, 3);
    const auto name = PathOf("zle.txt");
    try {
        doc.ExportAsText(name);
        FAIL();
    } catch (const EIOOperation& e) {
        EXPECT_EQ(std::string(e.what()), "Wystąpił błąd podczas zapisu pliku " + name);
    }
    EXPECT_FALSE(std::filesystem::exists(name));
    const auto nowhere = PathOf("brak/x.txt");
    EXPECT_THROW(Grid(4, 3).ExportAsText(nowhere), EIOOperation);
}

TEST_F(TextExport, AnExistingFileIsReplaced)
{
    const auto name = PathOf("stara.txt");
    WriteBytes(name, std::string(5000, 'x'));
    Grid(4, 3).ExportAsText(name);
    EXPECT_EQ(ReadBytes(name).size(), std::string("Mirakolnik Zodevidar - stara.txt\r\n").size() + 3 * 6 + 10 + 10);
}

// The export writes a new file and puts it in place of the old one: a second
// hard link of the old file still holds the old text, and a target that cannot
// be replaced leaves no temporary file behind.
TEST_F(TextExport, TheExportReplacesTheFileWholeAndNeverWritesIntoIt)
{
    const auto name = PathOf("stara.txt");
    WriteBytes(name, "stary tekst");
    std::filesystem::create_hard_link(name, PathOf("kopia.txt"));
    Grid(4, 3).ExportAsText(name);
    EXPECT_EQ(ReadBytes(PathOf("kopia.txt")), "stary tekst");
    EXPECT_EQ(ReadBytes(name).substr(0, 32), "Mirakolnik Zodevidar - stara.txt");

    const auto folder = PathOf("folder.txt");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(MessageOf([&] { Grid(4, 3).ExportAsText(folder); }),
              "Wystąpił błąd podczas zapisu pliku " + folder + ": To jest katalog");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 3);
}
