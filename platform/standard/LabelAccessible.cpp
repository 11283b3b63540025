#include "LabelAccessible.h"

#include "Label.h"

namespace {
QAccessibleInterface *labelFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Label"))
        if (auto *label = qobject_cast<Label *>(object))
            return new LabelAccessible(label);
    return nullptr;
}
} // namespace

LabelAccessible::LabelAccessible(Label *label)
    : QAccessibleWidget(label, QAccessible::StaticText)
{
}

void LabelAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(labelFactory), true);
    Q_UNUSED(installed)
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
