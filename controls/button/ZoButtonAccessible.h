#pragma once

#include <QAccessibleWidget>
#include <QPointer>

class ZoButton;

// A ZoButton as assistive technologies see it: a push button, or, when it is a switch, a
// two-state control checked while Value is true. Qt has no toggle-button role, and the
// accessibility bridge announces the checked state of a check box only. It is named by its caption
// as drawn, or by its tool tip when it has no caption; a button named by its caption is described
// by its tool tip.
//
// Its one action, Press, plays a click as AutoClick does; a switch first turns Value over, as
// a mouse press would, so that pressing it switches it. The click comes once the request has
// been answered: a Click handler may hold the program in a modal dialog, or end it.
//
// The face that takes the button's focus stands for the button when focus is reported: it gets
// an interface of this class too, which shows the button and sits under the button's parent.
class ZoButtonAccessible : public QAccessibleWidget {
public:
    // widget: the button, or its face.
    ZoButtonAccessible(QWidget *widget, ZoButton *button);

    // Makes every ZoButton and its face use this interface. Idempotent.
    static void install();
    // Tells a listening assistive technology that a switch's Value turned over.
    static void valueChanged(ZoButton *button);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QAccessibleInterface *parent() const override;
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QString caption() const;

    QPointer<ZoButton> m_button;
};
