#pragma once

#include <QAccessibleWidget>

class Label;

// A Label as assistive technologies see it: static text named by its caption. The label is
// the one object; what draws the caption inside it stays out of view.
class LabelAccessible : public QAccessibleWidget {
public:
    explicit LabelAccessible(Label *label);

    // Makes every Label use this interface. Idempotent.
    static void install();
    // Tells a listening assistive technology that the caption changed.
    static void captionChanged(Label *label);

    QString text(QAccessible::Text t) const override;
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
};
