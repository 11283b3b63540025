// Loaded into a program with LD_PRELOAD by `make bench-start`: notes when the program reaches
// each step of its start, in milliseconds since mapwait started it. mapwait passes its start
// time in KELVO_START_T0_NS; each step is appended to the file KELVO_START_STAMPS as
// "STEP MS". A process without both variables (mapwait itself) notes nothing.
//
// The steps are calls the program makes into Qt and libxcb through the dynamic loader, which
// this library answers first and hands on:
//   linked       every library bound and its constructors run, just before main
//   app          QApplication's constructor called
//   app-built    QApplication's constructor returned
//   settings     the first QSettings made (Kelvo's first Load handler reads its settings)
//   map-request  the first xcb_map_window, the request that puts a window on screen
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {
std::int64_t startNs = -1;
int stampFile = -1;

void stamp(const char *step)
{
    if (stampFile < 0)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t ns = std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
    char line[64];
    const int length =
        std::snprintf(line, sizeof line, "%s %.3f\n", step, double(ns - startNs) / 1e6);
    if (write(stampFile, line, size_t(length)) < 0)
        stampFile = -1;
}

// The next definition of a Qt function: Qt's own.
template <typename Function> Function qtFunction(const char *mangledName)
{
    return reinterpret_cast<Function>(dlvsym(RTLD_NEXT, mangledName, "Qt_6"));
}

__attribute__((constructor)) void linked()
{
    const char *start = std::getenv("KELVO_START_T0_NS");
    const char *file = std::getenv("KELVO_START_STAMPS");
    if (!start || !file)
        return;
    startNs = std::strtoll(start, nullptr, 10);
    stampFile = open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    stamp("linked");
}
} // namespace

// Defined with their mangled names: a C++ definition of a constructor would also build the
// object's bases, which Qt's constructor does.
extern "C" {

// QApplication::QApplication(int &, char **, int)
void _ZN12QApplicationC1ERiPPci(void *self, int &argc, char **argv, int flags)
{
    using Constructor = void (*)(void *, int &, char **, int);
    static const auto qt = qtFunction<Constructor>("_ZN12QApplicationC1ERiPPci");
    stamp("app");
    qt(self, argc, argv, flags);
    stamp("app-built");
}

// QSettings::QSettings(const QString &, QSettings::Format, QObject *)
void _ZN9QSettingsC1ERK7QStringNS_6FormatEP7QObject(void *self, const void *file, int format,
                                                    void *parent)
{
    using Constructor = void (*)(void *, const void *, int, void *);
    static const auto qt =
        qtFunction<Constructor>("_ZN9QSettingsC1ERK7QStringNS_6FormatEP7QObject");
    static bool first = true;
    if (first)
        stamp("settings");
    first = false;
    qt(self, file, format, parent);
}

// The cookie libxcb returns: a sequence number.
struct xcb_void_cookie_t {
    unsigned int sequence;
};

xcb_void_cookie_t xcb_map_window(void *connection, uint32_t window)
{
    using MapWindow = xcb_void_cookie_t (*)(void *, uint32_t);
    static const auto xcb = reinterpret_cast<MapWindow>(dlsym(RTLD_NEXT, "xcb_map_window"));
    const xcb_void_cookie_t cookie = xcb(connection, window);
    static bool first = true;
    if (first)
        stamp("map-request");
    first = false;
    return cookie;
}
}
