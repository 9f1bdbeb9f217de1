// Preloaded into the command-line tool by a test: logs every fsync (with the
// path of its file or folder) and every rename to the file named by
// MZ_SYNC_LOG, then does the real call, so the test can read their order.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Log(const char* what, const char* a, const char* b)
{
    const char* name = std::getenv("MZ_SYNC_LOG");
    if (!name)
        return;
    if (std::FILE* log = std::fopen(name, "a")) {
        std::fprintf(log, "%s %s%s%s\n", what, a, b ? " " : "", b ? b : "");
        std::fclose(log);
    }
}

} // namespace

extern "C" int fsync(int fd)
{
    char link[64];
    char path[4096] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = ::readlink(link, path, sizeof path - 1);
    Log("fsync", length > 0 ? path : "?", nullptr);
    using TFsync = int (*)(int);
    static const auto real = reinterpret_cast<TFsync>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to)
{
    Log("rename", from, to);
    using TRename = int (*)(const char*, const char*);
    static const auto real = reinterpret_cast<TRename>(::dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}
