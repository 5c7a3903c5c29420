// Loaded with LD_PRELOAD: makes the disk as slow as a busy network share. rename(),
// renameat(), renameat2(), fsync() and fdatasync() first sleep VELMORA_SLOW_SYNC_MS
// milliseconds (default 5), then do their work. A save's read-change-write thereby
// lasts long enough for copies of the program to overlap in it.
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace {

void pause()
{
    static const long ms = [] {
        const char *value = std::getenv("VELMORA_SLOW_SYNC_MS");
        return value ? std::atol(value) : 5L;
    }();
    if (ms <= 0)
        return;
    timespec delay{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&delay, &delay) != 0 && errno == EINTR) {}
}

template <typename Function>
Function next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

int rename(const char *from, const char *to)
{
    static const auto real = next<int (*)(const char *, const char *)>("rename");
    pause();
    return real(from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    static const auto real = next<int (*)(int, const char *, int, const char *)>("renameat");
    pause();
    return real(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags)
{
    static const auto real = next<int (*)(int, const char *, int, const char *, unsigned)>("renameat2");
    pause();
    return real(fromDir, from, toDir, to, flags);
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    pause();
    return real(fd);
}

int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    pause();
    return real(fd);
}
}
