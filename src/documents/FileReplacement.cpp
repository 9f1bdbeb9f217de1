#include "documents/FileReplacement.h"

#include "core/FileIdentity.h"
#include "core/SystemError.h"
#include "documents/DataAccess.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mz {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view TempPrefix = ".~mz";
constexpr std::string_view TempSuffix = ".tmp";
constexpr size_t TempDigits = 8;

bool IsLowerHex(std::string_view text)
{
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

[[noreturn]] void ThrowSystem(const std::string& name, int error)
{
    throw EInOutError(name + ": " + SystemErrorText(error ? error : EIO));
}

#ifdef _WIN32
// Without the lock of POSIX systems only an hour's age tells a file that no
// save writes any more.
bool RemoveIfStale(const fs::path& file)
{
    std::error_code ec;
    const auto age = fs::file_time_type::clock::now() - fs::last_write_time(file, ec);
    return !ec && age > std::chrono::hours(1) && fs::is_regular_file(fs::symlink_status(file, ec))
        && fs::remove(file, ec);
}
#else
// A file whose lock can be taken is written by no save: the lock of a killed
// save went with its process.
bool RemoveIfStale(const fs::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat opened { };
    struct stat named { };
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
        && ::lstat(file.c_str(), &named) == 0 && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev)
        removed = ::unlink(file.c_str()) == 0;
    ::close(fd);
    return removed;
}
#endif

} // namespace

bool IsTemporaryName(std::string_view name)
{
    const size_t current = TempPrefix.size() + TempDigits + TempSuffix.size();
    if (name.size() == current && name.starts_with(TempPrefix) && name.ends_with(TempSuffix)
        && IsLowerHex(name.substr(TempPrefix.size(), TempDigits)))
        return true;
    // Earlier versions appended ".~" and eight digits to the target's name.
    const size_t older = 2 + TempDigits;
    return name.size() > older && name.substr(name.size() - older, 2) == ".~"
        && IsLowerHex(name.substr(name.size() - TempDigits));
}

void WriteExportFile(const std::string& name, const std::function<std::string()>& makeText)
{
    try {
        ReplaceFileContents(name, makeText());
    } catch (const EIOOperation&) {
        throw EIOOperation(FormatMessage(MsgWriteError, name));
    }
}

int RemoveStaleTemporaries(const fs::path& dir)
{
    int removed = 0;
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
        if (IsTemporaryName(it->path().filename().string()) && RemoveIfStale(it->path()))
            ++removed;
    return removed;
}

TFileReplacement::TFileReplacement(std::string name) : Name(std::move(name))
{
}

TFileReplacement::~TFileReplacement()
{
    Discard();
}

void TFileReplacement::Discard()
{
    if (!Temp.empty()) {
        std::error_code ignored;
        fs::remove(Temp, ignored);
        Temp.clear();
    }
#ifndef _WIN32
    if (LockHandle >= 0)
        ::close(LockHandle);
#endif
    LockHandle = -1;
}

void TFileReplacement::Create()
{
    Discard();
    const fs::path target = FinalTarget(fs::path(Name));
    FTarget = target.string();
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    TargetExisted = fs::exists(status);
    if (fs::is_directory(status))
        ThrowSystem(Name, EISDIR);
    // Renaming over a device or a pipe would replace it; those are no documents.
    if (TargetExisted && !fs::is_regular_file(status))
        throw EInOutError(Name + ": to nie jest zwykły plik");

    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "%.*s%08x%.*s", static_cast<int>(TempPrefix.size()), TempPrefix.data(),
                      static_cast<unsigned>(device()), static_cast<int>(TempSuffix.size()), TempSuffix.data());
        const std::string temp = (target.parent_path() / name).string();
#ifdef _WIN32
        std::FILE* file = std::fopen(temp.c_str(), "wbx");
        if (file) {
            std::fclose(file);
            Temp = temp;
            return;
        }
        if (errno != EEXIST)
            ThrowSystem(Name, errno);
#else
        // A file that replaces an existing one stays private until it has the
        // old file's permissions; a new file gets the usual ones.
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, TargetExisted ? 0600 : 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX);
            LockHandle = fd;
            Temp = temp;
            return;
        }
        if (errno != EEXIST)
            ThrowSystem(Name, errno);
#endif
    }
    ThrowSystem(Name, EEXIST);
}

void TFileReplacement::Commit()
{
    if (Temp.empty())
        ThrowSystem(Name, EINVAL);
#ifndef _WIN32
    struct stat old { };
    if (TargetExisted && ::stat(FTarget.c_str(), &old) == 0) {
        // The owner first: a change of owner may clear the set-id bits that
        // the mode then puts back. Only the super-user may give a file away;
        // anyone may give it one of their groups.
        if (::fchown(LockHandle, old.st_uid, old.st_gid) != 0)
            static_cast<void>(::fchown(LockHandle, static_cast<uid_t>(-1), old.st_gid));
        static_cast<void>(::fchmod(LockHandle, old.st_mode & 07777));
    }
#endif
    std::error_code ec;
    fs::rename(Temp, FTarget, ec);
    if (ec)
        throw EInOutError(Name + ": " + SystemErrorText(ec));
    Temp.clear();
    Discard();
    RemoveStaleTemporaries(fs::path(FTarget).parent_path());
}

void TFileReplacement::Write(std::string_view bytes)
{
    std::FILE* file = Temp.empty() ? nullptr : std::fopen(Temp.c_str(), "wb");
    if (!file)
        ThrowSystem(Name, Temp.empty() ? EINVAL : errno);
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    int error = written == bytes.size() ? 0 : (errno ? errno : EIO);
    if (std::fclose(file) != 0 && error == 0)
        error = errno ? errno : EIO;
    if (error)
        ThrowSystem(Name, error);
}

void ReplaceFileContents(const std::string& name, std::string_view bytes)
{
    TFileReplacement replacement(name);
    replacement.Create();
    replacement.Write(bytes);
    replacement.Commit();
}

} // namespace mz
