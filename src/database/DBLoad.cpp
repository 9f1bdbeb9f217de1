#include "DB.h"

#include "documents/DataAccess.h"

#include <algorithm>

namespace mz {

namespace {

// The edition number sits in plain bytes 60 to 63 of the header.
int32_t EditionOf(const TRecordHeader& header)
{
    return static_cast<int32_t>(static_cast<uint32_t>(header[60]) | static_cast<uint32_t>(header[61]) << 8 |
                                static_cast<uint32_t>(header[62]) << 16 | static_cast<uint32_t>(header[63]) << 24);
}

} // namespace

template <class Read>
void TDB::LoadWith(const std::string& fileName, const TDBLoadFilter& filter, Read&& read)
{
    Clear();
    FileName_ = fileName;
    // Every failure of the whole load, checksum and inconsistent records
    // included, reaches the caller as the one loading error.
    try {
        read([&](const TRecordHeader& header) { Edition_ = EditionOf(header); },
             [&](const TDataFromBuf& record) {
                 if (record.RecType != DBRecEnd)
                     AddRecord(record.RecType, record.Data);
             });
    } catch (...) {
        LastWord = nullptr;
        Dropped.reset();
        throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
    }
    LastWord = nullptr;
    Dropped.reset();
    ApplyLengthLimits(filter);
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
    LoadWith(fileName, filter, [&](const THeaderHandler&, const TRecordHandler& onRecord) {
        Edition_ = edition;
        for (const auto& record : records) {
            onRecord(TDataFromBuf{record.Text, record.Kind});
            if (record.Kind == DBRecEnd)
                break;
        }
    });
}

TDBStatistics ReadDBStatistics(const std::string& fileName)
{
    TDB db(qmPlain);
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
    for (const TDBRec* rec = db.Words(); rec; rec = rec->Next) {
        const std::string& lines = rec->ExplLines;
        for (size_t pos = lines.find("\r\n"); pos != std::string::npos; pos = lines.find("\r\n", pos + 2))
            ++stats.ExplCount;
        const size_t len = rec->PWord.size();
        stats.MinLen = std::min(stats.MinLen, static_cast<int32_t>(len));
        stats.MaxLen = std::max(stats.MaxLen, static_cast<int32_t>(len));
        if (stats.WordsPerLength.size() <= len)
            stats.WordsPerLength.resize(len + 1, 0);
        ++stats.WordsPerLength[len];
    }
    return stats;
}

} // namespace mz
