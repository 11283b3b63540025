#pragma once

#include "Desktop.h"

#include <QHash>
#include <QStringList>

class QWidget;

// Fakes of the desktop adapters: tests place the pointer and windows anywhere and read back
// what was asked of the window manager.
class FakePointer final : public PointerQuery {
public:
    QPoint position;
    QPoint cursorPos() const override { return position; }
};

class FakeWindows final : public WindowQuery {
public:
    QHash<const QWidget *, ScreenRect> rects;
    ScreenRect windowRect(const QWidget *widget) const override { return rects.value(widget); }
};

// Records each request as text ("keepAbove frmMain true"), in order. It starts with the
// screens of the adapter it stands in for; tests may lay out others.
class FakeWindowManager final : public WindowManager {
public:
    FakeWindowManager();
    QStringList calls;
    QList<ScreenRect> screenRects;
    void setKeepAbove(QWidget *window, bool above) override;
    void removeCloseCommand(QWidget *window) override;
    void leaveOutOfTaskbar(QWidget *window) override;
    void startSystemMove(QWidget *window) override;
    void startSystemResize(QWidget *window, Qt::Edges edges) override;
    QList<ScreenRect> screens() const override { return screenRects; }
};

// All three fakes, installed for the life of the object.
class FakeDesktop {
public:
    FakeDesktop();
    FakePointer pointer;
    FakeWindows windows;
    FakeWindowManager windowManager;

private:
    Desktop::ScopedOverride m_override;
};
