// Names taken from files that anyone may have made, and the identity of files.
#include "core/FileIdentity.h"
#include "core/SoundNames.h"
#include "core/SystemError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>

using namespace mz;
namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        Dir = fs::temp_directory_path() / ("mz-core-" + std::to_string(rd()));
        fs::create_directories(Dir / "Audio");
        Audio = Dir / "Audio";
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(Dir, ignored);
    }
    static void Touch(const fs::path& path) { std::ofstream(path) << "RIFF"; }

    fs::path Dir;
    fs::path Audio;
};

} // namespace

TEST(SoundNames, OnlyPlainFileNamesAreAccepted)
{
    for (const char* name : {"KOT.wav", "\xAF\xD3\xA3W.wav", "a b.mp3", ".ukryty.ogg", "x"})
        EXPECT_TRUE(IsPlainSoundName(name)) << name;
    for (const char* name : {"", ".", "..", "../../secret/notes.txt", "a/b.wav", "a\\b.wav", "..\\x.wav", "C:x.wav",
                             "C:\\x.wav", "kot..wav", "kot\x1B.wav", "kot\r\n", "\x7F"})
        EXPECT_FALSE(IsPlainSoundName(name)) << name;
    EXPECT_FALSE(IsPlainSoundName(std::string("kot\0.wav", 8)));
}

TEST(SoundNames, ASoundTextKeepsItsPlainLinesAndCountsTheOthers)
{
    int32_t refused = 0;
    EXPECT_EQ(PlainSoundLines("KOT.wav\r\n../x.wav\r\n\r\nPIES.mp3\r\n/etc/passwd", refused),
              "KOT.wav\r\n\r\nPIES.mp3\r\n");
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(PlainSoundLines("", refused), "");
    EXPECT_EQ(PlainSoundLines("A.wav", refused), "A.wav");
    EXPECT_EQ(refused, 2);
}

TEST_F(FilesTest, SoundsResolveOnlyToFilesInsideTheAudioDirectory)
{
    Touch(Audio / "KOT.wav");
    Touch(Dir / "tajne.txt");
    fs::create_symlink(Dir / "tajne.txt", Audio / "zdrada.wav");
    fs::create_symlink("KOT.wav", Audio / "kotek.wav");
    fs::create_directory(Audio / "katalog.wav");
    struct {
        std::string Name;
        TSoundStatus Status;
    } const cases[] = {
        {"KOT.wav", TSoundStatus::Playable},
        {"kotek.wav", TSoundStatus::Playable},
        {"PIES.wav", TSoundStatus::Missing},
        {"zdrada.wav", TSoundStatus::Refused},
        {"../tajne.txt", TSoundStatus::Refused},
        {"katalog.wav", TSoundStatus::Refused},
        {(Dir / "tajne.txt").string(), TSoundStatus::Refused},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveSoundFile(Audio, c.Name).Status, c.Status) << c.Name;
    EXPECT_EQ(ResolveSoundFile(Audio, "kotek.wav").Path, fs::canonical(Audio / "KOT.wav"));
    // The audio directory may itself be reached through a link.
    fs::create_directory_symlink(Audio, Dir / "Dzwieki");
    EXPECT_EQ(ResolveSoundFile(Dir / "Dzwieki", "KOT.wav").Status, TSoundStatus::Playable);
    EXPECT_EQ(ResolveSoundFile(Dir / "Dzwieki", "zdrada.wav").Status, TSoundStatus::Refused);
}

TEST_F(FilesTest, TheUsersSoundDirectoryIsLookedUpBeforeTheShippedOne)
{
    const fs::path own = Dir / "Moje";
    fs::create_directory(own);
    Touch(Audio / "KOT.wav");
    Touch(Audio / "PIES.wav");
    Touch(own / "PIES.wav");
    Touch(Dir / "tajne.txt");
    fs::create_symlink(Dir / "tajne.txt", own / "KOT.wav");
    EXPECT_EQ(ResolveSoundFile(own, Audio, "PIES.wav").Path, fs::canonical(own / "PIES.wav"));
    // A refused name in the user's directory is not replaced by the shipped file of that name.
    EXPECT_EQ(ResolveSoundFile(own, Audio, "KOT.wav").Status, TSoundStatus::Refused);
    fs::remove(own / "KOT.wav");
    EXPECT_EQ(ResolveSoundFile(own, Audio, "KOT.wav").Path, fs::canonical(Audio / "KOT.wav"));
    EXPECT_EQ(ResolveSoundFile(own, Audio, "KOZA.wav").Status, TSoundStatus::Missing);
    EXPECT_EQ(ResolveSoundFile(Dir / "brak", Audio, "KOT.wav").Status, TSoundStatus::Playable);
    EXPECT_EQ(ResolveSoundFile(fs::path(), Audio, "PIES.wav").Path, fs::canonical(Audio / "PIES.wav"));
    EXPECT_EQ(ResolveSoundFile(own, Audio, "../tajne.txt").Status, TSoundStatus::Refused);
}

TEST_F(FilesTest, TheSameFileIsKnownUnderAnyNameLinkOrHardLink)
{
    Touch(Dir / "a.krz");
    Touch(Dir / "b.krz");
    fs::create_hard_link(Dir / "a.krz", Dir / "twardy.krz");
    fs::create_symlink("a.krz", Dir / "miekki.krz");
    fs::create_symlink("nowy.krz", Dir / "wiszacy.krz");
    EXPECT_TRUE(IsSameFile(Dir / "a.krz", Dir / "Audio" / ".." / "." / "a.krz"));
    EXPECT_TRUE(IsSameFile(Dir / "a.krz", Dir / "twardy.krz"));
    EXPECT_TRUE(IsSameFile(Dir / "miekki.krz", Dir / "a.krz"));
    EXPECT_TRUE(IsSameFile(Dir / "nowy.krz", Dir / "Audio/../nowy.krz"));
    EXPECT_TRUE(IsSameFile(Dir / "wiszacy.krz", Dir / "nowy.krz"));
    EXPECT_FALSE(IsSameFile(Dir / "a.krz", Dir / "b.krz"));
    EXPECT_FALSE(IsSameFile(Dir / "a.krz", Dir / "nowy.krz"));
    EXPECT_EQ(FinalTarget(Dir / "wiszacy.krz"), Dir / "nowy.krz");
}

TEST(SystemErrors, CommonErrorsAreToldInPolish)
{
    EXPECT_EQ(SystemErrorText(ENOENT), "Nie ma takiego pliku ani katalogu");
    EXPECT_EQ(SystemErrorText(EROFS), "System plików tylko do odczytu");
    EXPECT_EQ(SystemErrorText(std::make_error_code(std::errc::permission_denied)), "Brak dostępu");
    EXPECT_EQ(SystemErrorText(ENOSPC), "Brak miejsca na urządzeniu");
}
