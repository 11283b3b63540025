#include "ControlProperties.h"

#include "Form.h"
#include "UserControl.h"

QList<ListedProperty> listProperties(QObject *object)
{
    if (auto *control = qobject_cast<UserControl *>(object))
        return control->listProperties();
    if (auto *form = qobject_cast<Form *>(object))
        return form->listProperties();
    return {};
}
