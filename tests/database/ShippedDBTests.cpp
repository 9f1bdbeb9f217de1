// The database built from the thesaurus and shipped as baza.hk.
#include "DBTestUtil.h"

#include "core/Cp1250.h"
#include "database/DBBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace mz;
using namespace mz::test;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(Cp1250ToUpper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

TEST(ShippedDatabase, HoldsTheExtendedThesaurusEdition)
{
    const auto stats = ReadDBStatistics(MZ_DB_FILE);
    EXPECT_EQ(stats.Edition, 102);
    EXPECT_EQ(EditionName(stats.Edition), "rozszerzona");
    EXPECT_GE(stats.WordCount, 20000);
    EXPECT_GE(stats.ExplCount, 30000);
    EXPECT_EQ(stats.MinLen, 2);
    EXPECT_EQ(stats.MaxLen, 20);
}

TEST(ShippedDatabase, WordsAreDistinctGridLettersAndNoClueGivesItsAnswerAway)
{
    TDB db(qmPlain);
    db.Load(MZ_DB_FILE, {2, 255});
    std::set<std::string> seen;
    int withSound = 0;
    for (const TDBRec* rec = db.Words(); rec; rec = rec->Next) {
        const std::string& w = rec->PWord;
        EXPECT_TRUE(seen.insert(w).second) << Cp1250ToUtf8(w);
        for (const char c : w)
            ASSERT_TRUE(IsWordLetter(static_cast<unsigned char>(c))) << Cp1250ToUtf8(w);
        const auto clues = Lines(rec->ExplLines);
        ASSERT_FALSE(clues.empty()) << Cp1250ToUtf8(w);
        for (const auto& clue : clues) {
            EXPECT_EQ(Upper(clue).find(w), std::string::npos) << Cp1250ToUtf8(w) << ": " << Cp1250ToUtf8(clue);
            EXPECT_LE(clue.size(), ThesaurusClueLength);
            // Usage notes, and with them the offensive marks, never reach a clue.
            EXPECT_EQ(clue.find_first_of("()|"), std::string::npos) << Cp1250ToUtf8(clue);
        }
        if (!rec->AudioLines.empty()) {
            // The sound name is the word plus .wav, the file the UTF-8 spelling of it.
            ++withSound;
            EXPECT_EQ(rec->AudioLines, w + ".wav\r\n");
            const auto file = std::filesystem::path(MZ_DB_FILE).parent_path() / "Audio" /
                              Utf8Path(Cp1250ToUtf8(w) + ".wav");
            EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        }
    }
    EXPECT_GE(withSound, 150);
    EXPECT_LE(withSound, 250);
}
