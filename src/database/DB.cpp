#include "DB.h"

#include "DBIndex.h"

#include <algorithm>

namespace mz {

namespace {

bool AllSpaces(std::string_view pattern)
{
    return pattern.find_first_not_of(' ') == std::string_view::npos;
}

// The position (from 1) of the anchor's first occurrence in the pattern; 0 for
// an empty or absent anchor.
size_t AnchorPosition(std::string_view pattern, std::string_view anchor)
{
    if (anchor.empty())
        return 0;
    const size_t pos = pattern.find(anchor);
    return pos == std::string_view::npos ? 0 : pos + 1;
}

} // namespace

TDB::TDB(TDBQueryMode mode) : Mode(mode) {}

TDB::~TDB()
{
    FreeAll();
}

void TDB::FreeAll()
{
    Index.reset();
    IndexDirty = true;
    for (auto& head : Heads) {
        while (head) {
            TDBRec* next = head->Next;
            delete head;
            head = next;
        }
    }
    LastWord = nullptr;
    Dropped.reset();
}

void TDB::Clear()
{
    FreeAll();
    FileName_.clear();
    for (auto& count : Counts)
        count = 0;
    Edition_ = -1;
}

void TDB::PushFront(TDBRec* rec, TDBList list)
{
    rec->List = list;
    rec->OrderKey = --FrontKeys[list];
    rec->Prev = nullptr;
    rec->Next = Heads[list];
    if (rec->Next)
        rec->Next->Prev = rec;
    Heads[list] = rec;
    ++Counts[list];
    if (Index && !IndexDirty && list == dlWords)
        Index->SetActive(rec, true);
}

void TDB::Unlink(TDBRec* rec)
{
    const auto list = static_cast<TDBList>(rec->List);
    if (rec->Prev)
        rec->Prev->Next = rec->Next;
    else
        Heads[list] = rec->Next;
    if (rec->Next)
        rec->Next->Prev = rec->Prev;
    rec->Next = rec->Prev = nullptr;
    --Counts[list];
    if (Index && !IndexDirty && list == dlWords)
        Index->SetActive(rec, false);
}

void TDB::AddRecord(uint8_t kind, const std::string& text)
{
    switch (kind) {
    case DBRecWord: {
        const auto len = static_cast<int32_t>(text.size());
        MaxLen_ = std::max(MaxLen_, len);
        MinLen_ = std::min(MinLen_, len);
        auto* rec = new TDBRec;
        rec->PWord = text;
        IndexDirty = true;
        PushFront(rec, dlWords);
        LastWord = rec;
        break;
    }
    case DBRecExplanation:
        // An explanation or a sound before the first word has no owner: the
        // file is malformed.
        if (!LastWord)
            throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, FileName_));
        LastWord->ExplLines += text;
        LastWord->ExplLines += "\r\n";
        break;
    case DBRecAudio:
        if (!LastWord)
            throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, FileName_));
        LastWord->AudioLines = text;
        break;
    case DBRecExcluded:
        if (!LastWord)
            throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, FileName_));
        if (LastWord != Dropped.get()) {
            Unlink(LastWord);
            Dropped.reset(LastWord);
        }
        break;
    default:
        break;
    }
}

void TDB::ApplyLengthLimits(const TDBLoadFilter& filter)
{
    const int32_t minLen = filter.MinLenPWord;
    const int32_t maxLen = filter.MaxLenPWord;
    TDBRec* rec = Heads[dlWords];
    while (rec) {
        TDBRec* next = rec->Next;
        const auto len = static_cast<int64_t>(rec->PWord.size());
        if (len < minLen || len > maxLen) {
            Unlink(rec);
            PushFront(rec, dlExcludedWords);
        }
        rec = next;
    }
}

TDBIndex& TDB::EnsureIndex() const
{
    if (!Index)
        Index = std::make_unique<TDBIndex>();
    if (IndexDirty) {
        Index->Build(Heads[dlWords], Heads[dlUsedWords]);
        IndexDirty = false;
    }
    return *Index;
}

TDBRec* TDB::FirstEqual(TDBList list, std::string_view word) const
{
    if (Mode == qmIndexed && list != dlExcludedWords) {
        const auto* recs = EnsureIndex().RecordsOf(word);
        TDBRec* first = nullptr;
        if (recs)
            for (TDBRec* rec : *recs)
                if (rec->List == list && (!first || rec->OrderKey < first->OrderKey))
                    first = rec;
        return first;
    }
    for (TDBRec* rec = Heads[list]; rec; rec = rec->Next)
        if (rec->PWord == word)
            return rec;
    return nullptr;
}

void TDB::MarkUsed(std::string_view word)
{
    if (TDBRec* rec = FirstEqual(dlWords, word)) {
        Unlink(rec);
        PushFront(rec, dlUsedWords);
    }
}

void TDB::ReleaseUsed(std::string_view word)
{
    if (TDBRec* rec = FirstEqual(dlUsedWords, word)) {
        Unlink(rec);
        PushFront(rec, dlWords);
    }
}

const TDBRec* TDB::FindRecord(std::string_view word) const
{
    if (const TDBRec* rec = FirstEqual(dlUsedWords, word))
        return rec;
    return FirstEqual(dlWords, word);
}

void TDB::FindCandidates(std::string_view pattern, std::string_view anchor, TPWordLists& list, TDBList source)
{
    if (Mode == qmPlain || source != dlWords || pattern.size() > TDBIndex::MaxLength || AllSpaces(pattern)) {
        FindCandidatesPlain(pattern, anchor, list, source);
        return;
    }
    list.clear();
    FoundCount_ = 0;
    const size_t p = AnchorPosition(pattern, anchor);
    if (p == 0)
        return;
    std::vector<TDBIndex::THit> hits;
    EnsureIndex().FindCandidates(pattern, anchor, p, hits);
    // The walk visits Words from the front and each word's occurrences from the
    // left, putting every node at the front of the list: the list runs backwards.
    std::sort(hits.begin(), hits.end(), [](const auto& a, const auto& b) {
        return a.OrderKey != b.OrderKey ? a.OrderKey > b.OrderKey : a.Q > b.Q;
    });
    list.reserve(hits.size());
    for (const auto& hit : hits)
        list.push_back(TPWordList{std::string(hit.Word), static_cast<uint8_t>(hit.Q - 1), 0});
    FoundCount_ = static_cast<int32_t>(list.size());
}

bool TDB::AnyWordFits(std::string_view pattern, std::string_view anchor, TDBList source) const
{
    if (Mode == qmPlain || source != dlWords || pattern.size() > TDBIndex::MaxLength)
        return AnyWordFitsPlain(pattern, anchor, source);
    if (pattern.empty())
        return true;
    if (AllSpaces(pattern))
        return EnsureIndex().AnyActiveUpTo(pattern.size());
    const size_t p = AnchorPosition(pattern, anchor);
    if (p == 0)
        return false;
    return EnsureIndex().AnyWordFits(pattern, anchor, p);
}

// The reference walk: every record of the source from the front, every
// non-overlapping occurrence of the anchor up to the pattern's anchor.
void TDB::FindCandidatesPlain(std::string_view pattern, std::string_view anchor, TPWordLists& list, TDBList source)
{
    list.clear();
    FoundCount_ = 0;
    const size_t len = pattern.size();
    const size_t lenA = anchor.size();
    const size_t p = AnchorPosition(pattern, anchor);
    // Nodes are collected in walk order and reversed at the end, which is the
    // order of a chain that receives each node at its front.
    if (AllSpaces(pattern)) {
        for (const TDBRec* rec = Heads[source]; rec; rec = rec->Next)
            if (rec->PWord.size() <= len)
                list.push_back(TPWordList{rec->PWord, 0, 0});
    } else if (lenA > 0) {
        auto at = [&](size_t i) { return pattern[i - 1]; }; // 1-based
        for (const TDBRec* rec = Heads[source]; rec; rec = rec->Next) {
            const std::string_view w = rec->PWord;
            const size_t n = w.size();
            if (n > len)
                continue;
            for (size_t pos = w.find(anchor); pos != std::string_view::npos; pos = w.find(anchor, pos + lenA)) {
                const size_t q = pos + 1;
                if (q > p)
                    break;
                if (len - p < n - q)
                    continue;
                if (q < p && at(p - q) != ' ')
                    continue;
                if (p - q + n + 1 <= len && at(p - q + n + 1) != ' ')
                    continue;
                bool fits = true;
                for (size_t j = 1; j <= n && p - q + j <= len && fits; ++j)
                    fits = at(p - q + j) == ' ' || at(p - q + j) == w[j - 1];
                if (fits)
                    list.push_back(TPWordList{rec->PWord, static_cast<uint8_t>(q - 1), 0});
            }
        }
    }
    std::reverse(list.begin(), list.end());
    FoundCount_ = static_cast<int32_t>(list.size());
}

bool TDB::AnyWordFitsPlain(std::string_view pattern, std::string_view anchor, TDBList source) const
{
    const size_t len = pattern.size();
    if (len == 0)
        return true;
    if (AllSpaces(pattern)) {
        for (const TDBRec* rec = Heads[source]; rec; rec = rec->Next)
            if (rec->PWord.size() <= len)
                return true;
        return false;
    }
    const size_t p = AnchorPosition(pattern, anchor);
    if (p == 0)
        return false;
    auto at = [&](size_t i) { return pattern[i - 1]; };
    for (const TDBRec* rec = Heads[source]; rec; rec = rec->Next) {
        const std::string_view w = rec->PWord;
        const size_t n = w.size();
        if (n > len)
            continue;
        const size_t pos = w.find(anchor);
        if (pos == std::string_view::npos)
            continue;
        const size_t q = pos + 1; // only the first occurrence counts here
        if (q > p)
            continue;
        if (q < p && at(p - q) != ' ')
            continue;
        if (n - q < len - p && at(p - q + n + 1) != ' ')
            continue;
        bool fits = true;
        for (size_t j = 1; j <= n && p - q + j <= len && fits; ++j)
            fits = at(p - q + j) == ' ' || at(p - q + j) == w[j - 1];
        if (fits)
            return true;
    }
    return false;
}

std::string EditionName(int32_t edition)
{
    return edition > 101 ? "rozszerzona" : "podstawowa";
}

} // namespace mz
