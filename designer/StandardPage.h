#pragma once

#include "PropertyTable.h"

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QFormLayout;

// What the standard Font, Colour and Picture pages share. Each edits the properties of one kind
// (fonts, colours or pictures): it lists and shows those of the first selected control, the one
// chosen in its "Property" list. Edits of several properties wait together for ApplyChanges,
// which gives each to every selected control that has a property of the key and kind, through
// the rows of the control's own property table, the way loading does. Loading the page marks
// nothing changed.
class StandardPage : public QWidget {
    Q_OBJECT
public:
    QList<QObject *> SelectedControls() const { return m_selectedControls; }
    void setSelectedControls(const QList<QObject *> &controls) { m_selectedControls = controls; }
    bool Changed() const { return m_changed; }
    void setChanged(bool changed);

    // Lists the first selected control's properties of the page's kind and shows the first.
    void SelectionChanged();
    // Gives every edited property its new value in every selected control that has it; a
    // property that refuses it throws HostError, and the properties after it keep their edits.
    void ApplyChanges();

    // The properties the page edits, in the table's order.
    QStringList properties() const;
    // Shows the property with the key in the editor.
    void choose(const QString &key);

signals:
    void ChangedChanged(bool changed);

protected:
    StandardPage(const QString &caption, QMetaType kind, QWidget *parent);

    // The chosen property's value, edits included.
    QVariant value() const;
    // A new value for the chosen property from the page's editor; ignored while the editor is
    // being filled.
    void edit(const QVariant &value);
    // Fills the editor with the chosen property's value.
    virtual void showValue(const QVariant &value) = 0;
    // Shows the chosen property's value, edits included, in the editor again.
    void showChosen();
    // Where a page puts its editor's fields, below the list of properties.
    QFormLayout *fields() const { return m_fields; }

private:
    QMetaType m_kind;
    QComboBox *m_property;
    QFormLayout *m_fields;
    QList<ListedProperty> m_rows;
    QHash<QString, QVariant> m_edits;
    bool m_showing = false;
    QList<QObject *> m_selectedControls;
    bool m_changed = false;
};
