#pragma once

#include "HostError.h"
#include "PropertyBag.h"

#include <QList>
#include <QObject>
#include <QVariant>
#include <functional>
#include <memory>
#include <type_traits>
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

// A control's persisted properties, declared once: each row names the key, its default and
// how the value is taken from and given to the control. ReadProperties and WriteProperties
// both walk the same rows, so read and write order cannot drift apart.
//
// A table is meant to be a function-local static: it is built once, and a listed row's set
// calls back into the row it came from.
template <class Control> class PropertyTable {
public:
    // A key whose default is the same for every instance.
    template <class T, class Get, class Set>
    PropertyTable &add(const QString &key, T defaultValue, Get get, Set set)
    {
        return addWithDefault(key, ConstantDefault<T>{std::move(defaultValue)}, get, set);
    }

    // A key whose default depends on the instance (such as the host's ambient font, fetched
    // anew for each key).
    template <class DefaultFor, class Get, class Set>
    PropertyTable &addWithDefault(const QString &key, DefaultFor defaultFor, Get get, Set set)
    {
        using Bound = Binding<decltype(shareable(defaultFor)), decltype(shareable(get)),
                              decltype(shareable(set))>;
        m_rows.push_back(std::make_unique<const Bound>(key, shareable(defaultFor), shareable(get),
                                                       shareable(set)));
        return *this;
    }

    // Reads every key in order; a key that cannot be read ends the reading with its error,
    // which names the key as the bag holds it.
    void read(Control &c, const PropertyBag &bag) const
    {
        for (const auto &row : m_rows) {
            try {
                row->read(c, bag);
            } catch (const HostError &e) {
                throw HostError(e.number(),
                                QStringLiteral("\"%1\": %2")
                                    .arg(row->key.toLower(), QString::fromUtf8(e.what())));
            }
        }
    }

    // Reads every key in order; a key that cannot be read keeps the control's value.
    void readSkippingErrors(Control &c, const PropertyBag &bag) const
    {
        for (const auto &row : m_rows) {
            try {
                row->read(c, bag);
            } catch (const HostError &) {
            }
        }
    }

    void write(const Control &c, PropertyBag &bag) const
    {
        for (const auto &row : m_rows)
            row->write(c, bag);
    }

    // Every row as a designer lists it, in the table's order.
    QList<ListedProperty> list(Control &c) const
    {
        QList<ListedProperty> rows;
        rows.reserve(qsizetype(m_rows.size()));
        for (const auto &row : m_rows)
            rows.append(row->listed(c));
        return rows;
    }

private:
    // One row, whatever the kind of its value. The rows are kept behind this one interface
    // rather than as a handful of std::functions each: that way every row costs one object,
    // and rows of the same kind share one set of functions.
    class Row {
    public:
        explicit Row(const QString &key)
            : key(key)
        {
        }
        virtual ~Row() = default;
        Row(const Row &) = delete;
        Row &operator=(const Row &) = delete;

        virtual void read(Control &c, const PropertyBag &bag) const = 0;
        virtual void write(const Control &c, PropertyBag &bag) const = 0;

        ListedProperty listed(Control &c) const
        {
            return ListedProperty{key, defaultValue(c), value(c),
                                  [this, control = &c](const QVariant &v) { assign(*control, v); }};
        }

        const QString key;

    private:
        virtual QVariant defaultValue(const Control &c) const = 0;
        virtual QVariant value(const Control &c) const = 0;
        virtual void assign(Control &c, const QVariant &v) const = 0;
    };

    // A row that keeps its default, getter and setter by value and calls them directly.
    template <class DefaultFor, class Get, class Set> class Binding final : public Row {
    public:
        Binding(const QString &key, DefaultFor defaultFor, Get get, Set set)
            : Row(key)
            , m_defaultFor(std::move(defaultFor))
            , m_get(get)
            , m_set(set)
        {
        }

        void read(Control &c, const PropertyBag &bag) const override
        {
            std::invoke(m_set, c, bag.ReadProperty(this->key, m_defaultFor(c)));
        }
        void write(const Control &c, PropertyBag &bag) const override
        {
            bag.WriteProperty(this->key, std::invoke(m_get, c), m_defaultFor(c));
        }

    private:
        // Default and value are listed in the default's kind; a text default given as
        // characters lists as text.
        using Given = std::decay_t<std::invoke_result_t<const DefaultFor &, const Control &>>;
        using Value = std::conditional_t<std::is_same_v<Given, const char *>, QString, Given>;

        QVariant defaultValue(const Control &c) const override
        {
            return QVariant::fromValue(Value(m_defaultFor(c)));
        }
        QVariant value(const Control &c) const override
        {
            return QVariant::fromValue(Value(std::invoke(m_get, c)));
        }
        void assign(Control &c, const QVariant &v) const override
        {
            std::invoke(m_set, c, v.value<Value>());
        }

        DefaultFor m_defaultFor;
        Get m_get;
        Set m_set;
    };

    // The default of add(): one type per kind of value, not one per row.
    template <class T> struct ConstantDefault {
        T value;
        const T &operator()(const Control &) const { return value; }
    };

    // A captureless lambda becomes a plain function pointer, so rows whose lambdas have the
    // same signature share one Binding; anything else (a member function pointer, a
    // ConstantDefault) is kept as it is.
    template <class F> static auto shareable(F f)
    {
        if constexpr (requires { +f; })
            return +f;
        else
            return f;
    }

    std::vector<std::unique_ptr<const Row>> m_rows;
};
