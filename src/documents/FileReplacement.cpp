#include "documents/FileReplacement.h"

#include "core/FileIdentity.h"
#include "core/SystemError.h"
#include "documents/DataAccess.h"
#include "documents/FailureReason.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

#ifdef _WIN32
#include <io.h>
#else
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
    throw ESystemFailure(name, SystemErrorText(error ? error : EIO));
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

// After a rename the folder's own entry must reach the disk too, or a power
// cut may bring back the old name. Some file systems cannot sync a folder;
// the file is in place all the same, so that is no failure of the save.
void SyncFolder(const fs::path& dir)
{
#ifndef _WIN32
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        static_cast<void>(::fsync(fd));
        ::close(fd);
    }
#else
    static_cast<void>(dir);
#endif
}

// The temporary files being written now, for a signal that ends the program
// before they are committed or discarded. Fixed slots of plain characters, so
// the handler neither allocates nor locks.
struct TOpenTemporary {
    std::atomic<bool> Used{false};
    char Path[4096] = {};
};
std::array<TOpenTemporary, 8> OpenTemporaries;

void Register(const std::string& temp)
{
    if (temp.size() >= sizeof OpenTemporaries[0].Path)
        return;
    for (TOpenTemporary& slot : OpenTemporaries)
        if (!slot.Used.load()) {
            std::memcpy(slot.Path, temp.c_str(), temp.size() + 1);
            slot.Used.store(true);
            return;
        }
}

void Unregister(const std::string& temp)
{
    for (TOpenTemporary& slot : OpenTemporaries)
        if (slot.Used.load() && temp == slot.Path)
            slot.Used.store(false);
}

} // namespace

void RemoveOpenTemporaries()
{
    for (TOpenTemporary& slot : OpenTemporaries)
        if (slot.Used.exchange(false)) {
#ifdef _WIN32
            std::remove(slot.Path);
#else
            ::unlink(slot.Path);
#endif
        }
}

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
    } catch (const EIOOperation& e) {
        // The type stays that of the export's failures; the reason goes along.
        throw EFailureWithReason(FormatMessage(MsgWriteError, name), ReasonOf(e));
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
        Unregister(Temp);
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
    // Links that still lead to a link after as many hops as the system
    // follows form a loop: renaming over the last one would replace a link.
    if (fs::is_symlink(fs::symlink_status(target, ec)))
        ThrowSystem(Name, ELOOP);
    const fs::file_status status = fs::status(target, ec);
    TargetExisted = fs::exists(status);
    if (fs::is_directory(status))
        ThrowSystem(Name, EISDIR);
    // Renaming over a device or a pipe would replace it; those are no documents.
    if (TargetExisted && !fs::is_regular_file(status))
        throw ESystemFailure(Name, MsgNotRegularFile);

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
            Register(Temp);
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
            Register(Temp);
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
    // The contents reach the disk before the name does: after a power cut the
    // target holds either all of the old bytes or all of the new ones. A disk
    // that fills up or fails may report it only here.
    if (::fsync(LockHandle) != 0)
        ThrowSystem(Name, errno);
#else
    if (std::FILE* file = std::fopen(Temp.c_str(), "r+b")) {
        const bool synced = std::fflush(file) == 0 && ::_commit(::_fileno(file)) == 0;
        const int error = errno;
        std::fclose(file);
        if (!synced)
            ThrowSystem(Name, error);
    }
#endif
    std::error_code ec;
    fs::rename(Temp, FTarget, ec);
    if (ec)
        throw ESystemFailure(Name, SystemErrorText(ec));
    Unregister(Temp);
    Temp.clear();
    Discard();
    SyncFolder(fs::path(FTarget).parent_path());
    RemoveStaleTemporaries(fs::path(FTarget).parent_path());
}

void TFileReplacement::Write(std::string_view bytes)
{
    if (Temp.empty())
        ThrowSystem(Name, EINVAL);
#ifndef _WIN32
    if (::ftruncate(LockHandle, 0) != 0 || ::lseek(LockHandle, 0, SEEK_SET) != 0)
        ThrowSystem(Name, errno);
#else
    if (std::FILE* file = std::fopen(Temp.c_str(), "wb"))
        std::fclose(file);
    else
        ThrowSystem(Name, errno);
#endif
    Append(bytes);
}

void TFileReplacement::Append(std::string_view bytes)
{
    if (Temp.empty())
        ThrowSystem(Name, EINVAL);
#ifndef _WIN32
    while (!bytes.empty()) {
        const ssize_t written = ::write(LockHandle, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        // A write that takes nothing without an error is a full disk too.
        if (written <= 0)
            ThrowSystem(Name, written < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<size_t>(written));
    }
#else
    std::FILE* file = std::fopen(Temp.c_str(), "ab");
    if (!file)
        ThrowSystem(Name, errno);
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    int error = written == bytes.size() ? 0 : (errno ? errno : EIO);
    if (std::fclose(file) != 0 && error == 0)
        error = errno ? errno : EIO;
    if (error)
        ThrowSystem(Name, error);
#endif
}

void ReplaceFileContents(const std::string& name, std::string_view bytes)
{
    TFileReplacement replacement(name);
    replacement.Create();
    replacement.Write(bytes);
    replacement.Commit();
}

} // namespace mz
