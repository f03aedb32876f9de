// Stand-ins for the C library's fsync, rename, renameat2 and flock in the host
// test program: they tell testing::beforeFileCall (or fail as told), then pass
// the call on.
#include "support/file_call_hooks.h"

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

namespace {

using ovelsk::testing::beforeFileCall;

std::string pathOf(int fd) {
    char path[4096];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
    return n < 0 ? "?" : std::string(path, static_cast<size_t>(n));
}

template <typename Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int fd) {
    if (beforeFileCall) beforeFileCall("fsync " + pathOf(fd));
    return next<int(int)>("fsync")(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    if (beforeFileCall) beforeFileCall(std::string("rename ") + from + " " + to);
    return next<int(const char*, const char*)>("rename")(from, to);
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) noexcept {
    if (beforeFileCall) beforeFileCall(std::string(flags & RENAME_EXCHANGE ? "exchange " : "rename ") + from + " " + to);
    return next<int(int, const char*, int, const char*, unsigned)>("renameat2")(fromFolder, from, toFolder, to, flags);
}

extern "C" int flock(int fd, int operation) {
    if (ovelsk::testing::flockFailure != 0) {
        errno = ovelsk::testing::flockFailure;
        return -1;
    }
    return next<int(int, int)>("flock")(fd, operation);
}
