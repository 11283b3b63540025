#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

class QWidget;
class UserControl;
struct QMetaObject;

// What the host and the designer know of a control class besides how to create one.
struct ControlClass {
    ControlClass(QString name, QSizeF newSize = {1215, 375}, QStringList propertyPages = {},
                 QString picture = {})
        : name(std::move(name))
        , newSize(newSize)
        , propertyPages(std::move(propertyPages))
        , picture(std::move(picture))
    {
    }

    // As form files name it: "Timer", "Kelvo.ZoButton".
    QString name;
    // Twips: the size a control placed in the designer starts at.
    QSizeF newSize;
    // The class's own property pages, by the names the designer knows them by ("Button"); the
    // pages for fonts, pictures and colours follow from the properties themselves.
    QStringList propertyPages;
    // A resource path: the class's picture in the designer's palette; empty for none.
    QString picture;
};

// The control classes a form file can name. Each layer registers its own: the standard
// controls from the platform, Kelvo's from its controls.
class ControlRegistry {
public:
    using Factory = std::function<UserControl *(QWidget *container)>;

    template <class T> void add(ControlClass kind)
    {
        add(std::move(kind), T::staticMetaObject,
            [](QWidget *container) { return new T(container); });
    }
    // A class registered again under the same name takes the old one's place.
    void add(ControlClass kind, const QMetaObject &type, Factory factory);

    // A new, uninitialised control of that class, or null for a class it does not know.
    UserControl *create(const QString &className, QWidget *container) const;
    // The class of that name; null for one it does not know.
    const ControlClass *find(const QString &className) const;
    // The class a control was registered under; null for an unknown kind.
    const ControlClass *classOf(const UserControl *control) const;
    // Every class it knows, in alphabetical order.
    QStringList classNames() const;

private:
    struct Entry {
        ControlClass kind;
        const QMetaObject *type;
        Factory factory;
    };
    const Entry *entry(const QString &className) const;

    // A handful of classes: a list searched in order is smaller than a hash.
    std::vector<Entry> m_classes;
};
