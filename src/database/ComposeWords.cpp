#include "database/ComposeWords.h"

#include "database/WordBase.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace mz {

namespace {

bool Exists(const std::string& name)
{
    std::error_code ec;
    return !name.empty() && std::filesystem::exists(std::filesystem::path(std::u8string(name.begin(), name.end())), ec);
}

} // namespace

std::shared_ptr<const TComposeWords> TComposeWords::Read(const std::string& shippedFile, const std::string& userFile)
{
    auto words = std::make_shared<TComposeWords>();
    words->ShippedFile = shippedFile;
    if (Exists(userFile)) {
        TWordBase base;
        base.Load(shippedFile, userFile);
        words->Problem_ = base.UserFileProblem();
        words->UsesUserFile_ = base.HasUserFile();
        words->Edition = base.Edition();
        if (words->UsesUserFile_) {
            words->Records = base.Records();
            return words;
        }
    }
    // Without changes the file's own bytes are the snapshot; each load checks them.
    std::ifstream in(std::filesystem::path(std::u8string(shippedFile.begin(), shippedFile.end())), std::ios::binary);
    if (!in)
        throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, shippedFile));
    words->Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return words;
}

std::unique_ptr<TDB> TComposeWords::NewDB(const TDBLoadFilter& filter, TDBQueryMode mode) const
{
    {
        // A load that fails keeps nothing: the next call reports it again.
        std::lock_guard lock(ParseLock);
        if (!Parsed) {
            auto parsed = std::make_unique<TDB>(qmIndexed);
            if (UsesUserFile_)
                parsed->LoadRecords(Edition, Records, ShippedFile);
            else
                parsed->LoadData(Bytes, ShippedFile);
            Parsed = std::move(parsed);
        }
    }
    auto db = std::make_unique<TDB>(mode);
    db->ShareWords(*Parsed, filter);
    return db;
}

TDBStatistics TComposeWords::Statistics() const
{
    return DBStatisticsOf(*NewDB({2, 255}, qmPlain));
}

std::function<std::unique_ptr<TDB>()> ComposeDBSource(std::shared_ptr<const TComposeWords> words,
                                                      const TDBLoadFilter& filter, TDBQueryMode mode)
{
    return [words = std::move(words), filter, mode] { return words->NewDB(filter, mode); };
}

} // namespace mz
