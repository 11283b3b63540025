#include "ControlRegistry.h"

#include "Label.h"
#include "TextBox.h"
#include "Timer.h"

#include <algorithm>

ControlRegistry &ControlRegistry::instance()
{
    static ControlRegistry registry = [] {
        ControlRegistry r;
        r.add<Timer>(QStringLiteral("Timer"));
        r.add<Label>(QStringLiteral("Label"));
        r.add<TextBox>(QStringLiteral("TextBox"));
        return r;
    }();
    return registry;
}

void ControlRegistry::add(const QString &className, const QMetaObject &type, Factory factory)
{
    Entry entry{className, &type, std::move(factory)};
    const auto it = std::find_if(m_classes.begin(), m_classes.end(),
                                 [&](const Entry &e) { return e.className == className; });
    if (it != m_classes.end())
        *it = std::move(entry);
    else
        m_classes.push_back(std::move(entry));
}

UserControl *ControlRegistry::create(const QString &className, QWidget *container) const
{
    for (const Entry &e : m_classes) {
        if (e.className == className)
            return e.factory(container);
    }
    return nullptr;
}

QStringList ControlRegistry::classNames() const
{
    QStringList names;
    for (const Entry &e : m_classes)
        names.append(e.className);
    names.sort();
    return names;
}

QString ControlRegistry::classNameOf(const UserControl *control) const
{
    for (const Entry &e : m_classes) {
        if (control->metaObject() == e.type)
            return e.className;
    }
    return {};
}
