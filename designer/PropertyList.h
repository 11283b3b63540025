#pragma once

#include "PropertyTable.h"

#include <QList>
#include <QPointer>
#include <QTableWidget>

// The persisted properties of one control, or of the form, as the object's own property table
// declares them: its name first, then a row per key in the table's order. True and False,
// numbers and text are edited in place and given to the object the way loading gives them; a
// value the property cannot take is refused with a message and the row shows the old one.
// Colours, fonts and pictures are edited in the property pages, which a double click asks for.
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

signals:
    // The object took a new value for the key.
    void edited(const QString &key);
    void pagesRequested();

private:
    void commit(QTableWidgetItem *item);

    QPointer<QObject> m_object;
    QList<ListedProperty> m_rows;
};
