#pragma once

#include "HostError.h"
#include "PropertyBag.h"

#include <QList>
#include <QObject>
#include <QVariant>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

// One row of a control's table as a designer lists it: the key, the default and the control's
// value now, and a way to give the control a value the way loading does (through the row's
// own setter, which need not redraw or report PropertyChanged).
struct ListedProperty {
    QString key;
    QVariant defaultValue;
    QVariant value;
    std::function<void(const QVariant &)> set;
};

// While it lives, every table that writes the one control it was made for also lists that
// control's rows here. The tables are private to their controls; asking a control to write
// itself is the one way in that all of them share, and so a designer's property list is built
// from the very rows the bag uses. Writing itself goes on as before.
class PropertyListing {
public:
    explicit PropertyListing(const QObject &control)
        : m_control(dynamic_cast<const void *>(&control))
        , m_outer(std::exchange(s_active, this))
    {
    }
    ~PropertyListing() { s_active = m_outer; }
    PropertyListing(const PropertyListing &) = delete;
    PropertyListing &operator=(const PropertyListing &) = delete;

    const QList<ListedProperty> &rows() const { return m_rows; }

private:
    template <class Control> friend class PropertyTable;

    // The listing that waits for this control's rows, if any.
    static PropertyListing *watching(const QObject &control)
    {
        return s_active && s_active->m_control == dynamic_cast<const void *>(&control) ? s_active
                                                                                       : nullptr;
    }

    static inline PropertyListing *s_active = nullptr;
    const void *m_control;
    PropertyListing *m_outer;
    QList<ListedProperty> m_rows;
};

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
                             },
                             [key, defaultFor, get, set](const Control &c) {
                                 return listed(key, defaultFor, get, set, c);
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
        if (PropertyListing *listing = PropertyListing::watching(c)) {
            for (const Row &row : m_rows)
                listing->m_rows.append(row.list(c));
        }
        for (const Row &row : m_rows)
            row.write(c, bag);
    }

private:
    struct Row {
        QString key;
        std::function<void(Control &, const PropertyBag &)> read;
        std::function<void(const Control &, PropertyBag &)> write;
        std::function<ListedProperty(const Control &)> list;
    };

    // Default and value in the default's kind; a text default given as characters lists as text.
    template <class DefaultFor, class Get, class Set>
    static ListedProperty listed(const QString &key, const DefaultFor &defaultFor, const Get &get,
                                 const Set &set, const Control &c)
    {
        using Given = std::decay_t<std::invoke_result_t<const DefaultFor &, const Control &>>;
        using Value = std::conditional_t<std::is_same_v<Given, const char *>, QString, Given>;
        // The listing is made for a live control that its designer holds; only write() sees it
        // as const.
        Control *control = const_cast<Control *>(&c);
        return ListedProperty{
            key, QVariant::fromValue(Value(defaultFor(c))),
            QVariant::fromValue(Value(std::invoke(get, c))),
            [control, set](const QVariant &v) { std::invoke(set, *control, v.value<Value>()); }};
    }

    std::vector<Row> m_rows;
};
