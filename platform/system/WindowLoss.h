#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>
#include <functional>

// Calls a function, from the event loop, when another X client destroys the widget's window
// (xdotool windowclose, a window manager's forced close): the program would otherwise run on
// with nothing on screen. The window Qt itself destroys or makes anew is not a loss. Does
// nothing on other platforms. Create it on the main thread once the application exists.
class WindowLoss : public QAbstractNativeEventFilter {
public:
    WindowLoss(QWidget &window, std::function<void()> onLoss);
    ~WindowLoss() override;
    WindowLoss(const WindowLoss &) = delete;
    WindowLoss &operator=(const WindowLoss &) = delete;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    QPointer<QWidget> m_window;
    std::function<void()> m_onLoss;
};
