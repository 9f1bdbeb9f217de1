#pragma once

#include "composer/Kwelin.h"
#include "database/DB.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mz {

// The parts of a search step, each reached on its own.
struct TCrossKwelinTestAccess {
    TCrossKwelin& Kwelin;

    TCoreData AnalyseLine(const std::string& line, int32_t best) const { return Kwelin.AnalyseLine(line, best); }
    std::string PickLine(const std::string& text) { return Kwelin.PickLine(text); }
    const TList* Top() const { return Kwelin.Top(); }
    bool RunFeasible(const std::string& run, int32_t n, bool reversed) const
    {
        return Kwelin.RunFeasible(run, n, reversed);
    }
    TFilterData CrossPattern(const TPWordCoordinate& slot, int32_t i, const TPWordList& candidate) const
    {
        return Kwelin.CrossPattern(slot, i, candidate);
    }
    bool CrossOK(const TFilterData& data) const { return Kwelin.CrossOK(data); }
    void ScoreCandidates(TPWordLists& list, const TPWordCoordinate& slot) const { Kwelin.ScoreCandidates(list, slot); }
    bool CloseSingleLetter(const TPWordCoordinate& slot) { return Kwelin.CloseSingleLetter(slot); }
    bool FormsRepeat(const TPWordCoordinate& slot, std::string_view word, uint8_t offset) const
    {
        return Kwelin.FormsRepeat(slot, word, offset);
    }
    static bool Crosses(const TPWordCoordinate& s, const TPWordCoordinate& t) { return TCrossKwelin::Crosses(s, t); }
    void Push(TPWordLists candidates, const TPWordCoordinate& slot) { Kwelin.Push(std::move(candidates), slot); }
    TPWordLists Alternatives() { return Kwelin.Alternatives(); }
    void ChooseWord() { Kwelin.ChooseWord(); }
    void PlaceBlocks() { Kwelin.PlaceBlocks(); }
    bool UnwindToAnchor(const TPWordCoordinate& slot) { return Kwelin.UnwindToAnchor(slot); }
    void PruneTop(const TPWordCoordinate& slot) { Kwelin.PruneTop(slot); }
    TTable& MutableTable() { return Kwelin.MutableTable(); }
};

} // namespace mz

namespace mz::test {

inline TCrossKwelinTestAccess Steps(TCrossKwelin& kwelin)
{
    return {kwelin};
}

// A grid from text rows; '.' stands for a free cell so that rows stay readable.
inline TTable Grid(const std::vector<std::string>& rows)
{
    TTable table(static_cast<int32_t>(rows.front().size()), static_cast<int32_t>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            table.SetCell(static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1),
                          rows[r][c] == '.' ? TTable::Free : rows[r][c]);
    return table;
}

inline std::vector<std::string> Rows(const TTable& table)
{
    std::vector<std::string> rows;
    for (int32_t r = 1; r <= table.RowCount(); ++r) {
        std::string row = table.RowLine(r);
        for (char& c : row)
            if (c == TTable::Free)
                c = '.';
        rows.push_back(row);
    }
    return rows;
}

// A handmade database: words in file order, each with the given explanations.
struct TWordEntry {
    std::string PWord;
    std::vector<std::string> Explanations;
    std::string Audio;
};

inline std::unique_ptr<TDB> MakeDB(const std::vector<TWordEntry>& words, TDBQueryMode mode = qmIndexed,
                                   const TDBLoadFilter& filter = {})
{
    std::vector<TDBFileRecord> records;
    for (const auto& w : words) {
        records.push_back({DBRecWord, w.PWord});
        for (const auto& e : w.Explanations)
            records.push_back({DBRecExplanation, e});
        if (!w.Audio.empty())
            records.push_back({DBRecAudio, w.Audio + "\r\n"});
    }
    records.push_back({DBRecEnd, {}});
    auto db = std::make_unique<TDB>(mode);
    db->LoadRecords(101, records, "test.hk", filter);
    return db;
}

inline std::unique_ptr<TDB> MakeDB(const std::vector<std::string>& words, TDBQueryMode mode = qmIndexed)
{
    std::vector<TWordEntry> entries;
    for (const auto& w : words)
        entries.push_back({w, {"clue of " + w}, {}});
    return MakeDB(entries, mode);
}

inline TKwelinSettings Settings(int32_t minLen = 3, bool anyLocation = false)
{
    TKwelinSettings s;
    s.MinLenPWord = minLen;
    s.MaxLenPWord = 16;
    s.AnyWordLocation = anyLocation;
    return s;
}

} // namespace mz::test
