#include "Desktop.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <iterator>
#include <optional>
#include <xcb/xcb.h>

namespace {
class QtPointer final : public PointerQuery {
public:
    QPoint cursorPos() const override { return QCursor::pos(); }
};

class QtWindows final : public WindowQuery {
public:
    ScreenRect windowRect(const QWidget *widget) const override
    {
        if (!widget)
            return {};
        const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
        return {topLeft.x(), topLeft.y(), topLeft.x() + widget->width(),
                topLeft.y() + widget->height()};
    }
};

// Refuses close requests that come from the window manager; the program's own unloading
// does not go through close events, so it is unaffected. It has its own meta-object so that
// findChild() tells it from the window's other children.
class CloseRefuser final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The few libxcb calls Kelvo makes, taken from the libxcb that Qt's X11 platform has loaded.
// Linked in, libxcb would be bound before main() and searched for the symbols of every other
// library Kelvo loads; it is needed only once Qt is connected to an X server.
struct XcbCalls {
    decltype(&xcb_intern_atom) internAtom = nullptr;
    decltype(&xcb_intern_atom_reply) internAtomReply = nullptr;
    decltype(&xcb_change_property) changeProperty = nullptr;
    decltype(&xcb_flush) flush = nullptr;
};

template <class Function> bool resolve(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// The X connection Qt has made, with the calls to use on it.
struct X11 {
    xcb_connection_t *connection;
    const XcbCalls &xcb;
};

// None on other window systems; the offscreen platform can answer as X11 without a
// connection of its own.
std::optional<X11> x11()
{
    auto *native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = native ? native->connection() : nullptr;
    if (!connection)
        return std::nullopt;
    // A connection means Qt has loaded libxcb: the calls are looked up once, there.
    static const std::optional<XcbCalls> calls = []() -> std::optional<XcbCalls> {
        void *library = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
        XcbCalls c;
        if (library && resolve(library, "xcb_intern_atom", c.internAtom) &&
            resolve(library, "xcb_intern_atom_reply", c.internAtomReply) &&
            resolve(library, "xcb_change_property", c.changeProperty) &&
            resolve(library, "xcb_flush", c.flush))
            return c;
        return std::nullopt;
    }();
    if (!calls)
        return std::nullopt;
    return X11{connection, *calls};
}

// The atoms that keep a window out of taskbars and pagers. They are asked for once per
// connection, all in one go, and the answers are collected only when a window needs them: by
// then the X server has long sent them, so showing a window does not wait for a round trip.
class SkipStateAtoms {
public:
    static constexpr const char *Names[] = {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR",
                                            "_NET_WM_STATE_SKIP_PAGER"};

    void ask(const X11 &x)
    {
        if (x.connection == m_connection)
            return;
        m_connection = x.connection;
        for (size_t i = 0; i < std::size(Names); ++i)
            m_cookies[i] =
                x.xcb.internAtom(x.connection, false, uint16_t(qstrlen(Names[i])), Names[i]);
        m_waiting = true;
        x.xcb.flush(x.connection);
    }

    // The atoms in the order of Names; XCB_ATOM_NONE where the server gave no answer.
    const xcb_atom_t *get(const X11 &x)
    {
        ask(x);
        if (m_waiting) {
            for (size_t i = 0; i < std::size(Names); ++i) {
                xcb_intern_atom_reply_t *reply =
                    x.xcb.internAtomReply(x.connection, m_cookies[i], nullptr);
                m_atoms[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
                std::free(reply);
            }
            m_waiting = false;
        }
        return m_atoms;
    }

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_intern_atom_cookie_t m_cookies[std::size(Names)] = {};
    xcb_atom_t m_atoms[std::size(Names)] = {};
    bool m_waiting = false;
};

// setWindowFlags() on a shown window hides and recreates it; changing the native window's
// flags keeps the same window, mapped and unactivated.
void changeFlags(QWidget *window, Qt::WindowFlags flags)
{
    if (QWindow *handle = window->windowHandle()) {
        window->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}

class QtWindowManager final : public WindowManager {
public:
    void setKeepAbove(QWidget *window, bool above) override
    {
        if (!window)
            return;
        Qt::WindowFlags flags = window->windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, above);
        changeFlags(window, flags);
        if (!window->isVisible()) {
            window->setAttribute(Qt::WA_ShowWithoutActivating, true);
            window->show();
            window->setAttribute(Qt::WA_ShowWithoutActivating, false);
        }
    }

    void removeCloseCommand(QWidget *window) override
    {
        if (!window)
            return;
        Qt::WindowFlags flags = window->windowFlags();
        flags.setFlag(Qt::WindowCloseButtonHint, false);
        flags.setFlag(Qt::CustomizeWindowHint, true);
        changeFlags(window, flags);
        if (!window->findChild<CloseRefuser *>(QString(), Qt::FindDirectChildrenOnly))
            window->installEventFilter(new CloseRefuser(window));
    }

    void prepareToLeaveOutOfTaskbar() override
    {
        if (const std::optional<X11> x = x11())
            m_skipStates.ask(*x);
    }

    // Qt has no call for this; on X11 the window's _NET_WM_STATE gets the two skip states
    // before it is mapped, and Qt keeps them when it adds its own. Other window systems have
    // no taskbar entry to leave out for a tool window, or no way to ask.
    void leaveOutOfTaskbar(QWidget *window) override
    {
        const std::optional<X11> x = x11();
        if (!window || !window->windowHandle() || !x)
            return;
        // _NET_WM_STATE gets the two skip states appended.
        const xcb_atom_t *atoms = m_skipStates.get(*x);
        x->xcb.changeProperty(x->connection, XCB_PROP_MODE_APPEND, xcb_window_t(window->winId()),
                              atoms[0], XCB_ATOM_ATOM, 32, 2, atoms + 1);
        x->xcb.flush(x->connection);
    }

    void startSystemMove(QWidget *window) override
    {
        if (window && window->windowHandle())
            window->windowHandle()->startSystemMove();
    }

    void startSystemResize(QWidget *window, Qt::Edges edges) override
    {
        if (window && window->windowHandle())
            window->windowHandle()->startSystemResize(edges);
    }

    QList<ScreenRect> screens() const override
    {
        QList<ScreenRect> rects;
        for (const QScreen *screen : QGuiApplication::screens()) {
            const QRect g = screen->geometry();
            rects.append({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
        }
        return rects;
    }

private:
    SkipStateAtoms m_skipStates;
};

QtPointer s_qtPointer;
QtWindows s_qtWindows;
QtWindowManager s_qtWindowManager;

PointerQuery *s_pointer = &s_qtPointer;
WindowQuery *s_windows = &s_qtWindows;
WindowManager *s_windowManager = &s_qtWindowManager;
} // namespace

namespace Desktop {
ScreenRect bounds(const QList<ScreenRect> &screens)
{
    if (screens.isEmpty())
        return {};
    ScreenRect all = screens.first();
    for (const ScreenRect &s : screens) {
        all.left = std::min(all.left, s.left);
        all.top = std::min(all.top, s.top);
        all.right = std::max(all.right, s.right);
        all.bottom = std::max(all.bottom, s.bottom);
    }
    return all;
}

PointerQuery &pointer()
{
    return *s_pointer;
}

WindowQuery &windows()
{
    return *s_windows;
}

WindowManager &windowManager()
{
    return *s_windowManager;
}

ScopedOverride::ScopedOverride(PointerQuery *pointer, WindowQuery *windows, WindowManager *manager)
    : m_pointer(s_pointer)
    , m_windows(s_windows)
    , m_manager(s_windowManager)
{
    if (pointer)
        s_pointer = pointer;
    if (windows)
        s_windows = windows;
    if (manager)
        s_windowManager = manager;
}

ScopedOverride::~ScopedOverride()
{
    s_pointer = m_pointer;
    s_windows = m_windows;
    s_windowManager = m_manager;
}
} // namespace Desktop

#include "Desktop.moc"
