#pragma once

#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <memory>

// Calls a function on the main thread when the process is asked to end by SIGTERM, SIGINT or
// SIGHUP, instead of letting the signal kill it before the settings are saved. A signal
// handler may safely do next to nothing, so it only writes a byte into a pipe; the event loop
// watches the other end and calls the function from there, once for every batch of signals.
// A signal the process was started ignoring (nohup, a background job) stays ignored.
//
// Create it on the main thread once the application object exists. One object at a time:
// while one exists, another leaves the signals alone and says so on the log. Destroying it
// puts back the handlers it replaced.
class SessionEnd {
public:
    explicit SessionEnd(std::function<void()> onEnd);
    ~SessionEnd();
    SessionEnd(const SessionEnd &) = delete;
    SessionEnd &operator=(const SessionEnd &) = delete;

private:
    void readPipe();

    static constexpr int SignalCount = 3;
    std::function<void()> m_onEnd;
    int m_pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_previous[SignalCount] = {};
    bool m_replaced[SignalCount] = {};
};
