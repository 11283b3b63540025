#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;
class UserControl;
struct QMetaObject;

// The control classes a form file can name ("Timer", "Kelvo.ZoButton", ...).
class ControlRegistry {
public:
    using Factory = std::function<UserControl *(QWidget *container)>;

    // The registry the program uses; it starts with the host's own controls.
    static ControlRegistry &instance();

    template <class T> void add(const QString &className)
    {
        add(className, T::staticMetaObject, [](QWidget *container) { return new T(container); });
    }
    void add(const QString &className, const QMetaObject &type, Factory factory);

    // A new, uninitialised control of that class, or null for a class it does not know.
    UserControl *create(const QString &className, QWidget *container) const;
    // Every class it knows, in alphabetical order.
    QStringList classNames() const;
    // The class name a control was registered under; empty for an unknown kind.
    QString classNameOf(const UserControl *control) const;

private:
    struct Entry {
        QString className;
        const QMetaObject *type;
        Factory factory;
    };
    // A handful of classes: a list searched in order is smaller than a hash.
    std::vector<Entry> m_classes;
};
