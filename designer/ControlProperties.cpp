#include "ControlProperties.h"

#include "Form.h"
#include "UserControl.h"

namespace {
// The rows are listed before the first key is written, so a control that fails to write one
// still shows every row.
template <class Object> QList<ListedProperty> listed(const Object &object)
{
    const PropertyListing listing(object);
    PropertyBag scratch;
    try {
        object.WriteProperties(scratch);
    } catch (const HostError &) {
    }
    return listing.rows();
}
} // namespace

QList<ListedProperty> listProperties(QObject *object)
{
    if (const auto *control = qobject_cast<const UserControl *>(object))
        return listed(*control);
    if (const auto *form = qobject_cast<const Form *>(object))
        return listed(*form);
    return {};
}
