#pragma once

#include "PropertyTable.h"

#include <QList>
#include <QPointer>
#include <QTableWidget>

// The properties of one control, or of the form: first the host's own rows (name, index,
// place, size and tab index of a control; the form's name), then a row per key of the object's
// property table, in the table's order. True and False and the values of a fixed list (pointer
// shapes, alignments, frames) are chosen from a drop-down; numbers and text are typed in place,
// with no length limit below the property's own. A property the object publishes is given its
// new value through its own setter, which redraws; any other the way loading gives it. A value
// the property cannot take is refused with a message that names the key, the value and why,
// and the row shows the old one. Colours, fonts and pictures are edited in the property pages,
// which a double click asks for.
class PropertyList : public QTableWidget {
    Q_OBJECT
public:
    explicit PropertyList(QWidget *parent = nullptr);

    QObject *object() const { return m_object; }
    // Lists the object's properties; null lists nothing.
    void showObject(QObject *object);
    // Reads every value again.
    void refresh();

    // How the list shows a value.
    static QString displayText(const QVariant &value);
    // The value of the same kind as `kind` that the text stands for. Text that does not read
    // as one throws HostError with the reason ("99999 is not between -32768 and 32767").
    static QVariant parse(const QString &text, const QVariant &kind);

signals:
    // The object took a new value for the key.
    void edited(const QString &key);
    void pagesRequested();

private:
    void commit(QTableWidgetItem *item);

    QPointer<QObject> m_object;
    QList<ListedProperty> m_rows;
};
