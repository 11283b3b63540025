#include "ControlRegistry.h"

#include "UserControl.h"

#include <algorithm>

void ControlRegistry::add(ControlClass kind, const QMetaObject &type, Factory factory)
{
    Entry added{std::move(kind), &type, std::move(factory)};
    const auto it = std::find_if(m_classes.begin(), m_classes.end(),
                                 [&](const Entry &e) { return e.kind.name == added.kind.name; });
    if (it != m_classes.end())
        *it = std::move(added);
    else
        m_classes.push_back(std::move(added));
}

const ControlRegistry::Entry *ControlRegistry::entry(const QString &className) const
{
    const auto it = std::find_if(m_classes.begin(), m_classes.end(),
                                 [&](const Entry &e) { return e.kind.name == className; });
    return it != m_classes.end() ? &*it : nullptr;
}

UserControl *ControlRegistry::create(const QString &className, QWidget *container) const
{
    const Entry *e = entry(className);
    return e ? e->factory(container) : nullptr;
}

const ControlClass *ControlRegistry::find(const QString &className) const
{
    const Entry *e = entry(className);
    return e ? &e->kind : nullptr;
}

const ControlClass *ControlRegistry::classOf(const UserControl *control) const
{
    const auto it = std::find_if(m_classes.begin(), m_classes.end(),
                                 [&](const Entry &e) { return control->metaObject() == e.type; });
    return it != m_classes.end() ? &it->kind : nullptr;
}

QStringList ControlRegistry::classNames() const
{
    QStringList names;
    for (const Entry &e : m_classes)
        names.append(e.kind.name);
    names.sort();
    return names;
}
