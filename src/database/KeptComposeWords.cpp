#include "database/KeptComposeWords.h"

#include <sys/stat.h>

#include <system_error>

namespace mz {

TFileStamp TFileStamp::Of(const std::string& fileName)
{
    TFileStamp stamp;
    if (fileName.empty())
        return stamp;
    const std::filesystem::path path(std::u8string(fileName.begin(), fileName.end()));
    struct stat info { };
    std::error_code error;
    if (::stat(path.c_str(), &info) != 0)
        return stamp;
    stamp.Time = std::filesystem::last_write_time(path, error);
    if (error)
        return stamp;
    stamp.Exists = true;
    stamp.Size = static_cast<uintmax_t>(info.st_size);
    stamp.Device = static_cast<uint64_t>(info.st_dev);
    stamp.Inode = static_cast<uint64_t>(info.st_ino);
    return stamp;
}

std::shared_ptr<const TComposeWords> TKeptComposeWords::Read(const std::string& shippedFile,
                                                             const std::string& userFile)
{
    const TFileStamp shipped = TFileStamp::Of(shippedFile);
    const TFileStamp user = TFileStamp::Of(userFile);
    if (Words && shippedFile == ShippedFile && userFile == UserFile && shipped == ShippedStamp && user == UserStamp)
        return Words;
    // Nothing is kept of a read that fails.
    Words.reset();
    auto words = TComposeWords::Read(shippedFile, userFile);
    ShippedFile = shippedFile;
    UserFile = userFile;
    ShippedStamp = shipped;
    UserStamp = user;
    Words = words;
    return words;
}

} // namespace mz
