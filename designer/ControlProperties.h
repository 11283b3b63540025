#pragma once

#include "PropertyTable.h"

#include <QList>

class QObject;

// The persisted properties of a control or a form, as its own property table declares them:
// key, default, value now and a setter, in the table's order. Nothing for other objects.
QList<ListedProperty> listProperties(QObject *object);

// Whether a listed value is of the kind T (bool, qint16, Colour, FontRef, ...).
template <class T> bool holds(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<T>();
}
