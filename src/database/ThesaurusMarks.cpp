#include "ThesaurusMarks.h"

#include "DBBuilder.h"
#include "core/Cp1250.h"

#include <algorithm>

namespace mz {

namespace {

// The sense's synonyms (no broader or narrower terms, no antonyms) as sorted keys.
std::vector<std::string> SynonymKeys(const TThesaurusEntry::TSense& sense)
{
    std::vector<std::string> keys;
    for (const auto& raw : sense.Terms) {
        const TThesaurusTerm term = ParseThesaurusTerm(raw);
        if (!term.Hypernym && !term.NotSynonym && !term.Text.empty())
            keys.push_back(TThesaurusMarks::TermKey(term.Text));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

std::vector<std::string> Without(std::vector<std::string> keys, const std::string& key)
{
    keys.erase(std::remove(keys.begin(), keys.end(), key), keys.end());
    return keys;
}

size_t CommonCount(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    size_t common = 0;
    for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end();) {
        if (*i < *j) {
            ++i;
        } else if (*j < *i) {
            ++j;
        } else {
            ++common;
            ++i;
            ++j;
        }
    }
    return common;
}

} // namespace

std::string TThesaurusMarks::TermKey(const std::string& utf8Text)
{
    std::string key = Utf8ToCp1250(utf8Text, '?');
    for (char& c : key)
        c = static_cast<char>(Cp1250ToUpper(static_cast<unsigned char>(c)));
    return key;
}

TThesaurusMarks::TThesaurusMarks(const std::vector<TThesaurusEntry>& entries)
{
    for (const auto& entry : entries) {
        const std::string head = TermKey(entry.Word);
        for (const auto& sense : entry.Senses) {
            std::vector<std::string> marked;
            for (const auto& raw : sense.Terms) {
                const TThesaurusTerm term = ParseThesaurusTerm(raw);
                if (term.Offensive && !term.Hypernym && !term.NotSynonym && !term.Text.empty())
                    marked.push_back(TermKey(term.Text));
            }
            if (marked.empty())
                continue;
            std::vector<std::string> synset = SynonymKeys(sense);
            if (!std::binary_search(synset.begin(), synset.end(), head))
                synset.insert(std::lower_bound(synset.begin(), synset.end(), head), head);
            for (const auto& key : marked)
                MarkedIn[key].push_back(synset);
        }
    }
    // A headword may stand in several entries; all of its senses count.
    std::unordered_map<std::string, bool> allMarked;
    for (const auto& entry : entries) {
        const std::string head = TermKey(entry.Word);
        bool all = !entry.Senses.empty();
        for (const auto& sense : entry.Senses)
            all = all && SenseMarked(entry.Word, sense);
        const auto [it, added] = allMarked.try_emplace(head, all);
        if (!added)
            it->second = it->second && all;
    }
    for (const auto& [key, all] : allMarked)
        if (all)
            AllMarked.insert(key);
}

bool TThesaurusMarks::SenseMarked(const std::string& headword, const TThesaurusEntry::TSense& sense) const
{
    if (sense.KindMarked)
        return true;
    const std::string head = TermKey(headword);
    for (const auto& raw : sense.Terms) {
        const TThesaurusTerm term = ParseThesaurusTerm(raw);
        if (!term.Hypernym && !term.NotSynonym && TermKey(term.Text) == head)
            return term.Offensive;
    }
    const auto found = MarkedIn.find(head);
    if (found == MarkedIn.end())
        return false;
    const std::vector<std::string> own = Without(SynonymKeys(sense), head);
    for (const auto& synset : found->second) {
        const std::vector<std::string> other = Without(synset, head);
        if (own.empty() || other.empty())
            continue;
        if (2 * CommonCount(own, other) >= std::min(own.size(), other.size()))
            return true;
    }
    return false;
}

} // namespace mz
