// Whether composed crosswords are fit for a school, with the shipped templates
// and word database: 200 crosswords of Normal.sz and 50 of every other
// template (seeds 1..N), at a level, with the school setting as given.
//
//   SchoolCheck [LEVEL] [--all-registers] [--list FILE]... [--cap N] [--grids FILE]
//
// Reports, over all crosswords: answers and clue terms of a marked register
// (by the database's register records and by every list given: lines
// "word or phrase<TAB>..." as tools/worddb/register-pl.tsv, whose
// "zwykłe" lines do not count), clues sharing the answer's stem (one contains
// the other, four letters or more), clues under three letters, the wrong clues
// a review found, clue texts serving three answers or more, crosswords with
// two clues sharing a term; and per template the median letter share, and the
// medians of the answers' commonness scores and of their clue terms' scores
// (a term's score: the database's score of the term, a phrase the mean of its
// words of three letters or more; unknown words score 0). --grids writes
// every finished crossword's letters, row by row, to compare two builds' draws.
#include "ShippedData.h"
#include "composer/Composer.h"
#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "database/Register.h"
#include "documents/CrossTXT.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using mz::bench::DatabaseFile;
using mz::bench::LoadTemplate;
using mz::bench::ShippedTemplates;

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(mz::Cp1250ToUpper(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> parts;
    while (true) {
        const size_t at = text.find(separator);
        parts.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + separator.size());
    }
}

// A clue's terms, upper-case CP1250, "rodzaj: " left out.
std::vector<std::string> Terms(const std::string& clue)
{
    std::string_view text = clue;
    if (text.starts_with("rodzaj: "))
        text.remove_prefix(8);
    return Split(Upper(std::string(text)), ", ");
}

bool IsLetter(char c)
{
    return mz::IsWordLetter(static_cast<unsigned char>(c));
}

// One contains the other, the contained one of four letters or more.
bool SharesStem(const std::string& answer, const std::string& term)
{
    for (const auto& word : Split(term, " ")) {
        std::string letters;
        for (const char c : word)
            if (IsLetter(c))
                letters += c;
        if ((letters.size() >= 4 && answer.find(letters) != std::string::npos)
            || (answer.size() >= 4 && letters.find(answer) != std::string::npos))
            return true;
    }
    return false;
}

// "median (mean)" of scores.
std::string Scores(const std::vector<int>& values)
{
    double sum = 0;
    for (const int v : values)
        sum += v;
    char text[64];
    std::vector<int> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    std::snprintf(text, sizeof text, "%d (%.1f)", sorted.empty() ? 0 : sorted[sorted.size() / 2],
                  values.empty() ? 0.0 : sum / static_cast<double>(values.size()));
    return text;
}

template <class T> T Median(std::vector<T> values)
{
    if (values.empty())
        return T{};
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct TCheck {
    mz::TDB Scores{mz::qmPlain}; // every word, for the scores and registers
    std::set<std::string> Listed;

    int Score(const std::string& word) const
    {
        const mz::TDBRec* rec = Scores.FindRecord(word);
        return rec && rec->Score > 0 ? rec->Score : 0;
    }
    int TermScore(const std::string& term) const
    {
        const auto words = Split(term, " ");
        if (words.size() == 1)
            return Score(term);
        int sum = 0;
        int count = 0;
        for (const auto& word : words)
            if (word.size() >= 3) {
                sum += Score(word);
                ++count;
            }
        return count ? sum / count : 0;
    }
    bool Marked(const std::string& key) const
    {
        if (Listed.count(key))
            return true;
        const mz::TDBRec* rec = Scores.FindRecord(key);
        return rec && rec->Register != mz::rgOrdinary;
    }
    bool TermMarked(const std::string& term) const
    {
        if (Marked(term))
            return true;
        for (const auto& word : Split(term, " "))
            if (Marked(word))
                return true;
        return false;
    }
};

// The wrong clues a review of composed crosswords found: answer and term.
const std::vector<std::pair<std::string, std::string>> WrongClues = {
    {"KTO", "JAKI"}, {"KTO", "KTÓRY"},   {"OGI", "SENSU"}, {"SENSU", "OGI"},  {"KOWAL", "KUJON"},
    {"KUC", "PONY"}, {"NOC", "CHRONOS"}, {"LAS", "FLORA"}, {"PORNO", "FILM"},
};

} // namespace

int main(int argc, char** argv)
{
    mz::TDifficulty level = mz::dfAll;
    bool schoolSafe = true;
    uint64_t cap = 40000;
    std::ofstream grids;
    TCheck check;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all-registers") == 0) {
            schoolSafe = false;
        } else if (std::strcmp(argv[i], "--cap") == 0 && i + 1 < argc) {
            cap = std::stoull(argv[++i]);
        } else if (std::strcmp(argv[i], "--grids") == 0 && i + 1 < argc) {
            grids.open(argv[++i]);
        } else if (std::strcmp(argv[i], "--list") == 0 && i + 1 < argc) {
            std::ifstream in(argv[++i]);
            // As db-build reads them: a later "zwykłe" takes a word back.
            for (std::string line; std::getline(in, line);) {
                if (line.empty() || line.front() == '#')
                    continue;
                const std::string key = Upper(mz::Utf8ToCp1250(line.substr(0, line.find('\t'))));
                if (line.find("\tzwykłe\t") != std::string::npos)
                    check.Listed.erase(key);
                else
                    check.Listed.insert(key);
            }
        } else if (!mz::ParseDifficulty(argv[i], level)) {
            std::cerr << "SchoolCheck [LEVEL] [--all-registers] [--list FILE]... [--cap N] [--grids FILE]\n";
            return 2;
        }
    }
    check.Scores.Load(DatabaseFile, mz::TDBLoadFilter{2, 255});

    mz::TComposerSettings settings;
    settings.ClueChoice = mz::DifficultyClueChoice(level);
    mz::TDBLoadFilter filter{3, 16, mz::DifficultyMinScore(level)};
    filter.SchoolSafe = schoolSafe;
    filter.RareAsReserve = true;

    std::map<std::string, int> markedAnswers, markedTerms, stems, shortClues, wrong, sharedTerms;
    std::map<std::string, std::set<std::string>> clueAnswers;
    int crosswords = 0, unfinished = 0, sharedTermCrosswords = 0, clues = 0;
    std::vector<int> allAnswerScores, allTermScores;
    std::cout << "Level " << mz::DifficultyName(level) << (schoolSafe ? ", school setting on" : ", all registers")
              << "\n| Template | crosswords | finished | median letter share | answer score, median (mean) | "
                 "clue-term score, median (mean) |\n|---|---|---|---|---|---|\n";
    for (const auto& file : ShippedTemplates()) {
        const mz::TTable pattern = LoadTemplate(file);
        const uint32_t seeds = file.stem() == "Normal" ? 200 : 50;
        std::vector<int> letters, answerScores, termScores;
        int finished = 0;
        for (uint32_t seed = 1; seed <= seeds; ++seed) {
            mz::TComposeRun run(pattern, mz::FileDBSource(DatabaseFile, filter), settings);
            std::atomic<bool> stop{false};
            uint64_t moves = 0;
            run.OnPreview = [&](const mz::TTable&, bool final) {
                if (!final && ++moves >= cap)
                    stop = true;
            };
            std::atomic<uint8_t> progress{0};
            mz::TCrossTXT doc;
            const mz::TComposeResult result = run.Execute(doc, stop, progress, seed);
            ++crosswords;
            if (!result.HandedOver || result.Stopped || !result.Grid) {
                ++unfinished;
                continue;
            }
            ++finished;
            const mz::TTable& grid = *result.Grid;
            int filled = 0;
            if (grids.is_open())
                grids << file.stem().string() << " " << seed << "\n";
            for (int32_t r = 1; r <= grid.RowCount(); ++r) {
                for (const char c : grid.RowLine(r))
                    filled += mz::TTable::IsLetter(c) ? 1 : 0;
                if (grids.is_open())
                    grids << mz::Cp1250ToUtf8(std::string(grid.RowLine(r))) << "\n";
            }
            letters.push_back(filled * 100 / (grid.ColCount() * grid.RowCount()));
            std::map<std::string, std::string> seenTerms; // term: the answer and clue that had it first
            bool shared = false;
            for (int32_t n = 1; n <= doc.ExplCount(); ++n) {
                const mz::TExpl expl = doc.GetExpl(n);
                const std::string& answer = expl.Answer;
                const std::string& clue = expl.Explanation;
                ++clues;
                answerScores.push_back(check.Score(answer));
                if (check.Marked(answer))
                    ++markedAnswers[answer];
                clueAnswers[clue].insert(answer);
                if (clue.size() < 3)
                    ++shortClues[answer + " \"" + clue + "\""];
                for (const auto& term : Terms(clue)) {
                    termScores.push_back(check.TermScore(term));
                    if (check.TermMarked(term))
                        ++markedTerms[answer + " \"" + term + "\""];
                    if (SharesStem(answer, term))
                        ++stems[answer + " \"" + term + "\""];
                    for (const auto& [word, bad] : WrongClues)
                        if (answer == word && term == bad)
                            ++wrong[answer + " \"" + term + "\""];
                    const std::string where = answer + " \"" + clue + "\"";
                    if (const auto [at, added] = seenTerms.emplace(term, where); !added) {
                        shared = true;
                        ++sharedTerms[term + " (" + at->second + " / " + where + ")"];
                    }
                }
            }
            sharedTermCrosswords += shared;
        }
        allAnswerScores.insert(allAnswerScores.end(), answerScores.begin(), answerScores.end());
        allTermScores.insert(allTermScores.end(), termScores.begin(), termScores.end());
        std::cout << "| " << file.stem().string() << " | " << seeds << " | " << finished << " | " << Median(letters)
                  << "% | " << Scores(answerScores) << " | " << Scores(termScores) << " |\n";
    }
    std::cout << "| all | " << crosswords << " | " << crosswords - unfinished << " | | " << Scores(allAnswerScores)
              << " | " << Scores(allTermScores) << " |\n\n";
    const auto show = [](const char* what, const std::map<std::string, int>& found) {
        int total = 0;
        for (const auto& [key, count] : found)
            total += count;
        std::cout << what << ": " << total;
        for (const auto& [key, count] : found)
            std::cout << (key == found.begin()->first ? " — " : ", ") << mz::Cp1250ToUtf8(key) << " " << count << "×";
        std::cout << "\n";
    };
    std::cout << "Clues: " << clues << "\n";
    show("Marked answers", markedAnswers);
    show("Marked clue terms", markedTerms);
    show("Clue terms sharing the answer's stem", stems);
    show("Clues under three letters", shortClues);
    show("Wrong clues of the review", wrong);
    int serving3 = 0;
    for (const auto& [clue, answers] : clueAnswers)
        serving3 += answers.size() >= 3;
    std::cout << "Clue texts serving three answers or more: " << serving3 << "\n"
              << "Crosswords with two clues sharing a term: " << sharedTermCrosswords << "\n";
    show("Terms shared by two clues of a crossword", sharedTerms);
    return 0;
}
