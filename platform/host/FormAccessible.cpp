#include "FormAccessible.h"

#include "Form.h"
#include "UserControl.h"

namespace {
QAccessibleInterface *formFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Form"))
        if (auto *form = qobject_cast<Form *>(object))
            return new FormAccessible(form);
    return nullptr;
}
} // namespace

FormAccessible::FormAccessible(Form *form)
    : QAccessibleWidget(form, QAccessible::Window)
{
}

void FormAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(formFactory), true);
    Q_UNUSED(installed)
}

Form *FormAccessible::form() const
{
    return static_cast<Form *>(widget());
}

QAccessible::Role FormAccessible::role() const
{
    if (!form()->isWindow())
        return QAccessible::Client;
    return form()->BorderStyle() == FormBorderStyle::FixedDialog ? QAccessible::Dialog
                                                                 : QAccessible::Window;
}

QWidgetList FormAccessible::controls() const
{
    QWidgetList shown;
    for (QObject *child : form()->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || widget->isWindow())
            continue;
        auto *control = qobject_cast<UserControl *>(widget);
        if (control && control->InvisibleAtRunTime() && form()->userMode())
            continue;
        shown.append(widget);
    }
    return shown;
}

int FormAccessible::childCount() const
{
    return int(controls().size());
}

QAccessibleInterface *FormAccessible::child(int index) const
{
    return QAccessible::queryAccessibleInterface(controls().value(index));
}

int FormAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(controls().indexOf(qobject_cast<QWidget *>(child->object())));
}
