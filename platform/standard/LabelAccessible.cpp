#include "LabelAccessible.h"

#include "AccessibleFactory.h"
#include "Label.h"

LabelAccessible::LabelAccessible(Label *label)
    : QAccessibleWidget(label, QAccessible::StaticText)
{
}

void LabelAccessible::install()
{
    installAccessibleFactory<accessibleFor<Label, LabelAccessible>>();
}

void LabelAccessible::captionChanged(Label *label)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

QString LabelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name || t == QAccessible::Value)
        return static_cast<const Label *>(widget())->Caption();
    return QAccessibleWidget::text(t);
}
