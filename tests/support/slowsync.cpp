// Loaded with LD_PRELOAD: makes the disk as slow as a busy network share. rename(),
// renameat(), renameat2(), fsync() and fdatasync() first sleep VELMORA_SLOW_SYNC_MS
// milliseconds (default 5), then do their work. A save's read-change-write thereby
// lasts long enough for copies of the program to overlap in it.
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace {

void slowDown()
{
    static const char *const value = std::getenv("VELMORA_SLOW_SYNC_MS");
    const long ms = value ? std::atol(value) : 5;
    timespec delay{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&delay, &delay) != 0 && errno == EINTR) {}
}

} // namespace

// Each call first pauses, then does the real work of the call of that name further on.
#define VELMORA_SLOWED(Result, name, Params, Args)                                                                     \
    extern "C" Result name Params                                                                                      \
    {                                                                                                                  \
        static const auto real = reinterpret_cast<decltype(&(name))>(dlsym(RTLD_NEXT, #name));                         \
        slowDown();                                                                                                    \
        return real Args;                                                                                              \
    }

VELMORA_SLOWED(int, rename, (const char *from, const char *to), (from, to))
VELMORA_SLOWED(int, renameat, (int fromDir, const char *from, int toDir, const char *to), (fromDir, from, toDir, to))
VELMORA_SLOWED(int, renameat2, (int fromDir, const char *from, int toDir, const char *to, unsigned flags),
               (fromDir, from, toDir, to, flags))
VELMORA_SLOWED(int, fsync, (int fd), (fd))
VELMORA_SLOWED(int, fdatasync, (int fd), (fd))
