#pragma once

#include <QAccessible>
#include <QString>

// Qt's accessibility asks its factories with the name of an object's class, then of each base
// class in turn. This one answers for one widget class: an Interface for each Widget.
template <class Widget, class Interface>
QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (className != QLatin1String(Widget::staticMetaObject.className()))
        return nullptr;
    auto *widget = qobject_cast<Widget *>(object);
    return widget ? new Interface(widget) : nullptr;
}

// Installs the factory the first time any widget asks, and only then.
template <QAccessible::InterfaceFactory factory> void installAccessibleFactory()
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed)
}
