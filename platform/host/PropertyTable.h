#pragma once

#include "HostError.h"
#include "PropertyBag.h"

#include <functional>
#include <vector>

// A control's persisted properties, declared once: each row names the key, its default and
// how the value is taken from and given to the control. ReadProperties and WriteProperties
// both walk the same rows, so read and write order cannot drift apart.
template <class Control> class PropertyTable {
public:
    // A key whose default is the same for every instance.
    template <class T, class Get, class Set>
    PropertyTable &add(const QString &key, T defaultValue, Get get, Set set)
    {
        return addWithDefault(
            key, [defaultValue](const Control &) { return defaultValue; }, get, set);
    }

    // A key whose default depends on the instance (such as the host's ambient font, fetched
    // anew for each key).
    template <class DefaultFor, class Get, class Set>
    PropertyTable &addWithDefault(const QString &key, DefaultFor defaultFor, Get get, Set set)
    {
        m_rows.push_back(Row{key,
                             [key, defaultFor, set](Control &c, const PropertyBag &bag) {
                                 std::invoke(set, c, bag.ReadProperty(key, defaultFor(c)));
                             },
                             [key, defaultFor, get](const Control &c, PropertyBag &bag) {
                                 bag.WriteProperty(key, std::invoke(get, c), defaultFor(c));
                             }});
        return *this;
    }

    // Reads every key in order; a key that cannot be read ends the reading with its error.
    void read(Control &c, const PropertyBag &bag) const
    {
        for (const Row &row : m_rows)
            row.read(c, bag);
    }

    // Reads every key in order; a key that cannot be read keeps the control's value.
    void readSkippingErrors(Control &c, const PropertyBag &bag) const
    {
        for (const Row &row : m_rows) {
            try {
                row.read(c, bag);
            } catch (const HostError &) {
            }
        }
    }

    void write(const Control &c, PropertyBag &bag) const
    {
        for (const Row &row : m_rows)
            row.write(c, bag);
    }


private:
    struct Row {
        QString key;
        std::function<void(Control &, const PropertyBag &)> read;
        std::function<void(const Control &, PropertyBag &)> write;
    };
    std::vector<Row> m_rows;
};
