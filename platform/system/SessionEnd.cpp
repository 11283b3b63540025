#include "SessionEnd.h"

#include <QtGlobal>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace {

constexpr int endSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the active object's pipe, for the handler; -1 while there is none.
volatile std::sig_atomic_t activeWriteEnd = -1;

void onEndSignal(int signal)
{
    const int savedErrno = errno;
    const char byte = char(signal);
    // A full pipe already holds a request to end: losing this one changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(activeWriteEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

SessionEnd::SessionEnd(std::function<void()> onEnd)
    : m_onEnd(std::move(onEnd))
{
    static_assert(std::size(endSignals) == SignalCount);
    if (activeWriteEnd != -1) {
        qWarning("kelvo: the signals to end are already taken; this watch stays idle");
        return;
    }
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("kelvo: no pipe for the signals to end (%s); they end the program at once",
                 std::strerror(errno));
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { readPipe(); });
    activeWriteEnd = m_pipe[1];

    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < SignalCount; ++i) {
        struct sigaction current = {};
        ::sigaction(endSignals[i], nullptr, &current);
        if (current.sa_handler == SIG_IGN)
            continue;
        m_replaced[i] = ::sigaction(endSignals[i], &action, &m_previous[i]) == 0;
    }
}

SessionEnd::~SessionEnd()
{
    if (!m_notifier)
        return;
    for (int i = 0; i < SignalCount; ++i) {
        if (m_replaced[i])
            ::sigaction(endSignals[i], &m_previous[i], nullptr);
    }
    activeWriteEnd = -1;
    m_notifier.reset();
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void SessionEnd::readPipe()
{
    char bytes[64];
    bool asked = false;
    while (::read(m_pipe[0], bytes, sizeof bytes) > 0)
        asked = true;
    if (asked)
        m_onEnd();
}
