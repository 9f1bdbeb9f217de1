#include "DB.h"

#include "DBData.h"

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

// Whether `word`, laid with the first occurrence of `anchor` on the pattern's
// anchor at p (from 1), leaves a free cell before and after it and matches
// every letter of the pattern it covers. It may run past the pattern's end.
bool FitsAtFirstOccurrence(std::string_view word, std::string_view pattern, std::string_view anchor, size_t p)
{
    const size_t len = pattern.size();
    const size_t n = word.size();
    if (n > len)
        return false;
    const size_t pos = word.find(anchor);
    if (pos == std::string_view::npos)
        return false;
    const size_t q = pos + 1;
    if (q > p)
        return false;
    auto at = [&](size_t i) { return pattern[i - 1]; }; // 1-based
    if (q < p && at(p - q) != ' ')
        return false;
    if (n - q < len - p && at(p - q + n + 1) != ' ')
        return false;
    for (size_t j = 1; j <= n && p - q + j <= len; ++j)
        if (at(p - q + j) != ' ' && at(p - q + j) != word[j - 1])
            return false;
    return true;
}

} // namespace

TDB::TDB(TDBQueryMode mode) : Mode(mode)
{
}

TDB::~TDB() = default;

void TDB::Clear()
{
    Data.reset();
    WordText = {};
    WordAt = nullptr;
    Lists.clear();
    Keys.clear();
    Original.reset();
    Moved.clear();
    WasMoved.clear();
    Recs.clear();
    for (auto& head : Heads)
        head = nullptr;
    Active.reset();
    FitAnswers.Clear();
    FileName_.clear();
    for (auto& count : Counts)
        count = 0;
    for (auto& key : FrontKeys)
        key = 0;
    Edition_ = -1;
}

// Takes the file's records as the load read them: all in Words, the first
// record at the back, as if each had been put at the front in file order.
void TDB::Adopt(std::shared_ptr<const TDBData> data, const std::string& fileName)
{
    Clear();
    Data = std::move(data);
    WordText = Data->AllWords();
    WordAt = Data->WordStarts();
    FileName_ = fileName;
    Edition_ = Data->Edition;
    MinLen_ = std::min(MinLen_, Data->MinLen);
    MaxLen_ = std::max(MaxLen_, Data->MaxLen);
    const auto n = static_cast<int32_t>(Data->Count());
    Lists.assign(n, dlWords);
    Keys.resize(n);
    for (int32_t id = 0; id < n; ++id)
        Keys[id] = -(id + 1);
    WasMoved.assign(n, 0);
    Counts[dlWords] = n;
    FrontKeys[dlWords] = -n;
    if (Mode == qmPlain)
        EnsureRecords();
}

void TDB::SaveOriginal()
{
    auto state = std::make_shared<TDBState>();
    state->Lists = Lists;
    state->Keys = Keys;
    std::copy(std::begin(Counts), std::end(Counts), state->Counts);
    std::copy(std::begin(FrontKeys), std::end(FrontKeys), state->FrontKeys);
    Original = std::move(state);
    for (const uint32_t id : Moved)
        WasMoved[id] = 0;
    Moved.clear();
}

void TDB::Restore()
{
    if (!Original)
        return;
    for (const uint32_t id : Moved) {
        WasMoved[id] = 0;
        Lists[id] = Original->Lists[id];
        Keys[id] = Original->Keys[id];
        if (Active)
            Active->Set(id, Lists[id] == dlWords);
    }
    Moved.clear();
    std::copy(std::begin(Original->Counts), std::end(Original->Counts), Counts);
    std::copy(std::begin(Original->FrontKeys), std::end(Original->FrontKeys), FrontKeys);
    if (!Recs.empty())
        LinkRecords();
}

int32_t TDB::SkippedWords() const
{
    return Data ? Data->SkippedWords : 0;
}

int32_t TDB::RefusedSounds() const
{
    return Data ? Data->RefusedSounds : 0;
}

int32_t TDB::RecordCount() const
{
    return Data ? static_cast<int32_t>(Data->Count()) : 0;
}

std::string_view TDB::ExplLines(uint32_t id) const
{
    return Data->ExplLines(id);
}

int32_t TDB::Score(uint32_t id) const
{
    return Data->Score(id);
}

std::string_view TDB::AudioLines(uint32_t id) const
{
    return Data->AudioLines(id);
}

bool TDB::HasDuplicates() const
{
    return Data && Data->HasDuplicates();
}

// The records of one chain, front first.
std::vector<uint32_t> TDB::ChainIds(TDBList list) const
{
    std::vector<uint32_t> ids;
    ids.reserve(Counts[list]);
    // Before anything moved, Words runs from the last record to the first.
    for (auto id = static_cast<int64_t>(Lists.size()) - 1; id >= 0; --id)
        if (Lists[id] == list)
            ids.push_back(static_cast<uint32_t>(id));
    if (!std::is_sorted(ids.begin(), ids.end(), [&](uint32_t a, uint32_t b) { return Keys[a] < Keys[b]; }))
        std::sort(ids.begin(), ids.end(), [&](uint32_t a, uint32_t b) { return Keys[a] < Keys[b]; });
    return ids;
}

void TDB::EnsureRecords() const
{
    if (!Recs.empty() || Lists.empty())
        return;
    Recs.resize(Lists.size());
    for (uint32_t id = 0; id < Recs.size(); ++id) {
        TDBRec& rec = Recs[id];
        rec.Id = id;
        rec.PWord = Data->Word(id);
        rec.ExplLines = Data->ExplLines(id);
        rec.AudioLines = Data->AudioLines(id);
        rec.Score = Data->Score(id);
        rec.Register = Data->Register(id);
    }
    LinkRecords();
}

void TDB::LinkRecords() const
{
    for (const TDBList list : {dlWords, dlUsedWords, dlExcludedWords}) {
        TDBRec* prev = nullptr;
        Heads[list] = nullptr;
        for (const uint32_t id : ChainIds(list)) {
            TDBRec& rec = Recs[id];
            rec.Prev = prev;
            rec.Next = nullptr;
            if (prev)
                prev->Next = &rec;
            else
                Heads[list] = &rec;
            prev = &rec;
        }
    }
}

const TDBActive& TDB::EnsureActive() const
{
    if (!Active) {
        Active = std::make_unique<TDBActive>(Data->Index(), *Data);
        Active->SetAll(Lists, dlWords);
    }
    return *Active;
}

void TDB::SetQueryActive(uint32_t id, bool active)
{
    if (Mode == qmIndexed && Lists[id] != dlWords)
        const_cast<TDBActive&>(EnsureActive()).Set(id, active);
}

// Unlinks the record from its chain and puts it at the front of `to`.
void TDB::Move(uint32_t id, TDBList to)
{
    const auto from = static_cast<TDBList>(Lists[id]);
    if (!Recs.empty()) {
        TDBRec& rec = Recs[id];
        if (rec.Prev)
            rec.Prev->Next = rec.Next;
        else
            Heads[from] = rec.Next;
        if (rec.Next)
            rec.Next->Prev = rec.Prev;
        rec.Prev = nullptr;
        rec.Next = Heads[to];
        if (rec.Next)
            rec.Next->Prev = &rec;
        Heads[to] = &rec;
    }
    --Counts[from];
    ++Counts[to];
    Lists[id] = to;
    Keys[id] = --FrontKeys[to];
    if (Active && (from == dlWords) != (to == dlWords))
        Active->Set(id, to == dlWords);
    if (!WasMoved[id]) {
        WasMoved[id] = 1;
        Moved.push_back(id);
    }
}

bool TDB::Reserve(uint32_t id) const
{
    const int32_t score = Data->Score(id);
    return score >= 0 && score < PreferredMinScore;
}

void TDB::ApplyLengthLimits(const TDBLoadFilter& filter)
{
    PreferredMinScore = filter.RareAsReserve ? filter.MinScore : 0;
    const int32_t minLen = filter.MinLenPWord;
    const int32_t maxLen = filter.MaxLenPWord;
    for (const uint32_t id : ChainIds(dlWords)) {
        const auto len = static_cast<int64_t>(Data->Length(id));
        const int32_t score = Data->Score(id);
        const bool rare = score >= 0 && score < filter.MinScore && !filter.RareAsReserve;
        if (len < minLen || len > maxLen || rare || !RegisterAllowed(Data->Register(id), filter.SchoolSafe)
            || (filter.SetAside && filter.SetAside->count(std::string(Data->Word(id)))))
            Move(id, dlExcludedWords);
    }
}

int64_t TDB::FirstEqual(TDBList list, std::string_view word) const
{
    if (!Data)
        return -1;
    if (Mode == qmIndexed) {
        int64_t first = -1;
        Data->ForEachEqual(word, [&](uint32_t id) {
            if (Lists[id] == list && (first < 0 || Keys[id] < Keys[first]))
                first = id;
        });
        return first;
    }
    for (const TDBRec* rec = Head(list); rec; rec = rec->Next)
        if (rec->PWord == word)
            return rec->Id;
    return -1;
}

void TDB::MarkUsed(std::string_view word)
{
    const int64_t id = FirstEqual(dlWords, word);
    if (id >= 0)
        Move(static_cast<uint32_t>(id), dlUsedWords);
}

void TDB::ReleaseUsed(std::string_view word)
{
    const int64_t id = FirstEqual(dlUsedWords, word);
    if (id >= 0)
        Move(static_cast<uint32_t>(id), dlWords);
}

// Without a second record of the same word the record itself is the first equal one.
void TDB::MarkUsedRecord(uint32_t id)
{
    if (Mode == qmPlain || HasDuplicates())
        MarkUsed(Word(id));
    else if (Lists[id] == dlWords)
        Move(id, dlUsedWords);
}

void TDB::ReleaseUsedRecord(uint32_t id)
{
    if (Mode == qmPlain || HasDuplicates())
        ReleaseUsed(Word(id));
    else if (Lists[id] == dlUsedWords)
        Move(id, dlWords);
}

int64_t TDB::FindWord(std::string_view word) const
{
    const int64_t used = FirstEqual(dlUsedWords, word);
    return used >= 0 ? used : FirstEqual(dlWords, word);
}

const TDBRec* TDB::FindRecord(std::string_view word) const
{
    const int64_t id = FindWord(word);
    if (id < 0)
        return nullptr;
    EnsureRecords();
    return &Recs[id];
}

void TDB::FindCandidates(std::string_view pattern, std::string_view anchor, TPWordLists& list, TDBList source)
{
    std::vector<TDBCandidate> found;
    if (source == dlWords)
        FindCandidates(pattern, anchor, found);
    else
        FindCandidatesPlain(pattern, anchor, found, source);
    list.clear();
    list.reserve(found.size());
    for (const TDBCandidate& c : found)
        list.push_back(TPWordList{std::string(Word(c.Word)), c.Offset, Reserve(c.Word) ? 1 : 0});
    FoundCount_ = static_cast<int32_t>(list.size());
}

void TDB::FindCandidates(std::string_view pattern, std::string_view anchor, std::vector<TDBCandidate>& list,
                         bool ordered)
{
    list.clear();
    FoundCount_ = 0;
    if (!Data)
        return;
    if (Mode == qmPlain || pattern.size() > TDBIndex::MaxLength) {
        FindCandidatesPlain(pattern, anchor, list, dlWords);
        FoundCount_ = static_cast<int32_t>(list.size());
        return;
    }
    const TDBActive& active = EnsureActive();
    // The walk visits Words from the front and each word's occurrences from the
    // left, putting every node at the front of the list: the list runs from the
    // back of Words, and a word's later occurrences come first. A record that
    // never moved keeps the key -(number + 1), so those run in file order; the
    // records put back at the front of Words follow, the earliest first.
    const uint64_t unmovedTop = static_cast<uint64_t>(Lists.size()) + 1;
    auto rank = [&](uint32_t id) {
        return WasMoved[id] ? unmovedTop - static_cast<int64_t>(Keys[id]) : static_cast<uint64_t>(id);
    };
    auto byOrder = [](const TDBCandidate& x, const TDBCandidate& y) { return x.Order < y.Order; };
    if (AllSpaces(pattern)) {
        // Every active word that is not longer than the stretch, from the length groups.
        std::vector<uint32_t>& ids = Ids;
        ids.clear();
        for (size_t n = 0; n <= pattern.size(); ++n)
            Data->Index().ActiveIds(active, n, ids);
        list.reserve(ids.size());
        for (const uint32_t id : ids)
            list.push_back(TDBCandidate{id, 0, rank(id)});
        if (ordered)
            std::sort(list.begin(), list.end(), byOrder);
    } else {
        const size_t p = AnchorPosition(pattern, anchor);
        if (p == 0)
            return;
        std::vector<TDBIndex::THit>& hits = Hits;
        hits.clear();
        Data->Index().FindCandidates(active, pattern, anchor, p, hits);
        list.reserve(hits.size());
        for (const TDBIndex::THit& hit : hits)
            list.push_back(TDBCandidate{hit.Id, static_cast<uint8_t>(hit.Q - 1), rank(hit.Id) << 8 | (255 - hit.Q)});
        if (ordered)
            std::sort(list.begin(), list.end(), byOrder);
    }
    FoundCount_ = static_cast<int32_t>(list.size());
}

void TDB::FindFitting(std::string_view pattern, std::vector<uint32_t>& ids) const
{
    ids.clear();
    if (!Data)
        return;
    if (Mode == qmIndexed && pattern.size() <= TDBIndex::MaxLength) {
        Data->Index().FitExactly(EnsureActive(), pattern, ids);
        return;
    }
    for (uint32_t id = 0; id < Data->Count(); ++id) {
        const std::string_view word = Word(id);
        if (ListOf(id) != dlWords || word.size() != pattern.size())
            continue;
        bool fits = true;
        for (size_t i = 0; i < word.size() && fits; ++i)
            fits = pattern[i] == ' ' || pattern[i] == word[i];
        if (fits)
            ids.push_back(id);
    }
}

size_t TDB::CountCandidates(std::string_view pattern, std::string_view anchor, size_t limit)
{
    if (!Data || limit == 0)
        return 0;
    if (Mode == qmPlain || pattern.size() > TDBIndex::MaxLength) {
        std::vector<TDBCandidate> list;
        FindCandidatesPlain(pattern, anchor, list, dlWords);
        return std::min(list.size(), limit);
    }
    const TDBActive& active = EnsureActive();
    if (AllSpaces(pattern)) {
        size_t count = 0;
        for (size_t n = 0; n <= pattern.size() && count < limit; ++n)
            count += static_cast<size_t>(active.ByLength[n]);
        return std::min(count, limit);
    }
    const size_t p = AnchorPosition(pattern, anchor);
    if (p == 0)
        return 0;
    Hits.clear();
    Data->Index().FindCandidates(active, pattern, anchor, p, Hits, limit);
    return Hits.size();
}

bool TDB::AnyWordFits(std::string_view pattern, std::string_view anchor, TDBList source) const
{
    if (!Data || Mode == qmPlain || source != dlWords || pattern.size() > TDBIndex::MaxLength)
        return AnyWordFitsPlain(pattern, anchor, source);
    if (pattern.empty())
        return true;
    const TDBActive& active = EnsureActive();
    if (AllSpaces(pattern)) {
        for (size_t n = 0; n <= pattern.size(); ++n)
            if (active.ByLength[n] > 0)
                return true;
        return false;
    }
    const size_t p = AnchorPosition(pattern, anchor);
    if (p == 0)
        return false;
    // The composer asks the same questions step after step while the lists
    // change little: an answer is kept with the record that fitted, which
    // holds while that record stays active, or, when nothing fitted, with the
    // count of activations, which holds until a record that fits becomes active.
    if (TFitCache::TAnswer* answer = FitAnswers.Find(pattern, p, anchor.size())) {
        if (answer->Witness >= 0) {
            if (active.IsSet(static_cast<uint32_t>(answer->Witness)))
                return true;
        } else if (answer->Activations >= active.LogBase
                   && active.Activations - answer->Activations <= MaxActivationsChecked) {
            // Nothing fitted then: only a record activated since can fit now.
            int64_t witness = -1;
            for (uint64_t i = answer->Activations; i < active.Activations && witness < 0; ++i) {
                const uint32_t id = active.Activated[i - active.LogBase];
                if (FitsAtFirstOccurrence(Word(id), pattern, anchor, p) && active.IsSet(id))
                    witness = id;
            }
            *answer = TFitCache::TAnswer{witness, active.Activations};
            return witness >= 0;
        }
        const int64_t witness = Data->Index().FirstFit(active, pattern, anchor, p);
        *answer = TFitCache::TAnswer{witness, active.Activations};
        return witness >= 0;
    }
    const int64_t witness = Data->Index().FirstFit(active, pattern, anchor, p);
    FitAnswers.Keep(pattern, p, anchor.size(), TFitCache::TAnswer{witness, active.Activations});
    return witness >= 0;
}

// The reference walk: every record of the source from the front, every
// non-overlapping occurrence of the anchor up to the pattern's anchor.
void TDB::FindCandidatesPlain(std::string_view pattern, std::string_view anchor, std::vector<TDBCandidate>& list,
                              TDBList source)
{
    list.clear();
    const size_t len = pattern.size();
    const size_t lenA = anchor.size();
    const size_t p = AnchorPosition(pattern, anchor);
    // Nodes are collected in walk order and reversed at the end, which is the
    // order of a chain that receives each node at its front.
    if (AllSpaces(pattern)) {
        for (const TDBRec* rec = Head(source); rec; rec = rec->Next)
            if (rec->PWord.size() <= len)
                list.push_back(TDBCandidate{rec->Id, 0, 0});
    } else if (lenA > 0) {
        auto at = [&](size_t i) { return pattern[i - 1]; }; // 1-based
        for (const TDBRec* rec = Head(source); rec; rec = rec->Next) {
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
                    list.push_back(TDBCandidate{rec->Id, static_cast<uint8_t>(q - 1), 0});
            }
        }
    }
    std::reverse(list.begin(), list.end());
    for (size_t i = 0; i < list.size(); ++i)
        list[i].Order = i;
}

bool TDB::AnyWordFitsPlain(std::string_view pattern, std::string_view anchor, TDBList source) const
{
    const size_t len = pattern.size();
    if (len == 0)
        return true;
    if (AllSpaces(pattern)) {
        for (const TDBRec* rec = Head(source); rec; rec = rec->Next)
            if (rec->PWord.size() <= len)
                return true;
        return false;
    }
    const size_t p = AnchorPosition(pattern, anchor);
    if (p == 0)
        return false;
    for (const TDBRec* rec = Head(source); rec; rec = rec->Next)
        if (FitsAtFirstOccurrence(rec->PWord, pattern, anchor, p))
            return true;
    return false;
}

std::string EditionName(int32_t edition)
{
    return edition > 101 ? "rozszerzona" : "podstawowa";
}

} // namespace mz
