#pragma once

#include "PropertyTable.h"

#include <QList>

class QObject;

// The persisted properties of a control or a form, as its own property table declares them:
// key, default, value now and a setter, in the table's order. Nothing for other objects.
QList<ListedProperty> listProperties(QObject *object);

// The host's own rows of a placed control, before its table's: "(Name)", "Index", "Left",
// "Top", "Width", "Height" and "TabIndex"; of a form its "(Name)" alone. A new name or index
// that would not keep the form's controls apart (ControlNames::refusal), a negative size or a
// form name that is not a name throws HostError(InvalidPropertyValue) with the reason. A
// member of a control array is renamed with its whole array.
QList<ListedProperty> extenderProperties(QObject *object);

// Whether a listed value is of the kind T (bool, qint16, Colour, FontRef, ...).
template <class T> bool holds(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<T>();
}
