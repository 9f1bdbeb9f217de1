// Saving replaces a file without changing anything but its contents, and
// cleans up after saves that were killed.
#include "TestFiles.h"

#include "documents/CrossTXT.h"
#include "documents/FileReplacement.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace mz;
using namespace mz::test;
namespace fs = std::filesystem;

namespace {

class FileReplacement : public TTempDirTest {
protected:
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static unsigned Mode(const std::string& path)
    {
        struct stat st { };
        ::stat(path.c_str(), &st);
        return st.st_mode & 07777;
    }
};

} // namespace

TEST_F(FileReplacement, ASaveKeepsThePermissionsOfTheFileItReplaces)
{
    for (const unsigned mode : {0600u, 0640u, 0664u}) {
        const auto name = PathOf("prywatna.krz");
        Grid(4, 3).SaveToFile(name);
        ASSERT_EQ(::chmod(name.c_str(), mode), 0);
        Grid(5, 3).SaveToFile(name);
        EXPECT_EQ(Mode(name), mode);
        ReplaceFileContents(name, "tekst");
        EXPECT_EQ(Mode(name), mode);
    }
}

// As a save of any editor does: the link stays, its target gets the contents.
TEST_F(FileReplacement, ASaveThroughASymbolicLinkWritesItsTarget)
{
    fs::create_directory(Dir / "prawdziwe");
    const auto target = PathOf("prawdziwe/cel.krz");
    Grid(4, 3).SaveToFile(target);
    fs::create_symlink("prawdziwe/cel.krz", Dir / "skrot.krz");
    fs::create_symlink("prawdziwe/nowy.txt", Dir / "wiszacy.txt");

    TCrossTXT wider = Grid(6, 3);
    wider.SaveToFile(PathOf("skrot.krz"));
    Grid(4, 3).ExportAsText(PathOf("wiszacy.txt"));
    EXPECT_TRUE(fs::is_symlink(Dir / "skrot.krz"));
    EXPECT_TRUE(fs::is_symlink(Dir / "wiszacy.txt"));
    TCrossTXT loaded;
    loaded.LoadFromFile(target);
    EXPECT_EQ(loaded.ColCount(), 6);
    EXPECT_EQ(ReadBytes(PathOf("prawdziwe/nowy.txt")).substr(0, 35), "Mirakolnik Zodevidar - wiszacy.txt\r");
}

TEST_F(FileReplacement, NamesOfTheLongestLengthStillSave)
{
    for (const size_t length : {246u, 250u, 255u}) {
        const std::string name = PathOf(std::string(length - 4, 'k') + ".krz");
        Grid(4, 3).SaveToFile(name);
        TCrossTXT loaded;
        loaded.LoadFromFile(name);
        EXPECT_EQ(loaded.ColCount(), 4) << length;
        Grid(4, 3).ExportAsText(PathOf(std::string(length - 4, 't') + ".txt"));
    }
    EXPECT_EQ(Names().size(), 6u);
}

// What killed saves left behind goes with the next save into the folder; a
// temporary file that a save is writing at that moment stays.
TEST_F(FileReplacement, TheNextSaveRemovesTemporaryFilesNoSaveIsWriting)
{
    for (const char* left : {".~mz0badf00d.tmp", "K_0001.krz.~deadbeef", ".~mz12345678.tmp"})
        WriteBytes(PathOf(left), std::string(1000, 'x'));
    for (const char* kept : {".~mz1234567.tmp", ".~mzABCDEF12.tmp", "notatki.~deadbeeg", "plan.~1"})
        WriteBytes(PathOf(kept), "moje");
    TFileReplacement writing(PathOf("inna.krz"));
    writing.Create();

    Grid(4, 3).SaveToFile(PathOf("K_0002.krz"));
    const std::vector<std::string> expected = {fs::path(writing.TempName()).filename().string(),
                                               ".~mz1234567.tmp",
                                               ".~mzABCDEF12.tmp",
                                               "K_0002.krz",
                                               "notatki.~deadbeeg",
                                               "plan.~1"};
    auto sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Names(), sorted);
    EXPECT_TRUE(IsTemporaryName(fs::path(writing.TempName()).filename().string()));
}

// Renaming over a device or a pipe would replace it with a file.
TEST_F(FileReplacement, ATargetThatIsNoRegularFileIsRefused)
{
    const auto pipe = PathOf("potok.krz");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(Grid(4, 3).SaveToFile(pipe), EIOOperation);
    EXPECT_THROW(ReplaceFileContents(pipe, "x"), EInOutError);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(Names(), std::vector<std::string>{"potok.krz"});
    EXPECT_EQ(MessageOf([&] { ReplaceFileContents(PathOf("brak/x.txt"), "x"); }),
              PathOf("brak/x.txt") + ": Nie ma takiego pliku ani katalogu");
}

// What a signal handler calls before the program ends: the temporary files
// of unfinished saves go, the files they were to replace stay.
TEST_F(FileReplacement, AnInterruptedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    WriteBytes(PathOf("a.krz"), "stary a");
    TFileReplacement first(PathOf("a.krz"));
    TFileReplacement second(PathOf("b.txt"));
    first.Create();
    first.Write("nowy a");
    second.Create();
    TFileReplacement done(PathOf("c.txt"));
    done.Create();
    done.Write("gotowy");
    done.Commit();
    EXPECT_EQ(Names().size(), 4u);
    RemoveOpenTemporaries();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.krz", "c.txt"}));
    EXPECT_EQ(ReadBytes(PathOf("a.krz")), "stary a");
    EXPECT_EQ(ReadBytes(PathOf("c.txt")), "gotowy");
}
