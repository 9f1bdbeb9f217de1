#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace mz {

// One headword of the thesaurus with its senses as listed (UTF-8).
struct TThesaurusEntry {
    struct TSense {
        bool KindMarked = false;        // the sense's kind field carries a vulgar or offensive mark
        std::vector<std::string> Terms; // "term (note) (note)", the kind field left out
    };
    std::string Word;
    std::vector<TSense> Senses;
};

// Which meanings the thesaurus itself marks vulgar or offensive.
//
// The thesaurus marks terms, not headwords: "kutas (wulg.)" among the synonyms
// of CHUJ says that KUTAS is vulgar in that meaning. A sense of headword H
// carries the marked meaning when
//  - H is among the sense's own synonyms with such a mark (a sense listing H
//    without the mark is an ordinary one, whatever the others say), or
//  - H is not listed there, and the sense shares at least half of the smaller
//    of the two synonym sets with a sense of another headword G that lists H
//    with a mark (G counts as a member of its own sense).
// A headword every sense of which carries a marked meaning is vulgar or
// offensive in all its uses. Terms are compared by their text without notes,
// upper-cased.
class TThesaurusMarks {
public:
    explicit TThesaurusMarks(const std::vector<TThesaurusEntry>& entries);

    bool SenseMarked(const std::string& headword, const TThesaurusEntry::TSense& sense) const;
    // `key`: a headword or term as TermKey gives it.
    bool MarkedInAllSenses(const std::string& key) const { return AllMarked.count(key) != 0; }
    const std::unordered_set<std::string>& AllMarkedKeys() const { return AllMarked; }

    // A term's text without its notes, upper-cased CP1250.
    static std::string TermKey(const std::string& utf8Text);

private:
    using TSynset = std::vector<std::string>; // sorted keys
    // For each term marked somewhere: the synonym sets (with their headword) that mark it.
    std::unordered_map<std::string, std::vector<TSynset>> MarkedIn;
    std::unordered_set<std::string> AllMarked;
};

} // namespace mz
