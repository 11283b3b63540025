#pragma once

#include <QList>
#include <QPoint>
#include <Qt>

class QWidget;

// A window's rectangle on the screen in pixels; right and bottom are one past the last
// pixel (left + width, top + height).
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const ScreenRect &, const ScreenRect &) = default;
};

// Where the pointer is, in screen pixels.
class PointerQuery {
public:
    virtual ~PointerQuery() = default;
    virtual QPoint cursorPos() const = 0;
};

// Where a widget's window stands on the screen.
class WindowQuery {
public:
    virtual ~WindowQuery() = default;
    virtual ScreenRect windowRect(const QWidget *widget) const = 0;
};

// Requests to the window manager about a top-level window. Results are not reported: a
// window system that refuses a request leaves the window as it was.
class WindowManager {
public:
    virtual ~WindowManager() = default;
    // Keeps the window above ordinary windows, or returns it among them, without hiding,
    // recreating, moving or activating it; a hidden window is shown. A window system without
    // a keep-above level (some Wayland compositors) takes the request and ignores it.
    virtual void setKeepAbove(QWidget *window, bool above) = 0;
    // Takes away the window's close command: the close hint goes and close requests from the
    // window manager are refused from then on.
    virtual void removeCloseCommand(QWidget *window) = 0;
    // Keeps a window that is about to be shown out of taskbars and pagers. Call it before
    // each showing: window managers forget it when a window is hidden.
    virtual void leaveOutOfTaskbar(QWidget *window) = 0;
    // Says that a window will be left out of taskbars before long, so that whatever the window
    // system has to be asked first is asked now and leaveOutOfTaskbar() need not wait for it.
    virtual void prepareToLeaveOutOfTaskbar() {}
    // Hands a left-button drag over to the window manager as a move or an edge resize.
    virtual void startSystemMove(QWidget *window) = 0;
    virtual void startSystemResize(QWidget *window, Qt::Edges edges) = 0;
    // The rectangles of the screens windows can be placed on, in the desktop's pixels; a
    // window lying wholly outside all of them cannot be seen or reached.
    virtual QList<ScreenRect> screens() const = 0;
};

// The adapters the program uses; tests install fakes with Desktop::ScopedOverride.
namespace Desktop {
// The rectangle all the screens together span; empty for no screen.
ScreenRect bounds(const QList<ScreenRect> &screens);

PointerQuery &pointer();
WindowQuery &windows();
WindowManager &windowManager();

class ScopedOverride {
public:
    ScopedOverride(PointerQuery *pointer, WindowQuery *windows, WindowManager *manager);
    ~ScopedOverride();
    ScopedOverride(const ScopedOverride &) = delete;
    ScopedOverride &operator=(const ScopedOverride &) = delete;

private:
    PointerQuery *m_pointer;
    WindowQuery *m_windows;
    WindowManager *m_manager;
};
} // namespace Desktop
