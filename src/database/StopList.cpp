#include "StopList.h"

#include "DB.h"
#include "DBBuilder.h"
#include "SourceLines.h"

#include <istream>

namespace mz {

void TStopList::Add(std::istream& in, const std::string& name)
{
    std::string line;
    TSourceLines lines(in, name);
    const int& lineNo = lines.LineNo;
    while (lines.Next(line)) {
        if (lineNo == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        const size_t last = line.find_last_not_of(" \t");
        std::string entry = line.substr(first, last - first + 1);
        bool starred = false;
        if (entry.back() == '*') {
            starred = true;
            entry.pop_back();
        }
        const std::string word = DatabaseWord(entry);
        if (word.empty())
            throw EDBInvalidOperation(name + ", wiersz " + std::to_string(lineNo) + ": \"" + entry
                                      + "\" nie jest słowem bazy (od 2 do 20 liter A-Z lub polskich)");
        Words_.insert(word);
        if (starred)
            Starred_.insert(word);
    }
}

bool TStopList::NamesStarredMeaning(const std::vector<std::string>& terms) const
{
    if (Starred_.empty())
        return false;
    for (const auto& raw : terms) {
        const TThesaurusTerm term = ParseThesaurusTerm(raw);
        if (!term.Hypernym && !term.NotSynonym && Starred_.count(DatabaseWord(term.Text)))
            return true;
    }
    return false;
}

} // namespace mz
