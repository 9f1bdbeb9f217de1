#pragma once

#include "database/DB.h"

#include <memory>
#include <string>
#include <vector>

namespace mz::test {

// A database of the given words in file order, each with one explanation.
inline std::unique_ptr<TDB> WordsDB(const std::vector<std::string>& words, TDBQueryMode mode,
                                    const TDBLoadFilter& filter = {})
{
    std::vector<TDBFileRecord> records;
    for (const auto& w : words) {
        records.push_back({DBRecWord, w});
        records.push_back({DBRecExplanation, "o " + w});
    }
    records.push_back({DBRecEnd, {}});
    auto db = std::make_unique<TDB>(mode);
    db->LoadRecords(101, records, "test.hk", filter);
    return db;
}

inline std::vector<std::string> Chain(const TDBRec* head)
{
    std::vector<std::string> words;
    for (const TDBRec* rec = head; rec; rec = rec->Next)
        words.push_back(rec->PWord);
    return words;
}

// "WORD/offset" for every candidate, head first.
inline std::vector<std::string> Described(const TPWordLists& list)
{
    std::vector<std::string> out;
    for (const auto& node : list)
        out.push_back(node.PWord + "/" + std::to_string(node.Offset));
    return out;
}

// A pattern written with '.' for free cells.
inline std::string Pat(std::string text)
{
    for (char& c : text)
        if (c == '.')
            c = ' ';
    return text;
}

} // namespace mz::test
