// Generated broken crossword and template files: every one must either load or
// end in the opening message, never crash or read outside its data (the
// sanitizer build runs these too).
#include "TestFiles.h"

#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <random>

using namespace mz;
using namespace mz::test;

namespace {

class CrossBadInput : public TTempDirTest {
protected:
    void SetUp() override
    {
        TTempDirTest::SetUp();
        TCrossTXT doc;
        doc.SetColCount(15);
        doc.SetRowCount(12);
        for (int i = 1; i <= 120; ++i)
            doc.AddExpl({1 + i % 15, 1 + i % 12, "Objaśnienie " + std::to_string(i), i % 2 ? "x.wav" : "", i % 3 == 0});
        const auto name = PathOf("wzor.krz");
        doc.SaveToFile(name);
        Good = ReadBytes(name);
        GoodPlain = PlainStreamOf(Good);
    }

    // Loads the bytes, half of the time through a real file; returns whether
    // the document was refused with the opening message.
    bool Refused(const std::string& bytes, int round)
    {
        const std::string name = PathOf(round % 2 ? "zly.krz" : "zly.sz");
        TCrossTXT doc;
        try {
            if (round % 5 == 0) {
                WriteBytes(name, bytes);
                doc.LoadFromFile(name);
            } else {
                doc.LoadFromData(bytes, name);
            }
        } catch (const EIOOperation& e) {
            EXPECT_EQ(std::string(e.what()), "Wystąpił błąd podczas otwarcia pliku " + name) << round;
            return true;
        }
        EXPECT_FALSE(doc.Modified);
        return false;
    }

    std::string Good;
    std::string GoodPlain;
    std::mt19937 Rng{2024};
};

} // namespace

TEST_F(CrossBadInput, FilesWithAnyChangedByteOrLengthAreRefused)
{
    int rounds = 0;
    for (int round = 0; round < 1500; ++round, ++rounds) {
        std::string bytes = Good;
        if (round % 3 == 0) {
            bytes.resize(Rng() % Good.size());
        } else {
            const size_t at = Rng() % bytes.size();
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << (Rng() % 8)));
        }
        EXPECT_TRUE(Refused(bytes, round));
    }
    EXPECT_EQ(rounds, 1500);
}

// With a correct checksum the damage reaches the record reader itself.
TEST_F(CrossBadInput, DamagedStreamsWithAValidChecksumLoadOrAreRefused)
{
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string plain = GoodPlain;
        switch (round % 4) {
        case 0:
            for (int i = 0, n = 1 + static_cast<int>(Rng() % 4); i < n; ++i)
                plain[Rng() % plain.size()] ^= static_cast<char>(1 << (Rng() % 8));
            break;
        case 1:
            plain.resize(Rng() % plain.size());
            break;
        case 2:
            plain[7 + 13 * (Rng() % 12) + 1 + Rng() % 8] = static_cast<char>(Rng());
            break;
        default:
            plain.resize(Rng() % 9000);
            for (char& c : plain)
                c = static_cast<char>(Rng() % 3 ? Rng() % 20 : Rng());
            break;
        }
        refused += Refused(BuildRecordBytes("", plain), round);
    }
    EXPECT_GT(refused, 1500);
}

TEST_F(CrossBadInput, RandomFilesAreRefused)
{
    for (int round = 0; round < 1500; ++round) {
        std::string bytes(Rng() % 6000, '\0');
        for (char& c : bytes)
            c = static_cast<char>(Rng());
        EXPECT_TRUE(Refused(bytes, round));
    }
}
