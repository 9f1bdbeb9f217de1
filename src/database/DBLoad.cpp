#include "DB.h"

#include "DBCache.h"
#include "DBData.h"
#include "documents/DataAccess.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <tuple>

namespace mz {

namespace {

// The edition number sits in plain bytes 60 to 63 of the header.
int32_t EditionOf(const TRecordHeader& header)
{
    return static_cast<int32_t>(static_cast<uint32_t>(header[60]) | static_cast<uint32_t>(header[61]) << 8
                                | static_cast<uint32_t>(header[62]) << 16 | static_cast<uint32_t>(header[63]) << 24);
}

} // namespace

template <class Read> void TDB::LoadWith(const std::string& fileName, const TDBLoadFilter& filter, Read&& read)
{
    auto data = std::make_shared<TDBData>();
    // Every failure of the whole load, checksum and inconsistent records
    // included, reaches the caller as the one loading error; the records read
    // before it stay, all in Words.
    try {
        read([&](const TRecordHeader& header) { data->Edition = EditionOf(header); },
             [&](const TDataFromBuf& record) {
                 if (record.RecType != DBRecEnd)
                     data->AddRecord(record.RecType, record.Data, fileName);
             });
    } catch (...) {
        data->Seal();
        Adopt(std::move(data), fileName);
        SaveOriginal();
        throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
    }
    data->Seal();
    Adopt(std::move(data), fileName);
    ApplyLengthLimits(filter);
    SaveOriginal();
}

void TDB::Load(const std::string& fileName, const TDBLoadFilter& filter)
{
    LoadWith(fileName, filter, [&](const THeaderHandler& onHeader, const TRecordHandler& onRecord) {
        ReadRecordFile(fileName, onHeader, onRecord);
    });
}

void TDB::LoadData(std::string_view bytes, const std::string& fileName, const TDBLoadFilter& filter)
{
    LoadWith(fileName, filter, [&](const THeaderHandler& onHeader, const TRecordHandler& onRecord) {
        ReadRecordData(bytes, fileName, onHeader, onRecord);
    });
}

void TDB::LoadRecords(int32_t edition, const std::vector<TDBFileRecord>& records, const std::string& fileName,
                      const TDBLoadFilter& filter)
{
    LoadWith(fileName, filter, [&](const THeaderHandler& onHeader, const TRecordHandler& onRecord) {
        TRecordHeader header{};
        for (int i = 0; i < 4; ++i)
            header[60 + i] = static_cast<uint8_t>(static_cast<uint32_t>(edition) >> (8 * i));
        onHeader(header);
        for (const auto& record : records) {
            onRecord(TDataFromBuf{record.Text, record.Kind});
            if (record.Kind == DBRecEnd)
                break;
        }
    });
}

namespace {

// The files parsed so far in this process, each with the state its length
// limits give, so that a composing run or a restart never reads a file again.
struct TSharedFile {
    std::filesystem::file_time_type Time;
    uintmax_t Size = 0;
    uint64_t Inode = 0;
    std::shared_ptr<const TDBData> Data;
    std::map<std::tuple<int32_t, int32_t, int32_t, bool, bool>, std::shared_ptr<const TDBState>> States;
};

std::mutex SharedFilesLock;
std::map<std::string, TSharedFile> SharedFiles;

} // namespace

void TDB::LoadShared(const std::string& fileName, const TDBLoadFilter& filter)
{
    std::error_code ec;
    const std::filesystem::path path(fileName);
    const auto time = std::filesystem::last_write_time(path, ec);
    const auto size = ec ? 0 : std::filesystem::file_size(path, ec);
    struct stat info { };
    if (ec || ::stat(fileName.c_str(), &info) != 0) {
        Load(fileName, filter); // reports the missing file as Load does
        return;
    }
    // The state after the filter is kept per length limits and least score; a
    // filter with words set aside changes between runs, so it is applied anew.
    const std::tuple<int32_t, int32_t, int32_t, bool, bool> limits{filter.MinLenPWord, filter.MaxLenPWord,
                                                                   filter.MinScore, filter.SchoolSafe,
                                                                   filter.RareAsReserve};
    const bool keepState = !filter.SetAside || filter.SetAside->empty();
    std::unique_lock lock(SharedFilesLock);
    auto it = SharedFiles.find(fileName);
    if (it == SharedFiles.end() || it->second.Time != time || it->second.Size != size
        || it->second.Inode != static_cast<uint64_t>(info.st_ino)) {
        lock.unlock();
        LoadCached(fileName, TDBCache::PathFor(fileName), filter);
        lock.lock();
        TSharedFile& file = SharedFiles[fileName];
        file = TSharedFile{time, size, static_cast<uint64_t>(info.st_ino), Data, {}};
        if (keepState)
            file.States[limits] = Original;
        return;
    }
    TSharedFile& file = it->second;
    Adopt(file.Data, fileName);
    const auto state = keepState ? file.States.find(limits) : file.States.end();
    if (state == file.States.end()) {
        lock.unlock();
        ApplyLengthLimits(filter);
        SaveOriginal();
        lock.lock();
        if (keepState)
            SharedFiles[fileName].States[limits] = Original;
        return;
    }
    Original = state->second;
    PreferredMinScore = filter.RareAsReserve ? filter.MinScore : 0;
    Lists = Original->Lists;
    Keys = Original->Keys;
    std::copy(std::begin(Original->Counts), std::end(Original->Counts), Counts);
    std::copy(std::begin(Original->FrontKeys), std::end(Original->FrontKeys), FrontKeys);
    if (!Recs.empty())
        LinkRecords();
}

bool TDB::LoadCached(const std::string& fileName, const std::string& cacheFile, const TDBLoadFilter& filter)
{
    TDBSourceStamp stamp;
    const bool known = TDBSourceStamp::Of(fileName, stamp);
    if (auto mapped = known ? TDBCache::Map(cacheFile, stamp) : nullptr) {
        Adopt(std::move(mapped), fileName);
        ApplyLengthLimits(filter);
        SaveOriginal();
        return true;
    }
    // The stamp is taken before the file is read: a file changed meanwhile
    // leaves a cache file that matches neither state.
    Load(fileName, filter);
    if (known)
        TDBCache::Write(cacheFile, stamp, *Data);
    return false;
}

void TDB::ShareWords(const TDB& from, const TDBLoadFilter& filter)
{
    Adopt(from.Data, from.FileName_);
    ApplyLengthLimits(filter);
    SaveOriginal();
}

TDBStatistics ReadDBStatistics(const std::string& fileName)
{
    TDB db;
    db.Load(fileName, TDBLoadFilter{2, 255});
    return DBStatisticsOf(db);
}

TDBStatistics DBStatisticsOf(const TDB& db)
{
    TDBStatistics stats;
    stats.Edition = db.Edition();
    stats.WordCount = db.WordCount();
    // The bounds of the words that are composed from; an excluded word's
    // record raised MinLen/MaxLen before it was dropped.
    stats.SkippedWords = db.SkippedWords();
    stats.RefusedSounds = db.RefusedSounds();
    for (uint32_t id = 0; id < static_cast<uint32_t>(db.RecordCount()); ++id) {
        if (db.ListOf(id) != dlWords)
            continue;
        const std::string_view lines = db.ExplLines(id);
        for (size_t pos = lines.find("\r\n"); pos != std::string::npos; pos = lines.find("\r\n", pos + 2))
            ++stats.ExplCount;
        const size_t len = db.Word(id).size();
        stats.MinLen = std::min(stats.MinLen, static_cast<int32_t>(len));
        stats.MaxLen = std::max(stats.MaxLen, static_cast<int32_t>(len));
        if (stats.WordsPerLength.size() <= len)
            stats.WordsPerLength.resize(len + 1, 0);
        ++stats.WordsPerLength[len];
    }
    return stats;
}

} // namespace mz
