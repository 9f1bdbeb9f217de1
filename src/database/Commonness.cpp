#include "Commonness.h"

#include "DB.h"
#include "DBBuilder.h"
#include "SourceLines.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <vector>

namespace mz {

namespace {

// The least scores of the two easier levels (docs/worddb.md has the
// measurements behind them).
constexpr int32_t EasyMinScore = 20;
constexpr int32_t MediumMinScore = 10;

} // namespace

void TCommonness::Load(std::istream& in, const std::string& name)
{
    std::string line;
    TSourceLines lines(in, name);
    const int& lineNo = lines.LineNo;
    while (lines.Next(line)) {
        if (line.empty() || line.front() == '#')
            continue;
        const size_t tab1 = line.find('\t');
        const size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        int64_t rank = 0;
        bool ok = tab1 != std::string::npos && tab1 > 0 && tab1 <= 9;
        for (size_t i = 0; ok && i < tab1; ++i) {
            ok = line[i] >= '0' && line[i] <= '9';
            rank = rank * 10 + (line[i] - '0');
        }
        if (!ok || rank < 1)
            throw EDBInvalidOperation(name + ", wiersz " + std::to_string(lineNo)
                                      + ": oczekiwano \"pozycja<TAB>forma<TAB>formy podstawowe\"");
        const std::string form = line.substr(tab1 + 1, tab2 == std::string::npos ? tab2 : tab2 - tab1 - 1);
        std::vector<std::string> lemmas;
        if (tab2 != std::string::npos) {
            const std::string field = line.substr(tab2 + 1);
            for (size_t start = 0; start <= field.size();) {
                size_t end = field.find(',', start);
                if (end == std::string::npos)
                    end = field.size();
                const std::string lemma = DatabaseWord(field.substr(start, end - start));
                if (!lemma.empty() && std::find(lemmas.begin(), lemmas.end(), lemma) == lemmas.end())
                    lemmas.push_back(lemma);
                start = end + 1;
            }
        }
        if (lemmas.empty()) {
            const std::string self = DatabaseWord(form);
            if (!self.empty())
                lemmas.push_back(self);
        }
        MaxRank_ = std::max<int32_t>(MaxRank_, static_cast<int32_t>(rank));
        for (const auto& lemma : lemmas)
            Weights[lemma] += 1.0 / (static_cast<double>(rank) * static_cast<double>(lemmas.size()));
    }
}

int32_t TCommonness::Score(const std::string& word) const
{
    const auto found = Weights.find(word);
    if (found == Weights.end() || found->second <= 0)
        return 0;
    const double effectiveRank = 1.0 / found->second;
    const double score = 100.0 * (1.0 - std::log(effectiveRank) / std::log(MaxRank_ + 1.0));
    return static_cast<int32_t>(std::clamp(std::lround(score), 1L, 100L));
}

int32_t DifficultyMinScore(TDifficulty level)
{
    switch (level) {
    case dfEasy:
        return EasyMinScore;
    case dfMedium:
        return MediumMinScore;
    case dfHard:
    case dfAll:
        break;
    }
    return 0;
}

TClueChoice DifficultyClueChoice(TDifficulty level)
{
    switch (level) {
    case dfEasy:
        return ccCommonest;
    case dfHard:
        return ccRarest;
    case dfMedium:
    case dfAll:
        break;
    }
    return ccDrawn;
}

std::string DifficultyName(TDifficulty level)
{
    switch (level) {
    case dfEasy:
        return "łatwy";
    case dfMedium:
        return "średni";
    case dfHard:
        return "trudny";
    case dfAll:
        break;
    }
    return "wszystkie słowa";
}

bool ParseDifficulty(std::string_view name, TDifficulty& level)
{
    for (const TDifficulty candidate : DifficultyLevels) {
        const std::string full = DifficultyName(candidate);
        if (name == full || name == full.substr(0, full.find(' '))) {
            level = candidate;
            return true;
        }
    }
    return false;
}

} // namespace mz
