#include "FakeDesktop.h"

#include <QWidget>

namespace {
QString nameOf(const QWidget *w)
{
    return w ? w->objectName() : QStringLiteral("<none>");
}
} // namespace

FakeWindowManager::FakeWindowManager()
    : screenRects(Desktop::windowManager().screens())
{
}

void FakeWindowManager::setKeepAbove(QWidget *window, bool above)
{
    calls << QStringLiteral("keepAbove %1 %2").arg(nameOf(window), above ? "true" : "false");
}

void FakeWindowManager::removeCloseCommand(QWidget *window)
{
    calls << QStringLiteral("removeClose %1").arg(nameOf(window));
}

void FakeWindowManager::leaveOutOfTaskbar(QWidget *window)
{
    calls << QStringLiteral("leaveOutOfTaskbar %1").arg(nameOf(window));
}

void FakeWindowManager::startSystemMove(QWidget *window)
{
    calls << QStringLiteral("move %1").arg(nameOf(window));
}

void FakeWindowManager::startSystemResize(QWidget *window, Qt::Edges edges)
{
    calls << QStringLiteral("resize %1 %2").arg(nameOf(window)).arg(int(edges));
}

FakeDesktop::FakeDesktop()
    : m_override(&pointer, &windows, &windowManager)
{
}
