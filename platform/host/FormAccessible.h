#pragma once

#include <QAccessibleWidget>

class Form;

// A form as assistive technologies see it: a window, or a dialog when it has a fixed dialog
// frame, named by its accessible name or else by its window title. Its children are the
// controls a user can meet; controls that only lend the form behaviour stay out while the form
// runs, as they never show.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(Form *form);

    // Makes every form, and every class derived from Form without a factory of its own, use
    // this interface. Idempotent.
    static void install();

    QAccessible::Role role() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

protected:
    Form *form() const;

private:
    QWidgetList controls() const;
};
