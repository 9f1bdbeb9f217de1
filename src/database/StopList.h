#pragma once

#include <iosfwd>
#include <set>
#include <string>
#include <vector>

namespace mz {

// Words a built database leaves out, read from reviewed lists: one word a line
// (UTF-8, any case), '#' starts a comment line, empty lines are skipped. A
// word followed by '*' also names a meaning: every thesaurus sense that lists
// the word among its synonyms is left out of every other word's clues, so the
// harmless words that share that meaning (a bird, a root) keep only their
// ordinary clues.
class TStopList {
public:
    // Throws EDBInvalidOperation naming the file and line of an entry that is
    // not a database word.
    void Add(std::istream& in, const std::string& name);

    // `word` as a database holds it: upper-case CP1250.
    bool Contains(const std::string& word) const { return Words_.count(word) != 0; }
    bool Starred(const std::string& word) const { return Starred_.count(word) != 0; }
    // Whether one of the thesaurus terms (UTF-8, notes allowed) is a starred word.
    bool NamesStarredMeaning(const std::vector<std::string>& terms) const;

    const std::set<std::string>& Words() const { return Words_; }
    bool Empty() const { return Words_.empty(); }

private:
    std::set<std::string> Words_;
    std::set<std::string> Starred_;
};

} // namespace mz
