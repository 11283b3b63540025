// Loaded into Kelvo with LD_PRELOAD by the side-by-side run's --shm row: Kelvo turns off Qt's
// MIT-SHM flush by setting QT_XCB_NO_MITSHM when it is not set, and Qt turns the flush off for
// any value of it, empty or "0" too. This library lets that one variable stay unset, so that
// the same Kelvo can be measured flushing through shared memory.
#include <cstring>
#include <dlfcn.h>

extern "C" int setenv(const char *name, const char *value, int overwrite)
{
    if (std::strcmp(name, "QT_XCB_NO_MITSHM") == 0)
        return 0;
    using Setenv = int (*)(const char *, const char *, int);
    static const auto next = reinterpret_cast<Setenv>(dlsym(RTLD_NEXT, "setenv"));
    return next(name, value, overwrite);
}
