#include "WindowLoss.h"

#include <QCoreApplication>
#include <QWindow>
#include <xcb/xcb.h>

WindowLoss::WindowLoss(QWidget &window, std::function<void()> onLoss)
    : m_window(&window)
    , m_onLoss(std::move(onLoss))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowLoss::~WindowLoss()
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
}

bool WindowLoss::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
        return false;
    const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
    // A window Qt made anew has another id by the time the old one's notice comes.
    const QWindow *handle = m_window ? m_window->windowHandle() : nullptr;
    if (handle && handle->handle() && destroyed->window == xcb_window_t(handle->winId()))
        QMetaObject::invokeMethod(QCoreApplication::instance(), m_onLoss, Qt::QueuedConnection);
    return false;
}
