#include "PointerDriver.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {
QWindow *windowOf(const QWidget *widget)
{
    return widget->window()->windowHandle();
}

QPoint centreOf(const QWidget *widget)
{
    return widget->mapTo(widget->window(), widget->rect().center());
}
} // namespace

namespace PointerDriver {
void moveOver(const QWidget *widget)
{
    if (QWindow *window = windowOf(widget))
        QTest::mouseMove(window, centreOf(widget));
}

void click(const QWidget *widget)
{
    if (QWindow *window = windowOf(widget))
        QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(widget));
}

void dragAcross(const QWidget *window)
{
    QWindow *handle = window->windowHandle();
    if (!handle)
        return;
    const QPoint from(window->width() / 4, window->height() / 2);
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    QTest::mouseMove(handle, from + QPoint(5, 3));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, from + QPoint(5, 3));
}
} // namespace PointerDriver
