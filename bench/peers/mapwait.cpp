// Starts a program and prints how long it took to map its first window, in milliseconds,
// with the program's process id: "PID MS". It listens to the X server's own notifications
// (no polling), so the figure is as exact as the server's event order. The program is left
// running, its standard output thrown away. Exit status 1 when no window came within 20
// seconds.
//
// A window counts when it is mapped and carries the program's _NET_WM_PID or, for programs
// that set none, a WM_CLASS (window-manager frames have neither).
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace {
xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

// The window's _NET_WM_PID, 0 when it has none, -1 when it has a WM_CLASS but no pid.
long ownerOf(xcb_connection_t *c, xcb_window_t w, xcb_atom_t pidAtom)
{
    long owner = 0;
    if (auto *r = xcb_get_property_reply(
            c, xcb_get_property(c, 0, w, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr)) {
        if (xcb_get_property_value_length(r) == 4)
            owner = long(*static_cast<uint32_t *>(xcb_get_property_value(r)));
        std::free(r);
    }
    if (owner != 0)
        return owner;
    if (auto *r = xcb_get_property_reply(
            c, xcb_get_property(c, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64), nullptr)) {
        if (xcb_get_property_value_length(r) > 0)
            owner = -1;
        std::free(r);
    }
    return owner;
}

void watch(xcb_connection_t *c, xcb_window_t w)
{
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "mapwait: cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID"); // a round trip: the mask is in place

    const auto start = std::chrono::steady_clock::now();
    // For a program that notes the steps of its start against the same clock.
    const std::string startNs = std::to_string(
        std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count());
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("KELVO_START_T0_NS", startNs.c_str(), 1);
        // Standard output is for the figure alone.
        close(xcb_get_file_descriptor(c));
        if (const int devNull = open("/dev/null", O_WRONLY); devNull >= 0)
            dup2(devNull, STDOUT_FILENO);
        execvp(argv[1], argv + 1);
        std::perror("mapwait: exec");
        _exit(127);
    }
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    const auto deadline = start + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        xcb_generic_event_t *event = xcb_poll_for_event(c);
        if (!event) {
            poll(&fd, 1, 100);
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY)
            watch(c, reinterpret_cast<xcb_create_notify_event_t *>(event)->window);
        else if (type == XCB_REPARENT_NOTIFY)
            watch(c, reinterpret_cast<xcb_reparent_notify_event_t *>(event)->window);
        else if (type == XCB_MAP_NOTIFY) {
            const xcb_window_t w = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
            const long owner = ownerOf(c, w, pidAtom);
            if (owner == pid || owner == -1) {
                const double ms = std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - start)
                                      .count();
                std::printf("%d %.2f\n", int(pid), ms);
                std::free(event);
                return 0;
            }
        }
        std::free(event);
    }
    std::fprintf(stderr, "mapwait: no window of %s within 20 s\n", argv[1]);
    return 1;
}
