// The database built from the thesaurus and shipped as baza.hk.
#include "DBTestUtil.h"

#include "core/Cp1250.h"
#include "database/DBBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
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
            const auto file =
                std::filesystem::path(MZ_DB_FILE).parent_path() / "Audio" / Utf8Path(Cp1250ToUtf8(w) + ".wav");
            EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        }
    }
    EXPECT_GE(withSound, 150);
    EXPECT_LE(withSound, 250);
}

namespace {

TStopList ShippedStopList()
{
    TStopList list;
    std::ifstream in(MZ_STOPLIST_FILE, std::ios::binary);
    EXPECT_TRUE(in) << MZ_STOPLIST_FILE;
    list.Add(in, MZ_STOPLIST_FILE);
    return list;
}

const TThesaurusMarks& ThesaurusMarks()
{
    static const TThesaurusMarks marks = [] {
        std::ifstream in(MZ_THESAURUS_FILE, std::ios::binary);
        EXPECT_TRUE(in) << MZ_THESAURUS_FILE;
        return TThesaurusMarks(ReadThesaurus(in, MZ_THESAURUS_FILE));
    }();
    return marks;
}

std::map<std::string, const TDBRec*> Records(const TDB& db)
{
    std::map<std::string, const TDBRec*> records;
    for (const TDBRec* rec = db.Words(); rec; rec = rec->Next)
        records.emplace(rec->PWord, rec);
    return records;
}

// A clue's terms: its synonyms, or the broader term after "rodzaj: ".
std::vector<std::string> Terms(std::string clue)
{
    if (clue.starts_with("rodzaj: "))
        clue.erase(0, 8);
    std::vector<std::string> terms;
    for (size_t start = 0;;) {
        const size_t end = clue.find(", ", start);
        terms.push_back(clue.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return terms;
        start = end + 2;
    }
}

} // namespace

TEST(ShippedDatabase, HoldsNoStopListWordAndNoWordTheThesaurusMarksInEverySense)
{
    TDB db(qmPlain);
    db.Load(MZ_DB_FILE, {2, 255});
    const TStopList stop = ShippedStopList();
    const TThesaurusMarks& marks = ThesaurusMarks();
    EXPECT_GE(stop.Words().size(), 50u);
    int markedWords = 0;
    for (const std::string& key : marks.AllMarkedKeys())
        markedWords += !DatabaseWord(Cp1250ToUtf8(key)).empty();
    EXPECT_GE(markedWords, 100);
    for (const TDBRec* rec = db.Words(); rec; rec = rec->Next) {
        EXPECT_FALSE(stop.Contains(rec->PWord)) << Cp1250ToUtf8(rec->PWord);
        EXPECT_FALSE(marks.MarkedInAllSenses(rec->PWord)) << Cp1250ToUtf8(rec->PWord);
    }
    // Whatever the rules, these never reach a crossword.
    const auto records = Records(db);
    for (const char* word : {"CHUJ", "KURWA", "JEBAĆ", "PIZDA", "CZARNUCH", "PEDAŁ", "UPIERDLIWY", "ZAPIERDOLIĆ",
                             "IDIOTA", "DUPA", "KUŚKA", "SZKOP"})
        EXPECT_FALSE(records.count(Utf8ToCp1250(word))) << word;
}

// A word vulgar or offensive in one sense and ordinary in another keeps only
// the ordinary clues, and harmless words that share a starred word's meaning
// lose that meaning.
TEST(ShippedDatabase, WordsKeptForTheirOrdinarySenseCarryNoClueOfTheMarkedOne)
{
    TDB db(qmPlain);
    db.Load(MZ_DB_FILE, {2, 255});
    const auto records = Records(db);
    struct TCase {
        const char* Word;
        const char* Kept;              // a clue the word keeps
        std::vector<const char*> Gone; // text no clue of the word holds
    };
    const std::vector<TCase> cases = {
        {"KROWA", "krasula, mućka", {"flądra", "raszpla"}},
        {"LASKA", "drąg, drążek, kij", {"bogini", "kociak", "dzida", "kapucyn"}},
        {"PIES", "czworonóg, najlepszy przyjaciel człowieka, psina", {"pała"}},
        {"DZIURA", "czeluść, głębia, jama", {"brzoskwinka", "dziupla"}},
        {"PAŁA", "bania, bańka, jedynka", {"parówa", "pies"}},
        {"FOKA", "foczka", {"bogini", "laska"}},
        {"SZMATA", "łachman, ścierka", {"cichodajka", "dajka"}},
        {"PUDŁO", "kufer, skrzynia", {"flądra", "krowa"}},
        {"SZCZENIAK", "pieseczek, piesiu, psiaczek", {"bachor", "małolat"}},
        {"PTAK", "rodzaj: kręgowiec", {"kapucyn", "korzeń"}},
        {"MYSZKA", "brodawka, kurzajka, liszaj", {"brzoskwinka", "kuciapka"}},
        {"DMUCHAĆ", "dąć, świstać, wiać", {"bzykać", "chędożyć"}},
        {"TYŁEK", "cztery litery, pupa, pupeńka", {"dupa"}},
    };
    for (const TCase& c : cases) {
        const auto found = records.find(Utf8ToCp1250(c.Word));
        ASSERT_NE(found, records.end()) << c.Word;
        const auto clues = Lines(found->second->ExplLines);
        std::vector<std::string> utf8;
        for (const auto& clue : clues)
            utf8.push_back(Cp1250ToUtf8(clue));
        EXPECT_NE(std::find(utf8.begin(), utf8.end(), c.Kept), utf8.end()) << c.Word;
        for (const auto& clue : utf8)
            for (const char* gone : c.Gone)
                EXPECT_EQ(clue.find(gone), std::string::npos) << c.Word << ": " << clue;
    }
}

TEST(ShippedDatabase, NoClueUsesALeftOutWordOrMarkedPhraseAsATerm)
{
    TDB db(qmPlain);
    db.Load(MZ_DB_FILE, {2, 255});
    const TStopList stop = ShippedStopList();
    const TThesaurusMarks& marks = ThesaurusMarks();
    for (const TDBRec* rec = db.Words(); rec; rec = rec->Next)
        for (const auto& clue : Lines(rec->ExplLines))
            for (const auto& term : Terms(clue)) {
                const std::string key = Upper(term);
                EXPECT_FALSE(stop.Contains(key) || marks.MarkedInAllSenses(key))
                    << Cp1250ToUtf8(rec->PWord) << ": " << Cp1250ToUtf8(clue);
            }
}

TEST(ShippedDatabase, EveryWordHasACommonnessScore)
{
    TDB db(qmPlain);
    db.Load(MZ_DB_FILE, {2, 255});
    int scored = 0;
    for (const TDBRec* rec = db.Words(); rec; rec = rec->Next) {
        ASSERT_GE(rec->Score, 0) << Cp1250ToUtf8(rec->PWord);
        ASSERT_LE(rec->Score, 100) << Cp1250ToUtf8(rec->PWord);
        scored += rec->Score > 0;
    }
    // About a quarter of the thesaurus's words are among the list's forms; the
    // basic vocabulary's words score 100, as common as the most common words.
    EXPECT_GE(scored, 7000);
    EXPECT_LE(scored, 8000);
    const auto records = Records(db);
    const std::vector<std::pair<const char*, int32_t>> pinned = {
        {"DZIEŃ", 100}, {"CZŁOWIEK", 52}, {"DOM", 44}, {"PIES", 100}, {"KOT", 100}, {"LIS", 100}, {"ABIOGENNY", 0}};
    for (const auto& [word, score] : pinned)
        EXPECT_EQ(records.at(Utf8ToCp1250(word))->Score, score) << word;
}
