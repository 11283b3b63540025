#pragma once

#include "FormAccessible.h"

#include <QList>
#include <QString>

class frmMain;

// The monitor window as assistive technologies see it: the window, named by its title, holding
// first one static text for each line it shows, named and valued with the line as drawn
// ("Total=25,276,125kb"), then its buttons.
class MonitorAccessible : public FormAccessible {
public:
    explicit MonitorAccessible(frmMain *monitor);
    ~MonitorAccessible() override;

    // Makes the monitor window use this interface. Idempotent.
    static void install();
    // After a tick has drawn its lines: tells the assistive technology which lines changed,
    // came or went. Call it only while QAccessible::isActive(), so that a program no one
    // listens to builds nothing.
    static void linesDrawn(frmMain &monitor);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    frmMain *monitor() const;
    int lineCount() const;
    // The interface of line i, made when first asked for.
    QAccessibleInterface *line(int i) const;
    void announceLines();

    // One interface per line the assistive technology knows of, with the text it was last told.
    struct KnownLine {
        QAccessible::Id id;
        QString text;
    };
    mutable QList<KnownLine> m_lines;
};
