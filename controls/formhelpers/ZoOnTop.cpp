#include "ZoOnTop.h"

#include "Desktop.h"
#include "PropertyTable.h"

ZoOnTop::ZoOnTop(QWidget *container)
    : InvisibleHelper(container, Look)
{
}

const PropertyTable<ZoOnTop> &ZoOnTop::properties()
{
    static const PropertyTable<ZoOnTop> table = [] {
        PropertyTable<ZoOnTop> t;
        t.add(QStringLiteral("FormCloseButton"), true, &ZoOnTop::FormCloseButton,
              [](ZoOnTop &c, bool v) { c.m_formCloseButton = v; })
            .add(QStringLiteral("OnTop"), true, &ZoOnTop::OnTop,
                 [](ZoOnTop &c, bool v) { c.m_onTop = v; });
        return t;
    }();
    return table;
}

void ZoOnTop::setOnTop(bool on)
{
    m_onTop = on;
    PropertyChanged(QStringLiteral("OnTop"));
    if (Ambient().UserMode())
        ApplyToParent();
}

// Unlike OnTop, the form is changed before the change is reported.
void ZoOnTop::setFormCloseButton(bool on)
{
    m_formCloseButton = on;
    if (Ambient().UserMode())
        ApplyToParent();
    PropertyChanged(QStringLiteral("FormCloseButton"));
}

void ZoOnTop::InitProperties()
{
    m_formCloseButton = true;
    m_onTop = true;
}

// Nothing is applied while reading: the form changes at its first activation, or earlier when
// its own load code sets a property.
void ZoOnTop::ReadProperties(const PropertyBag &bag)
{
    m_parentForm = UserControl::ParentForm();
    if (m_parentForm && Ambient().UserMode())
        connect(m_parentForm, &Form::Activate, this, &ZoOnTop::ApplyToParent);
    properties().readSkippingErrors(*this, bag);
}

void ZoOnTop::WriteProperties(PropertyBag &bag) const
{
    properties().write(*this, bag);
}

QList<ListedProperty> ZoOnTop::listProperties()
{
    return properties().list(*this);
}

void ZoOnTop::ApplyToParent()
{
    if (!m_parentForm)
        return;
    WindowManager &manager = Desktop::windowManager();
    manager.setKeepAbove(m_parentForm, m_onTop);
    if (!m_formCloseButton)
        manager.removeCloseCommand(m_parentForm);
}
