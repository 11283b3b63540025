#include "ControlRegistry.h"

#include "Label.h"
#include "TextBox.h"
#include "Timer.h"

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
    m_classes.insert(className, Entry{&type, std::move(factory)});
}

UserControl *ControlRegistry::create(const QString &className, QWidget *container) const
{
    const auto it = m_classes.constFind(className);
    return it == m_classes.constEnd() ? nullptr : it->factory(container);
}

QStringList ControlRegistry::classNames() const
{
    QStringList names = m_classes.keys();
    names.sort();
    return names;
}

QString ControlRegistry::classNameOf(const UserControl *control) const
{
    for (auto it = m_classes.constBegin(); it != m_classes.constEnd(); ++it) {
        if (control->metaObject() == it->type)
            return it.key();
    }
    return {};
}
